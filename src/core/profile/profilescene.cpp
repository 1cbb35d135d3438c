#include "profile/profilescene.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/units.h"
#include "profile/depthaxisscale.h"
#include "profile/gauges.h"
#include "profile/levelbars.h"
#include "profile/offsetcanvas.h"
#include "profile/previewdrawing.h"
#include "profile/profilewindowlayout.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

using canvas::Canvas;
using canvas::Pen;
using canvas::PenStyle;
using canvas::Point;
using canvas::Rect;
using canvas::Rgb;
using common::StringId;
using logbook::UnitSystem;
using settings::ProfileColour;

namespace {

    constexpr Rgb kBlack = canvas::rgb(0, 0, 0);
    constexpr Rgb kWhite = canvas::rgb(255, 255, 255);
    constexpr Rgb kNameRed = canvas::rgb(255, 64, 64);
    constexpr Rgb kLevelCaption = canvas::rgb(255, 0, 128);
    constexpr Rgb kDialogFace = canvas::rgb(224, 224, 224);

    bool hasProfile(const logbook::DiveRecord *dive)
    {
        return dive != nullptr && dive->profileLength != 0;
    }

    int samplesOf(const logbook::DiveRecord &dive)
    {
        return std::min<int>(dive.sampleCount, logbook::kMaxSamples);
    }

    std::span<const logbook::ProfileSample> samplesSpan(const logbook::DiveRecord &dive)
    {
        return logbook::profileSamples(dive);
    }

    ProfilePlot plotFor(const PlotArea &area, const settings::ProfileColours &colours, UnitSystem units)
    {
        return ProfilePlot(colours[ProfileColour::Lines], colours[ProfileColour::Text], area.left, area.top, area.width,
            area.height, units);
    }

    double displayDepth(double metres, UnitSystem units)
    {
        const double depth = std::fabs(metres);
        return units == UnitSystem::Metric ? depth : logbook::metresToFeet(depth);
    }

    std::string_view depthUnit(UnitSystem units)
    {
        return common::str(units == UnitSystem::Metric ? StringId::UnitMetres : StringId::UnitFeet);
    }

} // namespace

CursorReadout cursorReadout(const logbook::DiveRecord &dive, int cursor, UnitSystem units, const ComputerTraits &traits,
    const std::string &computerName)
{
    CursorReadout readout;
    readout.computerName = computerName;
    if (dive.profileLength == 0)
        return readout;
    const bool metric = units == UnitSystem::Metric;
    const int at = clampCursor(dive, cursor);
    const double depth = displayDepth(sampleAtCursor(dive, at).depth, units);
    readout.depth = common::cformat(metric ? "%.1f" : "%.0f", depth);
    readout.elapsed = common::cformat("%d:", at / 3);
    double deepest = 0;
    for (int i = 0; i <= at; ++i)
        deepest = std::max(deepest, displayDepth(sampleAtCursor(dive, i).depth, units));
    readout.maxDepth = common::cformat("%.1f", deepest);
    const double bar = remainingPressure(dive, at, traits);
    if (bar >= 0) {
        readout.pressure = metric
            ? common::cformat("%.0f %s", bar, std::string(common::str(StringId::UnitBar)).c_str())
            : common::cformat("%d %s", logbook::barToPsi(bar), std::string(common::str(StringId::UnitPsi)).c_str());
    }
    return readout;
}

void drawProfileGraph(Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const GraphStyle &style)
{
    const Rect all { 0, 0, size.width, size.height };
    if (!hasProfile(dive)) {
        canvas.fillRect(all, kNoProfileGrey);
        return;
    }
    const auto &colours = style.colours;
    canvas.fillRect(all, colours[ProfileColour::Background]);
    ProfilePlot plot = plotFor(graphPlotArea(size), colours, style.units);
    setDiveRanges(plot, *dive, style.units);
    const int samples = samplesOf(*dive);
    int xCount = samples + 1;
    if (style.secondProfile && !style.secondProfile->isEmpty()) {
        // A laid-over profile deeper or longer than the dive (a plan on a shallow dive) widens the axes to hold it.
        const ProfileClipboard &second = *style.secondProfile;
        double deepest = 0.0;
        for (const double depth : second.depths())
            if (std::isfinite(depth))
                deepest = std::max(deepest, -depth);
        if (style.units == UnitSystem::Imperial)
            deepest = logbook::metresToFeet(deepest);
        const int step = depthAxisScale(deepest, style.units).step;
        const int yMax = static_cast<int>(std::min(deepest + step, 1e6));
        xCount = std::max(xCount, second.count());
        if (yMax > plot.yMax()) {
            plot.setRanges(0, xCount - 1, 0, yMax);
            plot.setYStep(step);
        } else {
            plot.setRanges(0, xCount - 1, 0, plot.yMax());
        }
    }
    plot.drawAxes(canvas, xCount, style.grid);
    plot.drawDecoLine(canvas, colours[ProfileColour::DecoLine], samplesSpan(*dive));
    plot.drawProfile(
        canvas, colours[ProfileColour::Profile], colours[ProfileColour::Warnings], 3, samplesSpan(*dive), samples + 1);
    if (style.secondProfile && !style.secondProfile->isEmpty()) {
        const ProfileClipboard &second = *style.secondProfile;
        plot.drawClipProfile(canvas, colours[ProfileColour::ClipProfile], colours[ProfileColour::Warnings], 2,
            second.depths(), second.markers(), second.count());
    }
    if (style.averageLine == AverageLine::On) {
        const float metres = dive->avgDepth > 0 ? dive->avgDepth : dive->profileAvgDepth;
        const double depth = displayDepth(std::isfinite(metres) ? metres : 0.0f, style.units);
        plot.drawSegment(canvas, colours[ProfileColour::Lines], 2, 0, depth, samples, depth);
    }
}

namespace {

    // Half the width of a cursor line with its white edges.
    constexpr int kCursorHalfWidth = 1;

    Point insidePlot(const PlotArea &area, Point at)
    {
        return { std::clamp(at.x, area.left, area.left + area.width),
            std::clamp(at.y, area.top, area.top + area.height) };
    }

} // namespace

void drawCursorLines(Canvas &canvas, canvas::Size graphSize, Point at, Crosshair crosshair)
{
    const PlotArea area = graphPlotArea(graphSize);
    const Point p = insidePlot(area, at);
    const int bottom = area.top + area.height;
    const int right = area.left + area.width;
    canvas.setRasterMode(canvas::RasterMode::Copy);
    for (const Pen &pen :
        { Pen { kWhite, 1 + 2 * kCursorHalfWidth, PenStyle::Solid }, Pen { kBlack, 1, PenStyle::Solid } }) {
        canvas.setPen(pen);
        canvas.drawLine({ p.x, bottom }, { p.x, area.top });
        if (crosshair == Crosshair::On)
            canvas.drawLine({ area.left, p.y }, { right, p.y });
    }
}

void drawCursorLines(Canvas &canvas, canvas::Size graphSize, const logbook::DiveRecord &dive, UnitSystem units,
    int cursor, Crosshair crosshair)
{
    if (dive.profileLength == 0)
        return;
    const PlotArea area = graphPlotArea(graphSize);
    ProfilePlot plot = plotFor(area, settings::kDefaultProfileColours, units);
    setDiveRanges(plot, dive, units);
    const int at = clampCursor(dive, cursor);
    drawCursorLines(canvas, graphSize, plot.map(at, plotDepth(sampleAtCursor(dive, at).depth, units)), crosshair);
}

Rect cursorLineBand(canvas::Size graphSize, Point at, Crosshair line)
{
    const PlotArea area = graphPlotArea(graphSize);
    const Point p = insidePlot(area, at);
    const int margin = kCursorHalfWidth + 1;
    if (line == Crosshair::On)
        return { area.left - margin, p.y - margin, area.left + area.width + margin + 1, p.y + margin + 1 };
    return { p.x - margin, area.top - margin, p.x + margin + 1, area.top + area.height + margin + 1 };
}

void drawWarningStrip(Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive,
    const settings::ProfileColours &colours, UnitSystem units, SignalLane signalLane)
{
    const Rect all { 0, 0, size.width, size.height };
    if (!hasProfile(dive)) {
        canvas.fillRect(all, kNoProfileGrey);
        return;
    }
    canvas.fillRect(all, colours[ProfileColour::Background]);
    ProfilePlot plot = plotFor(stripPlotArea(size), colours, units);
    setDiveRanges(plot, *dive, units);
    const int samples = samplesOf(*dive);
    plot.drawStripFrame(canvas, samples + 1, signalLane);
    plot.drawWarningLanes(canvas, colours[ProfileColour::Warnings], colours[ProfileColour::RadioSignal], 3,
        samplesSpan(*dive), samples + 1, signalLane);
}

void drawComputerDisplay(Canvas &canvas, const CursorReadout &readout, UnitSystem units)
{
    const int w = kComputerDisplaySize.width;
    const int h = kComputerDisplaySize.height;
    canvas.fillRect(Rect { 0, 0, w, h }, kDisplayOlive);
    canvas.setPen(Pen { kBlack, 1, PenStyle::Solid });
    canvas.setBrush(canvas::Brush {});
    canvas.drawRect(Rect { 0, 0, w, h });

    const canvas::Font big { "Arial", 16.0, 0, 0, 700, false, false };
    const canvas::Font small { "Arial", 8.0, 0, 0, 400, false, false };
    canvas.setTextColour(kBlack);
    // Depth and time read large, as on the computer; the rest is secondary.
    canvas.setFont(big);
    canvas.drawText(Rect { 6, 4, w / 2, 34 }, readout.depth, canvas::HAlign::Left, canvas::VAlign::Centre);
    canvas.drawText(Rect { w / 2, 4, w - 6, 34 }, readout.elapsed, canvas::HAlign::Right, canvas::VAlign::Centre);
    canvas.setFont(small);
    if (!readout.depth.empty())
        canvas.drawText(Rect { 6, 34, w / 2, 46 }, depthUnit(units), canvas::HAlign::Left, canvas::VAlign::Top);
    const std::string deepest = readout.maxDepth.empty() ? std::string() : "max " + readout.maxDepth;
    canvas.drawText(Rect { 6, 48, w / 2, 62 }, deepest, canvas::HAlign::Left, canvas::VAlign::Centre);
    canvas.drawText(Rect { w / 2, 48, w - 6, 62 }, readout.pressure, canvas::HAlign::Right, canvas::VAlign::Centre);

    const Rect nameBox { 1, h - 22, w - 1, h - 1 };
    canvas.fillRect(nameBox, kBlack);
    canvas.setTextColour(kNameRed);
    canvas.drawText(nameBox, readout.computerName, canvas::HAlign::Centre, canvas::VAlign::Centre);
}

SceneLayout sceneLayout(canvas::Size size)
{
    const int width = std::max(size.width, kMinimumSceneSize.width);
    const int height = std::max(size.height, kMinimumSceneSize.height);
    constexpr int kBand = 122;
    constexpr int kStrip = 92;
    SceneLayout layout;
    layout.graph = { 0, 0, width, height - kBand - kStrip };
    layout.strip = { 0, layout.graph.bottom, width, layout.graph.bottom + kStrip };
    const int panelTop = layout.strip.bottom + 24;
    layout.instruments = { 8, panelTop, 8 + kInstrumentPanelSize.width, panelTop + kInstrumentPanelSize.height };
    layout.levelBars = { layout.instruments.right + 16, panelTop, layout.instruments.right + 16 + kLevelBarsSize.width,
        panelTop + kLevelBarsSize.height };
    layout.display
        = { width - 8 - kComputerDisplaySize.width, panelTop, width - 8, panelTop + kComputerDisplaySize.height };
    return layout;
}

void drawProfileScene(Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const SceneOptions &options)
{
    const SceneLayout layout = sceneLayout(size);
    const UnitSystem units = options.graph.units;
    canvas.fillRect(
        Rect { 0, 0, std::max(size.width, kMinimumSceneSize.width), std::max(size.height, kMinimumSceneSize.height) },
        kDialogFace);

    const canvas::Size graphSize { layout.graph.width(), layout.graph.height() };
    {
        OffsetCanvas graph(canvas, { layout.graph.left, layout.graph.top });
        drawProfileGraph(graph, graphSize, dive, options.graph);
        if (dive && options.cursor != 0)
            drawCursorLines(graph, graphSize, *dive, units, options.cursor, options.crosshair);
    }
    {
        OffsetCanvas strip(canvas, { layout.strip.left, layout.strip.top });
        drawWarningStrip(strip, { layout.strip.width(), layout.strip.height() }, dive, options.graph.colours, units,
            options.traits.airIntegrated ? SignalLane::On : SignalLane::Off);
    }

    const bool active = hasProfile(dive);
    const logbook::DiveRecord blank;
    const logbook::DiveRecord &shown = dive ? *dive : blank;
    {
        OffsetCanvas panel(canvas, { layout.instruments.left, layout.instruments.top });
        const GaugeValues values
            = active ? gaugeValuesAt(shown, options.cursor, units, options.traits) : GaugeValues {};
        drawInstrumentPanel(panel, values, units, faceDisksFor(units, options.clockBackground));
    }
    // The captions over the gauges, in the order of the gauges.
    canvas.setFont(axisFont());
    canvas.setTextColour(kBlack);
    const std::string_view captions[]
        = { "Cons.Moy", "Prof.", common::str(units == UnitSystem::Metric ? StringId::UnitBar : StringId::UnitPsi) };
    for (int i = 0; i < 3; ++i) {
        const Point centre = gaugeCentre(static_cast<GaugeKind>(i));
        const int x = layout.instruments.left + centre.x;
        canvas.drawText(Rect { x - 40, layout.instruments.top - 20, x + 40, layout.instruments.top - 2 }, captions[i],
            canvas::HAlign::Centre, canvas::VAlign::Bottom);
    }

    {
        OffsetCanvas bars(canvas, { layout.levelBars.left, layout.levelBars.top });
        drawLevelBars(bars, sampleAtCursor(shown, options.cursor), active ? BarsActive::Yes : BarsActive::No);
    }
    const char *levels[] = { N_("très"), N_("haut"), N_("normal") };
    const Rect captionColumn { layout.levelBars.right, layout.levelBars.top, layout.levelBars.right + 40,
        layout.levelBars.bottom };
    canvas.fillRect(captionColumn, kLevelBarsGrey);
    canvas.setTextColour(kLevelCaption);
    for (int i = 0; i < 3; ++i) {
        const int top = captionColumn.top + 4 + i * 30;
        canvas.drawText(Rect { captionColumn.left + 4, top, captionColumn.right - 2, top + 14 }, common::tr(levels[i]),
            canvas::HAlign::Left, canvas::VAlign::Top);
    }

    OffsetCanvas display(canvas, { layout.display.left, layout.display.top });
    drawComputerDisplay(
        display, cursorReadout(shown, options.cursor, units, options.traits, options.computerName), units);
}

} // namespace zorv::profile
