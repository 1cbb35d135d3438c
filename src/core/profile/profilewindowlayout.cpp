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

namespace {

    bool inside(const canvas::Rect &outer, const canvas::Rect &r)
    {
        return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
    }

    bool overlaps(const canvas::Rect &a, const canvas::Rect &b)
    {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    canvas::Rect at(int left, int top, canvas::Size size)
    {
        return { left, top, left + size.width, top + size.height };
    }

    // Moves the rectangle onto the screen, its top left corner first when it is larger.
    canvas::Rect ontoScreen(const canvas::Rect &screen, canvas::Rect r)
    {
        const int dx = std::max(screen.left - r.left, std::min(0, screen.right - r.right));
        const int dy = std::max(screen.top - r.top, std::min(0, screen.bottom - r.bottom));
        const int left = std::max(screen.left, r.left + dx);
        const int top = std::max(screen.top, r.top + dy);
        return at(left, top, { r.width(), r.height() });
    }

    // Off the controls: outside the profile window, or wholly over its chart.
    bool offTheControls(const canvas::Rect &r, const canvas::Rect &profileWindow, const canvas::Rect &chart)
    {
        return !overlaps(r, profileWindow) || inside(chart, r);
    }

} // namespace

canvas::Rect placeDataWindow(const canvas::Rect &screen, const canvas::Rect &profileWindow, const canvas::Rect &chart,
    canvas::Size dataWindow, const canvas::Rect *stored)
{
    if (stored && inside(screen, *stored) && offTheControls(*stored, profileWindow, chart))
        return at(stored->left, stored->top, dataWindow);
    constexpr int kGap = 8;
    const int top = std::clamp(profileWindow.top, screen.top, std::max(screen.top, screen.bottom - dataWindow.height));
    const canvas::Rect right = at(profileWindow.right + kGap, top, dataWindow);
    if (inside(screen, right))
        return right;
    const canvas::Rect left = at(profileWindow.left - kGap - dataWindow.width, top, dataWindow);
    if (inside(screen, left))
        return left;
    return ontoScreen(screen, at(chart.right - kGap - dataWindow.width, chart.top + kGap, dataWindow));
}

} // namespace zorv::profile
