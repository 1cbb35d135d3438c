// The plotting component of every depth profile chart: axes, the curve with its warning stretches, and the deco line.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"

#include <cstdint>
#include <functional>
#include <span>

namespace zorv::profile {

enum class Grid {
    Off,
    On,
};

// The fifth strip lane exists for computers that record tank pressure.
enum class SignalLane {
    Off,
    On,
};

// Whether a sample's marker byte 0 carries a warning that colours the curve
// (ascent, descent, bottom time, breathing); the deco and radio-signal bits do not.
constexpr bool hasWarning(const logbook::ProfileSample &sample)
{
    return (sample.markers[0] & 0x1E) != 0;
}
constexpr bool hasDecoMarker(const logbook::ProfileSample &sample)
{
    return (sample.markers[0] & 0x01) != 0;
}

// A stored depth (metres, negative below the surface) as the chart plots it:
// positive downward, in display units, never above the surface.
double plotDepth(float storedDepth, logbook::UnitSystem units);

// A chart in device pixels. Plot units map linearly onto the plot area with the
// origin at its top left corner: time grows to the right, depth downward. The
// range minima set the scale only; they do not move the origin.
class ProfilePlot {
public:
    ProfilePlot(canvas::Rgb lineColour, canvas::Rgb textColour, int left, int top, int width, int height,
        logbook::UnitSystem units);

    void setRanges(int xMin, int xMax, int yMin, int yMax);
    void setYStep(int step) { m_yStep = step; }

    canvas::Point map(double x, double y) const;

    // The labelled axes: unit word, depth labels every y step, a tick per
    // x position with a longer one each minute, and minute labels.
    void drawAxes(canvas::Canvas &canvas, int xCount, Grid grid) const;
    // The two axis lines, and the depth grid when asked; no labels.
    void drawPlainAxes(canvas::Canvas &canvas, int xCount, Grid grid) const;
    // The curve through `pointCount` points, one per x unit. Points past the
    // end of `samples` are surface points, which is how the closing point after
    // the last sample is drawn. Points below or right of the plot are pulled onto
    // its edge and reached without a trace. The segment leaving a warning sample
    // takes the warning colour.
    void drawProfile(canvas::Canvas &canvas, canvas::Rgb colour, canvas::Rgb warningColour, int penWidth,
        std::span<const logbook::ProfileSample> samples, int pointCount) const;
    // Along the surface from the first sample with the deco marker to the last
    // one without it after that (or the last sample), 2 pixels wide.
    void drawDecoLine(
        canvas::Canvas &canvas, canvas::Rgb colour, std::span<const logbook::ProfileSample> samples) const;
    // A straight line between two points in plot units.
    void drawSegment(
        canvas::Canvas &canvas, canvas::Rgb colour, int penWidth, double x1, double y1, double x2, double y2) const;
    // The second profile: depths in metres (negative below the surface) with
    // marker byte 0 of each point, drawn like drawProfile.
    void drawClipProfile(canvas::Canvas &canvas, canvas::Rgb colour, canvas::Rgb warningColour, int penWidth,
        std::span<const double> depths, std::span<const std::uint8_t> markers, int pointCount) const;

    // The warning strip under a chart shares its x range. Lane k's centre line;
    // lanes 0 to 3 always exist, lane 4 only with the signal lane.
    int laneY(int lane) const;
    // Axis lines, lane lines and the lane symbols.
    void drawStripFrame(canvas::Canvas &canvas, int xCount, SignalLane signalLane) const;
    // A bar in each lane over every segment that ends on a sample with that warning.
    void drawWarningLanes(canvas::Canvas &canvas, canvas::Rgb warningColour, canvas::Rgb signalColour, int penWidth,
        std::span<const logbook::ProfileSample> samples, int pointCount, SignalLane signalLane) const;
    // One bar along a lane's centre between two x positions in plot units.
    void drawLaneBar(canvas::Canvas &canvas, canvas::Rgb colour, int penWidth, int lane, double x1, double x2) const;

    // The no-decompression chart's axes: minutes counted down from the top
    // (always gridded) and one depth tick per x position, 12 m and every 3 m on.
    void drawMinuteAxes(canvas::Canvas &canvas, int xCount) const;
    // A curve of limits in minutes, measured down from the top of the y range;
    // points outside the plot are skipped and the next inside point joins the last drawn one.
    void drawTopCurve(canvas::Canvas &canvas, canvas::Rgb colour, int penWidth, std::span<const int> values) const;

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int xMax() const { return m_xMax; }
    int yMax() const { return m_yMax; }
    int yStep() const { return m_yStep; }

private:
    void drawCurve(canvas::Canvas &canvas, canvas::Rgb colour, canvas::Rgb warningColour, int penWidth, int pointCount,
        const std::function<double(int)> &depthAt, const std::function<bool(int)> &warnedAt) const;
    void drawAxisLines(canvas::Canvas &canvas) const;
    void drawDepthGrid(canvas::Canvas &canvas) const;
    canvas::Point clampToPlot(canvas::Point p, bool &clamped) const;

    canvas::Rgb m_lineColour;
    canvas::Rgb m_textColour;
    int m_left;
    int m_top;
    int m_width;
    int m_height;
    logbook::UnitSystem m_units;
    int m_xMin = 0;
    int m_xMax = 100;
    int m_yMin = 0;
    int m_yMax = 100;
    int m_yStep = 1;
};

// The font of the axis labels.
canvas::Font axisFont();

} // namespace zorv::profile
