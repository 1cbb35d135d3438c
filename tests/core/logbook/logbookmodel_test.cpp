#include "common/clock.h"
#include "logbook/daynumber.h"
#include "logbook/diverecord.h"
#include "logbook/logbook.h"
#include "logbook/oemcharmap.h"
#include "logbook/valuelist.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zorv::logbook {
namespace {

    // ---- DayNumber ----------------------------------------------------------

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

    // ---- OemCharMap ---------------------------------------------------------

    struct CharCase {
        std::string stored;
        std::string display;
    };

    class OemCharMapPairs : public testing::TestWithParam<CharCase> { };

    TEST_P(OemCharMapPairs, ConvertsBothWays)
    {
        EXPECT_EQ(storedToDisplay(GetParam().stored), GetParam().display);
        EXPECT_EQ(displayToStored(GetParam().display), GetParam().stored);
    }

    INSTANTIATE_TEST_SUITE_P(Logbook, OemCharMapPairs,
        testing::Values(CharCase { std::string("\x81") + "ber", "über" },
            CharCase { std::string("Stra\xE1") + "e", "Straße" }, CharCase { "Lac L\x82man", "Lac Léman" },
            CharCase { std::string("Espa\xA4") + "a", "España" }, CharCase { "25\xA7", "25°" },
            CharCase { "Gar\x87on \x8E\x99\x9A", "Garçon ÄÖÜ" }, CharCase { "l\x27\xEF", "l´`" },
            CharCase { "plain ASCII 123", "plain ASCII 123" }));

    TEST(OemCharMap, TypedApostropheAndDiaeresisIQuirks)
    {
        // A typed apostrophe is stored as it is and comes back as an acute accent.
        EXPECT_EQ(displayToStored("l'eau"), "l'eau");
        EXPECT_EQ(storedToDisplay(displayToStored("l'eau")), "l´eau");
        // ï is stored by the earlier pair (0x8B), not as 0xEF, which shows a backtick.
        EXPECT_EQ(displayToStored("ï"), "\x8B");
        EXPECT_EQ(ansiToOem("\xEF"), "\x8B");
        EXPECT_EQ(oemToAnsi("\xEF"), "`");
    }

    TEST(OemCharMap, EveryStoredByteButTheDisplayOnlyCodesSurvivesTheUtf8RoundTrip)
    {
        // Codes that are display targets but not stored codes are re-stored as their pair.
        const std::string displayOnly
            = std::string("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xE0\xE2\xE9\xE8\xEA\xEB\xC9\xF3\xF2\xF4\xFA\xF9")
            + "\xFB\xED\xEC\xEE\xF1\xD1\xE7\xC7\xB4\x60\xB0";
        for (int b = 1; b < 256; ++b) {
            const std::string stored(1, static_cast<char>(b));
            if (displayOnly.find(stored) != std::string::npos)
                EXPECT_NE(displayToStored(storedToDisplay(stored)), stored) << b;
            else
                EXPECT_EQ(displayToStored(storedToDisplay(stored)), stored) << b;
        }
    }

    // ---- ValueList ----------------------------------------------------------

    using Texts = std::vector<std::string>;

    Texts texts(const ValueList &list)
    {
        Texts out;
        for (int i = 0; i < list.count(); ++i)
            out.push_back(list.get(i));
        return out;
    }

    TEST(ValueList, CountsDistinctDisplayTextsUpToItsCapacity)
    {
        ValueList list;
        list.size(2);
        EXPECT_EQ(list.capacity(), 102);
        list.add("Nice");
        list.add("");
        list.add("Nice");
        list.add(std::string("\x81") + "ber");
        // 0xFC is not a stored code, so it shows as ü too and meets the entry above.
        list.add(std::string("\xFC") + "ber");
        EXPECT_EQ(texts(list), (Texts { "Nice", "über" }));
        EXPECT_EQ(list.useCount(0), 2);
        EXPECT_EQ(list.useCount(1), 2);
        EXPECT_EQ(list.get(2), "");
        EXPECT_EQ(list.get(-1), "");

        for (int i = 0; i < 200; ++i)
            list.add("site " + std::to_string(i));
        EXPECT_EQ(list.count(), 102);
        list.add("Nice"); // a full list takes nothing, not even a known text
        EXPECT_EQ(list.useCount(0), 2);

        list.clear();
        list.add("Nice");
        EXPECT_EQ(list.count(), 0);
    }

    // ---- DiveRecord ---------------------------------------------------------

    TEST(ExtraBlock, ImageHasTheFileOffsetsAndRoundTripsAnyBytes)
    {
        ExtraBlock block;
        block.weights = 0x1234;
        block.extraFlags = 0x0A01;
        block.tankPressure = -2;
        setFixedText(block.model, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kModelLength);
        block.reserved[0] = 0x77;
        std::vector<std::uint8_t> image(ExtraBlock::kSize, 0xCC);
        block.serialize(image.data());
        // visibility defaults to 32767 (0x7FFF)
        const std::pair<std::size_t, std::uint8_t> expected[] = { { 256, 0x34 }, { 257, 0x12 }, { 258, 0xFF },
            { 259, 0x7F }, { 264, 0x01 }, { 265, 0x0A }, { 266, 0xFE }, { 268, 'A' }, { 292, 'Y' }, { 293, 0x77 } };
        for (const auto &[offset, value] : expected)
            EXPECT_EQ(image[offset], value) << offset;
        EXPECT_EQ(ExtraBlock::deserialize(image.data()), block);

        std::mt19937 random(7);
        std::vector<std::uint8_t> noise(ExtraBlock::kSize);
        for (auto &b : noise)
            b = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> again(ExtraBlock::kSize);
        ExtraBlock::deserialize(noise.data()).serialize(again.data());
        EXPECT_EQ(again, noise);
    }

    TEST(DiveRecord, ProfileKind)
    {
        DiveRecord dive;
        EXPECT_EQ(profileKind(dive), ProfileKind::None);
        dive.profileLength = 17;
        EXPECT_EQ(profileKind(dive), ProfileKind::HandDrawn); // all header words 0
        for (std::size_t i = 0; i < 8; ++i)
            dive.profileHeader[i] = static_cast<std::uint16_t>(2927 + i);
        dive.profileHeader[3] = 0;
        EXPECT_EQ(profileKind(dive), ProfileKind::HandDrawn);
        dive.profileHeader[3] = 2927; // right value, wrong place
        EXPECT_EQ(profileKind(dive), ProfileKind::Computer);
        for (std::size_t i = 0; i < 8; ++i)
            dive.profileHeader[i] = static_cast<std::uint16_t>(2926 + i);
        EXPECT_EQ(profileKind(dive), ProfileKind::Computer);
        dive.profileLength = 0;
        EXPECT_EQ(profileKind(dive), ProfileKind::None);
    }

    // ---- Logbook ------------------------------------------------------------

    struct RecordingObserver : LogbookObserver {
        int modifiedCalls = 0;
        std::vector<int> changed;
        void markModified() override { ++modifiedCalls; }
        void diveChanged(int position) override { changed.push_back(position); }
    };

    struct ScriptedConfirmer : Confirmer {
        bool answer = true;
        std::vector<std::string> questions;
        bool confirm(const std::string &question) override
        {
            questions.push_back(question);
            return answer;
        }
    };

    DiveRecord makeDive(std::uint32_t date, std::int16_t time, const char *site)
    {
        DiveRecord d;
        d.date = date;
        d.entryTime = time;
        setFixedText(d.site, site);
        return d;
    }

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
        book.printPositions = { 3, 4 };
        book.reset();
        EXPECT_EQ(book.diveCount(), 0);
        EXPECT_EQ(book.currentDive(), 0);
        EXPECT_FALSE(book.isModified());
        EXPECT_EQ(book.path(), "sansnom.log");
        EXPECT_EQ(book.addPath(), "sansnom.add");
        EXPECT_EQ(book.list(ListId::Sites).capacity(), 101);
        EXPECT_EQ(book.list(ListId::Sites).count(), 0);
        EXPECT_EQ(book.printPositions[0], -1);
        EXPECT_TRUE(book.takeDiveListRebuild());
        EXPECT_FALSE(book.takeDiveListRebuild());

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
        EXPECT_EQ(book.list(ListId::Sites).count(), 9); // lists rebuilt without d5

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
        // The emptied lists still take the next dive's values.
        book.insertDive(d);
        book.addToLists(d);
        EXPECT_EQ(book.list(ListId::Sites).get(0), "x");
    }

    TEST_F(LogbookTest, ConfirmedDeletesAskWithTheDiveNumber)
    {
        ScriptedConfirmer confirmer;
        fill(3);
        book.renumber(7);
        book.confirmDelete(2); // nobody to ask: nothing happens
        EXPECT_EQ(book.diveCount(), 3);

        book.setConfirmer(&confirmer);
        confirmer.answer = false;
        book.confirmDelete(2);
        EXPECT_EQ(book.diveCount(), 3);
        confirmer.answer = true;
        book.confirmDelete(2);
        EXPECT_EQ(sites(), "d1 d3 ");
        book.confirmDelete(5);
        book.setCurrentDive(1);
        book.confirmDeleteCurrent();
        EXPECT_EQ(sites(), "d3 ");
        EXPECT_EQ(confirmer.questions,
            (std::vector<std::string> {
                "Plongée #8 va être éffacer", "Plongée #8 va être éffacer", "Plongée #7 vraiment effacer?" }));
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
        EXPECT_EQ(book.list(ListId::Places).get(0), "Lac Léman");

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
        book.takeProfileRedraw();

        book.shiftTimes(2, 4, 20); // a, b, c
        EXPECT_EQ(book.dive(2)->date, dayNumber(1, 1, 2020));
        EXPECT_EQ(book.dive(2)->entryTime, 10);
        EXPECT_EQ(book.dive(3)->entryTime, 50);
        EXPECT_EQ(book.dive(4)->date, dayNumber(2, 6, 2020)); // no time: untouched
        EXPECT_EQ(book.dive(5)->entryTime, 600); // outside the range
        EXPECT_TRUE(book.takeProfileRedraw());

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

    TEST_F(LogbookTest, ListsSplitNamesAndLeaveOutSecondSetActivities)
    {
        DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, "Epave");
        setFixedText(d.partners, "Anna, Bert+Carl &Dora ;;Emil  ");
        setFixedText(d.otherActivities, displayToStored("Pl. solo,Bio; Solo+Pl. séminaire &Nuit"));
        book.addToLists(d);
        EXPECT_EQ(texts(book.list(ListId::Partners)), (Texts { "Anna", "Bert", "Carl", "Dora", "Emil" }));
        EXPECT_EQ(texts(book.list(ListId::OtherActivities)), (Texts { "Bio", "Nuit" }));
    }

    TEST_F(LogbookTest, TankVolumesFollowTheUnitSystem)
    {
        for (std::int16_t volume : std::initializer_list<std::int16_t> { 1000, 500, 990, 1000, kMissing }) {
            DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, "x");
            d.tankVolume = volume;
            book.insertDive(d);
        }
        book.recompute(true);
        const ValueList &volumes = book.list(ListId::TankVolumes);
        EXPECT_EQ(texts(volumes), (Texts { "10.0", "  5.0", "  9.9" }));
        EXPECT_EQ(volumes.useCount(0), 2);

        book.setUnitSystem(UnitSystem::Imperial);
        ASSERT_EQ(volumes.count(), 3);
        EXPECT_EQ(volumes.get(0), "70");
        EXPECT_EQ(volumes.get(1), "35");
    }

    TEST_F(LogbookTest, SitesOfAPlace)
    {
        auto add = [&](const char *place, const char *site) {
            DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, site);
            setFixedText(d.place, place);
            book.insertDive(d);
        };
        add("Lac L\x82man", "Evian");
        add("Lac d'Annecy", "Roc de Chere");
        add("Lac L\x82man", "Meillerie");
        add("Lac L\x82man", "Evian");
        const ValueList &sites = book.list(ListId::SitesOfPlace);
        book.fillSitesOfPlace("Lac Léman");
        EXPECT_EQ(texts(sites), (Texts { "Evian", "Meillerie" }));
        EXPECT_EQ(sites.useCount(0), 2);
        book.fillSitesOfPlace("");
        EXPECT_EQ(sites.count(), 3);
        book.fillSitesOfPlace("Lac");
        EXPECT_EQ(sites.count(), 0);
    }

    TEST_F(LogbookTest, SecondActivitySetIsFlagBitsInAdvancedModeAndTextInStandardMode)
    {
        DiveRecord d;
        d.extra.extraFlags = extra_flags::kBoat | extra_flags::kDiveLeader | 0x01;
        book.setMode(Mode::Advanced);
        book.setSecondActivities(d, 0x84, false);
        EXPECT_EQ(d.extra.extraFlags, extra_flags::kBoat | extra_flags::kDiveLeader | 0x84);
        EXPECT_EQ(book.secondActivities(d), 0x84);
        EXPECT_EQ(fixedText(d.otherActivities), "");

        book.setMode(Mode::Standard);
        d = DiveRecord {};
        setFixedText(d.otherActivities, "Biologie");
        book.setSecondActivities(d, 0x07, false);
        // "Chambre compression" would make 42 characters and is left out.
        EXPECT_EQ(storedToDisplay(fixedText(d.otherActivities)), "Biologie, Pl. travail, Pl. solo");
        EXPECT_EQ(book.secondActivities(d), 0x03);
        EXPECT_EQ(d.extra.extraFlags, 0);

        // Rewriting replaces the names instead of adding to them.
        book.setSecondActivities(d, 0x12, true);
        EXPECT_EQ(storedToDisplay(fixedText(d.otherActivities)), "Biologie, Solo, PrüfTG");
        EXPECT_EQ(book.secondActivities(d), 0x12);
        book.setSecondActivities(d, 0, true);
        EXPECT_EQ(fixedText(d.otherActivities), "Biologie");

        setFixedText(d.otherActivities, "");
        book.setSecondActivities(d, 0x80, false);
        EXPECT_EQ(fixedText(d.otherActivities), "Pl. check");
    }

    struct FitCase {
        std::size_t baseLength;
        const char *expectedTail;
    };

    class SecondSetFit : public testing::TestWithParam<FitCase> { };

    TEST_P(SecondSetFit, NamesAreSeparatedWithinFortyCharacters)
    {
        Logbook book;
        book.setMode(Mode::Standard);
        DiveRecord d;
        const std::string base(GetParam().baseLength, 'x');
        setFixedText(d.otherActivities, base);
        book.setSecondActivities(d, 0x02, false); // "Pl. solo", 8 characters
        EXPECT_EQ(fixedText(d.otherActivities), base + GetParam().expectedTail);
    }

    INSTANTIATE_TEST_SUITE_P(Logbook, SecondSetFit,
        testing::Values(FitCase { 30, ", Pl. solo" }, FitCase { 31, ",Pl. solo" }, FitCase { 32, "" }));

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
        EXPECT_EQ(d.extra.reserved[0], 0);
    }

    DiveRecord profiled(int samples, float avgDepth)
    {
        DiveRecord d;
        d.sampleCount = static_cast<std::uint16_t>(samples);
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

    struct ScriptedEditor : DiveEditor {
        bool accept = true;
        std::uint32_t newDate = 0;
        std::vector<std::uint32_t> offeredDates;
        bool editNewDive(DiveRecord &record) override
        {
            offeredDates.push_back(record.date);
            if (newDate)
                record.date = newDate;
            setFixedText(record.site, "edited");
            return accept;
        }
    };

    TEST_F(LogbookTest, NewDiveStartsFromTodayThenFromTheLastNewDate)
    {
        const common::FixedClock clock(1710460800); // 15 March 2024, 00:00 UTC
        common::setClock(&clock);
        NewDiveDefaults defaults;
        defaults.apply = true;
        defaults.model = "Semi 7mm";
        book.setNewDiveDefaults(defaults);

        EXPECT_TRUE(book.newDive());
        EXPECT_EQ(book.dive(1)->date, dayNumber(15, 3, 2024));
        EXPECT_EQ(book.list(ListId::SuitModels).get(0), "Semi 7mm");

        ScriptedEditor editor;
        book.setDiveEditor(&editor);
        editor.newDate = dayNumber(10, 3, 2024);
        EXPECT_TRUE(book.newDive());
        EXPECT_EQ(book.currentDive(), 1);
        editor.newDate = 0;
        editor.accept = false;
        EXPECT_FALSE(book.newDive());
        EXPECT_EQ(editor.offeredDates, (std::vector<std::uint32_t> { dayNumber(15, 3, 2024), dayNumber(10, 3, 2024) }));
        EXPECT_EQ(book.diveCount(), 2);

        editor.accept = true;
        DiveRecord prepared = makeDive(dayNumber(20, 3, 2024), 600, "import");
        EXPECT_TRUE(book.newDiveFrom(prepared));
        EXPECT_EQ(book.currentDive(), 3);
        EXPECT_EQ(fixedText(book.dive(3)->site), "edited");
        EXPECT_EQ(numbers(), (std::vector<int> { 1, 2, 3 }));
    }

} // namespace
} // namespace zorv::logbook
