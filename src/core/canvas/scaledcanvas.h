// A Canvas in units of its own (tenths of a millimetre on a page, screen pixels inside a printed chart) over a device
// Canvas: coordinates and pen widths are scaled and shifted, fonts keep their point sizes.
#pragma once

#include "canvas/canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorv::canvas {

// What a pen of width 0 becomes: a device hairline (pages in tenths of a millimetre), or one unit
// of this canvas, as a screen draws it (a chart laid out in screen pixels and printed).
enum class ZeroWidthPen {
    Hairline,
    OneUnit,
};

class ScaledCanvas final : public Canvas {
public:
    static constexpr int kScreenDpi = 96;

    // A unit of this canvas is `scale` units of `target`; its origin lies at `origin` on the target.
    ScaledCanvas(Canvas &target, double scale, Point origin = {}, ZeroWidthPen zeroWidth = ZeroWidthPen::Hairline)
        : m_target(target)
        , m_scale(scale > 0 ? scale : 1.0)
        , m_origin(origin)
        , m_zeroWidth(zeroWidth)
    {
    }

    // Tenths of a millimetre on a device of `dpi` pixels per inch.
    static double tenthMillimetreScale(int dpi) { return dpi / 254.0; }
    // Pixels of a 96-dpi screen on a device of `dpi` pixels per inch.
    static double screenPixelScale(int dpi) { return static_cast<double>(dpi) / kScreenDpi; }

    // A device distance in units of this canvas.
    int fromDevice(int deviceUnits) const { return static_cast<int>(std::lround(deviceUnits / m_scale)); }

    void setPen(const Pen &pen) override
    {
        Pen scaled = pen;
        if (m_zeroWidth == ZeroWidthPen::Hairline)
            scaled.width = pen.width == 0 ? 0 : std::max(1, length(pen.width));
        else
            scaled.width = std::max(1, length(std::max(1, pen.width)));
        m_target.setPen(scaled);
    }
    void setBrush(const Brush &brush) override { m_target.setBrush(brush); }
    void setFont(const Font &font) override
    {
        Font scaled = font;
        scaled.pixelHeight = font.pixelHeight > 0 ? std::max(1, length(font.pixelHeight)) : 0;
        scaled.pixelWidth = font.pixelWidth > 0 ? std::max(1, length(font.pixelWidth)) : 0;
        m_target.setFont(scaled);
    }
    void setTextColour(Rgb colour) override { m_target.setTextColour(colour); }
    void setRasterMode(RasterMode mode) override { m_target.setRasterMode(mode); }
    void setClip(const Rect &clip) override { m_target.setClip(map(clip)); }
    void clearClip() override { m_target.clearClip(); }
    // Point sizes stay physical, so a font is as many units high here as on the device divided by the scale.
    int dpi() const override { return std::max(1, static_cast<int>(std::lround(m_target.dpi() / m_scale))); }

    void fillRect(const Rect &rect, Rgb colour) override { m_target.fillRect(map(rect), colour); }
    void drawLine(Point from, Point to) override { m_target.drawLine(map(from), map(to)); }
    void drawPolyline(std::span<const Point> points) override { m_target.drawPolyline(map(points)); }
    void drawPolygon(std::span<const Point> points) override { m_target.drawPolygon(map(points)); }
    void drawRect(const Rect &rect) override { m_target.drawRect(map(rect)); }
    void drawEllipse(const Rect &bounds) override { m_target.drawEllipse(map(bounds)); }
    void drawArc(const Rect &bounds, Point start, Point end) override
    {
        m_target.drawArc(map(bounds), map(start), map(end));
    }
    void drawText(Point topLeft, std::string_view text) override { m_target.drawText(map(topLeft), text); }
    void drawText(const Rect &box, std::string_view text, HAlign h, VAlign v) override
    {
        m_target.drawText(map(box), text, h, v);
    }
    Size textSize(std::string_view text) const override
    {
        const Size size = m_target.textSize(text);
        return { fromDevice(size.width), fromDevice(size.height) };
    }

    Point map(Point p) const
    {
        return { m_origin.x + static_cast<int>(std::lround(p.x * m_scale)),
            m_origin.y + static_cast<int>(std::lround(p.y * m_scale)) };
    }
    Rect map(const Rect &r) const
    {
        const Point a = map(Point { r.left, r.top });
        const Point b = map(Point { r.right, r.bottom });
        return { a.x, a.y, b.x, b.y };
    }

private:
    int length(int units) const { return static_cast<int>(std::lround(units * m_scale)); }
    std::vector<Point> map(std::span<const Point> points) const
    {
        std::vector<Point> out;
        out.reserve(points.size());
        for (Point p : points)
            out.push_back(map(p));
        return out;
    }

    Canvas &m_target;
    double m_scale;
    Point m_origin;
    ZeroWidthPen m_zeroWidth;
};

} // namespace zorv::canvas
