#include "common/strings.h"
#include "profile/decotables.h"
#include "profile/planner.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

using namespace zorv::profile;

namespace {

// The tables as the printed DECO 92 card lists them, entry by entry: bottom time, group, stops at 3/6/9/12/15 m.
struct PrintedRow {
    int depth;
    int limit;
    const char *entries;
};
const std::array<PrintedRow, 19> kPrintedSeaLevel { {
    { 9, 415, "25 B; 50 D; 75 E; 100 F" },
    { 12, 142, "18 B; 36 D; 54 E; 72 F; 90 G" },
    { 15, 72, "16 C; 32 E; 48 F; 64 F; 80 G 3/0/0/0/0" },
    { 18, 44, "10 B; 20 D; 30 E; 40 F; 50 F 2/0/0/0/0; 60 G 6/0/0/0/0; 70 G 11/0/0/0/0; 80 G 16/0/0/0/0" },
    { 21, 31,
        "6 B; 12 C; 18 D; 24 E; 30 E; 36 F 3/0/0/0/0; 42 F 5/0/0/0/0; 48 G 9/0/0/0/0; 54 G 12/0/0/0/0; 60 G "
        "16/0/0/0/0" },
    { 24, 23,
        "5 B; 10 C; 15 D; 20 E; 25 E 1/0/0/0/0; 30 F 4/0/0/0/0; 35 F 7/0/0/0/0; 40 F 10/0/0/0/0; 45 G 13/2/0/0/0; 50 G "
        "16/3/0/0/0; 55 G 19/5/0/0/0" },
    { 27, 18,
        "5 B; 10 C; 15 D; 20 E 1/0/0/0/0; 25 F 4/0/0/0/0; 30 F 8/0/0/0/0; 35 G 11/2/0/0/0; 40 G 14/4/0/0/0; 45 G "
        "18/6/0/0/0; 50 G 20/9/0/0/0" },
    { 30, 14,
        "6 B; 10 D; 14 D; 18 E 2/0/0/0/0; 22 F 5/0/0/0/0; 26 F 8/1/0/0/0; 30 F 10/3/0/0/0; 33 G 12/5/0/0/0; 36 G "
        "14/6/0/0/0; 39 G 17/7/1/0/0; 42 G 19/9/1/0/0" },
    { 33, 12,
        "6 C; 10 D; 14 E 1/0/0/0/0; 18 E 4/0/0/0/0; 21 F 7/1/0/0/0; 24 F 8/3/0/0/0; 27 F 11/4/0/0/0; 30 G 13/6/1/0/0; "
        "33 G 16/6/2/0/0; 36 G 18/8/3/0/0" },
    { 36, 10,
        "6 C; 10 D; 14 E 3/0/0/0/0; 18 F 6/1/0/0/0; 21 F 8/3/0/0/0; 24 F 11/4/1/0/0; 27 G 13/6/2/0/0; 30 G 16/7/3/0/0; "
        "33 G 19/9/4/0/0" },
    { 39, 8,
        "6 C; 10 D 1/0/0/0/0; 14 E 4/1/0/0/0; 18 F 7/3/0/0/0; 21 F 10/4/1/0/0; 24 G 12/6/3/0/0; 26 G 15/6/4/0/0; 28 G "
        "17/8/4/0/0" },
    { 42, 7,
        "6 C; 9 D 1/0/0/0/0; 12 E 4/1/0/0/0; 15 F 6/3/0/0/0; 18 F 9/4/1/0/0; 20 F 11/5/2/0/0; 22 G 13/6/3/0/0; 24 G "
        "15/7/4/1/0" },
    { 45, 6,
        "6 D; 8 D 1/0/0/0/0; 10 E 3/0/0/0/0; 12 E 4/2/0/0/0; 14 F 7/3/0/0/0; 16 F 9/4/1/0/0; 18 F 11/5/2/0/0; 20 G "
        "13/6/3/0/0; 22 G 15/7/4/1/0" },
    { 48, 5,
        "6 D 1/0/0/0/0; 8 E 2/0/0/0/0; 10 E 4/1/0/0/0; 12 F 6/3/0/0/0; 14 F 7/4/1/0/0; 16 F 10/4/3/0/0; 18 G "
        "12/6/3/1/0; 20 G 15/7/4/2/0" },
    { 51, 4,
        "6 D 1/0/0/0/0; 8 E 3/0/0/0/0; 10 E 5/2/0/0/0; 12 F 7/3/1/0/0; 14 F 9/4/3/0/0; 16 G 11/6/3/1/0; 18 G "
        "14/7/4/2/0" },
    { 54, 4, "6 D 2/0/0/0/0; 8 E 4/1/0/0/0; 10 E 6/2/1/0/0; 12 F 8/4/2/0/0; 14 F 10/5/3/1/0; 16 G 13/6/4/2/0" },
    { 57, 3, "6 D 2/0/0/0/0; 8 E 4/2/0/0/0; 10 F 7/3/1/0/0; 12 F 10/4/2/1/0; 14 G 12/6/3/2/0; 16 G 15/7/4/2/1" },
    { 60, 3, "6 E 3/1/0/0/0; 8 E 5/2/1/0/0; 10 F 6/4/2/0/0; 12 F 11/5/2/2/0; 13 G 12/6/3/2/0; 14 G 14/6/4/2/1" },
    { 63, 2, "6 E 4/1/0/0/0; 8 F 6/3/1/0/0; 10 F 9/4/2/1/0; 11 F 10/5/2/2/0; 12 G 12/6/3/2/1; 13 G 14/6/4/2/1" },
} };
const std::array<PrintedRow, 19> kPrintedMountain { {
    { 9, 314, "25 B; 50 D; 75 E; 100 F" },
    { 12, 116, "18 B; 36 D; 54 E; 72 F; 90 G" },
    { 15, 61, "16 C; 32 E; 48 F; 64 F 1/0/0/0/0; 80 G 7/0/0/0/0" },
    { 18, 39, "10 B; 20 D; 30 E; 40 F 1/0/0/0/0; 50 F 5/0/0/0/0; 60 G 10/0/0/0/0; 70 G 16/0/0/0/0; 80 G 23/0/0/0/0" },
    { 21, 27,
        "6 B; 12 C; 18 D; 24 E; 30 E 1/0/0/0/0; 36 F 4/0/0/0/0; 42 F 8/0/0/0/0; 48 G 12/0/0/0/0; 54 G 17/0/0/0/0; 60 G "
        "20/2/0/0/0" },
    { 24, 20,
        "5 B; 10 C; 15 D; 20 E; 25 E 2/0/0/0/0; 30 F 6/0/0/0/0; 35 F 10/0/0/0/0; 40 F 13/1/0/0/0; 45 G 17/3/0/0/0; 50 "
        "G 20/5/0/0/0; 55 G 25/7/0/0/0" },
    { 27, 16,
        "5 B; 10 C; 15 D; 20 E 2/0/0/0/0; 25 F 6/0/0/0/0; 30 F 10/1/0/0/0; 35 G 14/3/0/0/0; 40 G 17/6/0/0/0; 45 G "
        "22/8/0/0/0; 50 G 27/10/1/0/0" },
    { 30, 13,
        "6 B; 10 D; 14 D 1/0/0/0/0; 18 E 3/0/0/0/0; 22 F 7/0/0/0/0; 26 F 10/2/0/0/0; 30 F 13/4/0/0/0; 33 G 16/6/0/0/0; "
        "36 G 19/7/1/0/0; 39 G 21/9/1/0/0; 42 G 25/10/2/0/0" },
    { 33, 11,
        "6 C; 10 D; 14 E 2/0/0/0/0; 18 E 6/0/0/0/0; 21 F 8/2/0/0/0; 24 F 10/4/0/0/0; 27 F 13/6/0/0/0; 30 G 16/7/1/0/0; "
        "33 G 19/9/2/0/0; 36 G 24/9/4/0/0" },
    { 36, 9,
        "6 C; 10 D 1/0/0/0/0; 14 E 4/0/0/0/0; 18 F 7/2/0/0/0; 21 F 10/4/0/0/0; 24 F 13/6/1/0/0; 27 G 17/6/3/0/0; 30 G "
        "20/8/4/0/0; 33 G 25/10/5/0/0" },
    { 39, 7,
        "6 C; 10 D 1/0/0/0/0; 14 E 5/1/0/0/0; 18 F 9/4/0/0/0; 21 F 12/5/2/0/0; 24 G 16/7/3/0/0; 26 G 19/8/4/0/0; 28 G "
        "21/10/4/1/0" },
    { 42, 6,
        "6 C; 9 D 1/0/0/0/0; 12 E 4/1/0/0/0; 15 F 7/3/0/0/0; 18 F 11/4/2/0/0; 20 F 13/6/3/0/0; 22 G 16/7/4/0/0; 24 G "
        "19/9/4/1/0" },
    { 45, 5,
        "6 D 1/0/0/0/0; 8 D 2/0/0/0/0; 10 E 4/0/0/0/0; 12 E 6/2/0/0/0; 14 F 8/3/1/0/0; 16 F 10/4/2/0/0; 18 F "
        "13/6/3/0/0; 20 G 16/7/4/1/0; 22 G 20/8/4/2/0" },
    { 48, 4,
        "6 D 1/0/0/0/0; 8 E 2/0/0/0/0; 10 E 5/1/0/0/0; 12 F 7/3/0/0/0; 14 F 9/4/2/0/0; 16 F 12/5/3/0/0; 18 G "
        "16/6/4/1/0; 20 G 19/9/4/2/0" },
    { 51, 4,
        "6 D 1/0/0/0/0; 8 E 4/0/0/0/0; 10 E 6/2/0/0/0; 12 F 8/4/1/0/0; 14 F 11/4/3/0/0; 16 G 14/6/4/1/0; 18 G "
        "19/7/4/3/0" },
    { 54, 3, "6 D 2/0/0/0/0; 8 E 4/1/0/0/0; 10 E 7/2/1/0/0; 12 F 10/4/2/0/0; 14 F 13/6/3/1/0; 16 G 17/7/3/3/0" },
    { 57, 2, "6 D 3/0/0/0/0; 8 E 5/2/0/0/0; 10 F 7/4/1/0/0; 12 F 11/5/2/1/0; 14 G 15/6/4/2/0; 16 G 19/9/4/3/1" },
    { 60, 2, "6 E 4/0/0/0/0; 8 E 6/2/1/0/0; 10 F 9/4/2/0/0; 12 F 13/5/3/2/0; 13 G 15/6/4/2/0; 14 G 17/7/4/2/1" },
    { 63, 1, "6 E 4/1/0/0/0; 8 F 7/3/1/0/0; 10 F 10/5/2/1/0; 11 F 12/5/3/2/0; 12 G 14/7/3/2/1; 13 G 17/7/4/2/1" },
} };

std::vector<TableEntry> parsePrinted(const std::string &text)
{
    std::vector<TableEntry> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ';')) {
        std::stringstream fields(item);
        TableEntry e;
        std::string stops;
        fields >> e.bottomTime >> e.group >> stops;
        if (!stops.empty())
            std::sscanf(
                stops.c_str(), "%d/%d/%d/%d/%d", &e.stops[0], &e.stops[1], &e.stops[2], &e.stops[3], &e.stops[4]);
        out.push_back(e);
    }
    return out;
}

PlannerState plan(double depth, int minutes)
{
    PlannerState s;
    s.depth = depth;
    s.bottomTime = minutes;
    s.tankLitres = 0;
    s.breathingRate = 0;
    return s;
}

} // namespace

TEST(DecoTables, MatchThePrintedCardEntryByEntry)
{
    for (const auto &[altitude, printed] :
        { std::pair { Altitude::SeaLevel, &kPrintedSeaLevel }, std::pair { Altitude::Mountain, &kPrintedMountain } }) {
        const DecoTable &table = decoTable(altitude);
        for (std::size_t r = 0; r < table.size(); ++r) {
            SCOPED_TRACE(testing::Message() << "row " << (*printed)[r].depth);
            EXPECT_EQ(table[r].depth, 9 + 3 * static_cast<int>(r));
            EXPECT_EQ(table[r].depth, (*printed)[r].depth);
            EXPECT_EQ(table[r].noDecoLimit, (*printed)[r].limit);
            const std::vector<TableEntry> entries = parsePrinted((*printed)[r].entries);
            for (std::size_t e = 0; e < table[r].entries.size(); ++e)
                EXPECT_EQ(table[r].entries[e], e < entries.size() ? entries[e] : TableEntry {}) << "slot " << e;
        }
    }
}

TEST(DecoTables, EveryEntryIsFoundByItsOwnTimeAndTheNextByOneMinuteMore)
{
    for (Altitude altitude : { Altitude::SeaLevel, Altitude::Mountain }) {
        for (const TableRow &row : decoTable(altitude)) {
            for (std::size_t e = 0; e < row.entries.size() && row.entries[e].bottomTime != 0; ++e) {
                const TableEntry &entry = row.entries[e];
                SCOPED_TRACE(testing::Message() << row.depth << " m " << entry.bottomTime << " min");
                // Any depth between the row above and this one reads this row.
                for (int depth : { row.depth, row.depth - 2 }) {
                    const auto found = findTableEntry(altitude, depth, entry.bottomTime, std::nullopt);
                    ASSERT_TRUE(found);
                    EXPECT_EQ(found->entry, entry);
                    EXPECT_EQ(found->noDecoLimit, row.noDecoLimit);
                }
                const auto next = findTableEntry(altitude, row.depth, entry.bottomTime + 1, std::nullopt);
                const bool last = e + 1 == row.entries.size() || row.entries[e + 1].bottomTime == 0;
                if (last) {
                    EXPECT_FALSE(next);
                } else {
                    ASSERT_TRUE(next);
                    EXPECT_EQ(next->entry, row.entries[e + 1]);
                }
            }
        }
    }
}

TEST(DecoTables, EveryStopEntryHasAThreeMetreStopAndGroupsNeverFall)
{
    // The planned profile relies on it: an entry owes stops exactly when it owes the 3 m stop.
    for (Altitude altitude : { Altitude::SeaLevel, Altitude::Mountain })
        for (const TableRow &row : decoTable(altitude)) {
            char group = 'A';
            for (const TableEntry &entry : row.entries) {
                if (entry.bottomTime == 0)
                    continue;
                EXPECT_EQ(entry.stopTotal() != 0, entry.stops[0] != 0) << row.depth << "/" << entry.bottomTime;
                EXPECT_GE(entry.group, group);
                group = entry.group;
            }
        }
}

TEST(DecoTables, NoFlyHoursByGroup)
{
    const std::pair<char, std::optional<int>> cases[] = { { 'A', std::nullopt }, { 'B', 6 }, { 'C', 12 }, { 'D', 18 },
        { 'E', 24 }, { 'F', 30 }, { 'G', 36 }, { 'H', std::nullopt } };
    for (const auto &[group, hours] : cases)
        EXPECT_EQ(noFlyHours(group), hours) << group;
}

TEST(Planner, RowChoiceTruncatesTheDepthAndTakesTheNextDeeperRow)
{
    const std::pair<double, int> cases[]
        = { { 24.0, 23 }, { 24.9, 23 }, { 25.0, 18 }, { 8.0, 415 }, { 0.5, 415 }, { 63.0, 2 }, { 63.9, 2 } };
    for (const auto &[depth, limit] : cases) {
        PlannerState s = plan(depth, 5);
        PlannedProfile p;
        ASSERT_TRUE(planDive(s, p)) << depth;
        EXPECT_EQ(s.noDecoLimit, limit) << depth;
    }
    PlannerState deep = plan(64.0, 5);
    PlannedProfile p;
    EXPECT_FALSE(planDive(deep, p));
    PlannerState tooLong = plan(24.0, 56);
    EXPECT_FALSE(planDive(tooLong, p));
}

TEST(Planner, TwentyFourMetresFortyFiveMinutesAtSeaLevel)
{
    PlannerState s = plan(24.0, 45);
    s.tankLitres = 15.0;
    s.fillPressure = 200;
    s.breathingRate = 20.0;
    s.planTime = 1000;
    PlannedProfile p;
    ASSERT_TRUE(planDive(s, p));
    EXPECT_EQ(s.resultGroup, "G");
    EXPECT_EQ(s.stop3, 13);
    EXPECT_EQ(s.stop6, 2);
    EXPECT_EQ(s.stop9 + s.stop12 + s.stop15, 0);
    EXPECT_EQ(s.ascentTime, 18);
    EXPECT_EQ(s.pureAscentTime, 3);
    EXPECT_EQ(s.totalTime, 63);
    EXPECT_EQ(s.noFlyHours, 36);
    EXPECT_EQ(s.noDecoLimit, 23);
    EXPECT_EQ(s.residualTime, 0);
    EXPECT_EQ(s.endTime, 1000 + 63 * 60);
    // 3.4 × 45 × 20 + 1.3 × 13 × 20 + 1.6 × 2 × 20 + 2.2 × 3 × 20 litres; 3000 litres in the tank.
    EXPECT_EQ(s.airNeeded, 3594);
    EXPECT_EQ(s.remainingPressure, -39);
    EXPECT_EQ(s.pressureLoss, 239);
}

TEST(Planner, ResultRowsPairEachLabelWithItsValueWhateverTheTabs)
{
    PlannerState s = plan(24.0, 45);
    s.tankLitres = 15.0;
    s.fillPressure = 200;
    s.breathingRate = 20.0;
    PlannedProfile p;
    ASSERT_TRUE(calculate(s, p));
    const std::vector<ResultRow> rows = resultRows(s.resultText);
    ASSERT_EQ(rows.size(), 14u);
    const std::pair<const char *, const char *> expected[] = { { "Durée:", "63 min" },
        { "Temps de remontée:", "18 min" }, { "Groupe de pression:", "G" }, { "Palier 15 m:", "0 min" },
        { "Palier 9 m:", "0 min" }, { "Palier 3 m:", "13 min" }, { "Cons. air:", "3594 bar·l" } };
    for (const auto &[label, value] : expected) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const ResultRow &r) { return r.label == label; });
        ASSERT_NE(row, rows.end()) << label;
        EXPECT_EQ(row->value, value) << label;
    }
    s.depth = 70.0;
    ASSERT_TRUE(calculate(s, p));
    ASSERT_EQ(resultRows(s.resultText).size(), 1u);
    EXPECT_EQ(resultRows(s.resultText)[0].label, kTableTooShort);
    EXPECT_EQ(resultRows(s.resultText)[0].value, "");
}

TEST(Planner, AirWithoutATankOrWithoutARate)
{
    PlannerState noTank = plan(24.0, 45);
    noTank.breathingRate = 20.0;
    PlannedProfile p;
    ASSERT_TRUE(planDive(noTank, p));
    EXPECT_EQ(noTank.airNeeded, 3594);
    EXPECT_EQ(noTank.remainingPressure, 0);
    EXPECT_EQ(noTank.pressureLoss, 0);

    PlannerState noRate = plan(24.0, 45);
    noRate.tankLitres = 10.0;
    noRate.fillPressure = 200;
    ASSERT_TRUE(planDive(noRate, p));
    EXPECT_EQ(noRate.airNeeded, 0);
    EXPECT_EQ(noRate.remainingPressure, 200);
    EXPECT_EQ(noRate.pressureLoss, 0);
}

TEST(Planner, RepetitiveDiveAddsResidualTimeToTheLookupOnly)
{
    EXPECT_EQ(residualTime(20, { 'D', 40 }), 11);
    EXPECT_EQ(residualTime(18, { 'D', 40 }), 11);
    EXPECT_EQ(residualTime(21, { 'D', 40 }), 9);
    EXPECT_EQ(residualTime(20, { 'D', 10 }), 34); // column 3: the limits of 0 are passed over
    EXPECT_EQ(residualTime(20, { 'D', 120 }), 8);
    EXPECT_EQ(residualTime(20, { 'D', 121 }), 0); // past the last limit
    EXPECT_EQ(residualTime(20, { 'G', 1 }), 39);
    EXPECT_EQ(residualTime(20, { 'A', 40 }), 0);
    EXPECT_EQ(residualTime(20, { 'H', 40 }), 0);
    EXPECT_EQ(residualTime(8, { 'D', 40 }), 0);
    EXPECT_EQ(residualTime(63, { 'D', 40 }), 2);
    EXPECT_EQ(residualTime(64, { 'D', 40 }), 0);

    PlannerState s = plan(20.0, 10);
    s.repetitive = 1;
    s.group = "D";
    s.interval = 40;
    PlannedProfile p;
    ASSERT_TRUE(planDive(s, p));
    EXPECT_EQ(s.residualTime, 11);
    EXPECT_EQ(s.noDecoLimit, 31); // 21 m row
    EXPECT_EQ(s.resultGroup, "E"); // 24 min entry for 11 + 10 minutes
    EXPECT_EQ(s.totalTime, 10 + 2); // 120 s of ascent: the residual time does not lengthen the dive

    // Not ticked, no interval or no letter: a first dive.
    void (*const firstDive[])(PlannerState &) = { [](PlannerState &f) { f.repetitive = 0; },
        [](PlannerState &f) { f.interval = 0; }, [](PlannerState &f) { f.group.clear(); } };
    for (auto makeFirst : firstDive) {
        PlannerState first = s;
        makeFirst(first);
        ASSERT_TRUE(planDive(first, p));
        EXPECT_EQ(first.residualTime, 0);
        EXPECT_EQ(first.resultGroup, "C");
    }
    // The residual time can push the lookup past the row.
    s.bottomTime = 50;
    EXPECT_FALSE(planDive(s, p));
}

TEST(Planner, NoStopPlanAtNineMetres)
{
    PlannerState s = plan(9.0, 60);
    PlannedProfile p;
    ASSERT_TRUE(planDive(s, p));
    EXPECT_EQ(s.totalTime, 61);
    ASSERT_EQ(p.count, 183);
    EXPECT_EQ(p.pointCount(), 184);
    EXPECT_EQ(p.depthAxis, 9);
    EXPECT_EQ(p.depths[0], 0.0);
    for (int i = 1; i <= 180; ++i)
        ASSERT_EQ(p.depths[static_cast<std::size_t>(i)], -9.0) << i;
    EXPECT_NEAR(p.depths[181], -(9.0 - 9.0 / 1.35), 1e-9);
    for (std::size_t i = 182; i < p.depths.size(); ++i)
        ASSERT_EQ(p.depths[i], 0.0) << i;
    for (std::uint8_t marker : p.markers)
        ASSERT_EQ(marker, 0);
}

TEST(Planner, StopPlanDescendsStaysAscendsAndMarksTheOwedStops)
{
    PlannerState s = plan(24.0, 45);
    PlannedProfile p;
    ASSERT_TRUE(planDive(s, p));
    ASSERT_EQ(p.count, 189);
    // Three points down at 6 2/3 m each, then the bottom up to 45 minutes.
    EXPECT_NEAR(p.depths[1], -24.0 / 3.6, 1e-9);
    EXPECT_EQ(p.depths[3], -24.0);
    EXPECT_EQ(p.depths[134], -24.0);
    // Up to 6 m in 10 m a minute, 2 minutes there, a point at 6 m on the way, 13 minutes at 3 m and one more.
    EXPECT_NEAR(p.depths[135], -24.0, 1e-9);
    EXPECT_NEAR(p.depths[140], -(24.0 - 5 * 10.0 / 3.0), 1e-9);
    for (int i = 141; i < 147; ++i)
        ASSERT_EQ(p.depths[static_cast<std::size_t>(i)], -6.0) << i;
    EXPECT_EQ(p.depths[147], -6.0);
    for (int i = 148; i < 148 + 39 + 1; ++i)
        ASSERT_EQ(p.depths[static_cast<std::size_t>(i)], -3.0) << i;
    EXPECT_EQ(p.depths[188], 0.0);

    // Bottom points are marked from the minute the table first asks for a stop (25 min entry, elapsed 21 min).
    EXPECT_EQ(p.markers[61], 0);
    EXPECT_EQ(p.markers[62], 1);
    EXPECT_EQ(p.markers[134], 1);
    // Stops are worked off three points a minute: 2 minutes at 6 m, then 13 at 3 m.
    int marked = 0;
    for (int i = 135; i < p.count; ++i)
        marked += p.markers[static_cast<std::size_t>(i)];
    EXPECT_EQ(p.markers[146], 1);
    EXPECT_EQ(p.markers[187], 0);
    EXPECT_GT(marked, 3 * 15 - 1);
    EXPECT_LT(marked, 3 * 15 + 8);
}

TEST(Planner, CalculateFillsTheResultTextOrRefuses)
{
    PlannedProfile p;
    PlannerState zero = plan(0.0, 45);
    EXPECT_FALSE(calculate(zero, p));
    EXPECT_TRUE(zero.resultText.empty());

    PlannerState s = plan(24.0, 45);
    s.tankLitres = 15.0;
    s.fillPressure = 0;
    s.breathingRate = 0;
    ASSERT_TRUE(calculate(s, p));
    EXPECT_EQ(s.fillPressure, 200);
    EXPECT_EQ(s.breathingRate, 20.0);
    EXPECT_EQ(s.resultValid, 1);
    EXPECT_NE(s.resultText.find(" Durée:\t\t63 min\n"), std::string::npos);
    EXPECT_NE(s.resultText.find(" Groupe de pression:\tG\n"), std::string::npos);
    EXPECT_NE(s.resultText.find(" Palier 3 m:\t13 min\n"), std::string::npos);
    EXPECT_NE(s.resultText.find(" Cons. air:\t\t3594 bar·l\n"), std::string::npos);

    PlannerState deep = plan(70.0, 10);
    ASSERT_TRUE(calculate(deep, p));
    EXPECT_EQ(deep.resultValid, 0);
    EXPECT_EQ(deep.resultText, "\n Table insuffisante");
}

TEST(Planner, FirstStateTakesTheLogbooksMeanRate)
{
    EXPECT_EQ(initialPlannerState(5, 0.0).breathingRate, 20.0);
    const PlannerState s = initialPlannerState(5, 17.5);
    EXPECT_EQ(s.breathingRate, 17.5);
    EXPECT_EQ(s.planTime, 5);
    EXPECT_EQ(s.depth, 50.0);
    EXPECT_EQ(s.bottomTime, 12);
    EXPECT_EQ(s.tankLitres, 15.0);
    EXPECT_EQ(s.fillPressure, 200);
}

TEST(Planner, DiveUpToTheCursorGoesIntoTheClipboard)
{
    zorv::logbook::DiveRecord dive;
    dive.profileLength = 30;
    dive.sampleCount = 200;
    dive.maxDepth = 2340; // 23.4 m: the 24 m row
    ProfileClipboard clipboard;
    EXPECT_FALSE(planIntoClipboard(dive, 3, clipboard));
    EXPECT_TRUE(clipboard.isEmpty());
    ASSERT_TRUE(planIntoClipboard(dive, 135, clipboard)); // 45 minutes
    EXPECT_EQ(clipboard.count(), 190);
    EXPECT_EQ(clipboard.depths()[100], -24.0);
    EXPECT_EQ(clipboard.markers()[100], 1);
    dive.altitudeClass = 2; // the mountain table owes 20 minutes of stops: 68 minutes in all
    ASSERT_TRUE(planIntoClipboard(dive, 135, clipboard));
    EXPECT_EQ(clipboard.count(), 3 * 68 + 1);
    EXPECT_FALSE(planIntoClipboard(dive, 168, clipboard)); // 56 minutes: beyond the 24 m row
    EXPECT_EQ(clipboard.count(), 3 * 68 + 1);
}
