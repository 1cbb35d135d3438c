#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/oemcharmap.h"
#include "logbook/suggestionlists.h"
#include "logbooktestdives.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace zorv::logbook {
namespace {

    using test::makeDive;
    using test::texts;
    using test::Texts;

    class SuggestionListsTest : public testing::Test {
    protected:
        Logbook book;
    };

    TEST_F(SuggestionListsTest, ListsSplitNamesAndLeaveOutSecondSetActivities)
    {
        DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, "Epave");
        setFixedText(d.partners, "Anna, Bert+Carl &Dora ;;Emil  ");
        setFixedText(d.otherActivities, displayToStored("Pl. solo,Bio; Solo+Pl. séminaire &Nuit"));
        book.insertDive(d);
        const SuggestionLists lists(book);
        EXPECT_EQ(texts(lists.list(ListId::Partners)), (Texts { "Anna", "Bert", "Carl", "Dora", "Emil" }));
        EXPECT_EQ(texts(lists.list(ListId::OtherActivities)), (Texts { "Bio", "Nuit" }));
    }

    TEST_F(SuggestionListsTest, TankVolumesFollowTheUnitSystem)
    {
        for (std::int16_t volume : std::initializer_list<std::int16_t> { 1000, 500, 990, 1000, kMissing }) {
            DiveRecord d = makeDive(dayNumber(1, 1, 2021), 600, "x");
            d.tankVolume = volume;
            book.insertDive(d);
        }
        const SuggestionLists metric(book);
        const ValueList &volumes = metric.list(ListId::TankVolumes);
        EXPECT_EQ(texts(volumes), (Texts { "10.0", "  5.0", "  9.9" }));
        EXPECT_EQ(volumes.useCount(0), 2);

        book.setUnitSystem(UnitSystem::Imperial);
        const SuggestionLists imperial(book);
        EXPECT_EQ(texts(imperial.list(ListId::TankVolumes)), (Texts { "70", "35", "69" }));
    }

    TEST_F(SuggestionListsTest, SitesOfAPlace)
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
        SuggestionLists lists(book);
        const ValueList &sites = lists.list(ListId::SitesOfPlace);
        lists.fillSitesOfPlace("Lac Léman");
        EXPECT_EQ(texts(sites), (Texts { "Evian", "Meillerie" }));
        EXPECT_EQ(sites.useCount(0), 2);
        lists.fillSitesOfPlace("");
        EXPECT_EQ(sites.count(), 3);
        lists.fillSitesOfPlace("Lac");
        EXPECT_EQ(sites.count(), 0);
    }

} // namespace
} // namespace zorv::logbook
