// The depth axis scale of every profile chart: its label step and its rounded end.
#pragma once

#include "logbook/unitsystem.h"

namespace zorv::profile {

struct DepthScale {
    // Negative, for the charts that draw depth below zero: the end of the axis.
    int axisEnd = -5;
    // Distance between two depth labels.
    int step = 1;
};

// `maxDepth` is the deepest point in display units (metres or feet).
DepthScale depthAxisScale(double maxDepth, logbook::UnitSystem units);

} // namespace zorv::profile
