// A dive's profile drawn by hand: the profile generated from its depth and time, the drawing rule, and the profile
// block it is stored as, in the computers' own format with a header that marks it as drawn.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"
#include "profile/gauges.h"
#include "profile/profileclipboard.h"
#include "profile/profileplot.h"
#include "settings/settings.h"

#include <string>

namespace zorv::profile {

// The longest dive whose profile fits: 3 points a minute plus one in the 636 samples.
inline constexpr int kManualProfileMaxMinutes = logbook::kMaxSamples / 3 - 1;

// The minutes of the dive the profile covers: its duration, up to what fits.
int manualProfileMinutes(const logbook::DiveRecord &dive);
// True when the dive lasts longer than a drawn profile can show.
bool manualProfileLimited(const logbook::DiveRecord &dive);

// Down at 10 m a minute from 1.3 m to the maximum depth, along the bottom, and up at 10 m a minute to reach the surface
// at the end of the dive; replaces the samples and the profile's averages.
void generateManualProfile(logbook::DiveRecord &dive);

// The profile's average depth in whole metres, and the breathing rate it gives with the tank and the air used.
void updateManualAverages(logbook::DiveRecord &dive);

// The depth axis of the drawing in display units: the profile's maximum depth plus one label step.
struct ManualAxis {
    int maximum = 1;
    int step = 1;
};
ManualAxis manualAxis(const logbook::DiveRecord &dive, logbook::UnitSystem units);

// The drawing with the mouse: the sample at `cursor` takes the depth at `localY` pixels below the top of a plot
// `plotHeight` pixels high, never deeper than the dive's maximum depth. False when the plot has no height.
bool drawManualSample(logbook::DiveRecord &dive, int cursor, int localY, int plotHeight, const ManualAxis &axis,
    logbook::UnitSystem units);

// A drag from one mouse event to the next: the pointer passed over every sample between the two cursors, so
// each of them takes the depth of the straight line between the two points, not only the last one.
struct ManualPoint {
    int cursor = 0;
    int localY = 0;
};
bool drawManualStroke(logbook::DiveRecord &dive, ManualPoint from, ManualPoint to, int plotHeight,
    const ManualAxis &axis, logbook::UnitSystem units);

// Writes the samples as the hand-drawn profile block, and sets the altitude class when it has none.
void storeManualProfile(logbook::DiveRecord &dive);

// "&Profil effacer": no block and no samples left.
void eraseManualProfile(logbook::DiveRecord &dive);

// The two bytes a depth is stored as in a hand-drawn block.
struct DepthCode {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    bool operator==(const DepthCode &) const = default;
};
DepthCode manualDepthCode(double metres);

struct ManualGraphStyle {
    settings::ProfileColours colours = settings::kDefaultProfileColours;
    logbook::UnitSystem units = logbook::UnitSystem::Metric;
    Grid grid = Grid::On;
    const ProfileClipboard *secondProfile = nullptr; // null when none is shown
};
// The drawing: axes, the curve and the second profile; no deco line, average line or warning strip.
void drawManualGraph(canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord &dive, const ManualAxis &axis,
    const ManualGraphStyle &style);
// Inverting cursor lines at a sample: vertical through the plot and, with the crosshair, horizontal at its depth.
void drawManualCursorLines(canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord &dive,
    const ManualAxis &axis, logbook::UnitSystem units, int cursor, bool crosshair);

// The needles at the cursor: the drawn samples' own workload, a 200 bar tank, and the red needle at the deepest point.
GaugeValues manualGaugeValues(const logbook::DiveRecord &dive, int cursor, logbook::UnitSystem units);

// The dialog's own fields at the cursor, UTF-8.
struct ManualReadout {
    std::string avgDepth; // "%.1f" m, "%.0f" ft
    std::string breathingRate; // "%.1f" l/min, "%.2f" cft/min; empty when not known
    std::string elapsed; // "%d:"
    std::string depth; // at the cursor
    std::string pressure; // "143 bar"; empty without a tank
};
ManualReadout manualReadout(const logbook::DiveRecord &dive, int cursor, logbook::UnitSystem units);

} // namespace zorv::profile
