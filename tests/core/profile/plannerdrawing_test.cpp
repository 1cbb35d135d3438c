#include "canvas/recordingcanvas.h"
#include "canvas/scaledcanvas.h"
#include "profile/plannerdrawing.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::settings::ProfileColour;

namespace {

struct Planned {
    PlannerState state;
    PlannedProfile profile;
};

Planned planned(double depth, int minutes)
{
    Planned p;
    p.state.depth = depth;
    p.state.bottomTime = minutes;
    EXPECT_TRUE(calculate(p.state, p.profile));
    return p;
}

bool inside(const Rect &r, Point p)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

std::vector<const CanvasOp *> drawnIn(const RecordingCanvas &canvas, Rgb colour)
{
    std::vector<const CanvasOp *> out;
    for (const CanvasOp &op : canvas.ops())
        if ((op.kind == OpKind::Line || op.kind == OpKind::Polyline) && op.state.pen.colour == colour)
            out.push_back(&op);
    return out;
}

} // namespace

TEST(PlannerChart, DrawsTheDecoLineCurveAndSecondProfileInsideTheControl)
{
    const Planned p = planned(24.0, 45);
    PlannerChartStyle style;
    ProfileClipboard second;
    const std::vector<double> depths(50, -10.0);
    second.setProfile(depths, {});
    style.secondProfile = &second;
    RecordingCanvas canvas;
    const Size size { 500, 300 };
    drawPlannerChart(canvas, size, p.profile, style);

    const auto &colours = style.colours;
    ASSERT_FALSE(canvas.ops().empty());
    EXPECT_EQ(canvas.ops().front().kind, OpKind::FillRect);
    EXPECT_EQ(canvas.ops().front().colour, colours[ProfileColour::Background]);
    const Rect control { 0, 0, size.width, size.height };
    for (const CanvasOp &op : canvas.ops())
        for (Point point : op.points)
            ASSERT_TRUE(inside(control, point)) << point.x << "," << point.y;

    // The deco line runs along the surface from the first marked point.
    const auto deco = drawnIn(canvas, colours[ProfileColour::DecoLine]);
    ASSERT_EQ(deco.size(), 1u);
    const PlotArea area = plannerPlotArea(size);
    EXPECT_EQ(deco[0]->points[0].y, area.top);
    EXPECT_EQ(deco[0]->points[0].x, area.left + static_cast<int>(area.width / 189.0 * 62));
    EXPECT_FALSE(drawnIn(canvas, colours[ProfileColour::Profile]).empty());
    EXPECT_FALSE(drawnIn(canvas, colours[ProfileColour::ClipProfile]).empty());
    // 24 m on a 0 ... 29 m axis: the bottom lies at 24/29 of the height.
    int deepest = 0;
    for (const CanvasOp *op : drawnIn(canvas, colours[ProfileColour::Profile]))
        for (Point point : op->points)
            deepest = std::max(deepest, point.y);
    EXPECT_EQ(deepest, area.top + static_cast<int>(area.height / 29.0 * 24));
}

TEST(PlannerChart, CursorLinesOnlyInsideTheTrackingRectangle)
{
    const Size size { 500, 300 };
    RecordingCanvas outside;
    drawPlannerCursorLines(outside, size, { 10, 100 }, true);
    EXPECT_TRUE(outside.ops().empty());

    for (const bool crosshair : { false, true }) {
        RecordingCanvas canvas;
        drawPlannerCursorLines(canvas, size, { 200, 100 }, crosshair);
        std::vector<const CanvasOp *> lines;
        for (const CanvasOp &op : canvas.ops())
            if (op.kind == OpKind::Line) {
                EXPECT_EQ(op.state.rasterMode, RasterMode::Invert);
                lines.push_back(&op);
            }
        ASSERT_EQ(lines.size(), crosshair ? 2u : 1u);
        EXPECT_EQ(lines[0]->points, (std::vector<Point> { { 200, 276 }, { 200, 24 } }));
        if (crosshair) {
            EXPECT_EQ(lines[1]->points, (std::vector<Point> { { 26, 100 }, { 476, 100 } }));
        }
    }
}

TEST(PlannerPage, ListsInputsAndOnlyTheResultsThatApply)
{
    Planned p = planned(24.0, 45);
    auto find = [](const std::vector<PageLine> &lines, const std::string &label) {
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const PageLine &l) { return l.label == label; });
        return it == lines.end() ? std::optional<std::string>() : std::optional<std::string>(it->value);
    };
    std::vector<PageLine> lines = plannerPageLines(p.state);
    EXPECT_TRUE(lines.front().heading);
    EXPECT_EQ(find(lines, "Max. Prof.:"), "24 m");
    EXPECT_EQ(find(lines, "Temps au fond:"), "45 min");
    EXPECT_EQ(find(lines, "Table:"), "Niveau de la mer");
    EXPECT_EQ(find(lines, "Plongée successive:"), "non");
    EXPECT_EQ(find(lines, "Données air:"), "Cons.Moy 20.0 l/min  Bout. 15.0 l 200 bar");
    EXPECT_EQ(find(lines, "Interdiction de vol:"), "36 heures");
    EXPECT_EQ(find(lines, "palier  3 m:"), "13 min");
    EXPECT_EQ(find(lines, "palier  6 m:"), "2 min");
    EXPECT_FALSE(find(lines, "palier  9 m:"));
    EXPECT_EQ(find(lines, "Cons. air:"), "3594 bar·l");
    EXPECT_EQ(find(lines, "Pression restante:"), "-39 bar");
    EXPECT_EQ(find(lines, "Perte de pression:"), "239 bar");

    p.state.repetitive = 1;
    p.state.group = "D";
    p.state.interval = 40;
    p.state.altitude = 1;
    p.state.tankLitres = 0;
    p.state.breathingRate = 0;
    p.state.pressureLoss = 0;
    lines = plannerPageLines(p.state);
    EXPECT_EQ(find(lines, "Table:"), "Lac d'altitude");
    EXPECT_EQ(find(lines, "Plongée successive:"), "Groupe de pression: D  Intervalle de surface: 40 min");
    EXPECT_FALSE(find(lines, "Données air:"));
    EXPECT_FALSE(find(lines, "Cons. air:"));
    EXPECT_FALSE(find(lines, "Pression restante:"));
}

TEST(PlannerPage, EverythingLiesOnTheA4PageAtAnyResolution)
{
    const Planned p = planned(24.0, 45);
    const PlannerChartStyle style;
    for (const int dpi : { 96, 300, 600 }) {
        RecordingCanvas device(dpi);
        ScaledCanvas page(device, ScaledCanvas::tenthMillimetreScale(dpi));
        drawPlannerPage(page, p.state, p.profile, style);
        const Rect sheet = page.map(Rect { 0, 0, kPlannerPageSize.width, kPlannerPageSize.height });
        const Rect chart = page.map(plannerPageChartRect(p.state));
        bool title = false;
        int lastTextY = 0;
        for (const CanvasOp &op : device.ops()) {
            for (Point point : op.points)
                ASSERT_TRUE(inside(sheet, point)) << dpi;
            if (op.kind == OpKind::Text) {
                title = title || op.text == "Calcul de plongée";
                if (op.text != "Calcul de plongée" && !inside(chart, op.points[0]))
                    lastTextY = std::max(lastTextY, op.points[0].y);
            }
        }
        EXPECT_TRUE(title);
        // The text stays above the chart, and the chart inside the page.
        EXPECT_LT(lastTextY, chart.top);
        EXPECT_LE(chart.bottom, sheet.bottom);
    }
}
