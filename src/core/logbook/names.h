// The display words of the dive record's enumerated fields and flag sets, in one place.
#pragma once

#include "logbook/unitsystem.h"

#include <string_view>

namespace zorv::logbook::names {

// Table sizes; an index outside a table, and an index without a word, give the empty text.
inline constexpr int kTankMaterialCount = 3;
inline constexpr int kSuitCount = 7;
inline constexpr int kWeatherCount = 7;
inline constexpr int kAltitudeClassCount = 5;
inline constexpr int kDiveTypeCount = 10;
inline constexpr int kActivityCount = 16;
inline constexpr int kSecondActivityCount = 8;
inline constexpr int kExtraFlagCount = 16;
inline constexpr int kWarningCount = 8;

// Every word is the string table's (UTF-8). A word the table lacks falls back
// to the German default the tables start with, which is how "SCR" gets its name.
std::string_view tankMaterial(int index);
std::string_view suit(int index);
std::string_view weather(int index);
std::string_view altitudeClass(int index, UnitSystem units);
// By bit number of diveType; bits 0 and 1 have no word.
std::string_view diveType(int bit);
// By bit number of activities; bits 13-15 have no word.
std::string_view activity(int bit);
// The second activity set (bits 0-7 of extraFlags), long and abbreviated.
std::string_view secondActivityLong(int index);
std::string_view secondActivityShort(int index);
// The same names as a standard-mode dive stores them in its text and reads them back: stored
// values, the same French in every language and as older logbooks wrote them.
std::string_view storedSecondActivityLong(int index);
std::string_view storedSecondActivityShort(int index);
// By bit number of extraFlags: the eight long names, boat, shore, dive leader, accompanying.
std::string_view extraFlag(int bit);
// By bit number of warnings.
std::string_view warning(int bit);
// Shown after the dive type when neither fresh nor sea water is set.
std::string_view chamberRun();

} // namespace zorv::logbook::names
