#include "canvas/recordingcanvas.h"
#include "profile/colourpreviews.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::UnitSystem;
using zorv::settings::ProfileColour;
using zorv::settings::ProfileColours;

namespace {

ProfileColours distinctColours()
{
    ProfileColours c;
    for (std::size_t i = 0; i < c.size(); ++i)
        c.colours[i] = rgb(10, static_cast<int>(i + 1), 10);
    return c;
}

std::vector<CanvasOp> linesIn(const RecordingCanvas &c, Rgb colour)
{
    return c.drawings([colour](const CanvasOp &op) {
        return (op.kind == OpKind::Line || op.kind == OpKind::Polyline) && op.state.pen.colour == colour;
    });
}

// 400 × 200: the plot is 350 × 152 from (26, 24), 15 time units by 60 depth units.
TEST(ProfileColourPreview, EachRoleDrawsItsOwnPartOfTheSample)
{
    const ProfileColours colours = distinctColours();
    RecordingCanvas c;
    drawProfileColourPreview(c, { 400, 200 }, colours, UnitSystem::Metric);
    const auto fills = c.ofKind(OpKind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().colour, colours[ProfileColour::Background]);

    const int depth45 = 24 + static_cast<int>(152.0 / 60 * 45);
    const int depth52 = 24 + static_cast<int>(152.0 / 60 * 52);
    const auto deco = linesIn(c, colours[ProfileColour::DecoLine]);
    ASSERT_EQ(deco.size(), 1u);
    EXPECT_EQ(deco[0].points[0].y, 24);
    EXPECT_EQ(deco[0].state.pen.width, 2);

    const auto profile = linesIn(c, colours[ProfileColour::Profile]);
    ASSERT_EQ(profile.size(), 2u);
    EXPECT_EQ(profile[1].points[1], (Point { 26 + 350, depth45 }));
    EXPECT_EQ(profile[0].state.pen.width, 3);

    const auto warning = linesIn(c, colours[ProfileColour::Warnings]);
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].points[0].y, depth45);

    const auto second = linesIn(c, colours[ProfileColour::ClipProfile]);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[1].points[1].y, depth52);

    EXPECT_FALSE(linesIn(c, colours[ProfileColour::Lines]).empty());
    const auto unitWord = c.findText("M\xC3\xA8tres");
    ASSERT_TRUE(unitWord.has_value());
    EXPECT_EQ(unitWord->state.textColour, colours[ProfileColour::Text]);
    // The signal colour belongs to the strip only.
    EXPECT_TRUE(linesIn(c, colours[ProfileColour::RadioSignal]).empty());
}

TEST(StripColourPreview, PutsTheWarningAndSignalBarsInTheirLanes)
{
    const ProfileColours colours = distinctColours();
    RecordingCanvas c;
    drawStripColourPreview(c, { 400, 60 }, colours);
    // Lanes of 52 ÷ 5 = 10 pixels from the top at 4: centres 9, 19, 29, 39, 49.
    const auto warning = linesIn(c, colours[ProfileColour::Warnings]);
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].points[0].y, 39);
    EXPECT_EQ(warning[0].points[0].x, 26 + static_cast<int>(350.0 / 15 * 8));
    const auto signal = linesIn(c, colours[ProfileColour::RadioSignal]);
    ASSERT_EQ(signal.size(), 1u);
    EXPECT_EQ(signal[0].points[0], (Point { 26, 49 }));
    EXPECT_TRUE(c.findText("NTD").has_value());
    for (Point p : c.touchedPoints()) {
        EXPECT_GE(p.y, 0);
        EXPECT_LT(p.y, 60);
    }
}

} // namespace
