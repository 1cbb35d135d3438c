// The second activity set of a dive: flag bits in advanced mode, names in the other-activities text in standard mode.
#pragma once

#include "logbook/diverecord.h"
#include "logbook/logbook.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace zorv::logbook {

// Bits 0-7: which of the second set's activities the dive holds, in whichever form the mode keeps them.
std::uint8_t secondActivities(const DiveRecord &record, Mode mode);
// Writes the set; in standard mode the names written last time are replaced and the user's own words stay.
void setSecondActivities(DiveRecord &record, Mode mode, std::uint8_t set, bool shortNames);

// True for the long or short name of an activity of the second set (stored form).
bool isSecondActivityName(std::string_view entry);

// Splits a names text at , ; + & into entries: one blank after a separator is
// dropped, trailing blanks of each entry are cut. Empty entries are kept.
std::vector<std::string_view> splitEntries(std::string_view text);

} // namespace zorv::logbook
