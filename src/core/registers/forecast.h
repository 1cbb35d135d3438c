// The dive count forecast: on which day the logbook reaches a number of dives, and the journal of past forecasts.
#pragma once

#include "logbook/daynumber.h"
#include "registers/registerfile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorv::logbook {
class Logbook;
}

namespace zorv::registers {

using logbook::CalendarDate;

int daysInMonth(int month, int year);
// The day after; two-digit years (below 1000) wrap from 99 to 0.
CalendarDate nextDay(CalendarDate date);

// The next full hundred above the number of dives: 57 gives 100, 100 gives 200.
int defaultForecastTarget(int diveCount);
struct MonthYear {
    int month = 1;
    int year = 1990;
    bool operator==(const MonthYear &) const = default;
};
// The month of the first dive, from its date text "d.m.y"; 01.1990 when it does not parse.
MonthYear defaultForecastStart(const std::string &firstDiveDateText);

// The date of every dive in logbook order; a dive without a date is all zeros.
std::vector<CalendarDate> diveDates(const logbook::Logbook &logbook);

struct ForecastInput {
    std::vector<CalendarDate> dives; // in date order
    int target = 0;
    MonthYear start;
    bool includeCurrentMonth = false;
    CalendarDate today;
};

struct MonthSlot {
    double average = 0.0; // dives per day
    std::uint32_t weight = 0;
};

struct Forecast {
    std::array<MonthSlot, 12> months {}; // calendar months 1..12
    double overallRate = 0.0;
    CalendarDate reached;
};

// Dives per day in (month, year), scanning from `index` and leaving it on the
// first dive after that month.
double monthRate(std::span<const CalendarDate> dives, std::size_t &index, int month, int year, CalendarDate today);

// Nothing when the target is already reached, the start lies after today, no month
// had a dive, or the day lies beyond the year 9999.
std::optional<Forecast> computeForecast(const ForecastInput &input);
// "12.03.2031"
std::string forecastDateText(CalendarDate date);

// The journal (.prg): a ring of 100 entries, texts in the DOS set.
struct JournalEntry {
    std::uint32_t date = 0; // DayNumber, 0 for none
    std::string text; // stored bytes, at most 49

    bool operator==(const JournalEntry &) const = default;
};

struct ForecastJournal {
    std::uint16_t nextIndex = 0; // 0..99
    bool wrapped = false;
    std::vector<JournalEntry> entries; // file order

    // Oldest first: after a wrap, from the next index to the end, then from the start.
    std::vector<JournalEntry> ordered() const;
    void append(JournalEntry entry);
    bool operator==(const ForecastJournal &) const = default;
};

namespace journal {
    inline constexpr int kRing = 100;
    inline constexpr std::size_t kEntrySize = 54;
    inline constexpr std::size_t kText = 50;
} // namespace journal

/* Journal file, little-endian: u16 next write index, u16 wrapped flag (0/1),
   then entries of 54 bytes: date u32, text 50. */
common::ResultOr<ForecastJournal> parseJournal(std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> journalBytes(const ForecastJournal &journal);
common::ResultOr<ForecastJournal> loadJournal(const std::filesystem::path &path);
common::Result saveJournal(const std::filesystem::path &path, const ForecastJournal &journal);

// The two entries a stored forecast adds: the calculation, dated today, and the result.
std::array<JournalEntry, 2> forecastEntries(
    const ForecastInput &input, const Forecast &forecast, std::uint32_t todayNumber);
// The journal without the forecast the ordered line belongs to, rebuilt oldest first.
ForecastJournal withoutForecast(const ForecastJournal &journal, int orderedLine);
// The list box lines, UTF-8: "05.03.2004\ttext" or "\ttext".
std::vector<std::string> journalLines(const ForecastJournal &journal);

} // namespace zorv::registers
