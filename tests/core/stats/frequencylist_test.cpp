#include "logbook/daynumber.h"
#include "stats/frequencylist.h"
#include "statstestdives.h"

#include <gtest/gtest.h>

using namespace zorv;
using namespace zorv::stats;
using logbook::DiveRecord;
using test::logbookOf;

namespace {

DiveRecord dive(const char *place, const char *site, const char *partners = "", int year = 2024)
{
    DiveRecord d;
    d.date = logbook::dayNumber(1, 6, year);
    logbook::setFixedText(d.place, place);
    logbook::setFixedText(d.site, site);
    logbook::setFixedText(d.partners, partners);
    return d;
}

std::vector<std::string> namesOf(const FrequencyList &list)
{
    std::vector<std::string> names;
    for (const auto &e : list.entries())
        names.push_back(e.name);
    return names;
}

} // namespace

TEST(FrequencyList, PartnersSplitAtEverySeparatorAndCaseMatters)
{
    FrequencyList partners(FrequencyKind::Partners);
    partners.compute(logbookOf({ dive("Elba", "", "anna, Bert;Carla + Dora& Emil"), dive("Giglio", "", "Anna") }));
    EXPECT_EQ(namesOf(partners), (std::vector<std::string> { "anna", "Bert", "Carla", "Dora", "Emil", "Anna" }));
    EXPECT_EQ(partners.entries()[5].subEntries.at(0).name, "Giglio");
}

TEST(FrequencyList, SitesCountPerPlaceUpToFiftySites)
{
    std::vector<DiveRecord> dives { dive("Elba", "Nasse"), dive("Giglio", "Nasse"), dive("Elba", "Nasse") };
    for (int i = 0; i < 51; ++i)
        dives.push_back(dive("Malta", ("Site " + std::to_string(i)).c_str()));
    FrequencyList sites(FrequencyKind::Sites);
    sites.compute(logbookOf(std::move(dives)));
    ASSERT_EQ(sites.entries().size(), 3u);
    EXPECT_EQ(sites.entries()[0].count, 2u);
    EXPECT_EQ(sites.entries()[0].subEntries.at(0).count, 2u);
    EXPECT_EQ(sites.entries()[1].subEntries.at(0).count, 1u); // same site under another place
    EXPECT_EQ(sites.entries()[2].count, 51u);
    EXPECT_EQ(sites.entries()[2].subEntries.size(), 50u);
    EXPECT_EQ(sites.subEntryTotal(), 52);

    sites.sort(FrequencySort::ByCount);
    EXPECT_EQ(sites.entries()[0].name, "Malta");
    sites.compute(logbookOf({ dive("Elba", "Nasse") }), 2023); // a year without dives
    EXPECT_TRUE(sites.entries().empty());
}

TEST(FrequencyList, LeadingUmlautSortsAsItsTwoLetterSpelling)
{
    // Stored texts are in the DOS set: 0x99 is "Ö", which sorts as "Oe".
    FrequencyList sites(FrequencyKind::Sites);
    sites.compute(logbookOf({ dive("Or", ""), dive("\x99land", ""), dive("Oa", ""), dive("Ob\x94", "") }));
    sites.sort(FrequencySort::ByName);
    EXPECT_EQ(namesOf(sites), (std::vector<std::string> { "Oa", "Ob\xF6", "\xD6land", "Or" }));
    EXPECT_TRUE(nameLess("\xDF", "t")); // sharp s as "ss"
    EXPECT_FALSE(nameLess("\xE4z", "ae"));
}
