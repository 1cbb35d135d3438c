// The text forms of UDDF values: numbers with a point whatever the locale, xs:dateTime, ids and safe texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorv::uddf {

// The shortest fixed-point text that reads back as `value` once rounded to `decimals`
// ("0.012", "293.15", "20000000"); never an exponent, never a comma.
std::string numberText(double value, int decimals);

// A decimal number as other programs write it: surrounding blanks allowed, a comma taken
// for the point; nothing when anything else follows ("30 pieds") or it is no finite number.
std::optional<double> parseNumber(std::string_view text);

// The clock time a UDDF datetime gives: "2019-05-04T09:30:00", with or without seconds,
// fraction or zone (the zone is ignored: the logbook keeps the dive's own clock time),
// or a date alone, which is midnight.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int minutes = 0; // after midnight
    bool hasTime = false;
};
std::optional<DateTime> parseDateTime(std::string_view text);
// "2019-05-04T09:30:00"; the schema wants the seconds.
std::string dateTimeText(int year, int month, int day, int minutes);

// UTF-8 text that XML 1.0 can hold: control characters other than tab and line breaks
// are left out, and so is anything that is not valid UTF-8 (as Latin-1 it would change meaning).
std::string xmlSafe(std::string_view utf8);

} // namespace zorv::uddf
