// Turns a dive computer's raw profile bytes into the 20-second depth samples a dive shows.
#pragma once

#include "logbook/diverecord.h"

namespace zorv::logbook {

// Fills samples, sampleCount, profileMaxDepth, profileAvgDepth and airConsumption
// from profileLength and profileBytes. O2 computers put one spare byte after each
// group of three samples, so they need `o2` set. Bytes past profileBytes read as 0.
void decodeProfile(DiveRecord &record, bool o2);

} // namespace zorv::logbook
