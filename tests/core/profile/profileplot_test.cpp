#include "canvas/recordingcanvas.h"
#include "profile/previewdrawing.h"
#include "profile/profileclipboard.h"
#include "profile/profileplot.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::logbook::ProfileSample;
using zorv::logbook::UnitSystem;

namespace {

constexpr Rgb kLine = rgb(1, 1, 1);
constexpr Rgb kText = rgb(2, 2, 2);
constexpr Rgb kCurve = rgb(0, 0, 128);
constexpr Rgb kWarn = rgb(255, 0, 0);
const std::string kMinute = "\xC2\xB4";

// A plot as the profile window lays it out in a 400 × 300 control.
ProfilePlot windowPlot(UnitSystem units = UnitSystem::Metric)
{
    return ProfilePlot(kLine, kText, 26, 24, 350, 252, units);
}

DiveRecord diveWithDepths(const std::vector<float> &metres)
{
    DiveRecord d;
    d.profileLength = 10;
    d.sampleCount = static_cast<std::uint16_t>(metres.size());
    d.samples.resize(d.sampleCount);
    for (std::size_t i = 0; i < metres.size(); ++i) {
        d.samples[i].depth = -metres[i];
        d.profileMaxDepth = std::max(d.profileMaxDepth, metres[i]);
    }
    return d;
}

std::vector<std::string> textsStartingWithDigit(const RecordingCanvas &c, const std::string &suffix)
{
    std::vector<std::string> out;
    for (const CanvasOp &op : c.ofKind(OpKind::Text)) {
        const bool digit = !op.text.empty() && op.text[0] >= '0' && op.text[0] <= '9';
        const bool ends = op.text.size() >= suffix.size() && op.text.ends_with(suffix);
        if (digit && ends && (suffix.empty() ? op.text.find('\xC2') == std::string::npos : true))
            out.push_back(op.text);
    }
    return out;
}

TEST(ProfilePlotMap, OriginStaysAtTheTopLeftAndValuesAreTruncated)
{
    ProfilePlot plot(kLine, kText, 26, 24, 100, 200, UnitSystem::Metric);
    plot.setRanges(0, 3, 0, 28);
    EXPECT_EQ(plot.map(0, 0), (Point { 26, 24 }));
    EXPECT_EQ(plot.map(1, 0).x, 26 + 33); // 33.33 cut toward zero
    EXPECT_EQ(plot.map(2, 0).x, 26 + 66);
    EXPECT_EQ(plot.map(0, 28).y, 24 + 200);
    EXPECT_EQ(plot.map(0, 5).y, 24 + 35); // 35.71
    EXPECT_EQ(plot.map(-1, 0).x, 26 - 33); // toward zero, not down

    // The minimum scales but does not shift.
    plot.setRanges(10, 20, 0, 100);
    EXPECT_EQ(plot.map(0, 0), (Point { 26, 24 }));
    EXPECT_EQ(plot.map(1, 0).x, 36);

    // An empty range maps one unit to one pixel.
    plot.setRanges(0, 0, 5, 5);
    EXPECT_EQ(plot.map(3, 4), (Point { 29, 28 }));
}

struct RangeCase {
    float maxDepth;
    UnitSystem units;
    int yMax;
    int step;
};

class DiveRangesTest : public testing::TestWithParam<RangeCase> { };

TEST_P(DiveRangesTest, DepthAxisEndsOneStepBelowTheDeepestPoint)
{
    const RangeCase &c = GetParam();
    DiveRecord dive = diveWithDepths({ 0, c.maxDepth, 0 });
    ProfilePlot plot = windowPlot(c.units);
    setDiveRanges(plot, dive, c.units);
    EXPECT_EQ(plot.yMax(), c.yMax);
    EXPECT_EQ(plot.yStep(), c.step);
    EXPECT_EQ(plot.xMax(), 3);
}

INSTANTIATE_TEST_SUITE_P(Examples, DiveRangesTest,
    testing::Values(RangeCase { 23.4f, UnitSystem::Metric, 28, 5 }, RangeCase { 9, UnitSystem::Metric, 10, 1 },
        RangeCase { 10, UnitSystem::Metric, 12, 2 }, RangeCase { 0, UnitSystem::Metric, 1, 1 },
        // 30 m is 98.4 ft: steps of 20, axis to 118.
        RangeCase { 30, UnitSystem::Imperial, 118, 20 }));

TEST(ProfilePlotAxes, DepthLabelsStepToTheAxisEndWithOffsetsByDigitCount)
{
    RecordingCanvas c;
    ProfilePlot plot = windowPlot();
    setDiveRanges(plot, diveWithDepths({ 0, 23.4f, 0 }), UnitSystem::Metric);
    plot.drawAxes(c, 4, Grid::Off);

    EXPECT_EQ(textsStartingWithDigit(c, ""), (std::vector<std::string> { "0", "5", "10", "15", "20", "25" }));
    const auto five = c.findText("5");
    ASSERT_TRUE(five);
    EXPECT_EQ(five->points[0], (Point { 26 - 12, plot.map(0, 5).y - 8 }));
    EXPECT_EQ(five->state.font.family, "Arial");
    EXPECT_EQ(five->state.font.pointSize, 8.0);
    EXPECT_EQ(five->colour, kText);
    EXPECT_EQ(c.findText("25")->points[0], (Point { 26 - 20, plot.map(0, 25).y - 8 }));
    const auto unit = c.findText("M\xC3\xA8tres");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->points[0], (Point { 2, 1 }));

    RecordingCanvas feet;
    ProfilePlot deep = windowPlot(UnitSystem::Imperial);
    setDiveRanges(deep, diveWithDepths({ 0, 40, 0 }), UnitSystem::Imperial);
    deep.drawAxes(feet, 4, Grid::Off);
    ASSERT_TRUE(feet.findText("Pieds"));
    ASSERT_TRUE(feet.findText("140"));
    // Three digits would start at 26 - 28; they are kept inside the picture.
    EXPECT_EQ(feet.findText("140")->points[0].x, 0);
}

// The plot of a 10-sample dive to 10 m with a depth step of 5.
RecordingCanvas shortAxes(const ProfilePlot &base, Grid grid)
{
    ProfilePlot plot = base;
    plot.setRanges(0, 9, 0, 10);
    plot.setYStep(5);
    RecordingCanvas c;
    plot.drawAxes(c, 10, grid);
    return c;
}

TEST(ProfilePlotAxes, AxisLinesTickLengthsAndGrid)
{
    const auto lines = shortAxes(windowPlot(), Grid::Off).ofKind(OpKind::Line);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point> { { 26, 24 }, { 26, 276 } }));
    EXPECT_EQ(lines[1].points, (std::vector<Point> { { 26, 276 }, { 376, 276 } }));
    EXPECT_EQ(lines[0].state.pen, (Pen { kLine, 2 }));

    // Depth ticks point 4 pixels left; time ticks hang below the axis, 7 pixels each minute.
    std::vector<int> tickLengths;
    for (const CanvasOp &op : lines) {
        if (op.points[0].y == 276 && op.points[1].x == op.points[0].x)
            tickLengths.push_back(op.points[1].y - op.points[0].y);
        else if (op.points[0].x == 26 && op.points[1].y == op.points[0].y && op.state.pen.width == 1) {
            EXPECT_EQ(op.points[1].x, 22);
        }
    }
    EXPECT_EQ(tickLengths, (std::vector<int> { 4, 4, 4, 7, 4, 4, 7, 4, 4, 7 }));

    int horizontal = 0;
    int minuteLines = 0;
    for (const CanvasOp &op : shortAxes(windowPlot(), Grid::On).ofKind(OpKind::Line)) {
        if (op.state.pen.width != 1)
            continue;
        if (op.points[0].y == op.points[1].y) {
            EXPECT_EQ(op.points[0].x, 26);
            EXPECT_EQ(op.points[1].x, 376);
            ++horizontal;
        } else if (op.points[0].y == 24) {
            EXPECT_EQ(op.points[1].y, 276 + 7);
            ++minuteLines;
        }
    }
    EXPECT_EQ(horizontal, 3); // 0, 5, 10
    EXPECT_EQ(minuteLines, 3);
}

struct SpacingCase {
    int sampleCount;
    std::vector<std::string> firstLabels;
};

class MinuteLabelTest : public testing::TestWithParam<SpacingCase> { };

TEST_P(MinuteLabelTest, SpacingFollowsTheLengthOfTheDive)
{
    const SpacingCase &c = GetParam();
    RecordingCanvas canvas;
    ProfilePlot plot = windowPlot();
    plot.setRanges(0, c.sampleCount, 0, 10);
    plot.drawAxes(canvas, c.sampleCount + 1, Grid::Off);
    auto labels = textsStartingWithDigit(canvas, kMinute);
    ASSERT_GE(labels.size(), c.firstLabels.size());
    labels.resize(c.firstLabels.size());
    EXPECT_EQ(labels, c.firstLabels);
}

INSTANTIATE_TEST_SUITE_P(Examples, MinuteLabelTest,
    testing::Values(SpacingCase { 76, { "1" + kMinute, "2" + kMinute, "3" + kMinute } },
        SpacingCase { 77, { "2" + kMinute, "4" + kMinute } }, SpacingCase { 151, { "2" + kMinute, "4" + kMinute } },
        SpacingCase { 152, { "5" + kMinute, "10" + kMinute, "15" + kMinute } }));

// A 46-minute dive on the dive page's large preview, in the profile window and on a wide plot.
TEST(ProfilePlotAxes, MinuteLabelsThatWouldTouchAreLeftOut)
{
    constexpr int kSamples = 46 * 3;
    for (const int width : { 250, 350, 1200 }) {
        RecordingCanvas c;
        ProfilePlot plot(kLine, kText, 26, 24, width, 150, UnitSystem::Metric);
        plot.setRanges(0, kSamples, 0, 10);
        plot.drawAxes(c, kSamples + 1, Grid::Off);
        std::vector<CanvasOp> labels;
        for (const CanvasOp &op : c.ofKind(OpKind::Text))
            if (op.text.ends_with(kMinute))
                labels.push_back(op);
        ASSERT_GE(labels.size(), 3u) << width;
        for (std::size_t i = 1; i < labels.size(); ++i)
            EXPECT_GT(labels[i].points[0].x, labels[i - 1].points[0].x + c.textWidth(labels[i - 1].text))
                << width << ": " << labels[i - 1].text << " touches " << labels[i].text;
        // The rule's spacing stays: every label drawn is a multiple of 2 minutes, and where there
        // is room all of them are drawn.
        for (const CanvasOp &op : labels)
            EXPECT_EQ(std::stoi(op.text) % 2, 0) << op.text;
        if (width == 1200) {
            EXPECT_EQ(labels.size(), 23u);
        }
    }
}

TEST(ProfilePlotAxes, MinuteLabelsSitUnderTheirTick)
{
    RecordingCanvas c;
    ProfilePlot plot = windowPlot();
    plot.setRanges(0, 40, 0, 10);
    plot.drawAxes(c, 41, Grid::Off);
    EXPECT_EQ(c.findText("1" + kMinute)->points[0], (Point { plot.map(3, 0).x - 4, 276 + 6 }));
    EXPECT_EQ(c.findText("13" + kMinute)->points[0], (Point { plot.map(39, 0).x - 8, 276 + 6 }));
    EXPECT_FALSE(c.findText("0" + kMinute));
}

TEST(ProfilePlotAxes, UpsideDownPlotMirrorsTicksAndLabels)
{
    ProfilePlot plot(kLine, kText, 26, 276, 350, -252, UnitSystem::Metric);
    const RecordingCanvas c = shortAxes(plot, Grid::Off);
    plot.setRanges(0, 9, 0, 10);
    EXPECT_FALSE(c.findText("M\xC3\xA8tres"));
    EXPECT_EQ(c.findText("5")->points[0], (Point { 26 - 24, plot.map(0, 5).y + 8 }));
    EXPECT_EQ(c.findText("10")->points[0], (Point { 26 - 40, plot.map(0, 10).y + 8 }));
    EXPECT_EQ(c.findText("1" + kMinute)->points[0].y, 24 - 12);
    for (const CanvasOp &op : c.ofKind(OpKind::Line)) {
        if (op.points[0].y == 24 && op.points[0].x == op.points[1].x) {
            EXPECT_LT(op.points[1].y, 24);
        }
    }
}

TEST(ProfilePlotAxes, PlainAxesHaveNoLabelsOrTicks)
{
    RecordingCanvas c;
    ProfilePlot plot(kLine, kText, 8, 8, 143, 83, UnitSystem::Metric);
    plot.setRanges(0, 100, 0, 28);
    plot.setYStep(5);
    plot.drawPlainAxes(c, 101, Grid::On);
    EXPECT_TRUE(c.ofKind(OpKind::Text).empty());
    const auto lines = c.ofKind(OpKind::Line);
    ASSERT_EQ(lines.size(), 2u + 6u); // two axes, grid at 0, 5, ... 25
    for (std::size_t i = 2; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].points[0].y, lines[i].points[1].y);

    RecordingCanvas bare;
    plot.drawPlainAxes(bare, 101, Grid::Off);
    EXPECT_EQ(bare.ofKind(OpKind::Line).size(), 2u);
}

// The pen each segment i → i + 1 of the curve was drawn with, or 0 when it left no trace.
std::vector<Rgb> segmentColours(const RecordingCanvas &c, const ProfilePlot &plot, int pointCount)
{
    std::vector<Rgb> colours(static_cast<std::size_t>(pointCount - 1), 0);
    for (const CanvasOp &op : c.ofKind(OpKind::Polyline)) {
        for (std::size_t k = 0; k + 1 < op.points.size(); ++k) {
            for (int i = 0; i + 1 < pointCount; ++i) {
                if (op.points[k].x == plot.map(i, 0).x && op.points[k + 1].x == plot.map(i + 1, 0).x)
                    colours[static_cast<std::size_t>(i)] = op.state.pen.colour;
            }
        }
    }
    return colours;
}

RecordingCanvas curveOf(const ProfilePlot &plot, const DiveRecord &d)
{
    RecordingCanvas c;
    plot.drawProfile(c, kCurve, kWarn, 3, std::span(d.samples.data(), d.sampleCount), d.sampleCount + 1);
    return c;
}

TEST(ProfilePlotCurve, SegmentLeavingAWarningSampleTakesTheWarningColour)
{
    DiveRecord d = diveWithDepths({ 0, 5, 10, 12, 10, 5, 3 });
    d.samples[3].markers[0] = 0x04; // ascent warning
    d.samples[0].markers[0] = 0x1E; // never looked at
    d.samples[5].markers[0] = 0x21; // deco and radio signal: not warnings
    ProfilePlot plot = windowPlot();
    setDiveRanges(plot, d, UnitSystem::Metric);
    const RecordingCanvas c = curveOf(plot, d);

    EXPECT_EQ(segmentColours(c, plot, 8), (std::vector<Rgb> { kCurve, kCurve, kCurve, kWarn, kCurve, kCurve, kCurve }));
    for (const CanvasOp &op : c.ofKind(OpKind::Polyline))
        EXPECT_EQ(op.state.pen.width, 3);

    // The closing point after the last sample is on the surface.
    const auto polylines = c.ofKind(OpKind::Polyline);
    EXPECT_EQ(polylines.back().points.back(), plot.map(7, 0));
    // The curve starts at the first sample's depth, not above the plot.
    EXPECT_EQ(polylines.front().points.front(), plot.map(0, 0));
}

TEST(ProfilePlotCurve, PointsOutsideThePlotArePulledToItsEdgeWithoutATrace)
{
    DiveRecord d = diveWithDepths({ 2, 5, 40, 6, 3 });
    ProfilePlot plot = windowPlot();
    plot.setRanges(0, 3, 0, 10); // too short and too shallow for the dive
    plot.setYStep(2);
    const RecordingCanvas c = curveOf(plot, d);

    const int bottom = 24 + 252;
    for (const Point &p : c.touchedPoints())
        EXPECT_TRUE((Rect { 26, 24, 26 + 350 + 1, bottom + 1 }.contains(p))) << p.x << "," << p.y;
    // The segment down to 40 m is not drawn: no polyline ends on the clamped point
    // unless it starts there.
    const Point clamped { plot.map(2, 0).x, bottom };
    for (const CanvasOp &op : c.ofKind(OpKind::Polyline)) {
        for (std::size_t k = 1; k < op.points.size(); ++k)
            EXPECT_NE(op.points[k], clamped);
    }
}

TEST(ProfilePlotCurve, AFullDiveEndsOnTheSurfaceWithoutReadingPastItsSamples)
{
    const DiveRecord d = diveWithDepths(std::vector<float>(zorv::logbook::kMaxSamples, 20.0f));
    ProfilePlot plot = windowPlot();
    setDiveRanges(plot, d, UnitSystem::Metric);
    const auto polylines = curveOf(plot, d).ofKind(OpKind::Polyline);
    ASSERT_FALSE(polylines.empty());
    EXPECT_EQ(polylines.back().points.back(), (Point { 26 + 350, 24 }));
}

TEST(ProfilePlotCurve, ImperialDepthsArePlottedInFeet)
{
    DiveRecord d = diveWithDepths({ 0, 10, 0 });
    ProfilePlot plot = windowPlot(UnitSystem::Imperial);
    plot.setRanges(0, 3, 0, 50);
    EXPECT_EQ(curveOf(plot, d).ofKind(OpKind::Polyline)[0].points[1].y, plot.map(1, 32.80846).y);
}

struct DecoCase {
    int first;
    int last; // bit set on first … last
    int start;
    int end; // expected line, or -1 for none
};

class DecoLineTest : public testing::TestWithParam<DecoCase> { };

TEST_P(DecoLineTest, RunsAlongTheSurface)
{
    const DecoCase &c = GetParam();
    std::vector<ProfileSample> samples(100);
    for (int i = c.first; i <= c.last && i >= 0; ++i)
        samples[static_cast<std::size_t>(i)].markers[0] = 0x01;
    ProfilePlot plot = windowPlot();
    plot.setRanges(0, 100, 0, 30);
    RecordingCanvas canvas;
    plot.drawDecoLine(canvas, kWarn, samples);
    const auto lines = canvas.ofKind(OpKind::Line);
    if (c.start < 0) {
        EXPECT_TRUE(lines.empty());
        return;
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point> { plot.map(c.start, 0), plot.map(c.end, 0) }));
    EXPECT_EQ(lines[0].state.pen, (Pen { kWarn, 2 }));
}

INSTANTIATE_TEST_SUITE_P(Examples, DecoLineTest,
    testing::Values(DecoCase { 10, 20, 10, 99 }, DecoCase { 10, 99, 10, 99 }, DecoCase { 0, 0, 0, 99 },
        DecoCase { -1, -1, -1, -1 }));

constexpr Rgb kSignal = rgb(255, 192, 0);

// The strip of a 400 × 92 control over a dive of 10 samples.
ProfilePlot stripPlot()
{
    ProfilePlot plot(rgb(0, 0, 0), rgb(0, 0, 0), 26, 4, 350, 84, UnitSystem::Metric);
    plot.setRanges(0, 10, 0, 20);
    return plot;
}

std::vector<CanvasOp> barsIn(const RecordingCanvas &c, const ProfilePlot &plot, int lane)
{
    return c.drawings([&](const CanvasOp &op) {
        return op.kind == OpKind::Line && op.state.pen.width == 3 && op.points[0].y == plot.laneY(lane);
    });
}

TEST(WarningStrip, LanesAreSpacedByAFifthOfTheHeight)
{
    const ProfilePlot plot = stripPlot();
    EXPECT_EQ(plot.laneY(0), 4 + 8);
    EXPECT_EQ(plot.laneY(4), 4 + 8 + 4 * 16);

    RecordingCanvas c;
    plot.drawStripFrame(c, 11, SignalLane::Off);
    EXPECT_EQ(c.findText("RBT")->points[0], (Point { 0, plot.laneY(2) - 6 }));
    EXPECT_EQ(c.findText("AMV")->points[0], (Point { 0, plot.laneY(3) - 6 }));
    EXPECT_FALSE(c.findText("NTD"));
    c.clear();
    plot.drawStripFrame(c, 11, SignalLane::On);
    EXPECT_EQ(c.findText("NTD")->points[0], (Point { 0, plot.laneY(4) - 6 }));
}

TEST(WarningStrip, ABarCoversTheSegmentThatEndsOnTheWarningSample)
{
    DiveRecord d = diveWithDepths(std::vector<float>(10, 12.0f));
    d.samples[5].markers[0] = 1u << 2; // lane 1
    d.samples[7].markers[0] = (1u << 3) | (1u << 5); // lane 0 and the signal
    d.samples[8].markers[0] = 1u << 3;
    const ProfilePlot plot = stripPlot();
    const std::span<const ProfileSample> samples(d.samples.data(), 10);

    RecordingCanvas c;
    plot.drawWarningLanes(c, kWarn, kSignal, 3, samples, 11, SignalLane::Off);
    const auto lane1 = barsIn(c, plot, 1);
    ASSERT_EQ(lane1.size(), 1u);
    EXPECT_EQ(lane1[0].points[0].x, plot.map(4, 0).x);
    EXPECT_EQ(lane1[0].points[1].x, plot.map(5, 0).x);
    // Two warned segments in a row make one bar.
    const auto lane0 = barsIn(c, plot, 0);
    ASSERT_EQ(lane0.size(), 1u);
    EXPECT_EQ(lane0[0].points[0].x, plot.map(6, 0).x);
    EXPECT_EQ(lane0[0].points[1].x, plot.map(8, 0).x);
    EXPECT_TRUE(barsIn(c, plot, 4).empty());

    c.clear();
    plot.drawWarningLanes(c, kWarn, kSignal, 3, samples, 11, SignalLane::On);
    const auto signal = barsIn(c, plot, 4);
    ASSERT_EQ(signal.size(), 1u);
    EXPECT_EQ(signal[0].state.pen.colour, kSignal);
}

TEST(ProfilePlotCurve, SecondProfileIsDrawnLikeTheFirstInItsOwnColour)
{
    ProfileClipboard clipboard;
    DiveRecord d = diveWithDepths(std::vector<float>(4, 10.0f));
    d.samples[1].markers[0] = 0x04;
    clipboard.copyDive(d);
    ProfilePlot plot(rgb(0, 0, 0), rgb(0, 0, 0), 26, 24, 100, 100, UnitSystem::Metric);
    plot.setRanges(0, 4, 0, 20);
    RecordingCanvas c;
    plot.drawClipProfile(c, kSignal, kWarn, 2, clipboard.depths(), clipboard.markers(), clipboard.count());
    const auto lines = c.ofKind(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].state.pen.colour, kWarn); // the segment leaving sample 1
    EXPECT_EQ(lines[1].points.front(), plot.map(1, 10));
    EXPECT_EQ(lines[2].points.back(), plot.map(4, 0)); // the closing surface point
}

} // namespace
