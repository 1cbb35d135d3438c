#include "canvas/recordingcanvas.h"
#include "common/strings.h"
#include "profile/profileclipboard.h"
#include "profile/profileplot.h"
#include "profile/profilescene.h"
#include "profile/profilewindowlayout.h"

#include <gtest/gtest.h>
#include <string>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::logbook::ProfileSample;
using zorv::logbook::UnitSystem;

namespace {

constexpr Rgb kWarn = rgb(255, 0, 0);
constexpr Rgb kSignal = rgb(255, 192, 0);

DiveRecord diveOf(int samples, float metres)
{
    DiveRecord d;
    d.profileLength = 10;
    d.sampleCount = static_cast<std::uint16_t>(samples);
    for (int i = 0; i < samples; ++i)
        d.samples[static_cast<std::size_t>(i)].depth = -metres;
    d.profileMaxDepth = metres;
    d.diveNumber = 42;
    return d;
}

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
    DiveRecord d = diveOf(10, 12.0f);
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

TEST(ProfileClipboard, CopyEndsAtTheSurfaceAndHoldsAFullDive)
{
    ProfileClipboard clipboard;
    DiveRecord d = diveOf(zorv::logbook::kMaxSamples, 30.0f);
    d.samples[3].markers[0] = 0x04;
    clipboard.copyDive(d);
    ASSERT_EQ(clipboard.count(), zorv::logbook::kMaxSamples + 1);
    EXPECT_EQ(clipboard.depths().back(), 0.0);
    EXPECT_EQ(clipboard.depths()[0], -30.0);
    EXPECT_EQ(clipboard.markers()[3], 0x04);

    // A dive without samples leaves the clipboard alone.
    clipboard.copyDive(DiveRecord {});
    EXPECT_EQ(clipboard.count(), zorv::logbook::kMaxSamples + 1);
}

TEST(ProfileClipboard, SecondProfileIsDrawnLikeTheFirstInItsOwnColour)
{
    ProfileClipboard clipboard;
    DiveRecord d = diveOf(4, 10.0f);
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

TEST(ProfileButtons, FollowTheDiveTheClipboardAndTheSecondProfile)
{
    ProfileClipboard clipboard;
    const DiveRecord d = diveOf(30, 10.0f);
    EXPECT_EQ(profileButtons(d, clipboard, false), (ProfileButtons { true, false, false, true }));
    clipboard.copyDive(d);
    EXPECT_EQ(profileButtons(d, clipboard, false), (ProfileButtons { true, true, false, true }));
    EXPECT_EQ(profileButtons(d, clipboard, true), (ProfileButtons { true, false, true, true }));
    EXPECT_EQ(profileButtons(DiveRecord {}, clipboard, true), (ProfileButtons { false, false, true, false }));
}

TEST(PlanRequest, NeedsAMinuteOfDiveAndRoundsTheDepthUp)
{
    DiveRecord d = diveOf(30, 18.2f);
    d.maxDepth = 1820;
    EXPECT_FALSE(planRequest(d, 3));
    EXPECT_EQ(planRequest(d, 10), (PlanRequest { 19, 3, false }));
    d.altitudeClass = 2;
    d.maxDepth = -1; // take the profile's maximum
    EXPECT_EQ(planRequest(d, 4), (PlanRequest { 19, 1, true }));
}

TEST(ProfileWindowLayout, CursorFollowsTheMouseWithinTheDive)
{
    const TrackingRect rect = graphTrackingRect({ 400, 300 });
    EXPECT_EQ(rect, (TrackingRect { 26, 24, 376, 276 }));
    EXPECT_TRUE(rect.contains({ 376, 276 }));
    EXPECT_FALSE(rect.contains({ 377, 100 }));
    // 351 pixels for 10 samples and the closing point: 31.9 pixels each.
    EXPECT_EQ(cursorIndexAt(26, rect, 10, 7), 0);
    EXPECT_EQ(cursorIndexAt(26 + 64, rect, 10, 7), 2);
    EXPECT_EQ(cursorIndexAt(376, rect, 10, 7), 10); // not 11, past the closing point
    EXPECT_EQ(cursorIndexAt(30, TrackingRect { 26, 0, 24, 0 }, 10, 7), 7);
}

TEST(ProfileWindowLayout, ResizeStretchesListAndGraphAndKeepsTheStripUnderTheGraph)
{
    const ProfileWindowLayout before { { 8, 8, 100, 392 }, { 110, 8, 592, 300 }, { 110, 300, 592, 392 } };
    const ProfileWindowLayout after = layoutProfileWindow(before, { 800, 600 });
    EXPECT_EQ(after.diveList, (Rect { 8, 8, 100, 592 }));
    EXPECT_EQ(after.graph, (Rect { 110, 8, 792, 500 }));
    EXPECT_EQ(after.strip, (Rect { 110, 500, 792, 592 }));
}

TEST(ProfileWindowLayout, ListLineMarksTheProfileKind)
{
    DiveRecord d = diveOf(3, 5.0f);
    EXPECT_EQ(profileListLine(d), "H\t00042"); // a header of zeros is the hand editor's
    d.profileHeader[0] = 17;
    EXPECT_EQ(profileListLine(d), "P\t00042");
    d.profileLength = 0;
    d.sampleCount = 0;
    EXPECT_EQ(profileListLine(d), " \t00042");
}

TEST(CursorReadout, ShowsWhatTheComputerShowedAtTheCursor)
{
    DiveRecord d = diveOf(12, 18.25f);
    d.samples[2].depth = -20.5f;
    d.tankVolume = 1200;
    d.extra.tankPressure = 20000;
    d.airConsumption = 15.0f;
    const ComputerTraits fixed { false, true };
    CursorReadout r = cursorReadout(d, 7, UnitSystem::Metric, fixed, "Nemo");
    EXPECT_EQ(r.depth, "18.2");
    EXPECT_EQ(r.elapsed, "2:");
    EXPECT_EQ(r.maxDepth, "20.5");
    EXPECT_EQ(r.pressure.substr(r.pressure.find(' ')), " " + std::string(zorv::common::str(62450)));
    EXPECT_EQ(r.computerName, "Nemo");

    r = cursorReadout(d, 7, UnitSystem::Imperial, fixed, "Nemo");
    EXPECT_EQ(r.depth, "60");
    EXPECT_NE(r.pressure.find(std::string(zorv::common::str(62451))), std::string::npos);

    d.tankVolume = zorv::logbook::kMissing;
    EXPECT_EQ(cursorReadout(d, 7, UnitSystem::Metric, fixed, "").pressure, "");
    d.profileLength = 0;
    EXPECT_EQ(cursorReadout(d, 7, UnitSystem::Metric, fixed, "Nemo"), (CursorReadout { "", "", "", "", "Nemo" }));
}

TEST(ProfileScene, EverythingStaysInsideThePictureWithTheCursorLines)
{
    DiveRecord d = diveOf(90, 23.4f);
    d.samples[40].depth = -60.0f; // deeper than the axis: clipped to the plot
    d.samples[20].markers = { 0x3F, 40, 30, 90 };
    d.tankVolume = 1200;
    d.airConsumption = 18.0f;
    SceneOptions options;
    options.traits.airIntegrated = true;
    options.cursor = 20;
    options.graph.averageLine = AverageLine::On;
    ProfileClipboard second;
    second.copyDive(diveOf(100, 30.0f));
    options.graph.secondProfile = &second;

    const Size size { 700, 480 };
    RecordingCanvas c;
    drawProfileScene(c, size, &d, options);
    for (const Point p : c.touchedPoints()) {
        EXPECT_GE(p.x, 0);
        EXPECT_GE(p.y, 0);
        EXPECT_LT(p.x, size.width);
        EXPECT_LT(p.y, size.height);
    }
    const auto black = c.drawings([](const CanvasOp &op) {
        return op.kind == OpKind::Line && op.state.pen.colour == rgb(0, 0, 0) && op.state.pen.width == 1;
    });
    EXPECT_GE(black.size(), 2u);
    EXPECT_TRUE(c.findText("NTD"));
    EXPECT_TRUE(c.findText("Cons.Moy"));

    // No profile: grey graph and strip, no needles, empty display fields.
    c.clear();
    d.profileLength = 0;
    drawProfileScene(c, size, &d, options);
    const SceneLayout layout = sceneLayout(size);
    const auto greys = c.drawings(
        [&](const CanvasOp &op) { return op.kind == OpKind::FillRect && op.colour == rgb(192, 192, 192); });
    ASSERT_GE(greys.size(), 2u);
    EXPECT_EQ(greys[0].rect, layout.graph);
    EXPECT_EQ(greys[1].rect, layout.strip);
}

// Inverted on the pale chart background the line came out white; it must show on every colour.
TEST(CursorLines, CrossAtTheMouseBlackBetweenWhiteEdgesInsideThePlot)
{
    const Size size { 400, 300 };
    const PlotArea area = graphPlotArea(size);
    RecordingCanvas c;
    drawCursorLines(c, size, Point { 120, 77 }, Crosshair::On);
    const auto lines = c.ofKind(OpKind::Line);
    ASSERT_EQ(lines.size(), 4u);
    for (const CanvasOp &op : lines)
        EXPECT_EQ(op.state.rasterMode, RasterMode::Copy);
    const int bottom = area.top + area.height;
    const int right = area.left + area.width;
    for (int i : { 0, 2 }) {
        EXPECT_EQ(
            lines[static_cast<std::size_t>(i)].points, (std::vector<Point> { { 120, bottom }, { 120, area.top } }));
        EXPECT_EQ(
            lines[static_cast<std::size_t>(i) + 1].points, (std::vector<Point> { { area.left, 77 }, { right, 77 } }));
    }
    EXPECT_EQ(lines[0].state.pen.colour, rgb(255, 255, 255));
    EXPECT_EQ(lines[0].state.pen.width, 3);
    EXPECT_EQ(lines[2].state.pen.colour, rgb(0, 0, 0));
    EXPECT_EQ(lines[2].state.pen.width, 1);
    // The band repainted to take the line away covers the white edges.
    const Rect band = cursorLineBand(size, { 120, 77 }, Crosshair::On);
    EXPECT_LE(band.top, 77 - 1);
    EXPECT_GE(band.bottom, 77 + 2);
    EXPECT_LE(band.left, area.left - 1);

    // Without the crosshair only the vertical line; a point outside is held at the plot's edge.
    c.clear();
    drawCursorLines(c, size, Point { 5, 400 }, Crosshair::Off);
    const auto vertical = c.ofKind(OpKind::Line);
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(vertical[1].points[0], (Point { area.left, bottom }));
}

// The data window opened behind the profile window and over its check boxes.
TEST(DataWindowPlace, BesideTheWindowOrOverItsChartNeverOverItsControlsOrOffTheScreen)
{
    const Rect screen { 0, 0, 1920, 1080 };
    const Size data { 300, 400 };
    const Rect window { 100, 100, 900, 700 };
    const Rect chart { 300, 130, 880, 560 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, nullptr), (Rect { 908, 100, 1208, 500 }));

    // No room to the right: to the left.
    const Rect rightEdge { 1000, 100, 1900, 700 };
    const Rect rightChart { 1200, 130, 1880, 560 };
    EXPECT_EQ(placeDataWindow(screen, rightEdge, rightChart, data, nullptr), (Rect { 692, 100, 992, 500 }));

    // The window fills the screen: over the chart's upper right corner.
    const Rect full { 0, 0, 1920, 1080 };
    const Rect bigChart { 200, 30, 1900, 800 };
    EXPECT_EQ(placeDataWindow(screen, full, bigChart, data, nullptr), (Rect { 1592, 38, 1892, 438 }));

    // Where the user left it counts while it is on the screen and off the controls.
    const Rect onChart { 400, 140, 700, 540 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &onChart), onChart);
    const Rect overControls { 120, 400, 420, 800 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &overControls), (Rect { 908, 100, 1208, 500 }));
    const Rect offScreen { 1800, 900, 2100, 1300 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &offScreen), (Rect { 908, 100, 1208, 500 }));

    // A chart smaller than the data window, on a small screen: still on the screen.
    const Rect small { 0, 0, 800, 600 };
    const Rect placed = placeDataWindow(small, small, Rect { 200, 30, 400, 200 }, data, nullptr);
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.right, 800);
    EXPECT_LE(placed.bottom, 600);
}

} // namespace
