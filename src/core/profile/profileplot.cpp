#include "profile/profileplot.h"

#include "common/cformat.h"
#include "logbook/units.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace zorv::profile {

using canvas::Canvas;
using canvas::Pen;
using canvas::PenStyle;
using canvas::Point;
using canvas::Rgb;

namespace {

    int digitCount(long value)
    {
        int digits = 1;
        for (long v = value < 0 ? -value : value; v >= 10; v /= 10)
            ++digits;
        return digits;
    }

    // Plot coordinates far outside any device would overflow int when truncated.
    int toPixel(double value)
    {
        if (!(value > -1e9))
            return -1000000000;
        if (value > 1e9)
            return 1000000000;
        return static_cast<int>(value);
    }

    constexpr const char *kMinuteMark = "\xC2\xB4"; // the acute accent after a minute number

} // namespace

canvas::Font axisFont()
{
    return canvas::Font { "Arial", 8.0, 0, 0, 400, false, false };
}

double plotDepth(float storedDepth, logbook::UnitSystem units)
{
    double depth = -static_cast<double>(storedDepth);
    if (units == logbook::UnitSystem::Imperial)
        depth = logbook::metresToFeet(depth);
    return depth > 0 ? depth : 0.0;
}

ProfilePlot::ProfilePlot(
    Rgb lineColour, Rgb textColour, int left, int top, int width, int height, logbook::UnitSystem units)
    : m_lineColour(lineColour)
    , m_textColour(textColour)
    , m_left(left)
    , m_top(top)
    , m_width(width)
    , m_height(height)
    , m_units(units)
{
}

void ProfilePlot::setRanges(int xMin, int xMax, int yMin, int yMax)
{
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
}

Point ProfilePlot::map(double x, double y) const
{
    const double xRange = static_cast<double>(m_xMax) - m_xMin;
    const double yRange = static_cast<double>(m_yMax) - m_yMin;
    const double xFactor = xRange != 0 ? m_width / xRange : 1.0;
    const double yFactor = yRange != 0 ? m_height / yRange : 1.0;
    return { m_left + toPixel(xFactor * x), m_top + toPixel(yFactor * y) };
}

void ProfilePlot::drawAxisLines(Canvas &canvas) const
{
    canvas.setPen(Pen { m_lineColour, 2, PenStyle::Solid });
    const Point corner { m_left, m_top + m_height };
    canvas.drawLine({ m_left, m_top }, corner);
    canvas.drawLine(corner, { m_left + m_width, m_top + m_height });
}

void ProfilePlot::drawDepthGrid(Canvas &canvas) const
{
    canvas.setPen(Pen { m_lineColour, 1, PenStyle::Solid });
    const int step = m_yStep > 0 ? m_yStep : 1;
    for (long v = 0; v <= m_yMax; v += step) {
        const int py = map(0, static_cast<double>(v)).y;
        canvas.drawLine({ m_left, py }, { m_left + m_width, py });
    }
}

void ProfilePlot::drawAxes(Canvas &canvas, int xCount, Grid grid) const
{
    const bool upsideDown = m_height < 0;
    drawAxisLines(canvas);
    canvas.setFont(axisFont());
    canvas.setTextColour(m_textColour);
    if (!upsideDown)
        canvas.drawText(Point { 2, 1 }, m_units == logbook::UnitSystem::Metric ? "M\xC3\xA8tre(s)" : "Foot");

    canvas.setPen(Pen { m_lineColour, 1, PenStyle::Solid });
    const int step = m_yStep > 0 ? m_yStep : 1;
    for (long v = 0; v <= m_yMax; v += step) {
        const int py = map(0, static_cast<double>(v)).y;
        if (grid == Grid::On)
            canvas.drawLine({ m_left, py }, { m_left + m_width, py });
        else
            canvas.drawLine({ m_left, py }, { m_left - 4, py });
        const int digits = digitCount(v);
        // Three-digit feet would start left of the picture in the usual 26-pixel margin.
        Point at { std::max(0, m_left - 4 - 8 * digits), py - 8 };
        if (upsideDown) {
            // The mirrored offsets of the old chart, kept as they were.
            const int offset = digits == 1 ? 24 : digits == 2 ? 40 : 28 + 8 * (digits - 3);
            at = { m_left - offset, py + 8 };
        }
        canvas.drawText(at, common::cformat("%ld", v));
    }

    // Every third tick is a minute; labels stand every 1, 2 or 5 minutes so that
    // long dives do not crowd the axis.
    const int labelEvery = xCount / 3 <= 25 ? 3 : xCount / 3 <= 50 ? 6 : 15;
    const int axisY = m_top + m_height;
    const int direction = upsideDown ? -1 : 1;
    int sinceLabel = 0;
    long minute = 0;
    for (int i = 0; i < xCount; ++i) {
        const int px = map(i, 0).x;
        if (i > 0)
            ++sinceLabel;
        const bool minuteTick = i > 0 && i % 3 == 0;
        if (minuteTick) {
            ++minute;
            const Point from { px, grid == Grid::On ? m_top : axisY };
            canvas.drawLine(from, { px, axisY + 7 * direction });
        } else {
            canvas.drawLine({ px, axisY }, { px, axisY + 4 * direction });
        }
        if (sinceLabel == labelEvery) {
            sinceLabel = 0;
            const int y = upsideDown ? axisY - 12 : axisY + 6;
            canvas.drawText(Point { px - 4 * digitCount(minute), y }, common::cformat("%ld", minute) + kMinuteMark);
        }
    }
}

void ProfilePlot::drawPlainAxes(Canvas &canvas, int /*xCount*/, Grid grid) const
{
    drawAxisLines(canvas);
    if (grid == Grid::On)
        drawDepthGrid(canvas);
}

Point ProfilePlot::clampToPlot(Point p, bool &clamped) const
{
    const int bottom = m_top + m_height;
    const int right = m_left + m_width;
    clamped = false;
    if (m_height >= 0 ? p.y > bottom : p.y < bottom) {
        p.y = bottom;
        clamped = true;
    }
    if (m_width >= 0 ? p.x > right : p.x < right) {
        p.x = right;
        clamped = true;
    }
    return p;
}

void ProfilePlot::drawProfile(Canvas &canvas, Rgb colour, Rgb warningColour, int penWidth,
    std::span<const logbook::ProfileSample> samples, int pointCount) const
{
    if (pointCount <= 0)
        return;
    static const logbook::ProfileSample surface {};
    auto sampleAt = [&](int i) -> const logbook::ProfileSample & {
        return static_cast<std::size_t>(i) < samples.size() ? samples[static_cast<std::size_t>(i)] : surface;
    };

    // Runs of segments in one pen become one polyline, so that thick curves get
    // proper joins instead of notches between separate lines.
    enum class Ink {
        None,
        Curve,
        Warning,
    };
    std::vector<Point> run;
    Ink runInk = Ink::None;
    auto flush = [&] {
        if (run.size() >= 2 && runInk != Ink::None) {
            canvas.setPen(Pen { runInk == Ink::Warning ? warningColour : colour, penWidth, PenStyle::Solid });
            canvas.drawPolyline(run);
        }
    };

    bool clamped = false;
    // The first point is converted like the others: the raw stored depth is
    // negative and would land above the plot.
    Point previous = clampToPlot(map(0, plotDepth(sampleAt(0).depth, m_units)), clamped);
    run.push_back(previous);
    bool previousWarned = false;
    for (int i = 1; i < pointCount; ++i) {
        const logbook::ProfileSample &sample = sampleAt(i);
        const Point p = clampToPlot(map(i, plotDepth(sample.depth, m_units)), clamped);
        if (clamped) {
            flush();
            run.assign(1, p);
            runInk = Ink::None;
        } else {
            const Ink ink = previousWarned ? Ink::Warning : Ink::Curve;
            if (ink != runInk && run.size() >= 2) {
                flush();
                run.assign(1, previous);
            }
            runInk = ink;
            run.push_back(p);
        }
        previous = p;
        previousWarned = hasWarning(sample);
    }
    flush();
}

void ProfilePlot::drawDecoLine(Canvas &canvas, Rgb colour, std::span<const logbook::ProfileSample> samples) const
{
    const int count = static_cast<int>(samples.size());
    int start = -1;
    int end = count - 1;
    for (int i = 0; i < count; ++i) {
        const bool deco = hasDecoMarker(samples[static_cast<std::size_t>(i)]);
        if (start < 0) {
            if (deco)
                start = i;
        } else if (!deco) {
            end = i;
        }
    }
    if (start < 0)
        return;
    canvas.setPen(Pen { colour, 2, PenStyle::Solid });
    canvas.drawLine(map(start, 0), map(end, 0));
}

void ProfilePlot::drawSegment(
    Canvas &canvas, Rgb colour, int penWidth, double x1, double y1, double x2, double y2) const
{
    canvas.setPen(Pen { colour, penWidth, PenStyle::Solid });
    canvas.drawLine(map(x1, y1), map(x2, y2));
}

} // namespace zorv::profile
