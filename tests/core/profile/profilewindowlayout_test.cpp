#include "profile/profilewindowlayout.h"
#include "profiletestdives.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::test::diveOf;

namespace {

TEST(ProfileWindowLayout, CursorFollowsTheMouseWithinTheDive)
{
    const TrackingRect rect = graphTrackingRect({ 400, 300 });
    EXPECT_EQ(rect, (TrackingRect { 26, 24, 376, 276 }));
    EXPECT_TRUE(rect.contains({ 376, 276 }));
    EXPECT_FALSE(rect.contains({ 377, 100 }));
    // 351 pixels for 10 samples and the closing point: 31.9 pixels each.
    EXPECT_EQ(cursorIndexAt(26, rect, 10, 7), 0);
    EXPECT_EQ(cursorIndexAt(26 + 64, rect, 10, 7), 2);
    EXPECT_EQ(cursorIndexAt(376, rect, 10, 7), 10); // not 11, past the closing point
    EXPECT_EQ(cursorIndexAt(30, TrackingRect { 26, 0, 24, 0 }, 10, 7), 7);
}

TEST(ProfileWindowLayout, ResizeStretchesListAndGraphAndKeepsTheStripUnderTheGraph)
{
    const ProfileWindowLayout before { { 8, 8, 100, 392 }, { 110, 8, 592, 300 }, { 110, 300, 592, 392 } };
    const ProfileWindowLayout after = layoutProfileWindow(before, { 800, 600 });
    EXPECT_EQ(after.diveList, (Rect { 8, 8, 100, 592 }));
    EXPECT_EQ(after.graph, (Rect { 110, 8, 792, 500 }));
    EXPECT_EQ(after.strip, (Rect { 110, 500, 792, 592 }));
}

TEST(ProfileWindowLayout, ListLineMarksTheProfileKind)
{
    DiveRecord d = diveOf(3, 5.0f);
    EXPECT_EQ(profileListLine(d), "H\t00042"); // a header of zeros is the hand editor's
    d.profileHeader[0] = 17;
    EXPECT_EQ(profileListLine(d), "P\t00042");
    d.profileLength = 0;
    d.sampleCount = 0;
    EXPECT_EQ(profileListLine(d), " \t00042");
}

// The data window opened behind the profile window and over its check boxes.
TEST(DataWindowPlace, BesideTheWindowOrOverItsChartNeverOverItsControlsOrOffTheScreen)
{
    const Rect screen { 0, 0, 1920, 1080 };
    const Size data { 300, 400 };
    const Rect window { 100, 100, 900, 700 };
    const Rect chart { 300, 130, 880, 560 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, nullptr), (Rect { 908, 100, 1208, 500 }));

    // No room to the right: to the left.
    const Rect rightEdge { 1000, 100, 1900, 700 };
    const Rect rightChart { 1200, 130, 1880, 560 };
    EXPECT_EQ(placeDataWindow(screen, rightEdge, rightChart, data, nullptr), (Rect { 692, 100, 992, 500 }));

    // The window fills the screen: over the chart's upper right corner.
    const Rect full { 0, 0, 1920, 1080 };
    const Rect bigChart { 200, 30, 1900, 800 };
    EXPECT_EQ(placeDataWindow(screen, full, bigChart, data, nullptr), (Rect { 1592, 38, 1892, 438 }));

    // Where the user left it counts while it is on the screen and off the controls.
    const Rect onChart { 400, 140, 700, 540 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &onChart), onChart);
    const Rect overControls { 120, 400, 420, 800 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &overControls), (Rect { 908, 100, 1208, 500 }));
    const Rect offScreen { 1800, 900, 2100, 1300 };
    EXPECT_EQ(placeDataWindow(screen, window, chart, data, &offScreen), (Rect { 908, 100, 1208, 500 }));

    // A chart smaller than the data window, on a small screen: still on the screen.
    const Rect small { 0, 0, 800, 600 };
    const Rect placed = placeDataWindow(small, small, Rect { 200, 30, 400, 200 }, data, nullptr);
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.right, 800);
    EXPECT_LE(placed.bottom, 600);
}

} // namespace
