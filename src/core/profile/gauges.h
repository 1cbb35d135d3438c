// The profile window's instrument panel: breathing-rate, depth and tank-pressure gauges with their needles.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"
#include "profile/breathing.h"

#include <optional>

namespace zorv::profile {

// Angles are degrees counter-clockwise from 12 o'clock. The scale starts and
// ends at 6 o'clock and runs clockwise, so half of it stands at 12 o'clock.
double needleAngle(double value, double scale);
// The needle's tip for a needle of `radius` pixels from `centre`.
canvas::Point needleEnd(canvas::Point centre, double angle, double radius);

enum class GaugeKind {
    Breathing,
    Depth,
    Pressure,
};
// The full scale in display units: l/min or cft/min, metres or feet, bar or psi.
double gaugeScale(GaugeKind kind, logbook::UnitSystem units);

// The three gauges stand side by side in a panel of this size.
inline constexpr canvas::Size kInstrumentPanelSize { 260, 90 };
inline constexpr int kGaugeDiameter = 80;
// Top left corner of each gauge's bounding square.
canvas::Point gaugeCorner(GaugeKind kind);
canvas::Point gaugeCentre(GaugeKind kind);

// What the needles show, in display units; an empty value has no needle.
struct GaugeValues {
    std::optional<double> breathing;
    std::optional<double> depth;
    std::optional<double> maxDepth; // the red needle: deepest so far
    std::optional<double> pressure;
};

// The needles at the cursor. Without a profile nothing is shown; without an
// air consumption there is no breathing needle, and without a tank volume no
// pressure needle.
GaugeValues gaugeValuesAt(
    const logbook::DiveRecord &dive, int cursor, logbook::UnitSystem units, const ComputerTraits &traits);

enum class FaceDisks {
    Off,
    On,
};
// Metric faces follow the user's switch; imperial faces were always drawn on disks.
FaceDisks faceDisksFor(logbook::UnitSystem units, bool clockBackground);

inline constexpr canvas::Rgb kPanelGrey = canvas::rgb(192, 192, 192);
inline constexpr canvas::Rgb kGaugeFace = canvas::rgb(255, 255, 192);

// Paints the whole panel: the grey ground, the three faces, and the needles
// of `values` (an inactive panel passes no values).
void drawInstrumentPanel(canvas::Canvas &canvas, const GaugeValues &values, logbook::UnitSystem units, FaceDisks disks);

} // namespace zorv::profile
