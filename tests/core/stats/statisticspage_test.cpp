#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "stats/statisticspage.h"
#include "statstestdives.h"

#include <gtest/gtest.h>
#include <map>

using namespace zorv;
using namespace zorv::stats;
using logbook::DiveRecord;
namespace dive_type = logbook::dive_type;
using test::dive;
using test::logbookOf;

namespace {

const common::LocalDateTime kToday { 2026, 12, 6, 12, 0, 0 };

StatisticsPage computed(PageKind kind, const logbook::Logbook &book, PageOptions options = {})
{
    StatisticsPage page(kind);
    page.options = options;
    page.compute(book, kToday);
    return page;
}

float valueOf(const StatisticsPage &page, unsigned key, int column)
{
    return page.rows().at(key - 1).values[static_cast<std::size_t>(column)].value_or(-1.0f);
}

} // namespace

TEST(ClassPages, EdgesBelongToTheLowerClass)
{
    struct Case {
        logbook::UnitSystem units;
        std::int16_t depthCm;
        unsigned classNumber;
        const char *label;
    };
    using logbook::UnitSystem;
    for (const Case c : {
             Case { UnitSystem::Metric, 500, 1, "- 05 m" }, Case { UnitSystem::Metric, 501, 2, "- 10 m" },
             Case { UnitSystem::Metric, 6500, 13, "- 65 m" }, Case { UnitSystem::Metric, 6501, 14, "> 65 m" },
             Case { UnitSystem::Metric, 25000, 14, "> 65 m" }, // beyond the sentinel: last class
             Case { UnitSystem::Metric, -300, 1, "- 05 m" }, // negative depths classed as stored
             Case { UnitSystem::Imperial, 1000, 3, "- 48 ft" }, // 32.8 ft
             Case { UnitSystem::Imperial, 3500, 8, "-128 ft" }, // 114.8 ft
             Case { UnitSystem::Imperial, 7000, 14, ">208 ft" }, // 229.7 ft
         }) {
        const auto page = computed(PageKind::Depth, logbookOf({ dive(2020, 1, c.depthCm) }, c.units));
        const auto rows = page.rows();
        ASSERT_EQ(rows.size(), 14u);
        EXPECT_FLOAT_EQ(rows[c.classNumber - 1].values[0].value_or(0), 1.0f) << c.depthCm;
        EXPECT_EQ(rows[c.classNumber - 1].label, c.label);
    }
    EXPECT_EQ(classLabel(PageKind::Temperature, logbook::UnitSystem::Imperial, 11), "> 84 °F");
    EXPECT_EQ(classLabel(PageKind::Duration, logbook::UnitSystem::Metric, 1), "- 10 min");
}

TEST(ClassPages, WaterColumnsAndSummaries)
{
    const auto book = logbookOf({
        dive(2020, 1, 1200, dive_type::kFreshWater | dive_type::kSeaWater),
        dive(2020, 2, 1800, 0), // neither: chamber
        dive(2020, 3, 1300, dive_type::kSeaWater),
        dive(2020, 4, logbook::kMissing),
    });
    const auto page = computed(PageKind::Depth, book);
    EXPECT_FLOAT_EQ(valueOf(page, 3, 0), 2.0f);
    EXPECT_FLOAT_EQ(valueOf(page, 3, 1), 1.0f);
    EXPECT_FLOAT_EQ(valueOf(page, 3, 2), 2.0f);
    EXPECT_FLOAT_EQ(valueOf(page, 4, 3), 1.0f);
    const auto &total = page.summaries()[0];
    EXPECT_EQ(total.count, 3u);
    EXPECT_FLOAT_EQ(total.sum, 43.0f);
    EXPECT_NEAR(total.average, 14.3333f, 1e-3);
    EXPECT_FLOAT_EQ(total.min, 12.0f);
    EXPECT_FLOAT_EQ(page.summaries()[3].max, 18.0f);
    EXPECT_FLOAT_EQ(page.scale(), 10.0f);
}

TEST(ClassPages, YearModeCountsItsOwnBaseAndKeepsTheScaleOfAllDives)
{
    std::vector<DiveRecord> dives;
    for (int i = 0; i < 23; ++i)
        dives.push_back(dive(2019, 6, 800));
    dives.push_back(dive(2025, 3, 800));
    dives.push_back(dive(2025, 4, 2200));
    dives.push_back(dive(2025, 5, logbook::kMissing));
    const auto book = logbookOf(std::move(dives));

    StatisticsPage page(PageKind::Depth);
    page.options.valueKind = ValueKind::Percent;
    page.compute(book, kToday);
    EXPECT_FLOAT_EQ(page.percentBase(), 26.0f); // every dive, with or without depth
    EXPECT_FLOAT_EQ(page.scale(), 30.0f);
    EXPECT_EQ(page.firstDiveYear(), 2019);

    EXPECT_FALSE(page.setSelectedYear(2018));
    EXPECT_FALSE(page.setSelectedYear(2027));
    EXPECT_TRUE(page.setSelectedYear(2025));
    page.options.yearMode = YearMode::OneYear;
    page.compute(book, kToday);
    EXPECT_EQ(page.yearDiveCount(), 2u); // the dive without depth is not in the base
    EXPECT_FLOAT_EQ(valueOf(page, 2, 0), 50.0f);
    EXPECT_FLOAT_EQ(page.scale(), 30.0f); // the scale of all dives survives
}

TEST(Timelines, ShowTwentyYearsAndTwentyFourMonthsEvenForANewLogbook)
{
    const auto book = logbookOf({ dive(2026, 11, 1000), dive(2026, 12, 1000), dive(2026, 12, 1000) });
    const auto years = computed(PageKind::Year, book);
    const auto yearRows = years.rows();
    ASSERT_EQ(yearRows.size(), 20u);
    EXPECT_EQ(yearRows.front().label, "2007");
    EXPECT_EQ(yearRows.back().label, "2026");
    EXPECT_FLOAT_EQ(yearRows.back().values[0].value_or(0), 3.0f);
    EXPECT_FLOAT_EQ(years.averageRow()->values[0].value_or(0), 3.0f); // one year with dives

    const auto months = computed(PageKind::Month, book);
    const auto monthRows = months.rows();
    ASSERT_EQ(monthRows.size(), 24u);
    EXPECT_EQ(monthRows.front().label, "Jan 2025");
    EXPECT_EQ(monthRows.back().label, "Déc 2026");
    EXPECT_FLOAT_EQ(monthRows[22].values[0].value_or(0), 1.0f);
    EXPECT_FLOAT_EQ(monthRows[23].values[0].value_or(0), 2.0f);
    EXPECT_FLOAT_EQ(months.averageRow()->values[0].value_or(0), 1.5f);
}

TEST(Timelines, ScrollBetweenTheEarliestWindowAndTheNewestYear)
{
    std::vector<DiveRecord> dives { dive(1990, 5, 1000), dive(2030, 1, 1000) }; // a future dive has no row
    const auto book = logbookOf(std::move(dives));
    auto page = computed(PageKind::Year, book);
    ASSERT_EQ(page.rows().size(), 37u); // 1990..2026
    EXPECT_EQ(page.shownRowCount(), 20);
    EXPECT_EQ(page.firstShownRow(), 17); // newest year at the bottom
    EXPECT_FALSE(page.scrollBy(1));
    EXPECT_TRUE(page.scrollBy(-1));
    EXPECT_TRUE(page.scrollTo(-5));
    EXPECT_EQ(page.firstShownRow(), 0);
    EXPECT_FLOAT_EQ(page.table().total().sum[0], 1.0f);
}

TEST(Timelines, SayHowManyLaterDivesWereLeftOut)
{
    const auto book = logbookOf({ dive(2026, 12, 1000), dive(2027, 1, 1000), dive(2045, 3, 1000) });
    const auto years = computed(PageKind::Year, book);
    EXPECT_EQ(years.laterDiveCount(), 2u);
    EXPECT_FLOAT_EQ(years.table().total().sum[0], 1.0f);
    EXPECT_EQ(years.uncountedNote(), "2 plongées non comptées : datées après 2026 (aujourd'hui).");
    const auto months = computed(PageKind::ConsumptionMonth, logbookOf({ dive(2027, 1, 1000) }));
    EXPECT_EQ(months.laterDiveCount(), 0u); // no consumption: not counted anyway
    auto withAir = dive(2027, 1, 1000);
    withAir.airConsumption = 20.0f;
    EXPECT_EQ(computed(PageKind::ConsumptionMonth, logbookOf({ withAir })).uncountedNote(),
        "1 plongée non comptée : datée après 12.2026 (aujourd'hui).");
    EXPECT_EQ(computed(PageKind::Year, logbookOf({ dive(2026, 12, 1000) })).uncountedNote(), "");
}

TEST(Timelines, ConsumptionAveragesPerYearAndColoursAgainstTheOverallAverage)
{
    auto a = dive(2025, 1, 1000, dive_type::kSeaWater);
    a.airConsumption = 20.0f;
    auto b = dive(2025, 2, 1000, dive_type::kFreshWater);
    b.airConsumption = 10.0f;
    auto c = dive(2026, 2, 1000, dive_type::kSeaWater);
    c.airConsumption = 12.0f;
    auto none = dive(2026, 3, 1000);
    const auto page = computed(PageKind::ConsumptionYear, logbookOf({ a, b, c, none }));
    const auto rows = page.rows();
    const PageRow &y2025 = rows[rows.size() - 2];
    EXPECT_FLOAT_EQ(y2025.values[0].value_or(0), 15.0f);
    EXPECT_FLOAT_EQ(y2025.values[1].value_or(0), 10.0f);
    EXPECT_FLOAT_EQ(y2025.values[2].value_or(0), 20.0f);
    EXPECT_FALSE(y2025.values[3]);
    EXPECT_TRUE(y2025.bar.aboveAverage); // 15 > 14
    EXPECT_FALSE(rows.back().bar.aboveAverage); // 12
    EXPECT_FLOAT_EQ(page.scale(), 30.0f); // truncate(20) + 1 -> 30
}

TEST(CategoryPages, DiveTypeAndActivityAddADiveToSeveralBins)
{
    auto first = dive(2024, 1, 1000, dive_type::kNitrox | dive_type::kDeco | dive_type::kSeaWater);
    auto repetitive = dive(2024, 1, 1000, 0);
    repetitive.surfaceInterval = 90;
    repetitive.activities = 0b101; // bins 1 and 3
    repetitive.extra.extraFlags = logbook::extra_flags::kBoat | 0x01; // bin 21 and the second set's first
    logbook::setFixedText(repetitive.otherActivities, "Biologie, Solo & Biologie");
    auto idle = dive(2024, 2, 1000);

    const auto book = logbookOf({ first, repetitive, idle });
    const std::pair<PageKind, std::map<unsigned, float>> expected[] = {
        { PageKind::DiveType, { { 1, 1 }, { 3, 1 }, { 7, 2 }, { 8, 1 }, { 9, 2 }, { 10, 1 } } },
        { PageKind::Activity, { { 1, 1 }, { 3, 1 }, { 13, 1 }, { 14, 1 }, { 21, 1 }, { 25, 2 } } },
    };
    for (const auto &[kind, counts] : expected)
        for (const PageRow &row : computed(kind, book).rows()) {
            const auto it = counts.find(row.key);
            EXPECT_FLOAT_EQ(row.values[0].value_or(0), it == counts.end() ? 0.0f : it->second) << row.label;
        }
    EXPECT_EQ(computed(PageKind::Activity, book).rows()[24].label, "Autres");
}

TEST(CategoryPages, ValueRowsShowTheChosenAggregate)
{
    auto a = dive(2024, 1, 1000, dive_type::kSeaWater);
    a.suit = 3;
    auto b = dive(2024, 2, 3000, dive_type::kFreshWater);
    b.suit = 3;
    auto c = dive(2024, 3, 1400, 0);
    c.suit = 5;
    const auto book = logbookOf({ a, b, c });

    PageOptions options;
    options.valueKind = ValueKind::Depth;
    const auto averages = computed(PageKind::Suit, book, options);
    const PageRow wet = averages.rows()[2];
    EXPECT_FLOAT_EQ(wet.values[0].value_or(0), 20.0f);
    EXPECT_FLOAT_EQ(wet.values[1].value_or(0), 30.0f);
    EXPECT_FLOAT_EQ(wet.values[2].value_or(0), 10.0f);
    EXPECT_TRUE(wet.bar.aboveAverage); // 20 > 18
    EXPECT_EQ(wet.bar.kind, BarKind::Value);
    EXPECT_FLOAT_EQ(averages.scale(), 40.0f);

    options.aggregate = Aggregate::Minimum;
    const auto minima = computed(PageKind::Suit, book, options);
    EXPECT_FALSE(minima.rows()[2].values[0]); // no Total field for a minimum
    EXPECT_FLOAT_EQ(minima.rows()[4].values[3].value_or(0), 14.0f);

    options.valueKind = ValueKind::Consumption;
    options.aggregate = Aggregate::Average;
    EXPECT_FALSE(computed(PageKind::Suit, book, options).rows()[2].values[3]);
}

TEST(Pages, EmptyLogbookGivesZerosAndScaleTen)
{
    const auto book = logbookOf({});
    for (int k = 0; k < kPageCount; ++k) {
        const auto page = computed(static_cast<PageKind>(k), book);
        EXPECT_FLOAT_EQ(page.scale(), 10.0f) << k;
        for (const PageRow &row : page.rows())
            for (const auto &v : row.values)
                EXPECT_FLOAT_EQ(v.value_or(0), 0.0f) << k;
        for (const ValueSummary &s : page.summaries())
            EXPECT_TRUE(!isClassPage(page.kind()) || s.min == 0.0f) << k;
    }
}

// The expected numbers are counted here from the records, not through the engine.
TEST(Pages, CountsMatchAnIndependentCountOfAGeneratedLogbook)
{
    logbook::Logbook book;
    logbook::generateLogbook(book, { 600, 7, 2008 });
    std::map<int, int> perYear;
    std::map<int, int> perMonth; // months before today
    std::array<int, 15> depthClass {};
    std::array<int, 11> durationClass {};
    std::array<int, 7> suits {};
    std::array<int, 7> weathers {};
    std::array<int, 4> freshSeaChamber {};
    std::array<int, 13> activities {};
    for (const DiveRecord &d : book.dives()) {
        const auto date = logbook::calendarDate(d.date);
        ++perYear[date.year];
        ++perMonth[date.year * 12 + date.month - 1];
        if (d.maxDepth != logbook::kMissing) {
            int k = 1;
            while (k < 14 && d.maxDepth > k * 500)
                ++k;
            ++depthClass[static_cast<std::size_t>(k)];
        }
        if (d.duration != logbook::kMissing) {
            int k = 1;
            while (k < 10 && d.duration > k * 10)
                ++k;
            ++durationClass[static_cast<std::size_t>(k)];
        }
        if (d.suit >= 1 && d.suit <= 6)
            ++suits[d.suit];
        if (d.weather >= 1 && d.weather <= 6)
            ++weathers[d.weather];
        const bool fresh = d.diveType & dive_type::kFreshWater;
        const bool sea = d.diveType & dive_type::kSeaWater;
        freshSeaChamber[1] += fresh;
        freshSeaChamber[2] += sea;
        freshSeaChamber[3] += !fresh && !sea;
        for (int bit = 0; bit < 12; ++bit)
            activities[static_cast<std::size_t>(bit + 1)] += (d.activities >> bit) & 1;
    }

    const auto years = computed(PageKind::Year, book);
    for (const PageRow &row : years.rows())
        EXPECT_FLOAT_EQ(row.values[0].value_or(0), static_cast<float>(perYear[std::stoi(row.label)])) << row.label;
    const auto months = computed(PageKind::Month, book);
    const auto monthRows = months.rows();
    for (std::size_t i = 0; i < monthRows.size(); ++i) {
        const int index = 2026 * 12 + 11 - static_cast<int>(monthRows.size() - 1 - i);
        EXPECT_FLOAT_EQ(monthRows[i].values[0].value_or(0), static_cast<float>(perMonth[index]));
    }
    const std::pair<PageKind, const int *> keyed[]
        = { { PageKind::Depth, depthClass.data() }, { PageKind::Duration, durationClass.data() },
              { PageKind::Suit, suits.data() }, { PageKind::Weather, weathers.data() } };
    for (const auto &[kind, counts] : keyed)
        for (const PageRow &row : computed(kind, book).rows())
            EXPECT_FLOAT_EQ(row.values[0].value_or(0), static_cast<float>(counts[row.key])) << row.label;
    const auto types = computed(PageKind::DiveType, book);
    EXPECT_FLOAT_EQ(valueOf(types, 6, 0), static_cast<float>(freshSeaChamber[1]));
    EXPECT_FLOAT_EQ(valueOf(types, 7, 0), static_cast<float>(freshSeaChamber[2]));
    EXPECT_FLOAT_EQ(valueOf(types, 8, 0), static_cast<float>(freshSeaChamber[3]));
    EXPECT_FLOAT_EQ(valueOf(types, 9, 0) + valueOf(types, 10, 0), 600.0f);
    const auto activity = computed(PageKind::Activity, book);
    for (unsigned k = 1; k <= 12; ++k)
        EXPECT_FLOAT_EQ(valueOf(activity, k, 0), static_cast<float>(activities[k])) << k;
    // The water columns of all pages add up the same way.
    float fresh = 0;
    for (const PageRow &row : years.rows())
        fresh += row.values[1].value_or(0);
    EXPECT_FLOAT_EQ(fresh, static_cast<float>(freshSeaChamber[1]));
}

TEST(MonthlyBehaviour, CountsCalendarMonthsOfEveryYear)
{
    const auto book = logbookOf({ dive(2001, 3, 1000), dive(2020, 3, 1000, 0), dive(2025, 7, 1000) });
    const MonthlyBehaviour m = countMonthlyBehaviour(book);
    EXPECT_EQ(m.counts[0][2], 2);
    EXPECT_EQ(m.counts[3][2], 1);
    EXPECT_EQ(m.counts[2][6], 1);
    EXPECT_EQ(m.scale, 10);
}
