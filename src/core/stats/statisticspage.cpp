#include "stats/statisticspage.h"

#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"
#include "stats/pageinternal.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::UnitSystem;
namespace dive_type = logbook::dive_type;
namespace extra_flags = logbook::extra_flags;

using namespace pageinternal;

namespace {

    // Each text goes through the catalogue where it is shown.
    constexpr std::array<PageTexts, kPageCount> kTexts { {
        { N_("&Année"), N_("Statistiques annuelles - plongées par année"), N_("Statistiques annuelles"), N_("Année") },
        { N_("&Mois"), N_("Statistiques mensuelles - plongées par mois"), N_("Statistiques mensuelles"), N_("Mois") },
        { N_("&Profondeur"), N_("Plongées par profondeur"), N_("Statistiques de profondeur"), N_("Prof.") },
        { N_("D&urée"), N_("Plongées par durée"), N_("Statistiques de durée"), N_("Durée") },
        { N_("T&empérature"), N_("Plongées par température"), N_("Statistiques de température de l'eau"),
            N_("Température") },
        { N_("&Combinaison"), N_("Statistiques des combinaisons"), N_("Statistiques par combinaison"),
            N_("Combinaison") },
        { N_("&Temps"), N_("Statistiques du temps"), N_("Statistiques des conditions extérieures"), N_("Temps") },
        { N_("T&ype de plongée"), N_("Statistiques des types de plongée"), N_("Statistiques par type de plongée"),
            N_("Type") },
        { N_("Acti&vité"), N_("Statistiques des activités"), N_("Statistiques des activités de plongée"),
            N_("Activité") },
        { N_("Cons.Moy an"), N_("Cons.Moy par année"), N_("Cons.Moy, statistiques annuelles"), N_("Année") },
        { N_("Cons.Moy moi&s"), N_("Cons.Moy par mois"), N_("Cons.Moy, statistiques mensuelles"), N_("Mois") },
    } };

    constexpr std::array<const char *, 12> kMonths { N_("Jan"), N_("Fév"), N_("Mar"), N_("Avr"), N_("Mai"), N_("Juin"),
        N_("Juil"), N_("Août"), N_("Sep"), N_("Oct"), N_("Nov"), N_("Déc") };

    float largestTotal(const StatTable &table)
    {
        float largest = 0.0f;
        for (const StatBin &bin : table.bins())
            largest = std::max(largest, bin.sum[0]);
        return largest;
    }

} // namespace

namespace pageinternal {

    std::optional<YearMonth> dateOf(const DiveRecord &dive)
    {
        if (!logbook::isShownAsDate(dive.date))
            return std::nullopt;
        const logbook::CalendarDate date = logbook::calendarDate(dive.date);
        if (date.year <= 0 || date.month < 1 || date.month > 12)
            return std::nullopt;
        return YearMonth { date.year, date.month };
    }

    bool isFresh(const DiveRecord &dive)
    {
        return (dive.diveType & dive_type::kFreshWater) != 0;
    }
    bool isSea(const DiveRecord &dive)
    {
        return (dive.diveType & dive_type::kSeaWater) != 0;
    }

    StatBin sampleOf(const DiveRecord &dive, float value, bool withChamber)
    {
        StatBin sample;
        sample.min = {};
        sample.used = 1;
        sample.sum[0] = value;
        const bool fresh = isFresh(dive);
        const bool sea = isSea(dive);
        if (fresh)
            sample.sum[1] = value;
        if (sea)
            sample.sum[2] = value;
        if (!fresh && !sea && withChamber)
            sample.sum[3] = value;
        return sample;
    }

    std::optional<float> categoryValue(ValueKind kind, const DiveRecord &dive, UnitSystem units)
    {
        const bool imperial = units == UnitSystem::Imperial;
        switch (kind) {
        case ValueKind::Depth:
            if (dive.maxDepth == kMissing)
                return std::nullopt;
            return imperial ? static_cast<float>(logbook::metresToFeet(dive.maxDepth / 100.0))
                            : static_cast<float>(dive.maxDepth) / 100.0f;
        case ValueKind::Duration:
            if (dive.duration == kMissing)
                return std::nullopt;
            return static_cast<float>(dive.duration);
        case ValueKind::Consumption:
            if (dive.airConsumption == 0.0f)
                return std::nullopt;
            return imperial ? static_cast<float>(logbook::litresPerMinuteToCubicFeet(dive.airConsumption))
                            : dive.airConsumption;
        default:
            return 1.0f;
        }
    }

    int binCountOf(PageKind kind)
    {
        switch (kind) {
        case PageKind::Suit:
        case PageKind::Weather:
            return 6;
        case PageKind::DiveType:
            return 11;
        case PageKind::Activity:
            return 25;
        default:
            return 0;
        }
    }

    float countScale(const StatTable &table)
    {
        return static_cast<float>(roundUpToStep(static_cast<int>(std::trunc(largestTotal(table))), 10));
    }

} // namespace pageinternal

PageTexts pageTexts(PageKind kind)
{
    const PageTexts &french = kTexts[static_cast<std::size_t>(kind)];
    return { common::tr(french.button), common::tr(french.caption), common::tr(french.printTitle),
        common::tr(french.rowHeading) };
}

bool isTimeline(PageKind kind)
{
    return kind == PageKind::Year || kind == PageKind::Month || kind == PageKind::ConsumptionYear
        || kind == PageKind::ConsumptionMonth;
}

bool hasYearOption(PageKind kind)
{
    return !isTimeline(kind);
}

bool isClassPage(PageKind kind)
{
    return kind == PageKind::Depth || kind == PageKind::Duration || kind == PageKind::Temperature;
}

bool isCategoryPage(PageKind kind)
{
    return kind == PageKind::Suit || kind == PageKind::Weather || kind == PageKind::DiveType
        || kind == PageKind::Activity;
}

const char *monthName(int month)
{
    return month >= 1 && month <= 12 ? common::tr(kMonths[static_cast<std::size_t>(month - 1)]) : "";
}

StatisticsPage::StatisticsPage(PageKind kind)
    : m_kind(kind)
{
}

bool StatisticsPage::setSelectedYear(int year)
{
    if (year < m_firstDiveYear || year > m_currentYear)
        return false;
    options.selectedYear = year;
    return true;
}

void StatisticsPage::compute(const logbook::Logbook &logbook)
{
    compute(logbook, common::clock().localNow());
}

void StatisticsPage::compute(const logbook::Logbook &logbook, const common::LocalDateTime &today)
{
    m_units = logbook.unitSystem();
    m_currentYear = today.year;
    m_currentMonth = today.month;
    m_firstDiveYear = m_currentYear;
    for (const DiveRecord &dive : logbook.dives())
        if (const auto date = dateOf(dive)) {
            m_firstDiveYear = std::min(date->year, m_currentYear);
            break;
        }
    if (options.selectedYear == 0)
        options.selectedYear = m_currentYear;
    m_yearDiveCount = 0;
    m_laterDiveCount = 0;
    if (isTimeline(m_kind))
        computeTimeline(logbook);
    else if (isClassPage(m_kind))
        computeClasses(logbook);
    else
        computeCategories(logbook);
    m_percentBase = options.yearMode == YearMode::OneYear ? static_cast<float>(m_yearDiveCount)
                                                          : static_cast<float>(logbook.diveCount());
    // A fresh page starts with the newest rows at the bottom; later computations
    // keep the user's scroll position when it still fits.
    m_firstShown = m_computed ? std::clamp(m_firstShown, 0, maxFirstShownRow()) : maxFirstShownRow();
    m_computed = true;
}

std::string StatisticsPage::uncountedNote() const
{
    if (m_laterDiveCount == 0)
        return {};
    const bool byYear = m_kind == PageKind::Year || m_kind == PageKind::ConsumptionYear;
    const std::string after
        = byYear ? std::to_string(m_currentYear) : common::cformat("%02d.%d", m_currentMonth, m_currentYear);
    if (m_laterDiveCount == 1)
        return common::cformat(common::tr("1 plongée non comptée : datée après %s (aujourd'hui)."), after.c_str());
    return common::cformat(
        common::tr("%u plongées non comptées : datées après %s (aujourd'hui)."), m_laterDiveCount, after.c_str());
}

std::string StatisticsPage::rowLabel(unsigned key) const
{
    const auto k = static_cast<std::size_t>(key - 1);
    switch (m_kind) {
    case PageKind::Year:
    case PageKind::ConsumptionYear:
        return common::cformat("%d", m_timelineFirstYear + static_cast<int>(key) - 1);
    case PageKind::Month:
    case PageKind::ConsumptionMonth: {
        const int index = m_timelineFirstYear * 12 + (m_timelineFirstMonth - 1) + static_cast<int>(key) - 1;
        return common::cformat("%s %d", monthName(index % 12 + 1), index / 12);
    }
    case PageKind::Depth:
    case PageKind::Duration:
    case PageKind::Temperature:
        return classLabel(m_kind, m_units, static_cast<int>(key));
    case PageKind::Suit:
        return common::tr(kSuitRows[k]);
    case PageKind::Weather:
        return common::tr(kWeatherRows[k]);
    case PageKind::DiveType:
        return common::tr(kDiveTypeRows[k]);
    case PageKind::Activity:
        return common::tr(kActivityRows[k]);
    }
    return {};
}

std::vector<PageRow> StatisticsPage::rows() const
{
    std::vector<PageRow> rows;
    const int count = isTimeline(m_kind) || isClassPage(m_kind) ? m_table.binCount() : binCountOf(m_kind);
    const bool consumptionPage = m_kind == PageKind::ConsumptionYear || m_kind == PageKind::ConsumptionMonth;
    const bool imperial = m_units == UnitSystem::Imperial;
    const float overall = m_table.total().sum[0];
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const auto key = static_cast<unsigned>(i);
        const StatBin bin = m_table.get(key);
        PageRow row;
        row.key = key;
        row.label = rowLabel(key);
        row.bar = { BarKind::Count, bin.sum[0], bin.sum[1], bin.sum[2], bin.sum[3], false };
        const bool counting = isTimeline(m_kind) || isClassPage(m_kind) || options.valueKind == ValueKind::Count
            || options.valueKind == ValueKind::Percent;
        if (consumptionPage) {
            row.decimals = imperial ? 2 : 1;
            for (std::size_t c = 0; c < 3; ++c)
                row.values[c] = bin.sum[c];
            row.bar = { BarKind::Consumption, bin.sum[0], bin.sum[1], bin.sum[2], 0.0f, bin.sum[0] > overall };
        } else if (counting) {
            const bool percent = !isTimeline(m_kind) && options.valueKind == ValueKind::Percent;
            row.decimals = percent ? 1 : 0;
            for (std::size_t c = 0; c < 4; ++c)
                row.values[c]
                    = percent ? (m_percentBase == 0.0f ? 0.0f : bin.sum[c] * 100.0f / m_percentBase) : bin.sum[c];
            if (isCategoryPage(m_kind) && m_kind != PageKind::Suit)
                row.bar = { BarKind::Value, bin.sum[0], bin.sum[1], bin.sum[2], bin.sum[3], bin.sum[0] > overall };
        } else {
            const bool consumption = options.valueKind == ValueKind::Consumption;
            row.decimals = consumption && imperial ? 2 : 1;
            const auto &shown = options.aggregate == Aggregate::Average ? bin.sum
                : options.aggregate == Aggregate::Minimum               ? bin.min
                                                                        : bin.max;
            for (std::size_t c = 0; c < 4; ++c)
                row.values[c] = shown[c];
            if (options.aggregate != Aggregate::Average)
                row.values[0].reset();
            if (consumption)
                row.values[3].reset();
            row.bar
                = { BarKind::Value, shown[0], shown[1], shown[2], consumption ? 0.0f : shown[3], shown[0] > overall };
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<PageRow> StatisticsPage::averageRow() const
{
    if (!isTimeline(m_kind))
        return std::nullopt;
    const StatBin &total = m_table.total();
    PageRow row;
    row.label = "Ø:";
    if (m_kind == PageKind::ConsumptionYear || m_kind == PageKind::ConsumptionMonth) {
        row.decimals = m_units == UnitSystem::Imperial ? 2 : 1;
        for (std::size_t c = 0; c < 3; ++c)
            row.values[c] = total.sum[c];
        row.bar = { BarKind::Consumption, total.sum[0], total.sum[1], total.sum[2], 0.0f, false };
    } else {
        row.decimals = 1;
        for (std::size_t c = 0; c < 4; ++c)
            row.values[c] = total.sum[c];
        row.bar = { BarKind::Count, total.sum[0], total.sum[1], total.sum[2], total.sum[3], false };
    }
    return row;
}

int StatisticsPage::shownRowCount() const
{
    const int all = isTimeline(m_kind) || isClassPage(m_kind) ? m_table.binCount() : binCountOf(m_kind);
    switch (m_kind) {
    case PageKind::Year:
    case PageKind::ConsumptionYear:
        return std::min(all, 20);
    case PageKind::Month:
    case PageKind::ConsumptionMonth:
        return std::min(all, 24);
    default:
        return all;
    }
}

int StatisticsPage::maxFirstShownRow() const
{
    const int all = isTimeline(m_kind) || isClassPage(m_kind) ? m_table.binCount() : binCountOf(m_kind);
    return std::max(0, all - shownRowCount());
}

bool StatisticsPage::scrollTo(int firstRow)
{
    const int clamped = std::clamp(firstRow, 0, maxFirstShownRow());
    if (clamped == m_firstShown)
        return false;
    m_firstShown = clamped;
    return true;
}

MonthlyBehaviour countMonthlyBehaviour(const logbook::Logbook &logbook)
{
    MonthlyBehaviour result;
    for (const DiveRecord &dive : logbook.dives()) {
        const auto date = dateOf(dive);
        if (!date)
            continue;
        const auto m = static_cast<std::size_t>(date->month - 1);
        const StatBin sample = sampleOf(dive, 1.0f);
        for (std::size_t c = 0; c < 4; ++c)
            if (sample.sum[c] != 0.0f)
                ++result.counts[c][m];
    }
    const int largest = *std::max_element(result.counts[0].begin(), result.counts[0].end());
    result.scale = roundUpToStep(largest, 10);
    return result;
}

} // namespace zorv::stats
