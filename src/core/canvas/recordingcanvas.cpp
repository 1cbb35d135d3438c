#include "canvas/recordingcanvas.h"

#include <algorithm>
#include <cmath>

namespace zorv::canvas {

namespace {

    int codePoints(std::string_view text)
    {
        // Continuation bytes (10xxxxxx) do not start a character.
        return static_cast<int>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    }

} // namespace

RecordingCanvas::RecordingCanvas(int dpi)
    : m_dpi(dpi > 0 ? dpi : 96)
{
}

CanvasOp &RecordingCanvas::record(OpKind kind)
{
    m_ops.push_back(CanvasOp { kind, m_state, {}, {}, 0, {} });
    return m_ops.back();
}

void RecordingCanvas::setPen(const Pen &pen)
{
    m_state.pen = pen;
    record(OpKind::SetPen);
}

void RecordingCanvas::setBrush(const Brush &brush)
{
    m_state.brush = brush;
    record(OpKind::SetBrush);
}

void RecordingCanvas::setFont(const Font &font)
{
    m_state.font = font;
    record(OpKind::SetFont);
}

void RecordingCanvas::setTextColour(Rgb colour)
{
    m_state.textColour = colour;
    record(OpKind::SetTextColour).colour = colour;
}

void RecordingCanvas::setRasterMode(RasterMode mode)
{
    m_state.rasterMode = mode;
    record(OpKind::SetRasterMode);
}

void RecordingCanvas::setClip(const Rect &clip)
{
    m_state.clip = clip;
    record(OpKind::SetClip).rect = clip;
}

void RecordingCanvas::clearClip()
{
    m_state.clip.reset();
    record(OpKind::ClearClip);
}

void RecordingCanvas::fillRect(const Rect &rect, Rgb colour)
{
    CanvasOp &op = record(OpKind::FillRect);
    op.rect = rect;
    op.colour = colour;
}

void RecordingCanvas::drawLine(Point from, Point to)
{
    record(OpKind::Line).points = { from, to };
}

void RecordingCanvas::drawPolyline(std::span<const Point> points)
{
    record(OpKind::Polyline).points.assign(points.begin(), points.end());
}

void RecordingCanvas::drawPolygon(std::span<const Point> points)
{
    record(OpKind::Polygon).points.assign(points.begin(), points.end());
}

void RecordingCanvas::drawRect(const Rect &rect)
{
    record(OpKind::Rectangle).rect = rect;
}

void RecordingCanvas::drawEllipse(const Rect &bounds)
{
    record(OpKind::Ellipse).rect = bounds;
}

void RecordingCanvas::drawArc(const Rect &bounds, Point start, Point end)
{
    CanvasOp &op = record(OpKind::Arc);
    op.rect = bounds;
    op.points = { start, end };
}

void RecordingCanvas::drawText(Point topLeft, std::string_view text)
{
    CanvasOp &op = record(OpKind::Text);
    op.points = { topLeft };
    op.colour = m_state.textColour;
    op.text = std::string(text);
}

void RecordingCanvas::drawText(const Rect &box, std::string_view text, HAlign h, VAlign v)
{
    const Size size = textSize(text);
    Point p { box.left, box.top };
    if (h == HAlign::Centre)
        p.x = box.left + (box.width() - size.width) / 2;
    else if (h == HAlign::Right)
        p.x = box.right - size.width;
    if (v == VAlign::Centre)
        p.y = box.top + (box.height() - size.height) / 2;
    else if (v == VAlign::Bottom)
        p.y = box.bottom - size.height;
    CanvasOp &op = record(OpKind::Text);
    op.points = { p };
    op.rect = box;
    op.colour = m_state.textColour;
    op.text = std::string(text);
}

int RecordingCanvas::pixelHeight(const Font &font, int dpi)
{
    if (font.pixelHeight > 0)
        return font.pixelHeight;
    return std::max(1, static_cast<int>(std::lround(font.pointSize * dpi / 72.0)));
}

Size RecordingCanvas::textSize(std::string_view text) const
{
    const int height = pixelHeight(m_state.font, m_dpi);
    const int charWidth = m_state.font.pixelWidth > 0 ? m_state.font.pixelWidth : (height + 1) / 2;
    return { codePoints(text) * charWidth, height };
}

std::vector<CanvasOp> RecordingCanvas::ofKind(OpKind kind) const
{
    return drawings([kind](const CanvasOp &op) { return op.kind == kind; });
}

std::vector<CanvasOp> RecordingCanvas::drawings(const std::function<bool(const CanvasOp &)> &keep) const
{
    std::vector<CanvasOp> out;
    for (const CanvasOp &op : m_ops) {
        if (op.isDrawing() && (!keep || keep(op)))
            out.push_back(op);
    }
    return out;
}

std::optional<CanvasOp> RecordingCanvas::findText(std::string_view text) const
{
    for (const CanvasOp &op : m_ops) {
        if (op.kind == OpKind::Text && op.text == text)
            return op;
    }
    return std::nullopt;
}

std::vector<Point> RecordingCanvas::touchedPoints() const
{
    std::vector<Point> out;
    for (const CanvasOp &op : m_ops) {
        switch (op.kind) {
        case OpKind::Line:
        case OpKind::Polyline:
        case OpKind::Polygon:
            out.insert(out.end(), op.points.begin(), op.points.end());
            break;
        case OpKind::FillRect:
        case OpKind::Rectangle:
        case OpKind::Ellipse:
        case OpKind::Arc:
            out.push_back({ op.rect.left, op.rect.top });
            out.push_back({ op.rect.right - 1, op.rect.bottom - 1 });
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace zorv::canvas
