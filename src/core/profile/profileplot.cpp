#include "profile/profileplot.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/units.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace zorv::profile {

using canvas::Canvas;
using canvas::Pen;
using canvas::PenStyle;
using canvas::Point;
using canvas::Rgb;
using common::StringId;

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
        canvas.drawText(
            Point { 2, 1 }, m_units == logbook::UnitSystem::Metric ? common::tr("Mètres") : common::tr("Pieds"));

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
    int lastLabelRight = std::numeric_limits<int>::min();
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
            // A label that would touch the one before it is left out: on a small
            // plot of a long dive the numbers would otherwise run together.
            const std::string label = common::cformat("%ld", minute) + kMinuteMark;
            const Point at { px - 4 * digitCount(minute), upsideDown ? axisY - 12 : axisY + 6 };
            if (at.x > lastLabelRight) {
                canvas.drawText(at, label);
                lastLabelRight = at.x + canvas.textWidth(label);
            }
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
    // Points past the samples are the closing surface point.
    auto depthAt = [&](int i) {
        const auto at = static_cast<std::size_t>(i);
        return at < samples.size() ? plotDepth(samples[at].depth, m_units) : 0.0;
    };
    auto warnedAt = [&](int i) {
        const auto at = static_cast<std::size_t>(i);
        return at < samples.size() && hasWarning(samples[at]);
    };
    drawCurve(canvas, colour, warningColour, penWidth, pointCount, depthAt, warnedAt);
}

void ProfilePlot::drawClipProfile(Canvas &canvas, Rgb colour, Rgb warningColour, int penWidth,
    std::span<const double> depths, std::span<const std::uint8_t> markers, int pointCount) const
{
    auto depthAt = [&](int i) {
        const auto at = static_cast<std::size_t>(i);
        if (at >= depths.size() || !std::isfinite(depths[at]))
            return 0.0;
        double depth = -depths[at];
        if (m_units == logbook::UnitSystem::Imperial)
            depth = logbook::metresToFeet(depth);
        return depth > 0 ? depth : 0.0;
    };
    auto warnedAt = [&](int i) {
        const auto at = static_cast<std::size_t>(i);
        return at < markers.size() && (markers[at] & 0x1E) != 0;
    };
    drawCurve(canvas, colour, warningColour, penWidth, pointCount, depthAt, warnedAt);
}

void ProfilePlot::drawCurve(Canvas &canvas, Rgb colour, Rgb warningColour, int penWidth, int pointCount,
    const std::function<double(int)> &depthAt, const std::function<bool(int)> &warnedAt) const
{
    if (pointCount <= 0)
        return;

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
    Point previous = clampToPlot(map(0, depthAt(0)), clamped);
    run.push_back(previous);
    bool previousWarned = false;
    for (int i = 1; i < pointCount; ++i) {
        const Point p = clampToPlot(map(i, depthAt(i)), clamped);
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
        previousWarned = warnedAt(i);
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

int ProfilePlot::laneY(int lane) const
{
    const int laneHeight = m_height / 5;
    return m_top + laneHeight / 2 + lane * laneHeight;
}

void ProfilePlot::drawStripFrame(Canvas &canvas, int xCount, SignalLane signalLane) const
{
    drawAxisLines(canvas);
    const int lanes = signalLane == SignalLane::On ? 5 : 4;
    canvas.setPen(Pen { m_lineColour, 1, PenStyle::Solid });
    for (int k = 0; k < lanes; ++k)
        canvas.drawLine({ m_left, laneY(k) }, { m_left + m_width, laneY(k) });
    // Minute ticks under the strip line it up with the chart above it.
    const int axisY = m_top + m_height;
    for (int i = 3; i < xCount; i += 3) {
        const int px = map(i, 0).x;
        canvas.drawLine({ px, axisY }, { px, axisY + 3 });
    }

    canvas.setPen(Pen { m_textColour, 1, PenStyle::Solid });
    // The arrows are 10 pixels tall where the lanes leave room, as on the screen; a lower strip (the printed
    // page's) shrinks them to their lane, or the two would run into each other.
    const int x = 12;
    const int tall = std::clamp(m_height / 5 - 2, 4, 10);
    const int above = tall * 6 / 10; // the part above the lane line
    const int below = tall - above;
    const int wing = std::min(4, below + 1);
    const int down = laneY(0);
    canvas.drawLine({ x, down - above }, { x, down });
    const Point downHead[] = { { x - wing, down }, { x, down + below }, { x + wing, down }, { x, down } };
    canvas.drawPolyline(downHead);
    const int up = laneY(1);
    const int base = up - above + below;
    canvas.drawLine({ x, up + below }, { x, base });
    const Point upHead[] = { { x - wing, base }, { x, up - above }, { x + wing, base }, { x, base } };
    canvas.drawPolyline(upHead);

    canvas.setFont(axisFont());
    canvas.setTextColour(m_textColour);
    canvas.drawText(Point { 0, laneY(2) - 6 }, "RBT");
    canvas.drawText(Point { 0, laneY(3) - 6 }, "AMV");
    if (signalLane == SignalLane::On)
        canvas.drawText(Point { 0, laneY(4) - 6 }, "NTD");
}

void ProfilePlot::drawWarningLanes(Canvas &canvas, Rgb warningColour, Rgb signalColour, int penWidth,
    std::span<const logbook::ProfileSample> samples, int pointCount, SignalLane signalLane) const
{
    struct Lane {
        std::uint8_t bit;
        Rgb colour;
    };
    const Lane lanes[] = { { 1u << 3, warningColour }, { 1u << 2, warningColour }, { 1u << 1, warningColour },
        { 1u << 4, warningColour }, { 1u << 5, signalColour } };
    const int laneCount = signalLane == SignalLane::On ? 5 : 4;
    auto markerAt = [&](int i) -> std::uint8_t {
        const auto at = static_cast<std::size_t>(i);
        return at < samples.size() ? samples[at].markers[0] : 0;
    };
    for (int k = 0; k < laneCount; ++k) {
        // Neighbouring segments with the same warning make one bar.
        int runStart = -1;
        for (int i = 0; i + 1 <= pointCount; ++i) {
            const bool set = i + 1 < pointCount && (markerAt(i + 1) & lanes[k].bit) != 0;
            if (set && runStart < 0)
                runStart = i;
            if (!set && runStart >= 0) {
                drawLaneBar(canvas, lanes[k].colour, penWidth, k, runStart, i);
                runStart = -1;
            }
        }
    }
}

void ProfilePlot::drawLaneBar(Canvas &canvas, Rgb colour, int penWidth, int lane, double x1, double x2) const
{
    canvas.setPen(Pen { colour, penWidth, PenStyle::Solid });
    const int y = laneY(lane);
    canvas.drawLine({ map(x1, 0).x, y }, { map(x2, 0).x, y });
}

void ProfilePlot::drawMinuteAxes(Canvas &canvas, int xCount) const
{
    drawAxisLines(canvas);
    canvas.setFont(axisFont());
    canvas.setTextColour(m_textColour);
    canvas.setPen(Pen { m_lineColour, 1, PenStyle::Solid });
    const int step = m_yStep > 0 ? m_yStep : 1;
    for (long v = 0; v <= m_yMax; v += step) {
        const int py = map(0, static_cast<double>(v)).y;
        canvas.drawLine({ m_left, py }, { m_left + m_width, py });
        const long minutes = m_yMax - v;
        const int digits = digitCount(minutes);
        canvas.drawText(Point { m_left - 16 - 8 * digits, py - 8 }, common::cformat("%ld", minutes) + kMinuteMark);
    }
    canvas.drawText(Point { 2, 1 }, common::str(StringId::AxisMinutes));

    const int axisY = m_top + m_height;
    for (int i = 0; i < xCount; ++i) {
        const int px = map(i, 0).x;
        canvas.drawLine({ px, axisY }, { px, axisY + 7 });
        canvas.drawText(Point { px - 8, axisY + 6 }, common::cformat("%ld", 12L + 3L * i));
    }
}

void ProfilePlot::drawTopCurve(Canvas &canvas, Rgb colour, int penWidth, std::span<const int> values) const
{
    if (values.empty())
        return;
    auto pointAt = [&](std::size_t i) { return map(static_cast<double>(i), std::max(0, m_yMax - values[i])); };
    const int bottom = m_top + m_height;
    const int right = m_left + m_width;
    std::vector<Point> line { pointAt(0) };
    for (std::size_t i = 1; i < values.size(); ++i) {
        const Point p = pointAt(i);
        if (p.y <= bottom && p.x <= right)
            line.push_back(p);
    }
    if (line.size() < 2)
        return;
    canvas.setPen(Pen { colour, penWidth, PenStyle::Solid });
    canvas.drawPolyline(line);
}

} // namespace zorv::profile
