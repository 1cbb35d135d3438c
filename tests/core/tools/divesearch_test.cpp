#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/logbookfile.h"
#include "logbook/oemcharmap.h"
#include "testutil.h"
#include "tools/divesearch.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zorv::tools {
namespace {

    using logbook::DiveRecord;
    using logbook::fixedText;
    using logbook::Logbook;
    using logbook::setFixedText;

    DiveRecord dive(int number, const char *place, const char *site, const char *partners, int depthCm, int minutes)
    {
        DiveRecord d;
        d.date = logbook::dayNumber(number, 6, 2023);
        d.entryTime = 600;
        d.diveNumber = static_cast<std::int16_t>(number);
        setFixedText(d.place, logbook::displayToStored(place));
        setFixedText(d.site, site);
        setFixedText(d.partners, partners);
        d.maxDepth = static_cast<std::int16_t>(depthCm);
        d.duration = static_cast<std::int16_t>(minutes);
        return d;
    }

    class Search : public ::testing::Test {
    protected:
        void SetUp() override
        {
            std::vector<DiveRecord> dives {
                dive(1, "Lac", "Plage", "Anne, Paul", 1200, 40),
                dive(2, "Lac Léman", "", "Paul", 3000, 55),
                dive(3, "Mer", "Epave", "Anne", 4200, logbook::kMissing),
                dive(4, "Lac", "Port", "Marc", logbook::kMissing, 30),
            };
            dives[1].activities = 0x0005;
            dives[2].diveType = logbook::dive_type::kSeaWater | logbook::dive_type::kDeco;
            setFixedText(dives[3].otherActivities, "Pl. solo, Biologie");
            book.setMode(logbook::Mode::Standard);
            book.adoptDives(std::move(dives));
        }

        std::vector<int> found(const SearchCriteria &c) const { return findDives(book, c); }

        Logbook book;
    };

    TEST_F(Search, QuickSearchFieldsAndDirections)
    {
        QuickSearch place { QuickSearch::kPlace, 0, "Lac" };
        EXPECT_EQ(*findQuick(book, place, SearchDirection::FromStart), 1);
        // A longer place that contains the text is no match: forward from 1 skips "Lac Léman".
        EXPECT_EQ(*findQuick(book, place, SearchDirection::Forward, 1), 4);
        EXPECT_EQ(*findQuick(book, place, SearchDirection::Backward, 4), 1);
        EXPECT_EQ(findQuick(book, place, SearchDirection::Forward, 4).message(), "Donnée ´Lac´ introuvable");
        EXPECT_EQ(findQuick(book, place, SearchDirection::Backward, 1).status(), common::Status::NotFound);

        const QuickSearch partner { QuickSearch::kPartner, 0, "Paul" };
        EXPECT_EQ(*findQuick(book, partner, SearchDirection::Forward, 1), 2); // a substring
        const QuickSearch missing { QuickSearch::kSite, 0, "Tombant" };
        EXPECT_EQ(
            findQuick(book, missing, SearchDirection::FromStart).message(), "Texte de recherche ´Tombant´ introuvable");

        QuickSearch activity { QuickSearch::kActivity, 2, "" };
        EXPECT_EQ(*findQuick(book, activity, SearchDirection::FromStart), 2);
        activity.activity = 3;
        EXPECT_EQ(findQuick(book, activity, SearchDirection::FromStart).message(), "Activité introuvable");
        EXPECT_EQ(findQuick(book, activity, SearchDirection::Forward, 1).message(), "Introuvable");
        activity.activity = 13; // the second set's "Solo" entry, found by name in the text
        EXPECT_EQ(*findQuick(book, activity, SearchDirection::FromStart), 4);
        activity = { QuickSearch::kActivity, QuickSearch::kOtherActivity, "Bio" };
        EXPECT_EQ(*findQuick(book, activity, SearchDirection::FromStart), 4);
    }

    TEST_F(Search, QuickSearchOnAnEmptyLogbookOrWithoutASearchSaysNothing)
    {
        const Logbook empty;
        const auto r = findQuick(empty, { QuickSearch::kPlace, 0, "Lac" }, SearchDirection::FromStart);
        EXPECT_EQ(r.status(), common::Status::NotFound);
        EXPECT_TRUE(r.message().empty());
        EXPECT_TRUE(findQuick(book, {}, SearchDirection::Forward, 1).message().empty());
        SearchCriteria c;
        c.place = "Lac";
        EXPECT_TRUE(findDives(empty, c).empty());
    }

    TEST_F(Search, CriteriaAndOr)
    {
        SearchCriteria c;
        EXPECT_TRUE(found(c).empty()); // nothing set finds nothing in "ET"
        c.mode = CriteriaMode::Or;
        EXPECT_TRUE(found(c).empty());

        c.mode = CriteriaMode::And;
        c.place = "Lac";
        EXPECT_EQ(found(c), (std::vector<int> { 1, 4 }));
        c.partner = "Anne";
        EXPECT_EQ(found(c), (std::vector<int> { 1 }));
        c.mode = CriteriaMode::Or;
        EXPECT_EQ(found(c), (std::vector<int> { 1, 3, 4 }));

        // A depth range needs a known depth: dive 4 records none, in either mode.
        SearchCriteria depth;
        depth.depthFrom = 2000;
        EXPECT_EQ(found(depth), (std::vector<int> { 2, 3 }));
        depth.depthTo = 3500;
        EXPECT_EQ(found(depth), (std::vector<int> { 2 }));
        depth.mode = CriteriaMode::Or;
        EXPECT_EQ(found(depth), (std::vector<int> { 2 })); // both bounds are one criterion
        depth.depthFrom = 0;
        EXPECT_EQ(found(depth), (std::vector<int> { 1, 2 }));

        SearchCriteria duration;
        duration.durationFrom = 1;
        duration.mode = CriteriaMode::Or;
        EXPECT_EQ(found(duration), (std::vector<int> { 1, 2, 4 }));

        SearchCriteria bits;
        bits.diveTypeBits = logbook::dive_type::kSeaWater;
        EXPECT_EQ(found(bits), (std::vector<int> { 3 }));
        bits.activityBits = 0x0004;
        EXPECT_TRUE(found(bits).empty());
        bits.mode = CriteriaMode::Or;
        EXPECT_EQ(found(bits), (std::vector<int> { 2, 3 }));

        SearchCriteria second;
        second.secondActivityBits = 0x02; // "Solo", kept by name in standard mode
        EXPECT_EQ(found(second), (std::vector<int> { 4 }));

        SearchCriteria dates;
        dates.dateFrom = logbook::dayNumber(2, 6, 2023);
        dates.dateTo = logbook::dayNumber(3, 6, 2023);
        EXPECT_EQ(found(dates), (std::vector<int> { 2, 3 }));
    }

    TEST_F(Search, SelectionLines)
    {
        EXPECT_EQ(selectionLine(book, 1), "00001\t01.06.23\tLac, Plage");
        EXPECT_EQ(selectionLine(book, 2), "00002\t02.06.23\tLac Léman");
        EXPECT_EQ(selectionLine(book, 9), "");
    }

    TEST(Replace, FirstOccurrenceOnly)
    {
        struct Case {
            const char *text, *find, *with, *expected;
        };
        for (const Case &c : {
                 Case { "Nice", "Nice", "Antibes", "Antibes" },
                 Case { "Cap de Nice Est", "Nice", "Antibes", "Cap de Antibes Est" },
                 Case { "Nice et Nice", "Nice", "Cannes", "Cannes et Nice" },
                 Case { "Nice", "Lyon", "Cannes", "Nice" },
                 Case { "Nice", "", "Cannes", "Nice" },
             })
            EXPECT_EQ(replaceFirst(c.text, c.find, c.with), c.expected) << c.text;
    }

    TEST_F(Search, ReplaceListsAndWrites)
    {
        const auto list = findReplacements(book, ReplaceField::Place, "Lac", "Lago");
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(replacementLines(book, list[1]).first, "00002\tLac Léman");
        EXPECT_EQ(replacementLines(book, list[1]).second, "->\tLago Léman");
        const ToolResult r = replaceAll(book, ReplaceField::Place, "Lac", "Lago");
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->changed, 3);
        EXPECT_EQ(r->cut, 0);
        EXPECT_TRUE(r->message.empty());
        EXPECT_EQ(fixedText(book.dive(2)->place), logbook::displayToStored("Lago Léman"));
        EXPECT_EQ(fixedText(book.dive(3)->place), "Mer");
        EXPECT_TRUE(book.isModified());
        EXPECT_EQ(replaceAll(book, ReplaceField::Place, "", "x")->changed, 0);
    }

    TEST_F(Search, ReplaceCutsToTheFieldAndSaysHowMany)
    {
        struct Case {
            ReplaceField field;
            std::size_t capacity;
        };
        for (const Case &c :
            { Case { ReplaceField::Place, 60 }, Case { ReplaceField::Site, 60 }, Case { ReplaceField::Partners, 80 },
                Case { ReplaceField::Comment, 510 }, Case { ReplaceField::SuitModel, 24 } }) {
            Logbook b;
            std::vector<DiveRecord> dives(2);
            for (DiveRecord &d : dives) {
                setFixedText(d.place, "ab");
                setFixedText(d.site, "ab");
                setFixedText(d.partners, "ab");
                setFixedText(d.comment, "ab");
                setFixedText(d.extra.model, "ab", 24);
            }
            b.adoptDives(dives);
            const std::string longer(600, 'x');
            const ToolResult r = replaceAll(b, c.field, "a", longer);
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(r->cut, 2);
            EXPECT_EQ(r->message, "2 textes trop longs ont été coupés à la taille du champ");
            EXPECT_EQ(fieldText(*b.dive(1), c.field), std::string(c.capacity, 'x'));
        }
    }

    TEST_F(Search, ReplaceInTheCommentSpillsIntoItsSecondPart)
    {
        DiveRecord d = *book.dive(1);
        setFixedText(d.comment, std::string(250, 'c') + "FIN");
        book.putDive(d, 1);
        ASSERT_TRUE(replaceAll(book, ReplaceField::Comment, "FIN", "la fin du texte").ok());
        EXPECT_EQ(fixedText(book.dive(1)->comment).size(), 255u);
        EXPECT_EQ(fixedText(book.dive(1)->extra.commentMore), "n du texte");
    }

    TEST_F(Search, SelectionSavesTheChosenDivesAsANewLogbook)
    {
        test::TempDir dir;
        const std::string path = (dir / "choix.log").string();
        ASSERT_TRUE(saveSelection(book, path, { 2, 4 }).ok());
        Logbook loaded;
        ASSERT_TRUE(logbook::LogbookFile::loadFromPath(loaded, path).ok());
        ASSERT_EQ(loaded.diveCount(), 2);
        EXPECT_EQ(loaded.dive(1)->diveNumber, 2); // the dives keep their numbers
        EXPECT_EQ(loaded.dive(2)->diveNumber, 4);
        EXPECT_EQ(loaded.headerWordA(), 22);
        EXPECT_EQ(book.diveCount(), 4);
    }

} // namespace
} // namespace zorv::tools
