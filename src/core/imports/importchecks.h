// What an imported value may be: the limits both import formats hold their numbers to, and the refusal of one that is
// not.
#pragma once

#include "common/result.h"

#include <string>
#include <string_view>

namespace zorv::imports {

// Depths, tank volumes and weights are kept in hundredths in 16-bit fields.
inline constexpr double kMaxHundredthsValue = 327.66;
// Water and air as divers meet them; anything outside is a broken file, not weather.
inline constexpr int kLowestTemperature = -60;
inline constexpr int kHighestTemperature = 60;
inline constexpr int kLowestYear = 1900;
inline constexpr int kHighestYear = 2999;

// A real day of the Gregorian calendar within the years above.
bool isCalendarDate(int day, int month, int year);

// The file is refused, naming the value ("DiveDate=99-99-99999"); nothing is imported.
common::Result impossibleValue(std::string_view name, std::string_view value);

// The whole value is `count` numbers of at most `width` digits between `separator`s
// ("05-07-2003", "14:07"); false for anything else, blanks included.
bool readNumbers(std::string_view text, char separator, int *numbers, int count, int width = 4);

// A text of the file as Windows-1252 bytes: UTF-8 files are converted, others are already so.
std::string windowsText(std::string_view fileText, bool fileIsUtf8);

} // namespace zorv::imports
