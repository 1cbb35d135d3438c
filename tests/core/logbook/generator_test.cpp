#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"

#include <gtest/gtest.h>
#include <string>

namespace zorv::logbook {
namespace {

    // Every dive of a day starts after the one before it ended, with the
    // interval the page shows, and ends before midnight.
    void expectPlausibleDays(const Logbook &book, const std::string &which)
    {
        for (int p = 1; p <= book.diveCount(); ++p) {
            const DiveRecord &d = *book.dive(p);
            EXPECT_LT(d.entryTime + d.duration, 24 * 60) << which << " dive " << p;
            const DiveRecord *before = book.dive(p - 1);
            if (!before)
                continue;
            ASSERT_GE(d.date, before->date) << which << " dive " << p;
            if (d.date != before->date)
                continue;
            const int end = before->entryTime + before->duration;
            EXPECT_GE(d.entryTime, end + 60) << which << " dive " << p;
            EXPECT_EQ(d.surfaceInterval, d.entryTime - end) << which << " dive " << p;
        }
    }

    // "A, B" names two different people, whatever the seed.
    void expectNoBuddyTwice(const Logbook &book, const std::string &which)
    {
        for (int p = 1; p <= book.diveCount(); ++p) {
            const std::string partners(fixedText(book.dive(p)->partners));
            const auto comma = partners.find(", ");
            if (comma != std::string::npos) {
                EXPECT_NE(partners.substr(0, comma), partners.substr(comma + 2)) << which << " dive " << p;
            }
        }
    }

    TEST(Generator, MakesPlausibleDaysEndsByTheGivenDayAtTheSamePaceAndNamesNoBuddyTwice)
    {
        const std::uint32_t end = dayNumber(7, 12, 2026);
        Logbook open;
        generateLogbook(open, { .dives = 3000, .seed = 1 });
        ASSERT_GT(open.dive(3000)->date, end); // a large logbook runs for decades from 2019
        Logbook ended;
        generateLogbook(ended, { .dives = 3000, .seed = 1, .endDay = end });
        EXPECT_EQ(ended.dive(3000)->date, end);
        const std::uint32_t shift = open.dive(3000)->date - end;
        for (int p = 1; p <= 3000; p += 499)
            EXPECT_EQ(ended.dive(p)->date, open.dive(p)->date - shift) << p;
        expectPlausibleDays(ended, "ended");
        expectNoBuddyTwice(ended, "ended");
        // A small logbook already over before the end day keeps its dates.
        Logbook small;
        generateLogbook(small, { .dives = 40, .seed = 2024, .endDay = end });
        Logbook free;
        generateLogbook(free, { .dives = 40, .seed = 2024 });
        EXPECT_EQ(small.dive(40)->date, free.dive(40)->date);
        for (const std::uint64_t seed : { 1u, 7u, 2024u }) {
            Logbook book;
            generateLogbook(book, { .dives = 400, .seed = seed });
            ASSERT_EQ(book.diveCount(), 400);
            expectPlausibleDays(book, std::to_string(seed));
            expectNoBuddyTwice(book, std::to_string(seed));
        }
    }

    TEST(Generator, TheBundledSampleIsPlausibleAndSeveralDivesShareADay)
    {
        Logbook book;
        ASSERT_TRUE(LogbookFile::loadFromPath(book, ZORV_SOURCE_DIR "/examples/sample.log").ok());
        expectPlausibleDays(book, "sample");
        int sameDay = 0;
        for (int p = 2; p <= book.diveCount(); ++p)
            sameDay += book.dive(p)->date == book.dive(p - 1)->date ? 1 : 0;
        EXPECT_GE(sameDay, 5);
        expectNoBuddyTwice(book, "sample");
    }

} // namespace
} // namespace zorv::logbook
