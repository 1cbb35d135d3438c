#include "profile/previewdrawing.h"

#include "logbook/units.h"
#include "profile/depthaxisscale.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

using settings::ProfileColour;

PreviewSize previewSizeFor(canvas::Size size)
{
    return size.width >= 300 && size.height >= 200 ? PreviewSize::Large : PreviewSize::Small;
}

canvas::Size previewButtonSize(PreviewOption option, canvas::Point origin, canvas::Size view)
{
    if (option == PreviewOption::Off)
        return { 60, 20 };
    return { std::max(159, view.width - 24 - origin.x), std::max(99, view.height - 16 - origin.y) };
}

void setDiveRanges(ProfilePlot &plot, const logbook::DiveRecord &dive, logbook::UnitSystem units)
{
    double maxDepth = dive.profileMaxDepth > 0 ? dive.profileMaxDepth : 0.0;
    if (units == logbook::UnitSystem::Imperial)
        maxDepth = logbook::metresToFeet(maxDepth);
    const int step = depthAxisScale(maxDepth, units).step;
    plot.setRanges(0, dive.sampleCount, 0, static_cast<int>(std::min(maxDepth + step, 1e6)));
    plot.setYStep(step);
}

void drawPreview(canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const PreviewStyle &style)
{
    const canvas::Rect all { 0, 0, size.width, size.height };
    if (!dive || dive->profileLength == 0) {
        canvas.fillRect(all, kNoProfileGrey);
        return;
    }
    const auto &colours = style.colours;
    canvas.fillRect(all, colours[ProfileColour::Background]);

    const bool large = previewSizeFor(size) == PreviewSize::Large;
    const int left = large ? 26 : 8;
    const int top = large ? 24 : 8;
    const int width = size.width - (large ? 50 : 16);
    const int height = size.height - (large ? 48 : 16);
    ProfilePlot plot(
        colours[ProfileColour::Lines], colours[ProfileColour::Text], left, top, width, height, style.units);
    setDiveRanges(plot, *dive, style.units);

    const int sampleCount = std::min<int>(dive->sampleCount, logbook::kMaxSamples);
    const int xCount = sampleCount + 1;
    if (large)
        plot.drawAxes(canvas, xCount, style.grid);
    else
        plot.drawPlainAxes(canvas, xCount, style.grid);

    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(*dive);
    plot.drawDecoLine(canvas, colours[ProfileColour::DecoLine], samples);
    // Hand-drawn curves take the second-profile colour so that they never pass for a computer's record.
    const bool handDrawn = logbook::profileKind(*dive) == logbook::ProfileKind::HandDrawn;
    const canvas::Rgb curve = colours[handDrawn ? ProfileColour::ClipProfile : ProfileColour::Profile];
    plot.drawProfile(canvas, curve, colours[ProfileColour::Warnings], 3, samples, xCount);
}

} // namespace zorv::profile
