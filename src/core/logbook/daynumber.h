// Dates as day counts since 1 January 1600 (day 0), Gregorian calendar.
#pragma once

#include <cstdint>

namespace zorv::logbook {

struct CalendarDate {
    int day = 0;
    int month = 0;
    int year = 0;

    bool operator==(const CalendarDate &) const = default;
};

std::uint32_t dayNumber(int day, int month, int year);
CalendarDate calendarDate(std::uint32_t dayNumber);
// 0 = Monday .. 6 = Sunday.
int weekday(int day, int month, int year);
int weekday(std::uint32_t dayNumber);
// True when the value is shown as a date: 0 < value < 1,000,000.
bool isShownAsDate(std::uint32_t dayNumber);
bool isLeapYear(int year);

} // namespace zorv::logbook
