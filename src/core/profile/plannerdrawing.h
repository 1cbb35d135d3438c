// The planner's pictures: the chart of the planned dive, its cursor lines and the printed page.
#pragma once

#include "canvas/canvas.h"
#include "profile/planner.h"
#include "profile/profileclipboard.h"
#include "profile/profileplot.h"
#include "profile/profilewindowlayout.h"
#include "settings/settings.h"

#include <string>
#include <vector>

namespace zorv::profile {

struct PlannerChartStyle {
    settings::ProfileColours colours = settings::kDefaultProfileColours;
    Grid grid = Grid::On;
    // The second profile, or null when none is shown.
    const ProfileClipboard *secondProfile = nullptr;
};

// The plot area of the planner's chart control: 24 pixels free on every side.
PlotArea plannerPlotArea(canvas::Size control);

// The planned dive in metres, whatever the unit system: the tables speak metres.
void drawPlannerChart(
    canvas::Canvas &canvas, canvas::Size size, const PlannedProfile &profile, const PlannerChartStyle &style);

// Inverting lines through the mouse point: a vertical one over the plot and, with the crosshair, a horizontal one.
// Nothing when the point is outside the tracking rectangle.
void drawPlannerCursorLines(canvas::Canvas &canvas, canvas::Size size, canvas::Point mouse, bool crosshair);

// One line of the printed page: a label with its colon and a value, or a section heading (empty value, bold).
struct PageLine {
    std::string label;
    std::string value;
    bool heading = false;
    bool operator==(const PageLine &) const = default;
};
// The inputs and results as the page lists them, headings included.
std::vector<PageLine> plannerPageLines(const PlannerState &state);

// A4 portrait, in tenths of a millimetre.
inline constexpr canvas::Size kPlannerPageSize { 2100, 2970 };
// The page in tenths of a millimetre: title, inputs, results and the chart. Draw it through a ScaledCanvas.
void drawPlannerPage(
    canvas::Canvas &canvas, const PlannerState &state, const PlannedProfile &profile, const PlannerChartStyle &style);
// The chart's place on the page, in tenths of a millimetre.
canvas::Rect plannerPageChartRect(const PlannerState &state);

} // namespace zorv::profile
