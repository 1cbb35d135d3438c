// The breathing model behind the profile window's gauges: how hard the diver breathed at a sample and what is left in
// the tank.
#pragma once

#include "logbook/diverecord.h"

namespace zorv::profile {

// What the dive's computer type says about its samples. Callers look the
// type up in the computer catalogue.
struct ComputerTraits {
    // The computer records tank pressure, so the strip gets its signal lane.
    bool airIntegrated = false;
    // Dives entered by hand or imported from another program carry no
    // workload in their samples; the model assumes a medium level for them.
    bool fixedWorkload = false;
};

inline constexpr int kFixedWorkload = 5;

int workloadLevel(const logbook::ProfileSample &sample, const ComputerTraits &traits);

// Litres per minute at the surface for a workload level; 0 for level 0.
double breathingRate(float airConsumption, int workload);

// The cursor may stand on the closing surface point after the last sample
// (index sampleCount), which has no stored sample behind it.
logbook::ProfileSample sampleAtCursor(const logbook::DiveRecord &dive, int cursor);
// The cursor limited to the dive's points, 0 … sampleCount.
int clampCursor(const logbook::DiveRecord &dive, int cursor);

// The tank pressure in bar left at the cursor, by breathing each sample's
// rate for its third of a minute at its depth's ambient pressure; -1 when the
// dive has no tank volume.
double remainingPressure(const logbook::DiveRecord &dive, int cursor, const ComputerTraits &traits);

} // namespace zorv::profile
