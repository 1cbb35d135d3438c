#include "canvas/recordingcanvas.h"
#include "profile/nodecocurves.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::settings::NoDecoColour;
using zorv::settings::NoDecoColours;

namespace {

// Distinct colours, so that each drawing call tells which role it drew.
NoDecoColours distinctColours()
{
    NoDecoColours c;
    for (std::size_t i = 0; i < c.size(); ++i)
        c.colours[i] = rgb(static_cast<int>(i + 1), 50, 50);
    return c;
}

const NoDecoCurve kCurves[] = { NoDecoCurve::Deco92SeaLevel, NoDecoCurve::Deco92Mountain, NoDecoCurve::UsNavy,
    NoDecoCurve::AladinLow, NoDecoCurve::AladinHigh };

TEST(NoDecoLimits, ShrinkWithDepthAndStopWhereTheTablesStop)
{
    for (NoDecoCurve curve : kCurves) {
        const auto limits = noDecoLimits(curve);
        const std::size_t expected = curve == NoDecoCurve::UsNavy ? 12u : 18u;
        EXPECT_EQ(limits.size(), expected) << noDecoCurveName(curve);
        EXPECT_TRUE(std::is_sorted(limits.rbegin(), limits.rend())) << noDecoCurveName(curve);
        EXPECT_GT(limits.back(), 0);
    }
    EXPECT_EQ(noDecoDepth(static_cast<int>(noDecoLimits(NoDecoCurve::UsNavy).size()) - 1), 45);
    EXPECT_EQ(noDecoDepth(kNoDecoPointCount - 1), 63);
}

TEST(NoDecoChart, DrawsOnlyTheTickedCurvesInTheirColoursAndOrder)
{
    const NoDecoColours colours = distinctColours();
    RecordingCanvas c;
    drawNoDecoChart(c, { 500, 300 }, colours, NoDecoCurveSet { true, false, true, false, true });
    const auto curves = c.ofKind(OpKind::Polyline);
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves[0].state.pen, (Pen { colours[NoDecoColour::Curve1], 2, PenStyle::Solid }));
    EXPECT_EQ(curves[1].state.pen.colour, colours[NoDecoColour::Curve3]);
    EXPECT_EQ(curves[2].state.pen.colour, colours[NoDecoColour::Curve5]);
    const auto background = c.ofKind(OpKind::FillRect);
    ASSERT_FALSE(background.empty());
    EXPECT_EQ(background.front().colour, colours[NoDecoColour::Background]);
    EXPECT_EQ(background.front().rect, (Rect { 0, 0, 500, 300 }));

    // Cleared boxes leave the axes and the grid from 200 down to 0 minutes.
    c.clear();
    drawNoDecoChart(c, { 500, 300 }, colours, NoDecoCurveSet {});
    EXPECT_TRUE(c.ofKind(OpKind::Polyline).empty());
    for (const char *label : { "200\xC2\xB4", "0\xC2\xB4", "Minute(s)", "63" })
        EXPECT_TRUE(c.findText(label).has_value()) << label;
    for (const CanvasOp &op : c.ofKind(OpKind::Line))
        EXPECT_EQ(op.state.pen.colour, colours[NoDecoColour::Lines]);
}

TEST(NoDecoChart, UsNavyStartsOnTheTopEdgeAndEndsAtTheFortyFiveMetreTick)
{
    RecordingCanvas c;
    drawNoDecoChart(c, { 500, 300 }, distinctColours(), NoDecoCurveSet { false, false, true, false, false });
    const auto curves = c.ofKind(OpKind::Polyline);
    ASSERT_EQ(curves.size(), 1u);
    const auto &points = curves[0].points;
    ASSERT_EQ(points.size(), 12u);
    EXPECT_EQ(points.front(), (Point { 42, 24 })); // 200 minutes at 12 m
    const auto label45 = c.findText("45");
    ASSERT_TRUE(label45.has_value());
    EXPECT_EQ(points.back().x, label45->points[0].x + 8);
    // 5 minutes at 45 m: 195 of 200 units down a 252-pixel plot.
    EXPECT_EQ(points.back().y, 24 + static_cast<int>(252.0 / 200 * 195));
}

TEST(NoDecoChart, StaysInsideTheControlAtEverySize)
{
    for (Size size : { Size { 200, 120 }, Size { 500, 300 }, Size { 1200, 800 } }) {
        RecordingCanvas c;
        drawNoDecoChart(c, size, distinctColours(), kAllNoDecoCurves);
        EXPECT_EQ(c.ofKind(OpKind::Polyline).size(), 5u);
        for (const Point p : c.touchedPoints())
            EXPECT_TRUE((Rect { 0, 0, size.width, size.height }.contains(p))) << p.x << "," << p.y;
        for (const CanvasOp &text : c.ofKind(OpKind::Text))
            EXPECT_GE(text.points[0].x, 0) << text.text;
    }
}

TEST(NoDecoPreview, ShowsTheFirstFiveDepthsOfEveryCurve)
{
    const NoDecoColours colours = distinctColours();
    RecordingCanvas c;
    drawNoDecoPreview(c, { 300, 200 }, colours);
    const auto curves = c.ofKind(OpKind::Polyline);
    ASSERT_EQ(curves.size(), 5u);
    const int right = 48 + 300 - 60;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        EXPECT_EQ(curves[i].state.pen.colour, colours.colours[i]);
        ASSERT_EQ(curves[i].points.size(), 5u);
        EXPECT_EQ(curves[i].points.front().x, 48);
        EXPECT_EQ(curves[i].points.back().x, right);
    }
    EXPECT_TRUE(c.findText("24").has_value());
    EXPECT_FALSE(c.findText("27").has_value());
}

} // namespace
