#include "logbook/daynumber.h"

#include <array>

namespace zorv::logbook {

namespace {

    constexpr std::array<int, 12> kCommonMonths = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    constexpr std::array<int, 12> kLeapMonths = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    constexpr std::int64_t kEpochYear = 1600;
    constexpr std::int64_t kDaysPer400Years = 146097;

    const std::array<int, 12> &monthTable(std::int64_t year)
    {
        return isLeapYear(static_cast<int>(year)) ? kLeapMonths : kCommonMonths;
    }

    std::int64_t leapYearsUpTo(std::int64_t year)
    {
        return year / 4 - year / 100 + year / 400;
    }

    // Days from 1 January 1600 to 1 January of `year`; years before 1600 count nothing,
    // as in the year-by-year sum this replaces.
    std::int64_t daysBeforeYear(std::int64_t year)
    {
        if (year <= kEpochYear)
            return 0;
        return 365 * (year - kEpochYear) + leapYearsUpTo(year - 1) - leapYearsUpTo(kEpochYear - 1);
    }

    // Day of the year, 1-based. Months outside 1..12 are clamped rather than read past the table.
    std::int64_t dayOfYear(int day, int month, std::int64_t year)
    {
        const auto &table = monthTable(year);
        const int monthsBefore = month < 1 ? 0 : (month > 12 ? 12 : month - 1);
        std::int64_t doy = day;
        for (int m = 0; m < monthsBefore; ++m)
            doy += table[static_cast<std::size_t>(m)];
        return doy;
    }

} // namespace

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::uint32_t dayNumber(int day, int month, int year)
{
    // Out-of-range results wrap like the unsigned field they are stored in.
    const std::int64_t n = daysBeforeYear(year) + dayOfYear(day, month, year) - 1;
    return static_cast<std::uint32_t>(n);
}

CalendarDate calendarDate(std::uint32_t dayNumber)
{
    const std::int64_t n = dayNumber;
    const std::int64_t cycles = n / kDaysPer400Years;
    const std::int64_t base = kEpochYear + 400 * cycles;
    // A year has at most 366 days, so this guess never overshoots; it falls short
    // by at most a year or two.
    std::int64_t year = base + (n - cycles * kDaysPer400Years) / 366;
    while (daysBeforeYear(year + 1) <= n)
        ++year;

    std::int64_t rest = n + 1 - daysBeforeYear(year);
    const auto &table = monthTable(year);
    std::size_t month = 0;
    while (month < 11 && rest > table[month]) {
        rest -= table[month];
        ++month;
    }
    return { static_cast<int>(rest), static_cast<int>(month) + 1, static_cast<int>(year) };
}

int weekday(int day, int month, int year)
{
    const std::int64_t y = year;
    const std::int64_t v = dayOfYear(day, month, y) + (y - 1) / 400 - (y - 1) / 100 + (y - 1) / 4 + 365 * y - 366;
    const std::int64_t w = v % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int weekday(std::uint32_t dayNumber)
{
    // Day 0, 1 January 1600, was a Saturday.
    return static_cast<int>((static_cast<std::uint64_t>(dayNumber) + 5) % 7);
}

bool isShownAsDate(std::uint32_t dayNumber)
{
    return dayNumber > 0 && dayNumber < 1000000;
}

} // namespace zorv::logbook
