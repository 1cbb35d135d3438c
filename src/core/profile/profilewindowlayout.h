// Where the profile window puts its plots, how the mouse picks a sample, and how the window's parts follow a resize.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"

#include <string>

namespace zorv::profile {

// The chart's plot area inside the graph control (left 26, top 24, 24 pixels
// free right and below), as left, top, width and height.
struct PlotArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PlotArea &) const = default;
};
PlotArea graphPlotArea(canvas::Size control);
PlotArea stripPlotArea(canvas::Size control);

// The rectangle the cursor follows the mouse in; unlike canvas::Rect its right
// and bottom edges belong to it.
struct TrackingRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(canvas::Point p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
    bool operator==(const TrackingRect &) const = default;
};
TrackingRect graphTrackingRect(canvas::Size control);

// The sample under a mouse x inside the tracking rectangle; `current` when the
// plot is too narrow to tell. The result never passes the closing surface point.
int cursorIndexAt(int mouseX, const TrackingRect &rect, int sampleCount, int current);

// The window's three resizable parts in client coordinates.
struct ProfileWindowLayout {
    canvas::Rect diveList;
    canvas::Rect graph;
    canvas::Rect strip;
    bool operator==(const ProfileWindowLayout &) const = default;
};
// The list keeps its width and reaches 8 pixels above the bottom; the graph
// keeps its corner and leaves 8 pixels right and 8 plus the strip's height
// below; the strip keeps its height and sits right under the graph.
ProfileWindowLayout layoutProfileWindow(const ProfileWindowLayout &current, canvas::Size client);

// Where the data window goes, in screen coordinates: where the user left it
// when that is still on the screen and off the profile window's controls (it
// may cover the chart); else beside the profile window, right or left, where
// the screen has room; else over the chart's upper right corner. Always inside
// the screen as far as its size allows.
canvas::Rect placeDataWindow(const canvas::Rect &screen, const canvas::Rect &profileWindow, const canvas::Rect &chart,
    canvas::Size dataWindow, const canvas::Rect *stored);

// "P\t00042": the profile kind's mark and the dive number.
std::string profileListLine(const logbook::DiveRecord &dive);

} // namespace zorv::profile
