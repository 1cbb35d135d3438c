#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/profileencoder.h"
#include "tools/divetools.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace zorv::tools {
namespace {

    using logbook::DiveRecord;
    using logbook::Logbook;

    constexpr std::uint8_t kPlainType = 10;
    constexpr std::uint8_t kO2Type = 50;

    class FakeComputers : public logbook::ComputerInfo {
    public:
        bool isNitrox(std::uint8_t) const override { return false; }
        bool isO2(std::uint8_t typeId) const override { return typeId == kO2Type; }
        std::string displayName(std::uint8_t) const override { return {}; }
    };

    DiveRecord dive(int day, int month, int year, int minutes)
    {
        DiveRecord d;
        d.date = logbook::dayNumber(day, month, year);
        d.entryTime = static_cast<std::int16_t>(minutes);
        d.maxDepth = 1500;
        d.duration = 40;
        return d;
    }

    // Dives numbered 1..n, one a day from 1 March 2024 at 10:00.
    std::vector<DiveRecord> days(int n)
    {
        std::vector<DiveRecord> dives;
        for (int i = 0; i < n; ++i) {
            DiveRecord d = dive(1, 3, 2024, 600);
            d.date += static_cast<std::uint32_t>(i);
            d.diveNumber = static_cast<std::int16_t>(i + 1);
            dives.push_back(d);
        }
        return dives;
    }

    std::vector<int> numbers(const Logbook &book)
    {
        std::vector<int> out;
        for (const DiveRecord &d : book.dives())
            out.push_back(d.diveNumber);
        return out;
    }

    // Down to `depth` metres and back to the surface over `minutes` minutes.
    std::vector<float> dip(float depth, int minutes)
    {
        std::vector<float> out;
        const int samples = minutes * 3;
        for (int i = 0; i < samples; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(samples - 1);
            out.push_back(depth * (1.0f - std::abs(2.0f * t - 1.0f)));
        }
        return out;
    }

    DiveRecord profiled(std::vector<float> depths, std::uint8_t type = kPlainType)
    {
        DiveRecord d = dive(1, 3, 2024, 600);
        d.computerType = type;
        logbook::ProfileScript script;
        script.depths = std::move(depths);
        // A moderate workload throughout, so that the breathing model uses gas.
        script.groups.assign(script.depths.size() / 3 + 1, logbook::GroupLevels { 0, 9, 0 });
        logbook::encodeProfile(d, script, type == kO2Type ? logbook::ProfileFamily::O2 : logbook::ProfileFamily::Plain);
        d.duration = static_cast<std::int16_t>(d.sampleCount / 3);
        d.maxDepth = static_cast<std::int16_t>(d.profileMaxDepth * 100);
        d.tankVolume = 1200;
        d.airUsed = 15000;
        return d;
    }

    TEST(Renumber, AllFromAStartNumber)
    {
        Logbook book;
        EXPECT_EQ(renumberAll(book, 5)->changed, 0); // an empty logbook is left alone
        book.adoptDives(days(4));
        const ToolResult r = renumberAll(book, 100);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->changed, 4);
        EXPECT_EQ(numbers(book), (std::vector<int> { 100, 101, 102, 103 }));
        EXPECT_EQ(book.firstDiveNumber(), 100);
        // Numbers past the file's limit would wrap to negative ones.
        EXPECT_EQ(renumberAll(book, 32766).status(), common::Status::Refused);
        EXPECT_EQ(renumberAllQuestion(7), "Numéroter les plongées à partir du n°7 ?");
    }

    struct RangeCase {
        int first, last, start;
        std::vector<int> expected;
        bool refused;
    };

    class RenumberRange : public ::testing::TestWithParam<RangeCase> { };

    TEST_P(RenumberRange, NumbersOnlyTheDivesInTheRange)
    {
        Logbook book;
        book.adoptDives(days(6));
        const RangeCase &c = GetParam();
        const ToolResult r = renumberRange(book, c.first, c.last, c.start);
        EXPECT_EQ(r.ok(), !c.refused);
        if (c.refused) {
            EXPECT_EQ(r.message(), "Numéro de plongée hors limites");
        }
        EXPECT_EQ(numbers(book), c.expected);
    }

    INSTANTIATE_TEST_SUITE_P(Ranges, RenumberRange,
        ::testing::Values(RangeCase { 2, 4, 20, { 1, 20, 21, 22, 5, 6 }, false },
            RangeCase { 1, 6, 1, { 1, 2, 3, 4, 5, 6 }, false }, RangeCase { 4, 2, 9, { 1, 2, 3, 4, 5, 6 }, false },
            RangeCase { 0, 3, 9, { 1, 2, 3, 4, 5, 6 }, true }, RangeCase { 3, 7, 9, { 1, 2, 3, 4, 5, 6 }, true },
            RangeCase { 5, 6, 32767, { 1, 2, 3, 4, 5, 6 }, true }));

    TEST(RenumberRange, NumbersThatWouldRepeatAreAskedAbout)
    {
        Logbook book;
        book.adoptDives(days(6));
        const std::optional<std::string> question = renumberRangeQuestion(book, 3, 4, 1);
        ASSERT_TRUE(question);
        EXPECT_NE(question->find("#3 à #4 à partir de #1"), std::string::npos) << *question;
        EXPECT_NE(question->find("se répéteront : 2 plongée(s)"), std::string::npos) << *question;
        EXPECT_TRUE(renumberRangeQuestion(book, 4, 6, 3)); // dive 3 keeps its number
        for (const RangeCase &single : { RangeCase { 2, 4, 20, {}, false }, RangeCase { 1, 6, 1, {}, false },
                 RangeCase { 5, 6, 7, {}, false }, RangeCase { 4, 2, 1, {}, false }, RangeCase { 0, 3, 1, {}, true } })
            EXPECT_FALSE(renumberRangeQuestion(book, single.first, single.last, single.start))
                << single.first << "-" << single.last << " from " << single.start;
    }

    TEST(TimeZone, CarriesAcrossNewYearsEve)
    {
        Logbook book;
        std::vector<DiveRecord> dives { dive(31, 12, 2025, 23 * 60 + 30), dive(31, 12, 2025, 23 * 60 + 50) };
        dives[0].diveNumber = 1;
        dives[1].diveNumber = 2;
        book.adoptDives(dives);
        const ToolResult r = shiftTimeZone(book, 1, 2, 45);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->changed, 2);
        EXPECT_EQ(book.dive(1)->date, logbook::dayNumber(1, 1, 2026));
        EXPECT_EQ(book.dive(1)->entryTime, 15);
        EXPECT_EQ(book.dive(2)->entryTime, 35);
        // And back again into the old year.
        ASSERT_TRUE(shiftTimeZone(book, 1, 2, -45).ok());
        EXPECT_EQ(book.dive(1)->date, logbook::dayNumber(31, 12, 2025));
        EXPECT_EQ(book.dive(1)->entryTime, 23 * 60 + 30);
    }

    TEST(TimeZone, MovesOnlyTheRangeBackAcrossMidnightAndLeapDay)
    {
        Logbook book;
        std::vector<DiveRecord> dives = days(12);
        dives[9] = dive(1, 3, 2024, 30); // 00:30 on the day after the leap day
        dives[9].diveNumber = 10;
        dives[11].entryTime = logbook::kMissing; // a dive without a time stays as it is
        book.adoptDives(dives);
        const ToolResult r = shiftTimeZone(book, 10, 12, -90);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->positions, (std::vector<int> { 10, 11 }));
        EXPECT_EQ(book.dive(10)->date, logbook::dayNumber(29, 2, 2024));
        EXPECT_EQ(book.dive(10)->entryTime, 23 * 60);
        EXPECT_EQ(book.dive(11)->entryTime, 8 * 60 + 30);
        EXPECT_EQ(book.dive(9)->entryTime, 600);
        EXPECT_EQ(book.dive(12)->entryTime, logbook::kMissing);
    }

    TEST(TimeZone, RefusesBadNumbersAndIgnoresAZeroDifference)
    {
        Logbook book;
        EXPECT_EQ(shiftTimeZone(book, 1, 1, 60)->changed, 0);
        book.adoptDives(days(3));
        EXPECT_EQ(shiftTimeZone(book, 1, 3, 0)->changed, 0);
        EXPECT_EQ(shiftTimeZone(book, 3, 1, 60).message(), "Donnée erronée");
        EXPECT_EQ(shiftTimeZone(book, 1, 4, 60).message(), "Donnée erronée");
        EXPECT_EQ(book.dive(1)->entryTime, 600);
        EXPECT_EQ(timeShiftQuestion(10, 12, -90), "Corriger les plongées n°10 à n°12\nde -01:30 HH:MM ?");
    }

    TEST(TimeZone, ParsesTheDifference)
    {
        EXPECT_EQ(parseTimeDifference("1:30"), 90);
        EXPECT_EQ(parseTimeDifference(" 0:05 "), 5);
        EXPECT_EQ(parseTimeDifference("45"), 45);
        EXPECT_EQ(parseTimeDifference("1:x"), std::nullopt);
        EXPECT_EQ(parseTimeDifference("-1:00"), std::nullopt);
        EXPECT_EQ(parseTimeDifference(""), std::nullopt);
    }

    class MergeSplit : public ::testing::Test {
    protected:
        void SetUp() override { book.setComputerInfo(&computers); }

        void load(std::vector<DiveRecord> dives)
        {
            for (std::size_t i = 0; i < dives.size(); ++i) {
                dives[i].diveNumber = static_cast<std::int16_t>(i + 1);
                dives[i].entryTime = static_cast<std::int16_t>(600 + 60 * i);
            }
            book.adoptDives(std::move(dives));
        }

        FakeComputers computers;
        Logbook book;
    };

    TEST_F(MergeSplit, MergeJoinsTheProfilesAfterASurfaceGroup)
    {
        DiveRecord a = profiled(dip(20.0f, 10));
        DiveRecord b = profiled(dip(12.0f, 6));
        b.surfaceInterval = 120; // the limit is allowed
        b.warnings = 4;
        b.minWaterTemperature = 800;
        load({ a, b, profiled(dip(5.0f, 3)) });
        const int aSamples = book.dive(1)->sampleCount;
        const int bSamples = book.dive(2)->sampleCount;
        const ToolResult r = mergeWithNext(book, 1);
        ASSERT_TRUE(r.ok()) << r.message();
        EXPECT_EQ(r->message, "Les plongées n°1 et n°2\nsont fusionnées");
        EXPECT_EQ(r->removed, 2);
        ASSERT_EQ(book.diveCount(), 2);
        const DiveRecord &m = *book.dive(1);
        EXPECT_EQ(m.duration, a.duration + b.duration);
        EXPECT_EQ(m.maxDepth, a.maxDepth);
        EXPECT_EQ(m.minWaterTemperature, 800);
        EXPECT_EQ(m.airUsed, 30000);
        EXPECT_EQ(m.warnings, 4);
        // A's samples, then a group rising to the surface band, then B's.
        EXPECT_GE(m.sampleCount, aSamples + bSamples);
        EXPECT_FLOAT_EQ(m.profileMaxDepth, a.profileMaxDepth);
        for (int i = 0; i < aSamples - 3; ++i)
            EXPECT_EQ(m.samples[static_cast<std::size_t>(i)].depth, a.samples[static_cast<std::size_t>(i)].depth);
        const int gap = (a.profileLength - 22) / 7 * 3 + 1;
        EXPECT_FLOAT_EQ(m.samples[static_cast<std::size_t>(gap + 2)].depth, -1.25f);
        for (int i = 1; i < bSamples - 3; ++i)
            EXPECT_EQ(
                m.samples[static_cast<std::size_t>(gap + 2 + i)].depth, b.samples[static_cast<std::size_t>(i)].depth)
                << i;
        EXPECT_EQ(book.dive(2)->diveNumber, 2); // the later dive takes the freed number
    }

    TEST_F(MergeSplit, MergeOfNitroxProfilesKeepsTheSecondOnWholeGroups)
    {
        // Their profile block is two bytes longer, so the splice rounds up to the next group.
        DiveRecord a = profiled(dip(20.0f, 10));
        DiveRecord b = profiled(dip(12.0f, 6));
        for (DiveRecord *d : { &a, &b }) {
            logbook::ProfileScript script;
            for (int i = 1; i < d->sampleCount; ++i)
                script.depths.push_back(-d->samples[static_cast<std::size_t>(i)].depth);
            logbook::encodeProfile(*d, script, logbook::ProfileFamily::Nitrox);
        }
        b.surfaceInterval = 30;
        load({ a, b });
        ASSERT_TRUE(mergeWithNext(book, 1).ok());
        const DiveRecord &m = *book.dive(1);
        const int gap = (a.profileLength - 24) / 7 * 3 + 4; // one empty group, then the climb
        EXPECT_FLOAT_EQ(m.samples[static_cast<std::size_t>(gap + 2)].depth, -1.25f);
        for (int i = 1; i < b.sampleCount - 3; ++i)
            EXPECT_EQ(
                m.samples[static_cast<std::size_t>(gap + 2 + i)].depth, b.samples[static_cast<std::size_t>(i)].depth)
                << i;
    }

    TEST_F(MergeSplit, MergeRefusals)
    {
        DiveRecord late = profiled(dip(10.0f, 5));
        late.surfaceInterval = 121;
        DiveRecord o2 = profiled(dip(10.0f, 5), kO2Type);
        o2.surfaceInterval = 30;
        DiveRecord other = profiled(dip(10.0f, 5), kPlainType + 1);
        other.surfaceInterval = 30;
        DiveRecord flat = dive(1, 3, 2024, 0);
        load({ profiled(dip(10.0f, 5)), late, profiled(dip(10.0f, 5), kO2Type), o2, other, flat });
        const std::vector<DiveRecord> before(book.dives().begin(), book.dives().end());
        EXPECT_EQ(mergeWithNext(book, 1).message(), "Les plongées n°1 et n°2 ne peuvent pas\nêtre fusionnées");
        EXPECT_EQ(mergeWithNext(book, 3).status(), common::Status::Refused); // O2: 8-byte groups
        EXPECT_NE(mergeWithNext(book, 3).message().find("O2"), std::string::npos);
        EXPECT_FALSE(mergeWithNext(book, 4).ok()); // computers differ
        EXPECT_FALSE(mergeWithNext(book, 5).ok()); // the next has no profile
        EXPECT_EQ(
            mergeWithNext(book, 6).message(), "Les plongées n°6 et n°0 ne peuvent pas\nêtre fusionnées"); // the last
        EXPECT_TRUE(std::equal(before.begin(), before.end(), book.dives().begin(), book.dives().end()));
    }

    // Two dips with a stay at the surface between them, as a computer records a
    // dive it did not end: ten minutes down, four at the surface, six down again.
    std::vector<float> twoDips()
    {
        std::vector<float> depths = dip(18.0f, 10);
        depths.insert(depths.end(), 12, 0.0f);
        const std::vector<float> second = dip(9.0f, 6);
        depths.insert(depths.end(), second.begin(), second.end());
        return depths;
    }

    TEST_F(MergeSplit, SplitAtTheSurfaceMakesTwoDives)
    {
        DiveRecord whole = profiled(twoDips());
        whole.airConsumption = 20.0f;
        load({ whole });
        const DiveRecord a = *book.dive(1);
        const ToolResult r = splitDive(book, 1, 12);
        ASSERT_TRUE(r.ok()) << r.message();
        EXPECT_EQ(r->message, "La plongée n°1\nest séparée");
        EXPECT_EQ(r->inserted, 2);
        ASSERT_EQ(book.diveCount(), 2);
        const DiveRecord &first = *book.dive(1);
        const DiveRecord &second = *book.dive(2);
        EXPECT_EQ(first.duration, 12);
        EXPECT_EQ(first.profileLength, 7 * 12 + 22);
        EXPECT_EQ(first.maxDepth, static_cast<int>(a.profileMaxDepth * 100));
        EXPECT_EQ(second.entryTime, a.entryTime + 12 + 5);
        EXPECT_EQ(second.surfaceInterval, 5);
        EXPECT_EQ(second.duration, a.duration - 12);
        EXPECT_EQ(second.maxDepth, static_cast<int>(second.profileMaxDepth * 100));
        EXPECT_NEAR(second.profileMaxDepth, 9.0f, 1.0f);
        EXPECT_EQ(second.diveNumber, 2);
        EXPECT_EQ(first.airUsed + second.airUsed, a.airUsed);
        EXPECT_GT(first.airUsed, 0);
    }

    TEST_F(MergeSplit, SplitRefusals)
    {
        load({ profiled(twoDips()), profiled(twoDips(), kO2Type) });
        const std::vector<DiveRecord> before(book.dives().begin(), book.dives().end());
        for (const int minute : { 0, -1, 5 /* at 18 m */, 200 /* past the profile */ })
            EXPECT_EQ(splitDive(book, 1, minute).status(), common::Status::Refused) << minute;
        EXPECT_TRUE(splitDive(book, 1, 5).message().starts_with("La plongée n°1 ne peut pas\nêtre séparée"));
        EXPECT_FALSE(splitDive(book, 2, 12).ok()); // O2
        EXPECT_FALSE(splitDive(book, 3, 12).ok()); // no such dive
        EXPECT_TRUE(std::equal(before.begin(), before.end(), book.dives().begin(), book.dives().end()));
    }

    TEST_F(MergeSplit, SplitWithNothingUnderWaterAfterItIsRefused)
    {
        // The first dip alone, then a stay at the surface that the computer still logged.
        std::vector<float> depths = dip(18.0f, 10);
        depths.insert(depths.end(), 12, 0.0f);
        load({ profiled(twoDips()), profiled(depths) });
        const std::vector<DiveRecord> before(book.dives().begin(), book.dives().end());
        const int lastMinute = (book.dive(1)->sampleCount - 1) / 3;
        const ToolResult atTheEnd = splitDive(book, 1, lastMinute);
        EXPECT_EQ(atTheEnd.status(), common::Status::Refused) << lastMinute;
        EXPECT_NE(atTheEnd.message().find("aucune mesure"), std::string::npos) << atTheEnd.message();
        for (int minute = 11; 3 * minute < book.dive(2)->sampleCount; ++minute)
            EXPECT_EQ(splitDive(book, 2, minute).status(), common::Status::Refused) << minute;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), book.dives().begin(), book.dives().end()));
    }

    // The second part would be one dive too many: the refusal says so.
    TEST_F(MergeSplit, SplitOfAFullLogbookSaysWhy)
    {
        std::vector<DiveRecord> dives(Logbook::kMaxDives, dive(1, 3, 2024, 0));
        dives.front() = profiled(twoDips());
        load(std::move(dives));
        const ToolResult r = splitDive(book, 1, 12);
        EXPECT_EQ(r.status(), common::Status::Refused);
        EXPECT_NE(r.message().find("32767 plongées"), std::string::npos) << r.message();
        EXPECT_EQ(book.diveCount(), Logbook::kMaxDives);
    }

    TEST_F(MergeSplit, SplitLateInTheDayCarriesTheSecondPartIntoTheNextDay)
    {
        DiveRecord d = profiled(twoDips());
        load({ d });
        DiveRecord late = *book.dive(1);
        late.entryTime = 23 * 60 + 50;
        book.putDive(late, 1);
        ASSERT_TRUE(splitDive(book, 1, 12).ok());
        EXPECT_EQ(book.dive(2)->date, late.date + 1);
        EXPECT_EQ(book.dive(2)->entryTime, 7);
    }

} // namespace
} // namespace zorv::tools
