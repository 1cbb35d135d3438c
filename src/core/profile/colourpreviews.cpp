#include "profile/colourpreviews.h"

#include "profile/profileplot.h"

namespace zorv::profile {

using settings::ProfileColour;

namespace {

    // Fifteen minutes of plot units down to 60 m, like a short deep dive.
    constexpr int kTicks = 16;

    void setSampleRanges(ProfilePlot &plot)
    {
        plot.setRanges(0, kTicks - 1, 0, 60);
        plot.setYStep(10);
    }

} // namespace

void drawProfileColourPreview(
    canvas::Canvas &canvas, canvas::Size size, const settings::ProfileColours &colours, logbook::UnitSystem units)
{
    canvas.fillRect({ 0, 0, size.width, size.height }, colours[ProfileColour::Background]);
    ProfilePlot plot(
        colours[ProfileColour::Lines], colours[ProfileColour::Text], 26, 24, size.width - 50, size.height - 48, units);
    setSampleRanges(plot);
    plot.drawAxes(canvas, kTicks, Grid::On);
    plot.drawSegment(canvas, colours[ProfileColour::DecoLine], 2, 10, 0, 15, 0);
    plot.drawSegment(canvas, colours[ProfileColour::Profile], 3, 0, 0, 4, 45);
    plot.drawSegment(canvas, colours[ProfileColour::Profile], 3, 4, 45, 15, 45);
    plot.drawSegment(canvas, colours[ProfileColour::Warnings], 3, 8, 45, 11, 45);
    plot.drawSegment(canvas, colours[ProfileColour::ClipProfile], 2, 0, 0, 5, 52);
    plot.drawSegment(canvas, colours[ProfileColour::ClipProfile], 2, 5, 52, 15, 52);
}

void drawStripColourPreview(canvas::Canvas &canvas, canvas::Size size, const settings::ProfileColours &colours)
{
    canvas.fillRect({ 0, 0, size.width, size.height }, colours[ProfileColour::Background]);
    ProfilePlot plot(colours[ProfileColour::Lines], colours[ProfileColour::Text], 26, 4, size.width - 50,
        size.height - 8, logbook::UnitSystem::Metric);
    setSampleRanges(plot);
    plot.drawStripFrame(canvas, kTicks, SignalLane::On);
    plot.drawLaneBar(canvas, colours[ProfileColour::Warnings], 3, 3, 8, 11);
    plot.drawLaneBar(canvas, colours[ProfileColour::RadioSignal], 3, 4, 0, 5);
}

} // namespace zorv::profile
