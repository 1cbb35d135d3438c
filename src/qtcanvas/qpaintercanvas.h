// The Canvas on a QPainter: widgets, images, printers and PDF all draw the program's charts through it.
#pragma once

#include "canvas/canvas.h"

#include <QColor>
#include <QFont>
#include <QPainter>

namespace zorv::qtcanvas {

// Paints on a painter that the caller has begun on its device and keeps alive.
// Device pixels are the canvas's units. Slanted lines, curves and ellipses are
// antialiased; horizontal and vertical lines and rectangles stay on whole
// pixels, so that axes and grids are crisp. The painter's state is saved on
// construction and restored on destruction.
class QPainterCanvas final : public canvas::Canvas {
public:
    explicit QPainterCanvas(QPainter &painter);
    ~QPainterCanvas() override;
    QPainterCanvas(const QPainterCanvas &) = delete;
    QPainterCanvas &operator=(const QPainterCanvas &) = delete;

    void setPen(const canvas::Pen &pen) override;
    void setBrush(const canvas::Brush &brush) override;
    void setFont(const canvas::Font &font) override;
    void setTextColour(canvas::Rgb colour) override;
    void setRasterMode(canvas::RasterMode mode) override;
    void setClip(const canvas::Rect &clip) override;
    void clearClip() override;
    int dpi() const override;

    void fillRect(const canvas::Rect &rect, canvas::Rgb colour) override;
    void drawLine(canvas::Point from, canvas::Point to) override;
    void drawPolyline(std::span<const canvas::Point> points) override;
    void drawPolygon(std::span<const canvas::Point> points) override;
    void drawRect(const canvas::Rect &rect) override;
    void drawEllipse(const canvas::Rect &bounds) override;
    void drawArc(const canvas::Rect &bounds, canvas::Point start, canvas::Point end) override;
    void drawText(canvas::Point topLeft, std::string_view text) override;
    void drawText(const canvas::Rect &box, std::string_view text, canvas::HAlign h, canvas::VAlign v) override;
    canvas::Size textSize(std::string_view text) const override;

    // The QFont for a canvas font on a device of `dpi` pixels per inch.
    static QFont toQFont(const canvas::Font &font, int dpi);
    // Lets the font names of the old layouts ("Arial", "Times New Roman",
    // "Courier New", "MS Sans Serif") find the metric-compatible Liberation
    // fonts. Safe to call more than once.
    static void installFontSubstitutions();

private:
    void applyPen(bool antialiased);
    void applyBrush();

    QPainter &m_painter;
    canvas::Pen m_pen;
    canvas::Brush m_brush;
    canvas::Rgb m_textColour = 0;
    canvas::RasterMode m_mode = canvas::RasterMode::Copy;
    QFont m_font;
};

} // namespace zorv::qtcanvas
