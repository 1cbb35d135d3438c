#include "stats/statisticspage.h"

#include "common/cformat.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::UnitSystem;
namespace dive_type = logbook::dive_type;
namespace extra_flags = logbook::extra_flags;

namespace {

    constexpr std::array<PageTexts, kPageCount> kTexts { {
        { "&Année", "Statistique annuel - Plongées par année", "Jahresstatistik", "Année" },
        { "&Mois", "Statistiques mensuelles- Plongées par mois", "Statitiques mensuels", "Mois" },
        { "&Profondeur", "Plongées par profondeur", "Statistique profondeur de plongée", "Prof." },
        { "D&urée", "Plongée par durée", "Statistique durée de plongée", "Heure" },
        { "T&empératur", "Plongée par température", "Temp. eaustatistik", "Temperatur" },
        { "&Combinaison", "Statistiques Combinaisons", "Statistique Combinaison modèle", "Combinaison" },
        { "&Temps", "Statistiques Temps", "Statistique conditions extérieurs", "Temps" },
        { "T&yp-Plongée", "Statistique Type de plongée", "Type de plongée / statistique", "Type" },
        { "A&ktivité", "Statistiques d'activités", "Statistique activités de plongée", "Activité" },
        { "Cons.Moy An", "Cons.Moy par Année", "Cons.Moy Statistiques annuels", "Année" },
        { "Cons.Moy Moi&s", "Cons.Moy par Mois", "Cons.Moy Statistiques mensuels", "Mois" },
    } };

    constexpr std::array<const char *, 6> kSuitRows { "Sans Combi", "Shorty", "Humide 1p", "Humide 2p.", "Semi-étanche",
        "Etanche" };
    constexpr std::array<const char *, 6> kWeatherRows { "beau", "nuageux", "brouillard", "pluie", "tempête", "neige" };
    constexpr std::array<const char *, 11> kDiveTypeRows { "Nitrox", "Dans la courbe", "déco", "Rem. unique",
        "Rem. multiples", "Eau douce", "Eau de mer", "Chambre -déco", "Plongée 1", "Pl. succesives", "SCR" };
    constexpr std::array<const char *, 25> kActivityRows { "Plongée-loisir", "Plongée club", "Qualification",
        "Instruction", "Pl. de nuit", "Pl. caverne", "Pl. sous glace", "Pl. recherche", "Pl. sur épaves", "Pl. rivière",
        "Pl. courant", "Pl. photo", "Pl. travail", "Pl. solo", "Chambre compr.", "Pl. séminaire", "Pl. examen",
        "Examen", "Accomp. examen", "Pl. check", "Pl. bateau", "Pl. rivage", "Chef de palanquée", "Accompagnateur",
        "Autres" };
    constexpr std::array<const char *, 12> kMonths { "Jan", "Fev", "Mar", "Avr", "Mai", "Juin", "Juil", "Aout", "Sep",
        "Oct", "Nov", "Dec" };

    constexpr unsigned kOtherActivitiesBin = 25;

    struct YearMonth {
        int year = 0;
        int month = 0;
    };

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

    // One dive's sample: the value in Total and in each column the dive belongs to.
    StatBin sampleOf(const DiveRecord &dive, float value, bool withChamber = true)
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

    int roundToInt(double v)
    {
        return static_cast<int>(std::lround(v));
    }

    // The classed value of a dive in hundredths of the shown unit (minutes for durations).
    std::optional<int> classValue(PageKind kind, const DiveRecord &dive, UnitSystem units, DepthSource depth)
    {
        const bool imperial = units == UnitSystem::Imperial;
        switch (kind) {
        case PageKind::Depth:
            if (depth == DepthSource::Average) {
                if (dive.avgDepth == 0.0f)
                    return std::nullopt;
                const double metres = dive.avgDepth;
                return roundToInt((imperial ? logbook::metresToFeet(metres) : metres) * 100.0);
            }
            if (dive.maxDepth == kMissing)
                return std::nullopt;
            if (!imperial)
                return dive.maxDepth;
            return roundToInt(logbook::metresToFeet(dive.maxDepth / 100.0) * 100.0);
        case PageKind::Duration:
            if (dive.duration == kMissing)
                return std::nullopt;
            return dive.duration;
        case PageKind::Temperature:
            if (dive.minWaterTemperature == kMissing)
                return std::nullopt;
            if (!imperial)
                return dive.minWaterTemperature;
            return roundToInt(logbook::celsiusToFahrenheit(dive.minWaterTemperature / 100.0) * 100.0);
        default:
            return std::nullopt;
        }
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

    // Appends the bins one dive counts in on a category page.
    void categoryKeys(PageKind kind, const DiveRecord &dive, std::vector<unsigned> &keys)
    {
        keys.clear();
        switch (kind) {
        case PageKind::Suit:
            if (dive.suit >= 1 && dive.suit <= 6)
                keys.push_back(dive.suit);
            break;
        case PageKind::Weather:
            if (dive.weather >= 1 && dive.weather <= 6)
                keys.push_back(dive.weather);
            break;
        case PageKind::DiveType: {
            const std::uint16_t t = dive.diveType;
            constexpr std::array<std::pair<std::uint16_t, unsigned>, 8> kBits { {
                { dive_type::kNitrox, 1 },
                { dive_type::kNoDeco, 2 },
                { dive_type::kDeco, 3 },
                { dive_type::kSingleAscent, 4 },
                { dive_type::kMultipleAscents, 5 },
                { dive_type::kFreshWater, 6 },
                { dive_type::kSeaWater, 7 },
                { dive_type::kScr, 11 },
            } };
            for (const auto &[bit, key] : kBits)
                if (t & bit)
                    keys.push_back(key);
            if (!isFresh(dive) && !isSea(dive))
                keys.push_back(8);
            keys.push_back(dive.surfaceInterval == kMissing ? 9 : 10);
            std::sort(keys.begin(), keys.end());
            break;
        }
        case PageKind::Activity: {
            const std::string_view stored = logbook::fixedText(dive.otherActivities);
            const std::uint16_t flags = dive.extra.extraFlags;
            if (dive.activities == 0 && stored.empty() && (flags & 0x0FFF) == 0)
                break;
            for (unsigned bit = 0; bit < 12; ++bit)
                if (dive.activities & (1u << bit))
                    keys.push_back(bit + 1);
            const std::string text = stored.empty() ? std::string() : logbook::storedToDisplay(stored);
            for (int i = 0; i < 8; ++i) {
                const std::string_view longName = logbook::names::secondActivityLong(i);
                const std::string_view shortName = logbook::names::secondActivityShort(i);
                const bool named = !text.empty()
                    && ((!longName.empty() && text.find(longName) != std::string::npos)
                        || (!shortName.empty() && text.find(shortName) != std::string::npos));
                if ((flags & (1u << i)) || named)
                    keys.push_back(13 + static_cast<unsigned>(i));
            }
            for (unsigned bit = 8; bit < 12; ++bit)
                if (flags & (1u << bit))
                    keys.push_back(21 + (bit - 8));
            for (std::string_view word : splitNames(text)) {
                if (word.empty())
                    continue;
                bool known = false;
                for (int i = 0; i < 8 && !known; ++i)
                    known = word == logbook::names::secondActivityLong(i)
                        || word == logbook::names::secondActivityShort(i);
                if (!known)
                    keys.push_back(kOtherActivitiesBin);
            }
            break;
        }
        default:
            break;
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

    float largestTotal(const StatTable &table)
    {
        float largest = 0.0f;
        for (const StatBin &bin : table.bins())
            largest = std::max(largest, bin.sum[0]);
        return largest;
    }

    float countScale(const StatTable &table)
    {
        return static_cast<float>(roundUpToStep(static_cast<int>(std::trunc(largestTotal(table))), 10));
    }

} // namespace

const PageTexts &pageTexts(PageKind kind)
{
    return kTexts[static_cast<std::size_t>(kind)];
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
    return month >= 1 && month <= 12 ? kMonths[static_cast<std::size_t>(month - 1)] : "";
}

std::vector<std::string_view> splitNames(std::string_view text)
{
    std::vector<std::string_view> names;
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        return s;
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != '+' && text[i] != '&')
            continue;
        names.push_back(trim(text.substr(start, i - start)));
        start = i + 1;
    }
    return names;
}

std::vector<int> classEdges(PageKind kind, UnitSystem units)
{
    const bool metric = units == UnitSystem::Metric;
    switch (kind) {
    case PageKind::Depth:
        if (metric)
            return { 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500, 20000 };
        return { 1600, 3200, 4800, 6400, 8000, 9600, 11200, 12800, 14400, 16000, 17600, 19200, 20800, 30000 };
    case PageKind::Temperature:
        if (metric)
            return { 200, 500, 800, 1100, 1400, 1700, 2000, 2300, 2600, 2900, 10000 };
        return { 3600, 4100, 4600, 5200, 5700, 6300, 6800, 7300, 7900, 8400, 20000 };
    case PageKind::Duration:
        return { 10, 20, 30, 40, 50, 60, 70, 80, 90, 20000 };
    default:
        return {};
    }
}

std::string classLabel(PageKind kind, UnitSystem units, int classNumber)
{
    const std::vector<int> edges = classEdges(kind, units);
    if (classNumber < 1 || classNumber > static_cast<int>(edges.size()))
        return {};
    const bool last = classNumber == static_cast<int>(edges.size());
    const int divisor = kind == PageKind::Duration ? 1 : 100;
    const int edge = edges[static_cast<std::size_t>(last ? classNumber - 2 : classNumber - 1)] / divisor;
    if (kind == PageKind::Duration)
        return common::cformat(last ? "> %02d min" : "- %02d min", edge);
    const std::string_view unit
        = logbook::unitWord(kind == PageKind::Depth ? logbook::Quantity::Depth : logbook::Quantity::Temperature, units);
    const std::string unitText(unit);
    if (units == UnitSystem::Metric)
        return common::cformat(last ? "> %02d %s" : "- %02d %s", edge, unitText.c_str());
    return common::cformat(last ? ">%3d %s" : "-%3d %s", edge, unitText.c_str());
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
        return "1 plongée non comptée : datée après " + after + " (aujourd'hui).";
    return std::to_string(m_laterDiveCount) + " plongées non comptées : datées après " + after + " (aujourd'hui).";
}

void StatisticsPage::computeTimeline(const logbook::Logbook &logbook)
{
    const bool byYear = m_kind == PageKind::Year || m_kind == PageKind::ConsumptionYear;
    const bool consumption = m_kind == PageKind::ConsumptionYear || m_kind == PageKind::ConsumptionMonth;
    const int currentIndex = m_currentYear * 12 + (m_currentMonth - 1);
    int bins = 0;
    int firstIndex = 0; // year, or year * 12 + month - 1
    std::optional<YearMonth> first;
    for (const DiveRecord &dive : logbook.dives())
        if ((first = dateOf(dive)))
            break;
    if (byYear) {
        firstIndex = first ? first->year : 1960;
        firstIndex = std::min(firstIndex, m_currentYear - 19);
        bins = m_currentYear - firstIndex + 1;
        m_timelineFirstYear = firstIndex;
        m_timelineFirstMonth = 1;
    } else {
        firstIndex = first ? first->year * 12 + (first->month - 1) : currentIndex;
        firstIndex = std::min(firstIndex, currentIndex - 23);
        bins = currentIndex - firstIndex + 1;
        m_timelineFirstYear = firstIndex / 12;
        m_timelineFirstMonth = firstIndex % 12 + 1;
    }
    const float oldScale = m_table.scale;
    m_table.size(bins);
    m_table.scale = oldScale;
    for (const DiveRecord &dive : logbook.dives()) {
        float value = 1.0f;
        if (consumption) {
            if (dive.airConsumption == 0.0f)
                continue;
            value = *categoryValue(ValueKind::Consumption, dive, m_units);
        }
        const auto date = dateOf(dive);
        if (!date)
            continue;
        const int index = byYear ? date->year : date->year * 12 + (date->month - 1);
        // Dives dated before the first dive or in the future have no row; the user is told of the latter.
        if (index > (byYear ? m_currentYear : currentIndex)) {
            ++m_laterDiveCount;
            continue;
        }
        if (index < firstIndex)
            continue;
        m_table.add(static_cast<unsigned>(index - firstIndex + 1), sampleOf(dive, value, !consumption));
    }
    if (consumption) {
        m_table.averagePerBin();
        float largest = 0.0f;
        for (const StatBin &bin : m_table.bins())
            for (std::size_t c = 0; c < 3; ++c)
                largest = std::max(largest, bin.sum[c]);
        const int step = m_units == UnitSystem::Imperial ? 1 : 10;
        m_table.scale = static_cast<float>(roundUpToStep(static_cast<int>(std::trunc(largest)) + 1, step));
    } else {
        m_table.scale = countScale(m_table);
        m_table.averageAcrossBins();
    }
}

void StatisticsPage::computeClasses(const logbook::Logbook &logbook)
{
    const std::vector<int> edges = classEdges(m_kind, m_units);
    const float oldScale = m_table.scale;
    m_table.size(static_cast<int>(edges.size()));
    m_table.scale = oldScale;
    for (ValueSummary &s : m_summaries)
        s.reset();
    const bool oneYear = options.yearMode == YearMode::OneYear;
    for (const DiveRecord &dive : logbook.dives()) {
        const std::optional<int> value = classValue(m_kind, dive, m_units, options.depth);
        if (!value)
            continue;
        if (oneYear) {
            const auto date = dateOf(dive);
            if (!date || date->year != options.selectedYear)
                continue;
            ++m_yearDiveCount;
        }
        // A value beyond the sentinel is counted in the last class.
        const auto edge = std::lower_bound(edges.begin(), edges.end(), *value);
        const auto classNumber
            = static_cast<unsigned>(std::min<std::ptrdiff_t>(edge - edges.begin(), std::ssize(edges) - 1) + 1);
        const StatBin sample = sampleOf(dive, 1.0f);
        m_table.add(classNumber, sample);
        const auto v = static_cast<float>(*value);
        for (std::size_t c = 0; c < 4; ++c)
            if (sample.sum[c] != 0.0f)
                m_summaries[c].add(v);
    }
    for (ValueSummary &s : m_summaries)
        s.finish(m_kind == PageKind::Duration ? 0.0f : 100.0f);
    // A year's bars are drawn to the scale of all dives once it is known.
    if (!oneYear || m_table.scale == 0.0f)
        m_table.scale = countScale(m_table);
}

void StatisticsPage::computeCategories(const logbook::Logbook &logbook)
{
    m_table.size(binCountOf(m_kind));
    m_suitModels.clear();
    const bool oneYear = options.yearMode == YearMode::OneYear;
    const ValueKind valueKind = options.valueKind;
    const bool counting = valueKind == ValueKind::Count || valueKind == ValueKind::Percent;
    std::vector<unsigned> keys;
    for (const DiveRecord &dive : logbook.dives()) {
        const std::optional<float> value = categoryValue(valueKind, dive, m_units);
        if (!value)
            continue;
        categoryKeys(m_kind, dive, keys);
        if (keys.empty())
            continue;
        if (oneYear) {
            const auto date = dateOf(dive);
            if (!date || date->year != options.selectedYear)
                continue;
            ++m_yearDiveCount;
        }
        const StatBin sample = sampleOf(dive, *value, valueKind != ValueKind::Consumption);
        for (unsigned key : keys)
            m_table.add(key, sample);
        if (m_kind == PageKind::Suit) {
            const std::string_view model = logbook::fixedText(dive.extra.model);
            if (!model.empty()) {
                std::string shown = logbook::storedToDisplay(model);
                if (std::find(m_suitModels.begin(), m_suitModels.end(), shown) == m_suitModels.end())
                    m_suitModels.push_back(std::move(shown));
            }
        }
    }
    if (counting) {
        m_table.scale = countScale(m_table);
    } else {
        const int step = valueKind == ValueKind::Consumption && m_units == UnitSystem::Imperial ? 1 : 10;
        m_table.finishCategory(options.aggregate, step);
    }
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
        return kSuitRows[k];
    case PageKind::Weather:
        return kWeatherRows[k];
    case PageKind::DiveType:
        return kDiveTypeRows[k];
    case PageKind::Activity:
        return kActivityRows[k];
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
