#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/logbookfile.h"
#include "testutil.h"
#include "tools/divefill.h"

#include <gtest/gtest.h>
#include <vector>

namespace zorv::tools {
namespace {

    using logbook::DiveRecord;
    using logbook::fixedText;
    using logbook::Logbook;

    // Dives numbered 1..n, one a week from 6 January 2020.
    std::vector<DiveRecord> weeks(int n)
    {
        std::vector<DiveRecord> dives;
        for (int i = 0; i < n; ++i) {
            DiveRecord d;
            d.date = logbook::dayNumber(6, 1, 2020) + static_cast<std::uint32_t>(7 * i);
            d.entryTime = 600;
            d.diveNumber = static_cast<std::int16_t>(i + 1);
            d.duration = 30;
            logbook::setFixedText(d.place, "Lac");
            d.extra.weights = 800;
            dives.push_back(d);
        }
        return dives;
    }

    TEST(Fill, OnlyTheFilledFieldsOfTheRange)
    {
        Logbook book;
        std::vector<DiveRecord> dives = weeks(6);
        dives[2].diveType = logbook::dive_type::kFreshWater;
        book.adoptDives(dives);
        FillTemplate fill;
        fill.firstNumber = 2;
        fill.lastNumber = 4;
        fill.site = "Plage";
        fill.diveTypeBits = logbook::dive_type::kSeaWater;
        fill.activityBits = 0x0003;
        const ToolResult r = fillDives(book, fill);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->positions, (std::vector<int> { 2, 3, 4 }));
        for (int p = 1; p <= 6; ++p) {
            const DiveRecord &d = *book.dive(p);
            const bool inRange = p >= 2 && p <= 4;
            EXPECT_EQ(fixedText(d.site), inRange ? "Plage" : "") << p;
            EXPECT_EQ(fixedText(d.place), "Lac");
            EXPECT_EQ(d.duration, 30);
            EXPECT_EQ(d.extra.weights, 800);
            EXPECT_EQ(d.activities, inRange ? 0x0003 : 0);
        }
        // Sea water is added; the fresh-water bit already there stays.
        EXPECT_EQ(book.dive(3)->diveType, logbook::dive_type::kFreshWater | logbook::dive_type::kSeaWater);
        // The same fill again changes nothing more.
        EXPECT_EQ(fillDives(book, fill)->changed, 0);
    }

    TEST(Fill, EveryFieldAndTheRangeRules)
    {
        Logbook book;
        book.adoptDives(weeks(3));
        FillTemplate fill;
        fill.firstNumber = 3;
        fill.lastNumber = 1; // first above last fills nothing
        fill.weather = 2;
        EXPECT_EQ(fillDives(book, fill)->changed, 0);
        fill.firstNumber = 0;
        EXPECT_EQ(fillDives(book, fill).message(), "Modifier la plongée");

        fill = {};
        fill.firstNumber = 1;
        fill.lastNumber = 3;
        fill.weather = 2;
        fill.suit = 3;
        fill.airTemperature = 2150;
        fill.tankVolume = 1500;
        fill.weights = 1200;
        fill.tankMaterial = 1;
        fill.model = std::string(30, 'm');
        fill.secondActivityBits = 0x0101;
        ASSERT_TRUE(fillDives(book, fill).ok());
        const DiveRecord &d = *book.dive(2);
        EXPECT_EQ(d.weather, 2);
        EXPECT_EQ(d.suit, 3);
        EXPECT_EQ(d.airTemperature, 2150);
        EXPECT_EQ(d.tankVolume, 1500);
        EXPECT_EQ(d.extra.weights, 1200);
        EXPECT_EQ(d.extra.tankMaterial, 1);
        EXPECT_EQ(fixedText(d.extra.model), std::string(25, 'm'));
        EXPECT_EQ(d.extra.extraFlags, 0x0101);

        // Outside advanced mode the dialog resets these at each opening: they stay as they were.
        fill.resetAdvancedFields();
        EXPECT_EQ(fill.weights, logbook::kMissing);
        EXPECT_TRUE(fill.model.empty());
        fill.reset();
        EXPECT_EQ(fill.firstNumber, 0);
    }

    TEST(Buffers, SingleDiveCopy)
    {
        Logbook book;
        book.adoptDives(weeks(2));
        SingleDiveBuffer buffer;
        EXPECT_FALSE(buffer.copyFrom(book, 3));
        EXPECT_FALSE(buffer.filled());
        ASSERT_TRUE(buffer.copyFrom(book, 2));
        EXPECT_EQ(buffer.record(), *book.dive(2));
    }

    TEST(Buffers, MultiDivePasteRenumbersTheLaterDives)
    {
        Logbook book;
        book.adoptDives(weeks(20));
        MultiDiveBuffer buffer;
        EXPECT_EQ(buffer.copyFrom(book, 5, 21).message(), "Numéro de plongée hors limites");
        EXPECT_EQ(buffer.count(), 0);
        ASSERT_TRUE(buffer.copyFrom(book, 5, 7).ok());
        EXPECT_EQ(buffer.count(), 3);
        const ToolResult r = buffer.pasteInto(book);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->changed, 3);
        EXPECT_EQ(buffer.count(), 0); // pasting empties it
        ASSERT_EQ(book.diveCount(), 23);
        for (int p = 1; p <= 23; ++p)
            EXPECT_EQ(book.dive(p)->diveNumber, p);
        EXPECT_EQ(book.dive(23)->date, logbook::dayNumber(6, 1, 2020) + 7 * 19);
    }

    TEST(Buffers, MultiDiveCopyTakesNoMoreThanTheRange)
    {
        Logbook book;
        std::vector<DiveRecord> dives = weeks(6);
        dives[3].diveNumber = 3; // two dives carry number 3
        book.adoptDives(dives);
        MultiDiveBuffer buffer;
        ASSERT_TRUE(buffer.copyFrom(book, 2, 4).ok());
        EXPECT_EQ(buffer.count(), 3);
        EXPECT_EQ(buffer.dives().back().diveNumber, 3);
        ASSERT_TRUE(buffer.copyFrom(book, 4, 3).ok()); // an empty range empties the buffer
        EXPECT_EQ(buffer.count(), 0);
    }

    TEST(Buffers, MultiDiveBufferCarriedIntoAnotherLogbook)
    {
        test::TempDir dir;
        Logbook first;
        first.adoptDives(weeks(4));
        MultiDiveBuffer buffer;
        ASSERT_TRUE(buffer.copyFrom(first, 2, 3).ok());

        // The buffer outlives the logbook it came from: another is opened in its place.
        Logbook second;
        std::vector<DiveRecord> other = weeks(2);
        for (DiveRecord &d : other)
            d.date += 3; // Thursdays, between the copied Mondays
        second.adoptDives(other);
        first.reset();
        ASSERT_TRUE(buffer.pasteInto(second).ok());
        ASSERT_EQ(second.diveCount(), 4);
        EXPECT_EQ(second.dive(1)->date, logbook::dayNumber(9, 1, 2020));
        EXPECT_EQ(second.dive(2)->date, logbook::dayNumber(13, 1, 2020));
        EXPECT_EQ(second.dive(4)->date, logbook::dayNumber(20, 1, 2020));
        const std::string path = (dir / "autre.log").string();
        ASSERT_TRUE(logbook::LogbookFile::save(second, path).ok());
        Logbook loaded;
        ASSERT_TRUE(logbook::LogbookFile::loadFromPath(loaded, path).ok());
        EXPECT_EQ(loaded.diveCount(), 4);
        EXPECT_EQ(loaded.dive(4)->diveNumber, 4);
    }

} // namespace
} // namespace zorv::tools
