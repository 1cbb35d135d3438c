#include "registers/forecast.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/oemcharmap.h"

namespace zorv::registers {

using common::StringId;

using namespace journal;

namespace {
    // Beyond this the date no longer fits its text; a forecast that far is none.
    constexpr int kLastYear = 9999;

    bool after(const CalendarDate &d, int month, int year)
    {
        return d.year > year || (d.year == year && d.month > month);
    }

} // namespace

int daysInMonth(int month, int year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) ? 29 : 28;
    default:
        return 31;
    }
}

CalendarDate nextDay(CalendarDate date)
{
    if (++date.day > daysInMonth(date.month, date.year)) {
        date.day = 1;
        if (++date.month > 12) {
            date.month = 1;
            ++date.year;
            if (date.year == 100)
                date.year = 0; // two-digit years stay two-digit
        }
    }
    return date;
}

int defaultForecastTarget(int diveCount)
{
    return ((diveCount + 100) / 100) * 100;
}

MonthYear defaultForecastStart(const std::string &firstDiveDateText)
{
    int day = 0;
    int month = 0;
    int year = 0;
    if (common::cscan(firstDiveDateText, "%d.%d.%d", &day, &month, &year) != 3)
        return {};
    return { month, year };
}

std::vector<CalendarDate> diveDates(const logbook::Logbook &book)
{
    std::vector<CalendarDate> dates;
    dates.reserve(static_cast<std::size_t>(book.diveCount()));
    for (const logbook::DiveRecord &dive : book.dives())
        dates.push_back(logbook::isShownAsDate(dive.date) ? logbook::calendarDate(dive.date) : CalendarDate {});
    return dates;
}

double monthRate(std::span<const CalendarDate> dives, std::size_t &index, int month, int year, CalendarDate today)
{
    int denominator = daysInMonth(month, year);
    if (month == today.month && year == today.year) {
        // An unfinished month is judged on the days already lived, but never on fewer than a week or so.
        if (today.day <= 8)
            denominator = 8;
        else if (today.day <= 15)
            denominator = 15;
        else if (today.day <= 28)
            denominator = today.day;
    }
    int count = 0;
    for (; index < dives.size(); ++index) {
        const CalendarDate &d = dives[index];
        if (d.day == 0 || d.month == 0 || d.year == 0)
            continue;
        if (after(d, month, year))
            break;
        if (d.month == month && d.year == year)
            ++count;
    }
    return static_cast<double>(count) / denominator;
}

std::optional<Forecast> computeForecast(const ForecastInput &in)
{
    const int diveCount = static_cast<int>(in.dives.size());
    const CalendarDate &today = in.today;
    if (in.target <= diveCount)
        return std::nullopt;
    if (in.start.year > today.year || (in.start.year == today.year && in.start.month > today.month))
        return std::nullopt;

    Forecast forecast;
    std::size_t index = 0;
    std::uint32_t k = 1;
    bool anyRate = false;
    for (int year = in.start.year; year <= today.year; ++year, ++k) {
        const int firstMonth = year == in.start.year ? in.start.month : 1;
        const int lastMonth = year == today.year ? today.month : 12;
        for (int month = firstMonth; month <= lastMonth; ++month) {
            if (!in.includeCurrentMonth && month == today.month && year == today.year)
                break;
            const double rate = monthRate(in.dives, index, month, year, today);
            anyRate = anyRate || rate != 0.0;
            if (month < 1 || month > 12)
                continue; // a start month typed out of range counts its dives nowhere
            MonthSlot &slot = forecast.months[static_cast<std::size_t>(month - 1)];
            if (slot.weight == 0) {
                slot.average = rate;
                slot.weight = k;
            } else {
                slot.average = (k * rate + slot.weight * slot.average) / (slot.weight + k);
                slot.weight += k;
            }
        }
    }
    if (!anyRate)
        return std::nullopt;

    double sum = 0.0;
    int filled = 0;
    for (const MonthSlot &slot : forecast.months)
        if (slot.weight != 0) {
            sum += slot.average;
            ++filled;
        }
    forecast.overallRate = filled != 0 ? sum / filled : 0.0;

    double total = diveCount;
    CalendarDate date = today;
    for (;;) {
        const MonthSlot &slot = forecast.months[static_cast<std::size_t>((date.month + 11) % 12)];
        total += slot.weight != 0 ? slot.average : forecast.overallRate;
        if (total >= in.target)
            break;
        date = nextDay(date);
        // The walk is bounded: a target far beyond the diver's pace would otherwise never end.
        if (date.year > kLastYear || date.year < today.year)
            return std::nullopt;
    }
    forecast.reached = date;
    return forecast;
}

std::string forecastDateText(CalendarDate date)
{
    return common::cformat("%d.%02d.%04d", date.day, date.month, date.year);
}

std::vector<JournalEntry> ForecastJournal::ordered() const
{
    if (!wrapped || nextIndex >= entries.size())
        return entries;
    std::vector<JournalEntry> out(entries.begin() + nextIndex, entries.end());
    out.insert(out.end(), entries.begin(), entries.begin() + nextIndex);
    return out;
}

void ForecastJournal::append(JournalEntry entry)
{
    if (entry.text.size() >= kText)
        entry.text.resize(kText - 1);
    if (wrapped && nextIndex < entries.size())
        entries[nextIndex] = std::move(entry);
    else
        entries.push_back(std::move(entry));
    if (nextIndex < kRing - 1) {
        ++nextIndex;
    } else {
        nextIndex = 0;
        wrapped = true;
    }
}

common::ResultOr<ForecastJournal> parseJournal(std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    ForecastJournal journal;
    if (bytes.empty())
        return journal;
    common::ByteReader in(bytes);
    const std::uint16_t index = in.u16();
    const std::uint16_t wrapped = in.u16();
    if (in.failed() || index >= kRing || wrapped > 1 || in.remaining() % kEntrySize != 0
        || in.remaining() / kEntrySize > std::size_t { kRing })
        return damagedFile(name);
    const std::size_t count = in.remaining() / kEntrySize;
    // A wrapped ring writes over entry `index`; it must be there.
    if (wrapped == 1 && count != std::size_t { kRing })
        return damagedFile(name);
    journal.nextIndex = index;
    journal.wrapped = wrapped == 1;
    journal.entries.resize(count);
    for (JournalEntry &entry : journal.entries) {
        entry.date = in.u32();
        entry.text = readText(in, kText);
    }
    return journal;
}

std::vector<std::uint8_t> journalBytes(const ForecastJournal &journal)
{
    std::vector<std::uint8_t> bytes;
    common::ByteWriter out(bytes);
    out.u16(journal.nextIndex);
    out.u16(journal.wrapped ? 1 : 0);
    for (const JournalEntry &entry : journal.entries) {
        out.u32(entry.date);
        writeText(out, entry.text, kText);
    }
    return bytes;
}

common::ResultOr<ForecastJournal> loadJournal(const std::filesystem::path &path)
{
    auto bytes = readRegisterFile(path);
    if (!bytes)
        return bytes.result();
    return parseJournal(bytes->data, path);
}

common::Result saveJournal(const std::filesystem::path &path, const ForecastJournal &journal)
{
    return saveRegisterFile(path, journalBytes(journal));
}

std::array<JournalEntry, 2> forecastEntries(
    const ForecastInput &input, const Forecast &forecast, std::uint32_t todayNumber)
{
    const std::string with(common::str(input.includeCurrentMonth ? StringId::ForecastWith : StringId::ForecastWithout));
    const std::string first = common::cformat(
        std::string(common::str(StringId::ForecastFrom)).c_str(), input.start.month, input.start.year, with.c_str());
    const std::string second = common::cformat(std::string(common::str(StringId::ForecastReached)).c_str(),
        input.target, forecast.reached.day, forecast.reached.month, forecast.reached.year);
    return { JournalEntry { todayNumber, logbook::displayToStored(first) },
        JournalEntry { 0, logbook::displayToStored(second) } };
}

ForecastJournal withoutForecast(const ForecastJournal &journal, int orderedLine)
{
    const std::vector<JournalEntry> entries = journal.ordered();
    const int count = static_cast<int>(entries.size());
    if (orderedLine < 0 || orderedLine >= count)
        return journal;
    // A forecast is a dated entry and the undated one after it.
    int first = orderedLine;
    if (entries[static_cast<std::size_t>(first)].date == 0 && first > 0
        && entries[static_cast<std::size_t>(first - 1)].date != 0)
        --first;
    int last = first;
    if (entries[static_cast<std::size_t>(first)].date != 0 && first + 1 < count
        && entries[static_cast<std::size_t>(first + 1)].date == 0)
        ++last;
    ForecastJournal rebuilt;
    for (int i = 0; i < count; ++i)
        if (i < first || i > last)
            rebuilt.append(entries[static_cast<std::size_t>(i)]);
    return rebuilt;
}

std::vector<std::string> journalLines(const ForecastJournal &journal)
{
    std::vector<std::string> lines;
    for (const JournalEntry &entry : journal.ordered())
        lines.push_back(
            logbook::formatDate(entry.date, logbook::DateForm::Medium) + "\t" + logbook::storedToDisplay(entry.text));
    return lines;
}

} // namespace zorv::registers
