// The profile of an imported dive: 20-second samples from depth points, and the raw block a computer would have sent.
#pragma once

#include "logbook/diverecord.h"

#include <cstdint>
#include <vector>

namespace zorv::imports {

/*
 * The raw block is written in the layout the profile decoder reads: five lead
 * bytes (0, 0, 0, 0x40, 0x90), then groups of three samples and one extra byte.
 * A sample is u = trunc(metres * 6.4) as two bytes: u >> 2, then 0x40 for bit 0,
 * 0x80 for bit 1 and 0x20, the warning bit the other programs' dives carry. Every
 * extra byte is 0x20 (a medium workload).
 */
inline constexpr int kRawLeadBytes = 5;
inline constexpr int kRawGroupBytes = 7;
// Groups that fit behind the lead bytes; a longer dive is cut, never written past the area.
inline constexpr int kMaxRawGroups = (logbook::kProfileBytesCapacity - kRawLeadBytes) / kRawGroupBytes;

// Encodes `points` (decimetres, positive, one per 20 s, the closing 0 included) as
// the raw block of a `minutes`-long profile and decodes the samples from it.
// Returns true when points that were not zero did not fit.
bool fillImportedProfile(logbook::DiveRecord &record, const std::vector<int> &points, int minutes);

// Clamps a computed value into a 16-bit field without ever landing on the missing mark.
std::int16_t toField(long long value);
// trunc(value) limited to what a 16-bit field takes; 0 for values that are not numbers.
long long truncated(double value);

} // namespace zorv::imports
