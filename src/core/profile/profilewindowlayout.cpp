#include "profile/profilewindowlayout.h"

#include "common/cformat.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

PlotArea graphPlotArea(canvas::Size control)
{
    return { 26, 24, control.width - 50, control.height - 48 };
}

PlotArea stripPlotArea(canvas::Size control)
{
    return { 26, 4, control.width - 50, control.height - 8 };
}

TrackingRect graphTrackingRect(canvas::Size control)
{
    return { 26, 24, control.width - 24, control.height - 24 };
}

int cursorIndexAt(int mouseX, const TrackingRect &rect, int sampleCount, int current)
{
    const double width = rect.right - rect.left + 1;
    const double perSample = width / (sampleCount + 1.0);
    if (!(perSample > 0))
        return current;
    const int index = static_cast<int>((mouseX - rect.left + 1) / perSample);
    // The rightmost pixel column would name a point after the closing one.
    return std::clamp(index, 0, std::max(0, sampleCount));
}

ProfileWindowLayout layoutProfileWindow(const ProfileWindowLayout &current, canvas::Size client)
{
    ProfileWindowLayout next = current;
    next.diveList.bottom = client.height - 8;
    const int stripHeight = current.strip.height();
    next.graph.right = client.width - 8;
    next.graph.bottom = client.height - 8 - stripHeight;
    next.strip = { next.graph.left, next.graph.bottom, next.graph.right, next.graph.bottom + stripHeight };
    return next;
}

std::string profileListLine(const logbook::DiveRecord &dive)
{
    const logbook::ProfileKind kind = logbook::profileKind(dive);
    const char mark = kind == logbook::ProfileKind::Computer ? 'P'
        : kind == logbook::ProfileKind::HandDrawn            ? 'H'
                                                             : ' ';
    return common::cformat("%c\t%05d", mark, static_cast<int>(dive.diveNumber));
}

} // namespace zorv::profile
