// A Canvas that paints nothing and remembers every call, so tests can check what a drawing put where.
#pragma once

#include "canvas/canvas.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorv::canvas {

enum class OpKind {
    SetPen,
    SetBrush,
    SetFont,
    SetTextColour,
    SetRasterMode,
    SetClip,
    ClearClip,
    FillRect,
    Line,
    Polyline,
    Polygon,
    Rectangle,
    Ellipse,
    Arc,
    Text,
};

// The state a drawing call was made in; setters change it.
struct CanvasState {
    Pen pen;
    Brush brush;
    Font font;
    Rgb textColour = 0;
    RasterMode rasterMode = RasterMode::Copy;
    std::optional<Rect> clip;
};

// One call. `points` holds the line's ends, the polyline's or polygon's points,
// an arc's start and end rays, or a text's top left corner (for aligned text:
// where the text model puts it); `rect` the filled, outlined or bounding
// rectangle, or an aligned text's box; `colour` the fill or text colour.
struct CanvasOp {
    OpKind kind;
    CanvasState state;
    std::vector<Point> points;
    Rect rect;
    Rgb colour = 0;
    std::string text;

    bool isDrawing() const { return kind >= OpKind::FillRect; }
};

// Text metrics are a fixed model instead of a font engine: a text is as high as
// the font's pixel height (points × dpi ÷ 72, rounded) and each character
// (UTF-8 code point) half as wide, rounded up. Layout tests get the same numbers
// on every machine.
class RecordingCanvas final : public Canvas {
public:
    explicit RecordingCanvas(int dpi = 96);

    void setPen(const Pen &pen) override;
    void setBrush(const Brush &brush) override;
    void setFont(const Font &font) override;
    void setTextColour(Rgb colour) override;
    void setRasterMode(RasterMode mode) override;
    void setClip(const Rect &clip) override;
    void clearClip() override;
    int dpi() const override { return m_dpi; }

    void fillRect(const Rect &rect, Rgb colour) override;
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawPolygon(std::span<const Point> points) override;
    void drawRect(const Rect &rect) override;
    void drawEllipse(const Rect &bounds) override;
    void drawArc(const Rect &bounds, Point start, Point end) override;
    void drawText(Point topLeft, std::string_view text) override;
    void drawText(const Rect &box, std::string_view text, HAlign h, VAlign v) override;
    Size textSize(std::string_view text) const override;

    const std::vector<CanvasOp> &ops() const { return m_ops; }
    // The drawing calls of one kind, in order.
    std::vector<CanvasOp> ofKind(OpKind kind) const;
    // The drawing calls that pass `keep`.
    std::vector<CanvasOp> drawings(const std::function<bool(const CanvasOp &)> &keep = {}) const;
    // The first text call with exactly this text, if any.
    std::optional<CanvasOp> findText(std::string_view text) const;
    // Every point the drawing calls touched: line and polyline points, and the
    // corners of rectangles and ellipses (right and bottom made inclusive).
    std::vector<Point> touchedPoints() const;
    const CanvasState &state() const { return m_state; }
    void clear() { m_ops.clear(); }

    static int pixelHeight(const Font &font, int dpi);

private:
    CanvasOp &record(OpKind kind);

    int m_dpi;
    CanvasState m_state;
    std::vector<CanvasOp> m_ops;
};

} // namespace zorv::canvas
