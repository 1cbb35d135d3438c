#include "common/clock.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbooktestdives.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zorv::logbook {
namespace {

    using test::makeDive;

    struct RecordingObserver : LogbookObserver {
        int modifiedCalls = 0;
        std::vector<int> changed;
        void markModified() override { ++modifiedCalls; }
        void diveChanged(int position) override { changed.push_back(position); }
    };

    class LogbookTest : public testing::Test {
    protected:
        void SetUp() override { book.setObserver(&observer); }
        void TearDown() override { common::setClock(nullptr); }

        // Dives "d1".."dn" on consecutive days from 1 June 2020, 10:00.
        void fill(int n)
        {
            for (int i = 1; i <= n; ++i)
                book.insertDive(makeDive(dayNumber(i, 6, 2020), 600, ("d" + std::to_string(i)).c_str()));
        }

        std::string sites() const
        {
            std::string out;
            for (const DiveRecord &d : book.dives())
                out += std::string(fixedText(d.site)) + " ";
            return out;
        }

        std::vector<int> numbers() const
        {
            std::vector<int> out;
            for (const DiveRecord &d : book.dives())
                out.push_back(d.diveNumber);
            return out;
        }

        Logbook book;
        RecordingObserver observer;
    };

    TEST_F(LogbookTest, ResetGivesAnEmptyUntitledLogbook)
    {
        fill(2);
        book.reset();
        EXPECT_EQ(book.diveCount(), 0);
        EXPECT_EQ(book.currentDive(), 0);
        EXPECT_FALSE(book.isModified());
        EXPECT_EQ(book.path(), "sansnom.log");
        EXPECT_EQ(book.addPath(), "sansnom.add");

        EXPECT_EQ(book.dive(1), nullptr);

        book.setPath("/home/diver/my.logs/2020.log");
        EXPECT_EQ(book.infPath(), "/home/diver/my.logs/2020.inf");
        book.setPath("");
        EXPECT_EQ(book.addPath(), "");
    }

    TEST_F(LogbookTest, InsertKeepsDateOrderAndNumbering)
    {
        book.insertDive(makeDive(dayNumber(5, 6, 2020), 600, "b"));
        EXPECT_EQ(book.currentDive(), 1);
        EXPECT_EQ(numbers(), (std::vector<int> { 1 }));
        EXPECT_TRUE(book.isModified());
        EXPECT_EQ(observer.modifiedCalls, 1);

        book.insertDive(makeDive(dayNumber(9, 6, 2020), 600, "d"));
        book.insertDive(makeDive(dayNumber(1, 6, 2020), 600, "a"));
        EXPECT_EQ(book.currentDive(), 1);
        book.insertDive(makeDive(dayNumber(9, 6, 2020), 540, "c"));
        EXPECT_EQ(book.currentDive(), 3);
        EXPECT_EQ(sites(), "a b c d ");
        EXPECT_EQ(numbers(), (std::vector<int> { 1, 2, 3, 4 }));

        // Same date and time: the newer one goes after; a missing time after all times of the day.
        book.insertDive(makeDive(dayNumber(9, 6, 2020), 600, "d2"));
        book.insertDive(makeDive(dayNumber(9, 6, 2020), kMissing, "e"));
        book.insertDive(makeDive(dayNumber(9, 6, 2020), 600, "d3"));
        EXPECT_EQ(sites(), "a b c d d2 d3 e ");
        EXPECT_EQ(numbers(), (std::vector<int> { 1, 2, 3, 4, 5, 6, 7 }));
    }

    TEST_F(LogbookTest, UndatedDivesGoFirstWithoutPullingDatedOnesAhead)
    {
        book.insertDive(makeDive(dayNumber(5, 6, 2020), 600, "a"));
        book.renumber(40);
        book.insertDive(makeDive(kNoDate, kMissing, "u"));
        EXPECT_EQ(book.currentDive(), 1);
        EXPECT_EQ(sites(), "u a ");
        EXPECT_EQ(numbers(), (std::vector<int> { 40, 41 }));

        book.insertDive(makeDive(dayNumber(6, 6, 2020), 600, "b"));
        book.insertDive(makeDive(dayNumber(4, 6, 2020), 600, "z"));
        EXPECT_EQ(sites(), "u z a b ");
        EXPECT_EQ(numbers(), (std::vector<int> { 40, 41, 42, 43 }));
    }

    TEST_F(LogbookTest, DeleteClosesTheGapInNumbering)
    {
        fill(10);
        book.renumber(101);
        book.deleteDive(5);
        EXPECT_EQ(book.diveCount(), 9);
        EXPECT_EQ(sites(), "d1 d2 d3 d4 d6 d7 d8 d9 d10 ");
        EXPECT_EQ(numbers(), (std::vector<int> { 101, 102, 103, 104, 105, 106, 107, 108, 109 }));

        book.setCurrentDive(9);
        book.deleteDive(9);
        EXPECT_EQ(book.currentDive(), 8);

        const int calls = observer.modifiedCalls;
        book.deleteDive(0);
        book.deleteDive(9);
        EXPECT_EQ(book.diveCount(), 8);
        EXPECT_EQ(observer.modifiedCalls, calls);
    }

    TEST_F(LogbookTest, DeletingTheOnlyDiveLeavesNothingCurrentAndClearsTheMean)
    {
        DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, "x");
        d.airConsumption = 20.0f;
        book.insertDive(d);
        EXPECT_TRUE(book.meanValid());
        book.deleteDive(1);
        EXPECT_EQ(book.diveCount(), 0);
        EXPECT_EQ(book.currentDive(), 0);
        EXPECT_FALSE(book.meanValid());
        EXPECT_EQ(book.meanAirConsumption(), 0.0f);
    }

    TEST_F(LogbookTest, EditingMovesADiveToItsNewDateKeepingTheNumbers)
    {
        fill(5);
        book.renumber(10);
        const int firstCalls = observer.modifiedCalls;

        DiveRecord edited = *book.dive(2);
        edited.date = dayNumber(4, 6, 2020);
        edited.entryTime = 700; // after d4's 10:00
        EXPECT_EQ(book.positionForDate(edited, 2), 4);
        book.setCurrentDive(2);
        book.storeEditedCurrent(edited);
        EXPECT_EQ(sites(), "d1 d3 d4 d2 d5 ");
        EXPECT_EQ(numbers(), (std::vector<int> { 10, 11, 12, 13, 14 }));
        EXPECT_EQ(book.currentDive(), 4);
        EXPECT_GT(observer.modifiedCalls, firstCalls);

        edited = *book.dive(5);
        edited.date = kNoDate;
        book.setCurrentDive(5);
        book.storeEditedCurrent(edited);
        EXPECT_EQ(sites(), "d5 d1 d3 d4 d2 ");
        EXPECT_EQ(numbers(), (std::vector<int> { 10, 11, 12, 13, 14 }));

        // A change that keeps the place is stored in place and redraws that line only.
        edited = *book.dive(3);
        edited.duration = 45;
        setFixedText(edited.place, "Lac L\x82man");
        book.setCurrentDive(3);
        book.storeEditedCurrent(edited);
        EXPECT_EQ(observer.changed.back(), 3);
        EXPECT_EQ(book.totalMinutes(), 45);

        // The last dive moved to the front.
        edited = *book.dive(5);
        edited.date = dayNumber(1, 1, 2000);
        EXPECT_EQ(book.positionForDate(edited, 5), 2);
        EXPECT_EQ(book.positionForDate(edited, 0), 1);
    }

    TEST_F(LogbookTest, ShiftTimesCrossesMidnightAndYearEnd)
    {
        const common::FixedClock utc(0);
        common::setClock(&utc);
        book.insertDive(makeDive(dayNumber(31, 12, 2019), 23 * 60 + 50, "a"));
        book.insertDive(makeDive(dayNumber(1, 6, 2020), 30, "b"));
        book.insertDive(makeDive(dayNumber(2, 6, 2020), kMissing, "c"));
        book.insertDive(makeDive(dayNumber(3, 6, 2020), 600, "d"));
        book.insertDive(makeDive(kNoDate, 600, "u"));

        book.shiftTimes(2, 4, 20); // a, b, c
        EXPECT_EQ(book.dive(2)->date, dayNumber(1, 1, 2020));
        EXPECT_EQ(book.dive(2)->entryTime, 10);
        EXPECT_EQ(book.dive(3)->entryTime, 50);
        EXPECT_EQ(book.dive(4)->date, dayNumber(2, 6, 2020)); // no time: untouched
        EXPECT_EQ(book.dive(5)->entryTime, 600); // outside the range

        book.shiftTimes(1, 3, -60);
        EXPECT_EQ(book.dive(1)->date, kNoDate);
        EXPECT_EQ(book.dive(3)->date, dayNumber(31, 5, 2020));
        EXPECT_EQ(book.dive(3)->entryTime, 23 * 60 + 50);
        book.shiftTimes(1, 99, 0); // a range past the end is cut, not followed
        EXPECT_EQ(book.diveCount(), 5);
    }

    TEST_F(LogbookTest, RecomputeTotalsSkipMissingValues)
    {
        DiveRecord a = makeDive(dayNumber(1, 1, 2021), 600, "a");
        a.duration = 40;
        a.airConsumption = 18.0f;
        DiveRecord b = makeDive(dayNumber(2, 1, 2021), 600, "b");
        b.airUsed = kMissing;
        Logbook::computeAirConsumption(b); // stays 0 and is not counted
        DiveRecord c = makeDive(dayNumber(3, 1, 2021), 600, "c");
        c.duration = 50;
        c.airConsumption = 24.0f;
        for (const DiveRecord &d : { a, b, c })
            book.insertDive(d);
        EXPECT_EQ(book.totalMinutes(), 90);
        EXPECT_TRUE(book.meanValid());
        EXPECT_FLOAT_EQ(book.meanAirConsumption(), 21.0f);
    }

    TEST_F(LogbookTest, NewDiveDefaultsOnlyAdd)
    {
        NewDiveDefaults defaults;
        defaults.tankVolume = 1200;
        defaults.model = "A model name longer than twenty-five";
        defaults.altitudeClass = 2;
        defaults.diveTypeMask = dive_type::kSeaWater | dive_type::kNoDeco | dive_type::kScr | 0x03;
        book.setNewDiveDefaults(defaults);

        DiveRecord d;
        book.applyNewDiveDefaults(d);
        EXPECT_EQ(d, DiveRecord {}); // the switch is off

        defaults.apply = true;
        book.setNewDiveDefaults(defaults);
        d.altitudeClass = 3;
        d.diveType = dive_type::kNitrox;
        book.applyNewDiveDefaults(d);
        EXPECT_EQ(d.tankVolume, 1200);
        EXPECT_EQ(d.extra.weights, kMissing);
        EXPECT_EQ(d.extra.tankMaterial, 0);
        EXPECT_EQ(d.altitudeClass, 3);
        EXPECT_EQ(fixedText(d.extra.model), "A model name longer than ");
        EXPECT_EQ(d.diveType, dive_type::kNitrox | dive_type::kSeaWater | dive_type::kNoDeco);
        EXPECT_TRUE(d.extra.reserved.empty());
    }

    TEST_F(LogbookTest, HoldsAtMostTheDivesItsFileCanCount)
    {
        // One dive more than the file counts: adoptDives keeps the first 32,767.
        std::vector<DiveRecord> dives(static_cast<std::size_t>(Logbook::kMaxDives) + 1);
        for (std::size_t i = 0; i < dives.size(); ++i) {
            dives[i].date = dayNumber(1, 1, 1980) + static_cast<std::uint32_t>(i / 4);
            dives[i].diveNumber = static_cast<std::int16_t>(i + 1);
        }
        book.adoptDives(std::move(dives));
        ASSERT_EQ(book.diveCount(), Logbook::kMaxDives);
        EXPECT_EQ(book.diveNumberAt(Logbook::kMaxDives), 32767);
        EXPECT_EQ(book.currentDive(), Logbook::kMaxDives);

        const DiveRecord late = makeDive(dayNumber(1, 1, 2100), 600, "late");
        EXPECT_FALSE(book.insertDive(late));
        EXPECT_EQ(book.diveCount(), Logbook::kMaxDives);
        EXPECT_EQ(book.currentDive(), Logbook::kMaxDives);

        // A deleted dive makes room for one, numbered without running past the 16-bit field.
        book.deleteDive(1);
        ASSERT_TRUE(book.insertDive(late));
        EXPECT_EQ(book.diveCount(), Logbook::kMaxDives);
        EXPECT_EQ(fixedText(book.dive(Logbook::kMaxDives)->site), "late");
        EXPECT_GT(book.diveNumberAt(Logbook::kMaxDives), book.diveNumberAt(Logbook::kMaxDives - 1));
    }

    DiveRecord profiled(int samples, float avgDepth)
    {
        DiveRecord d;
        d.sampleCount = static_cast<std::uint16_t>(samples);
        d.samples.resize(d.sampleCount);
        for (int i = 1; i < samples; ++i)
            d.samples[static_cast<std::size_t>(i)].depth = -avgDepth;
        d.profileAvgDepth = avgDepth;
        d.airUsed = 15000; // 150 bar
        d.tankVolume = 1200; // 12 l
        return d;
    }

    TEST(AirConsumption, FromProfileOrFromDurationForRebreathers)
    {
        // 1800 l of free air, 30 submerged samples (9.67 min) at an average 2 bar.
        DiveRecord d = profiled(31, 10.0f);
        d.samples[15].depth = 0.0f; // a surface sample does not count
        d.sampleCount = 32;
        d.samples.resize(d.sampleCount);
        d.samples[31].depth = -10.0f;
        Logbook::computeAirConsumption(d);
        EXPECT_NEAR(d.airConsumption, 93.07f, 0.01f);

        d.diveType = dive_type::kScr;
        d.duration = 45;
        Logbook::computeAirConsumption(d);
        EXPECT_FLOAT_EQ(d.airConsumption, 40.0f);
        d.duration = kMissing;
        Logbook::computeAirConsumption(d);
        EXPECT_EQ(d.airConsumption, 0.0f);
    }

    TEST(AirConsumption, ZeroWhenSomethingIsMissing)
    {
        for (auto change : std::vector<void (*)(DiveRecord &)> {
                 [](DiveRecord &d) { d.airUsed = kMissing; },
                 [](DiveRecord &d) { d.tankVolume = kMissing; },
                 [](DiveRecord &d) { d.sampleCount = 0; },
                 // Only surface samples after the first: the time would be negative.
                 [](DiveRecord &d) { d.sampleCount = 1; },
                 [](DiveRecord &d) { d.profileAvgDepth = -10.0f; },
             }) {
            DiveRecord d = profiled(31, 10.0f);
            d.airConsumption = 5.0f;
            change(d);
            Logbook::computeAirConsumption(d);
            EXPECT_EQ(d.airConsumption, 0.0f);
        }
    }

} // namespace
} // namespace zorv::logbook
