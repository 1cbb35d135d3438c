#include "profile/plannerdrawing.h"

#include "canvas/scaledcanvas.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "profile/depthaxisscale.h"

#include <algorithm>

namespace zorv::profile {

using canvas::Canvas;
using canvas::Pen;
using canvas::Point;
using canvas::Rect;
using settings::ProfileColour;

namespace {

    constexpr canvas::Rgb kBlack = canvas::rgb(0, 0, 0);
    // Inside a printed chart one unit is one screen pixel, so the chart looks as it does in the dialog.
    constexpr double kScreenDpi = 96.0;

    constexpr int kPageLeft = 250;
    constexpr int kValueLeft = 900;
    constexpr int kTitleTop = 200;
    constexpr int kLinesTop = 520;
    constexpr int kLineHeight = 55;
    constexpr int kHeadingGap = 25;
    constexpr int kChartHeight = 950;

    int linesHeight(const std::vector<PageLine> &lines)
    {
        int height = 0;
        for (const PageLine &line : lines)
            height += line.heading ? kLineHeight + kHeadingGap : kLineHeight;
        return height;
    }

    PageLine line(std::string label, std::string value)
    {
        return { std::move(label) + ":", std::move(value), false };
    }

} // namespace

PlotArea plannerPlotArea(canvas::Size control)
{
    return { 24, 24, control.width - 48, control.height - 48 };
}

void drawPlannerChart(Canvas &canvas, canvas::Size size, const PlannedProfile &profile, const PlannerChartStyle &style)
{
    const auto &colours = style.colours;
    canvas.fillRect(Rect { 0, 0, size.width, size.height }, colours[ProfileColour::Background]);
    const PlotArea area = plannerPlotArea(size);
    ProfilePlot plot(colours[ProfileColour::Lines], colours[ProfileColour::Text], area.left, area.top, area.width,
        area.height, logbook::UnitSystem::Metric);
    const int step = depthAxisScale(profile.depthAxis, logbook::UnitSystem::Metric).step;
    const int n = std::clamp(profile.count, 0, PlannedProfile::kCapacity);
    plot.setRanges(0, n, 0, profile.depthAxis + step);
    plot.setYStep(step);
    plot.drawAxes(canvas, n + 1, style.grid);

    std::vector<logbook::ProfileSample> markers(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < markers.size(); ++i)
        markers[i].markers[0] = profile.markers[i];
    plot.drawDecoLine(canvas, colours[ProfileColour::DecoLine], markers);

    plot.drawClipProfile(canvas, colours[ProfileColour::Profile], colours[ProfileColour::Warnings], 3, profile.depths,
        profile.markers, profile.pointCount());
    if (style.secondProfile && !style.secondProfile->isEmpty()) {
        const ProfileClipboard &second = *style.secondProfile;
        plot.drawClipProfile(canvas, colours[ProfileColour::ClipProfile], colours[ProfileColour::Warnings], 2,
            second.depths(), second.markers(), second.count());
    }
}

void drawPlannerCursorLines(Canvas &canvas, canvas::Size size, Point mouse, bool crosshair)
{
    const TrackingRect rect = graphTrackingRect(size);
    if (!rect.contains(mouse))
        return;
    canvas.setRasterMode(canvas::RasterMode::Invert);
    canvas.setPen(Pen { kBlack, 1, canvas::PenStyle::Solid });
    canvas.drawLine({ mouse.x, rect.bottom }, { mouse.x, rect.top });
    if (crosshair)
        canvas.drawLine({ rect.left, mouse.y }, { rect.right, mouse.y });
    canvas.setRasterMode(canvas::RasterMode::Copy);
}

std::vector<PageLine> plannerPageLines(const PlannerState &state)
{
    using common::cformat;
    std::vector<PageLine> lines;
    lines.push_back({ common::tr("Données"), "", true });
    lines.push_back(line(common::tr("Max. Prof."), cformat("%.0f m", state.depth)));
    lines.push_back(line(common::tr("Temps au fond"), cformat("%d min", state.bottomTime)));
    lines.push_back(
        line(common::tr("Table"), state.altitude == 1 ? common::tr("Lac d'altitude") : common::tr("Niveau de la mer")));
    const std::optional<Repetitive> previous = repetitiveInfo(state);
    lines.push_back(line(common::tr("Plongée successive"),
        previous ? cformat(
            common::tr("Groupe de pression: %c  Intervalle de surface: %d min"), previous->group, previous->interval)
                 : std::string(common::tr("non"))));
    const bool air = state.breathingRate != 0;
    if (air) {
        lines.push_back(line(common::tr("Données air"),
            state.tankLitres != 0 && state.fillPressure != 0
                ? cformat(common::tr("Cons.Moy %.1f l/min  Bout. %.1f l %d bar"), state.breathingRate, state.tankLitres,
                    state.fillPressure)
                : cformat(common::tr("Cons.Moy %.1f l/min"), state.breathingRate)));
    }

    lines.push_back({ common::tr("Résultat"), "", true });
    lines.push_back(line(common::tr("Durée"), cformat("%d min", state.totalTime)));
    lines.push_back(line(common::tr("Temps de remontée"), cformat("%d min", state.ascentTime)));
    lines.push_back(line(common::tr("Groupe de pression"), state.resultGroup));
    lines.push_back(line(common::tr("Majoration"), cformat("%d min", state.residualTime)));
    lines.push_back(line(common::tr("Dans la courbe"), cformat("%d min", state.noDecoLimit)));
    lines.push_back(line(common::tr("Interdiction de vol"), cformat(common::tr("%d heures"), state.noFlyHours)));
    const std::array<std::pair<int, const char *>, 5> stops { { { state.stop15, "%s 15 m:" },
        { state.stop12, "%s 12 m:" }, { state.stop9, "%s  9 m:" }, { state.stop6, "%s  6 m:" },
        { state.stop3, "%s  3 m:" } } };
    for (const auto &[minutes, format] : stops)
        if (minutes != 0)
            lines.push_back({ cformat(format, common::tr("palier")), cformat("%d min", minutes), false });
    if (air)
        lines.push_back(line(common::tr("Cons. air"), cformat("%d bar·l", state.airNeeded)));
    if (state.pressureLoss != 0) {
        lines.push_back(line(common::tr("Pression restante"), cformat("%d bar", state.remainingPressure)));
        lines.push_back(line(common::tr("Perte de pression"), cformat("%d bar", state.pressureLoss)));
    }
    return lines;
}

Rect plannerPageChartRect(const PlannerState &state)
{
    const int top = kLinesTop + linesHeight(plannerPageLines(state)) + kLineHeight + kHeadingGap;
    return { kPageLeft, top, kPlannerPageSize.width - kPageLeft, top + kChartHeight };
}

void drawPlannerPage(
    Canvas &canvas, const PlannerState &state, const PlannedProfile &profile, const PlannerChartStyle &style)
{
    canvas.setTextColour(kBlack);
    canvas.setFont(canvas::Font { "Arial", 20.0, 0, 0, 700, false, false });
    canvas.drawText(Point { kPageLeft, kTitleTop }, common::tr("Calcul de plongée"));
    canvas.setFont(canvas::Font { "Arial", 12.0, 0, 0, 400, true, false });
    canvas.drawText(Point { kPageLeft, kTitleTop + 110 }, common::tr("d'après Déco 92"));

    const canvas::Font heading { "Arial", 12.0, 0, 0, 700, false, false };
    const canvas::Font body { "Arial", 10.0, 0, 0, 400, false, false };
    int y = kLinesTop;
    for (const PageLine &entry : plannerPageLines(state)) {
        if (entry.heading) {
            y += kHeadingGap;
            canvas.setFont(heading);
            canvas.drawText(Point { kPageLeft, y }, entry.label);
        } else {
            canvas.setFont(body);
            canvas.drawText(Point { kPageLeft + 50, y }, entry.label);
            canvas.drawText(Point { kValueLeft, y }, entry.value);
        }
        y += kLineHeight;
    }

    y += kHeadingGap;
    canvas.setFont(heading);
    canvas.drawText(Point { kPageLeft, y }, "Profil");
    const Rect chart = plannerPageChartRect(state);
    const double unitsPerPixel = 254.0 / kScreenDpi;
    canvas::ScaledCanvas screen(canvas, unitsPerPixel, Point { chart.left, chart.top });
    const canvas::Size pixels { static_cast<int>(chart.width() / unitsPerPixel),
        static_cast<int>(chart.height() / unitsPerPixel) };
    drawPlannerChart(screen, pixels, profile, style);
    canvas.setPen(Pen { kBlack, 3, canvas::PenStyle::Solid });
    canvas.setBrush(canvas::Brush {});
    canvas.drawRect(chart);
}

} // namespace zorv::profile
