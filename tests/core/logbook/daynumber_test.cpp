#include "logbook/daynumber.h"
#include "logbook/diverecord.h"

#include <gtest/gtest.h>

namespace zorv::logbook {
namespace {

    int monthLength(int month, int year)
    {
        static const int lengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        return month == 2 && leap ? 29 : lengths[month - 1];
    }

    // Counting day by day from 1 January 1600 checks the closed-form conversions
    // against the plain calendar, and the weekday against a steady week.
    TEST(DayNumber, CountsEveryDayFrom1600To2100AndRoundTrips)
    {
        std::uint32_t expected = 0;
        int previousWeekday = 4; // so that 1 January 1600 must be a Saturday (5)
        for (int year = 1600; year <= 2100; ++year) {
            for (int month = 1; month <= 12; ++month) {
                for (int day = 1; day <= monthLength(month, year); ++day, ++expected) {
                    ASSERT_EQ(dayNumber(day, month, year), expected) << day << "." << month << "." << year;
                    ASSERT_EQ(calendarDate(expected), (CalendarDate { day, month, year })) << expected;
                    const int w = weekday(day, month, year);
                    ASSERT_EQ(w, weekday(expected)) << expected;
                    ASSERT_EQ(w, (previousWeekday + 1) % 7) << expected;
                    previousWeekday = w;
                }
            }
        }
    }

    TEST(DayNumber, OutOfRangeValuesWrapAndConvertBack)
    {
        // Years before 1600 count nothing, so early January of 1600 wraps below day 0.
        EXPECT_EQ(dayNumber(0, 1, 1600), 0xFFFFFFFFu);
        for (std::uint32_t n : { 999999u, 0x7FFFFFFFu, 0xFFFFFFFEu, kNoDate }) {
            const CalendarDate date = calendarDate(n);
            EXPECT_GE(date.month, 1);
            EXPECT_LE(date.month, 12);
            EXPECT_EQ(dayNumber(date.day, date.month, date.year), n);
        }
        for (std::uint32_t n : { 0u, 1000000u, kNoDate })
            EXPECT_FALSE(isShownAsDate(n)) << n;
        for (std::uint32_t n : { 1u, 999999u })
            EXPECT_TRUE(isShownAsDate(n)) << n;
    }

} // namespace
} // namespace zorv::logbook
