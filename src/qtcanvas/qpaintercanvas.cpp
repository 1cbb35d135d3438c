#include "qtcanvas/qpaintercanvas.h"

#include "qtglue/qcolour.h"
#include "qtglue/qtext.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zorv::qtcanvas {

using canvas::Point;
using canvas::Rect;

namespace {

    Qt::PenStyle toQtStyle(canvas::PenStyle style)
    {
        switch (style) {
        case canvas::PenStyle::Solid:
            return Qt::SolidLine;
        case canvas::PenStyle::Dash:
            return Qt::DashLine;
        case canvas::PenStyle::Dot:
            return Qt::DotLine;
        case canvas::PenStyle::DashDot:
            return Qt::DashDotLine;
        case canvas::PenStyle::None:
            break;
        }
        return Qt::NoPen;
    }

    // Antialiased shapes are drawn through pixel centres, so that a point means
    // the same pixel with and without antialiasing.
    QPointF centre(Point p)
    {
        return { p.x + 0.5, p.y + 0.5 };
    }

    QPolygonF polygon(std::span<const Point> points)
    {
        QPolygonF out;
        out.reserve(static_cast<qsizetype>(points.size()));
        for (const Point &p : points)
            out.append(centre(p));
        return out;
    }

    double rayAngle(const Rect &bounds, Point p)
    {
        const double cx = (bounds.left + bounds.right) / 2.0;
        const double cy = (bounds.top + bounds.bottom) / 2.0;
        // Device y grows downward; the angles count counter-clockwise on screen.
        return std::atan2(-(p.y - cy), p.x - cx) * 180.0 / std::numbers::pi;
    }

} // namespace

QPainterCanvas::QPainterCanvas(QPainter &painter)
    : m_painter(painter)
{
    installFontSubstitutions();
    m_painter.save();
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_font = toQFont(canvas::Font {}, dpi());
    m_painter.setFont(m_font);
    applyPen(false);
    applyBrush();
}

QPainterCanvas::~QPainterCanvas()
{
    m_painter.restore();
}

void QPainterCanvas::installFontSubstitutions()
{
    static const bool installed = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        return true;
    }();
    (void)installed;
}

QFont QPainterCanvas::toQFont(const canvas::Font &font, int dpi)
{
    QFont out(QString::fromStdString(font.family));
    if (font.pixelHeight > 0)
        out.setPixelSize(font.pixelHeight);
    else
        // In device pixels, so that the size does not depend on which device
        // the painter reports: an image and a widget of one size look alike.
        out.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize * dpi / 72.0))));
    out.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    out.setItalic(font.italic);
    out.setUnderline(font.underline);
    if (font.pixelWidth > 0) {
        const int average = QFontMetrics(out).averageCharWidth();
        if (average > 0)
            out.setStretch(std::clamp(font.pixelWidth * 100 / average, 1, 4000));
    }
    out.setStyleStrategy(QFont::PreferAntialias);
    return out;
}

int QPainterCanvas::dpi() const
{
    const QPaintDevice *device = m_painter.device();
    return device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
}

void QPainterCanvas::applyPen(bool antialiased)
{
    const bool invert = m_mode == canvas::RasterMode::Invert;
    // Inverting must stay exact: drawing the line again has to restore every pixel.
    m_painter.setRenderHint(QPainter::Antialiasing, antialiased && !invert);
    if (m_pen.style == canvas::PenStyle::None) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    QPen pen(invert ? QColor(Qt::white) : qtglue::toQColor(m_pen.colour));
    pen.setWidth(std::max(0, m_pen.width));
    pen.setStyle(toQtStyle(m_pen.style));
    const bool thick = m_pen.width > 1;
    pen.setCapStyle(thick ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(thick ? Qt::RoundJoin : Qt::MiterJoin);
    m_painter.setPen(pen);
}

void QPainterCanvas::applyBrush()
{
    if (m_brush.style == canvas::BrushStyle::None)
        m_painter.setBrush(Qt::NoBrush);
    else
        m_painter.setBrush(m_mode == canvas::RasterMode::Invert ? QColor(Qt::white) : qtglue::toQColor(m_brush.colour));
}

void QPainterCanvas::setPen(const canvas::Pen &pen)
{
    m_pen = pen;
    applyPen(false);
}

void QPainterCanvas::setBrush(const canvas::Brush &brush)
{
    m_brush = brush;
    applyBrush();
}

void QPainterCanvas::setFont(const canvas::Font &font)
{
    m_font = toQFont(font, dpi());
    m_painter.setFont(m_font);
}

void QPainterCanvas::setTextColour(canvas::Rgb colour)
{
    m_textColour = colour;
}

void QPainterCanvas::setRasterMode(canvas::RasterMode mode)
{
    m_mode = mode;
    // Printers and PDF have no raster operations; there the inverting mode draws in white.
    const bool raster = m_painter.paintEngine() && m_painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    if (mode == canvas::RasterMode::Invert && raster)
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    else
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    applyPen(false);
    applyBrush();
}

void QPainterCanvas::setClip(const Rect &clip)
{
    m_painter.setClipRect(QRect(clip.left, clip.top, clip.width(), clip.height()));
}

void QPainterCanvas::clearClip()
{
    m_painter.setClipping(false);
}

void QPainterCanvas::fillRect(const Rect &rect, canvas::Rgb colour)
{
    const QColor fill = m_mode == canvas::RasterMode::Invert ? QColor(Qt::white) : qtglue::toQColor(colour);
    m_painter.fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), fill);
}

void QPainterCanvas::drawLine(Point from, Point to)
{
    const bool straight = from.x == to.x || from.y == to.y;
    applyPen(!straight);
    if (straight)
        m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    else
        m_painter.drawLine(centre(from), centre(to));
}

void QPainterCanvas::drawPolyline(std::span<const Point> points)
{
    if (points.size() < 2)
        return;
    applyPen(true);
    m_painter.drawPolyline(polygon(points));
}

void QPainterCanvas::drawPolygon(std::span<const Point> points)
{
    if (points.size() < 2)
        return;
    applyPen(true);
    m_painter.drawPolygon(polygon(points));
}

void QPainterCanvas::drawRect(const Rect &rect)
{
    applyPen(false);
    // The outline runs along the inside of the rectangle, as the fill does.
    if (m_pen.style == canvas::PenStyle::None)
        m_painter.drawRect(QRect(rect.left, rect.top, rect.width(), rect.height()));
    else
        m_painter.drawRect(QRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1));
}

void QPainterCanvas::drawEllipse(const Rect &bounds)
{
    applyPen(true);
    m_painter.drawEllipse(QRectF(bounds.left + 0.5, bounds.top + 0.5, bounds.width() - 1, bounds.height() - 1));
}

void QPainterCanvas::drawArc(const Rect &bounds, Point start, Point end)
{
    const double from = rayAngle(bounds, start);
    double span = rayAngle(bounds, end) - from;
    while (span <= 0)
        span += 360.0;
    applyPen(true);
    m_painter.drawArc(QRectF(bounds.left + 0.5, bounds.top + 0.5, bounds.width() - 1, bounds.height() - 1),
        static_cast<int>(std::lround(from * 16)), static_cast<int>(std::lround(span * 16)));
}

void QPainterCanvas::drawText(Point topLeft, std::string_view text)
{
    const QFontMetrics metrics(m_font, m_painter.device());
    const QPen saved = m_painter.pen();
    m_painter.setPen(qtglue::toQColor(m_textColour));
    m_painter.drawText(QPoint(topLeft.x, topLeft.y + metrics.ascent()), qtglue::toQt(text));
    m_painter.setPen(saved);
}

void QPainterCanvas::drawText(const Rect &box, std::string_view text, canvas::HAlign h, canvas::VAlign v)
{
    const canvas::Size size = textSize(text);
    Point p { box.left, box.top };
    if (h == canvas::HAlign::Centre)
        p.x = box.left + (box.width() - size.width) / 2;
    else if (h == canvas::HAlign::Right)
        p.x = box.right - size.width;
    if (v == canvas::VAlign::Centre)
        p.y = box.top + (box.height() - size.height) / 2;
    else if (v == canvas::VAlign::Bottom)
        p.y = box.bottom - size.height;
    drawText(p, text);
}

canvas::Size QPainterCanvas::textSize(std::string_view text) const
{
    const QFontMetrics metrics(m_font, m_painter.device());
    return { metrics.horizontalAdvance(qtglue::toQt(text)), metrics.height() };
}

} // namespace zorv::qtcanvas
