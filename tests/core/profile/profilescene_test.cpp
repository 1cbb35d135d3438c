#include "canvas/recordingcanvas.h"
#include "common/strings.h"
#include "profile/profileclipboard.h"
#include "profile/profilescene.h"
#include "profile/profilewindowlayout.h"
#include "profiletestdives.h"

#include <gtest/gtest.h>
#include <string>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::logbook::UnitSystem;
using zorv::test::diveOf;

namespace {

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
    EXPECT_EQ(
        r.pressure.substr(r.pressure.find(' ')), " " + std::string(zorv::common::str(zorv::common::StringId::UnitBar)));
    EXPECT_EQ(r.computerName, "Nemo");

    r = cursorReadout(d, 7, UnitSystem::Imperial, fixed, "Nemo");
    EXPECT_EQ(r.depth, "60");
    EXPECT_NE(r.pressure.find(std::string(zorv::common::str(zorv::common::StringId::UnitPsi))), std::string::npos);

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
    for (const Point p : c.touchedPoints())
        EXPECT_TRUE((Rect { 0, 0, size.width, size.height }.contains(p))) << p.x << "," << p.y;
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

TEST(ProfileScene, ALaidOverPlanDeeperAndLongerThanTheDiveWidensTheAxes)
{
    const DiveRecord shallow = diveOf(60, 9.0f);
    ProfileClipboard plan;
    plan.copyDive(diveOf(120, 27.0f));
    GraphStyle style;
    style.secondProfile = &plan;
    const Size size { 700, 400 };
    RecordingCanvas c;
    drawProfileGraph(c, size, &shallow, style);
    const PlotArea area = graphPlotArea(size);
    const auto clip = c.drawings([&](const CanvasOp &op) {
        return op.kind == OpKind::Polyline
            && op.state.pen.colour == style.colours[zorv::settings::ProfileColour::ClipProfile];
    });
    ASSERT_FALSE(clip.empty());
    int deepest = 0;
    for (const CanvasOp &op : clip)
        for (const Point p : op.points) {
            EXPECT_LE(p.y, area.top + area.height);
            EXPECT_LE(p.x, area.left + area.width);
            deepest = std::max(deepest, p.y);
        }
    EXPECT_GT(deepest, area.top + area.height / 2); // the plan's bottom lies well inside, not on the edge
    EXPECT_TRUE(c.findText("30") || c.findText("25")); // the axis reaches the plan's depth
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

} // namespace
