#include "canvas/recordingcanvas.h"
#include "profile/breathing.h"
#include "profile/gauges.h"
#include "profile/levelbars.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::logbook::ProfileSample;
using zorv::logbook::UnitSystem;

namespace {

constexpr ComputerTraits kFixed { false, true };
constexpr ComputerTraits kFromSamples { true, false };

// Ten samples at 10 m from a 10-litre tank filled to 200 bar, 20 l/min at the surface.
DiveRecord tankDive()
{
    DiveRecord d;
    d.profileLength = 10;
    d.sampleCount = 10;
    d.samples.resize(d.sampleCount);
    for (int i = 0; i < 10; ++i)
        d.samples[static_cast<std::size_t>(i)].depth = -10.0f;
    d.tankVolume = 1000;
    d.extra.tankPressure = 20000;
    d.airConsumption = 20.0f;
    return d;
}

TEST(BreathingModel, WorkloadComesFromTheSampleUnlessTheComputerCannotRecordIt)
{
    ProfileSample sample;
    sample.markers[2] = 12;
    EXPECT_EQ(workloadLevel(sample, kFromSamples), 12);
    EXPECT_EQ(workloadLevel(sample, kFixed), 5);
    EXPECT_NEAR(breathingRate(20.0f, 5), 20.0 * 0.96667, 1e-3);
    EXPECT_DOUBLE_EQ(breathingRate(20.0f, 0), 0.0);
}

TEST(RemainingPressure, BreathesEachSampleForAThirdOfAMinuteAtItsAmbientPressure)
{
    DiveRecord d = tankDive();
    const double perSample = 20.0 * (0.8 + 5 / 30.0) * 2.0 / 3.0; // litres at 10 m
    EXPECT_NEAR(remainingPressure(d, 2, kFixed), (2000.0 - 3 * perSample) / 10.0, 1e-9);

    // A semi-closed rebreather does not pay for depth.
    d.diveType |= zorv::logbook::dive_type::kScr;
    EXPECT_NEAR(remainingPressure(d, 2, kFixed), (2000.0 - 3 * perSample / 2.0) / 10.0, 1e-9);
}

TEST(RemainingPressure, MissingOrOddTankDataDegradeInsteadOfFailing)
{
    DiveRecord d = tankDive();
    d.extra.tankPressure = zorv::logbook::kMissing;
    EXPECT_NEAR(remainingPressure(d, 0, kFixed), 200.0 - 20 * 0.96667 * 2 / 3 / 10, 1e-3);

    d.tankVolume = zorv::logbook::kMissing;
    EXPECT_EQ(remainingPressure(d, 3, kFixed), -1.0);
    d.tankVolume = 0; // would divide by zero
    EXPECT_EQ(remainingPressure(d, 3, kFixed), -1.0);

    // More air breathed than the tank held shows an empty tank, not a negative one.
    d = tankDive();
    d.airConsumption = 5000.0f;
    EXPECT_EQ(remainingPressure(d, 9, kFixed), 0.0);

    // A cursor beyond the closing point reads no sample past the dive.
    d = tankDive();
    EXPECT_EQ(remainingPressure(d, 5000, kFixed), remainingPressure(d, 10, kFixed));
    EXPECT_EQ(clampCursor(d, 5000), 10);
    EXPECT_EQ(sampleAtCursor(d, 10), ProfileSample {});
}

TEST(GaugeNeedle, ScaleRunsClockwiseFromSixOClock)
{
    EXPECT_DOUBLE_EQ(needleAngle(0, 80), 180.0);
    EXPECT_DOUBLE_EQ(needleAngle(20, 80), 90.0); // 9 o'clock
    EXPECT_DOUBLE_EQ(needleAngle(40, 80), 0.0);
    EXPECT_DOUBLE_EQ(needleAngle(60, 80), 270.0); // 3 o'clock
    EXPECT_DOUBLE_EQ(needleAngle(80, 80), 180.0);
    const Point centre { 100, 100 };
    EXPECT_EQ(needleEnd(centre, 90.0, 38), (Point { 62, 100 }));
    EXPECT_EQ(needleEnd(centre, 0.0, 38), (Point { 100, 62 }));
    EXPECT_EQ(needleEnd(centre, 180.0, 38), (Point { 100, 138 }));
}

// The lines of one colour that start at a gauge's centre.
std::vector<CanvasOp> needles(const RecordingCanvas &c, GaugeKind kind, Rgb colour)
{
    return c.drawings([&](const CanvasOp &op) {
        return op.kind == OpKind::Line && op.points[0] == gaugeCentre(kind) && op.state.pen.colour == colour;
    });
}

TEST(InstrumentPanel, NeedlesShowTheCursorSampleAndStopAtFullScale)
{
    DiveRecord d = tankDive();
    d.samples[3].depth = -95.0f;
    RecordingCanvas c;
    drawInstrumentPanel(c, gaugeValuesAt(d, 3, UnitSystem::Metric, kFixed), UnitSystem::Metric, FaceDisks::On);

    const Point depthCentre = gaugeCentre(GaugeKind::Depth);
    const auto depth = needles(c, GaugeKind::Depth, rgb(0, 0, 0));
    ASSERT_EQ(depth.size(), 1u);
    EXPECT_EQ(depth[0].points[1], (Point { depthCentre.x, depthCentre.y + 38 })); // the 80 m mark
    ASSERT_EQ(needles(c, GaugeKind::Depth, rgb(255, 0, 0)).size(), 1u);
    EXPECT_EQ(needles(c, GaugeKind::Breathing, rgb(0, 0, 0)).size(), 1u);
    EXPECT_EQ(needles(c, GaugeKind::Pressure, rgb(0, 0, 0)).size(), 1u);

    for (const Point p : c.touchedPoints())
        EXPECT_TRUE((Rect { 0, 0, kInstrumentPanelSize.width, kInstrumentPanelSize.height }.contains(p)))
            << p.x << "," << p.y;
}

TEST(InstrumentPanel, MissingValuesRemoveTheirNeedles)
{
    DiveRecord d = tankDive();
    d.airConsumption = 0.0f;
    d.tankVolume = zorv::logbook::kMissing;
    GaugeValues values = gaugeValuesAt(d, 3, UnitSystem::Metric, kFixed);
    EXPECT_FALSE(values.breathing);
    EXPECT_FALSE(values.pressure);
    EXPECT_TRUE(values.depth);

    d.profileLength = 0;
    values = gaugeValuesAt(d, 3, UnitSystem::Metric, kFixed);
    EXPECT_FALSE(values.depth);
    EXPECT_FALSE(values.maxDepth);
}

TEST(InstrumentPanel, ImperialFacesAlwaysHaveDisksMetricOnesFollowTheSwitch)
{
    EXPECT_EQ(faceDisksFor(UnitSystem::Imperial, false), FaceDisks::On);
    EXPECT_EQ(faceDisksFor(UnitSystem::Metric, false), FaceDisks::Off);
    RecordingCanvas c;
    drawInstrumentPanel(c, {}, UnitSystem::Metric, FaceDisks::Off);
    EXPECT_TRUE(c.ofKind(OpKind::Ellipse).empty());
    ASSERT_TRUE(c.findText("40"));
    c.clear();
    drawInstrumentPanel(c, {}, UnitSystem::Imperial, FaceDisks::On);
    EXPECT_EQ(c.ofKind(OpKind::Ellipse).size(), 3u);
    // "120" stands over the depth gauge's 12 o'clock.
    const auto label = c.findText("120");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->points[0], (Point { gaugeCentre(GaugeKind::Depth).x - 9, 9 }));
}

TEST(LevelBars, HeightsScaleToSeventyPixelsAndStayInThePanel)
{
    ProfileSample s;
    s.markers = { 0, 36, 22, 70 };
    EXPECT_EQ(levelBarHeights(s), (LevelBarHeights { 70, 70, 70 }));
    s.markers = { 0, 18, 11, 35 };
    EXPECT_EQ(levelBarHeights(s), (LevelBarHeights { 35, 35, 35 }));
    s.markers = { 0, 255, 255, 255 };
    EXPECT_EQ(levelBarHeights(s), (LevelBarHeights { 75, 70, 70 }));

    RecordingCanvas c;
    drawLevelBars(c, s, BarsActive::Yes);
    const auto red = c.drawings([](const CanvasOp &op) {
        return op.kind == OpKind::FillRect && op.colour == rgb(255, 0, 0) && op.rect.height() > 8;
    });
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0].rect, (Rect { 67, 5, 93, 75 }));
    for (const Point p : c.touchedPoints()) {
        EXPECT_GE(p.y, 0);
        EXPECT_LT(p.y, kLevelBarsSize.height);
    }

    // Inactive, only the symbols under the bars are drawn.
    c.clear();
    drawLevelBars(c, s, BarsActive::No);
    for (const CanvasOp &op : c.ofKind(OpKind::FillRect)) {
        if (op.colour != kLevelBarsGrey) {
            EXPECT_GE(op.rect.top, 77);
        }
    }
}

} // namespace
