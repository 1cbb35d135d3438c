// A Canvas that shifts everything drawn on it, so a panel drawn from its own origin can be placed inside a larger
// picture.
#pragma once

#include "canvas/canvas.h"

#include <vector>

namespace zorv::profile {

class OffsetCanvas final : public canvas::Canvas {
public:
    OffsetCanvas(canvas::Canvas &target, canvas::Point offset)
        : m_target(target)
        , m_offset(offset)
    {
    }

    void setPen(const canvas::Pen &pen) override { m_target.setPen(pen); }
    void setBrush(const canvas::Brush &brush) override { m_target.setBrush(brush); }
    void setFont(const canvas::Font &font) override { m_target.setFont(font); }
    void setTextColour(canvas::Rgb colour) override { m_target.setTextColour(colour); }
    void setRasterMode(canvas::RasterMode mode) override { m_target.setRasterMode(mode); }
    void setClip(const canvas::Rect &clip) override { m_target.setClip(shift(clip)); }
    void clearClip() override { m_target.clearClip(); }
    int dpi() const override { return m_target.dpi(); }

    void fillRect(const canvas::Rect &rect, canvas::Rgb colour) override { m_target.fillRect(shift(rect), colour); }
    void drawLine(canvas::Point from, canvas::Point to) override { m_target.drawLine(shift(from), shift(to)); }
    void drawPolyline(std::span<const canvas::Point> points) override { m_target.drawPolyline(shift(points)); }
    void drawPolygon(std::span<const canvas::Point> points) override { m_target.drawPolygon(shift(points)); }
    void drawRect(const canvas::Rect &rect) override { m_target.drawRect(shift(rect)); }
    void drawEllipse(const canvas::Rect &bounds) override { m_target.drawEllipse(shift(bounds)); }
    void drawArc(const canvas::Rect &bounds, canvas::Point start, canvas::Point end) override
    {
        m_target.drawArc(shift(bounds), shift(start), shift(end));
    }
    void drawText(canvas::Point topLeft, std::string_view text) override { m_target.drawText(shift(topLeft), text); }
    void drawText(const canvas::Rect &box, std::string_view text, canvas::HAlign h, canvas::VAlign v) override
    {
        m_target.drawText(shift(box), text, h, v);
    }
    canvas::Size textSize(std::string_view text) const override { return m_target.textSize(text); }

private:
    canvas::Point shift(canvas::Point p) const { return { p.x + m_offset.x, p.y + m_offset.y }; }
    canvas::Rect shift(const canvas::Rect &r) const
    {
        return { r.left + m_offset.x, r.top + m_offset.y, r.right + m_offset.x, r.bottom + m_offset.y };
    }
    std::vector<canvas::Point> shift(std::span<const canvas::Point> points) const
    {
        std::vector<canvas::Point> out;
        out.reserve(points.size());
        for (canvas::Point p : points)
            out.push_back(shift(p));
        return out;
    }

    canvas::Canvas &m_target;
    canvas::Point m_offset;
};

} // namespace zorv::profile
