#include "app/windowplace.h"

#include <gtest/gtest.h>

namespace zorv::app {
namespace {

    struct PlaceCase {
        const char *name;
        canvas::Rect owner;
        canvas::Size size;
        canvas::Rect expected;
    };

    class PlaceBeside : public testing::TestWithParam<PlaceCase> { };

    constexpr canvas::Rect kScreen { 0, 0, 1280, 1000 };

    TEST_P(PlaceBeside, OpensBesideTheOwnerAndOnTheScreen)
    {
        const PlaceCase &c = GetParam();
        const canvas::Rect place = placeBeside(kScreen, c.owner, c.size);
        EXPECT_EQ(place, c.expected) << c.name;
        EXPECT_GE(place.left, kScreen.left) << c.name;
        EXPECT_GE(place.top, kScreen.top) << c.name;
        EXPECT_LE(place.right, kScreen.right) << c.name;
        EXPECT_LE(place.bottom, kScreen.bottom) << c.name;
    }

    INSTANTIATE_TEST_SUITE_P(Cases, PlaceBeside,
        testing::Values(
            PlaceCase { "right of a chooser", { 100, 100, 300, 600 }, { 500, 400 }, { 308, 100, 808, 500 } },
            PlaceCase { "left when the right is full", { 900, 50, 1200, 500 }, { 500, 400 }, { 392, 50, 892, 450 } },
            PlaceCase {
                "moved up to stay on the screen", { 100, 700, 300, 900 }, { 500, 400 }, { 308, 600, 808, 1000 } },
            PlaceCase { "taller than the screen is cut", { 0, 0, 250, 500 }, { 600, 1200 }, { 258, 0, 858, 1000 } },
            PlaceCase { "no room either side: the wider side, on the screen", { 300, 0, 900, 500 }, { 500, 300 },
                { 780, 0, 1280, 300 } }));

    TEST(ClearOfOwner, RefusesARememberedPlaceOverTheOwnerOrOffTheScreen)
    {
        const canvas::Rect owner { 100, 100, 300, 600 };
        EXPECT_TRUE(clearOfOwner(kScreen, owner, { 310, 100, 700, 500 }));
        EXPECT_FALSE(clearOfOwner(kScreen, owner, { 250, 124, 700, 500 })); // over the chooser's buttons
        EXPECT_FALSE(clearOfOwner(kScreen, owner, { 900, 100, 1400, 500 }));
    }

} // namespace
} // namespace zorv::app
