// A Canvas that draws a screen-sized picture onto a finer device: a chart laid out in screen pixels, printed.
#pragma once

#include "canvas/canvas.h"

#include <cmath>
#include <vector>

namespace zorv::reports {

// Coordinates given to it are pixels of a 96-dpi screen from `origin`, which is in device pixels.
// Fonts keep their point sizes, so they come out as on the screen; pen widths grow with the scale.
class ScaledCanvas final : public canvas::Canvas {
public:
    static constexpr int kScreenDpi = 96;

    ScaledCanvas(canvas::Canvas &target, canvas::Point origin)
        : m_target(target)
        , m_origin(origin)
        , m_scale(static_cast<double>(target.dpi()) / kScreenDpi)
    {
    }

    // Converts a device distance into the screen pixels this canvas speaks.
    int fromDevice(int pixels) const { return static_cast<int>(std::lround(pixels / m_scale)); }

    void setPen(const canvas::Pen &pen) override
    {
        canvas::Pen scaled = pen;
        scaled.width = std::max(1, static_cast<int>(std::lround(std::max(1, pen.width) * m_scale)));
        m_target.setPen(scaled);
    }
    void setBrush(const canvas::Brush &brush) override { m_target.setBrush(brush); }
    void setFont(const canvas::Font &font) override
    {
        canvas::Font scaled = font;
        scaled.pixelHeight = static_cast<int>(std::lround(font.pixelHeight * m_scale));
        scaled.pixelWidth = static_cast<int>(std::lround(font.pixelWidth * m_scale));
        m_target.setFont(scaled);
    }
    void setTextColour(canvas::Rgb colour) override { m_target.setTextColour(colour); }
    void setRasterMode(canvas::RasterMode mode) override { m_target.setRasterMode(mode); }
    void setClip(const canvas::Rect &clip) override { m_target.setClip(map(clip)); }
    void clearClip() override { m_target.clearClip(); }
    int dpi() const override { return kScreenDpi; }

    void fillRect(const canvas::Rect &rect, canvas::Rgb colour) override { m_target.fillRect(map(rect), colour); }
    void drawLine(canvas::Point from, canvas::Point to) override { m_target.drawLine(map(from), map(to)); }
    void drawPolyline(std::span<const canvas::Point> points) override { m_target.drawPolyline(map(points)); }
    void drawPolygon(std::span<const canvas::Point> points) override { m_target.drawPolygon(map(points)); }
    void drawRect(const canvas::Rect &rect) override { m_target.drawRect(map(rect)); }
    void drawEllipse(const canvas::Rect &bounds) override { m_target.drawEllipse(map(bounds)); }
    void drawArc(const canvas::Rect &bounds, canvas::Point start, canvas::Point end) override
    {
        m_target.drawArc(map(bounds), map(start), map(end));
    }
    void drawText(canvas::Point topLeft, std::string_view text) override { m_target.drawText(map(topLeft), text); }
    void drawText(const canvas::Rect &box, std::string_view text, canvas::HAlign h, canvas::VAlign v) override
    {
        m_target.drawText(map(box), text, h, v);
    }
    canvas::Size textSize(std::string_view text) const override
    {
        const canvas::Size size = m_target.textSize(text);
        return { fromDevice(size.width), fromDevice(size.height) };
    }

private:
    canvas::Point map(canvas::Point p) const
    {
        return { m_origin.x + static_cast<int>(std::lround(p.x * m_scale)),
            m_origin.y + static_cast<int>(std::lround(p.y * m_scale)) };
    }
    canvas::Rect map(const canvas::Rect &r) const
    {
        const canvas::Point a = map(canvas::Point { r.left, r.top });
        const canvas::Point b = map(canvas::Point { r.right, r.bottom });
        return { a.x, a.y, b.x, b.y };
    }
    std::vector<canvas::Point> map(std::span<const canvas::Point> points) const
    {
        std::vector<canvas::Point> out;
        out.reserve(points.size());
        for (canvas::Point p : points)
            out.push_back(map(p));
        return out;
    }

    canvas::Canvas &m_target;
    canvas::Point m_origin;
    double m_scale;
};

} // namespace zorv::reports
