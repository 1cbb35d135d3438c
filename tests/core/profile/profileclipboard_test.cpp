#include "profile/profileclipboard.h"
#include "profiletestdives.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using zorv::logbook::DiveRecord;
using zorv::test::diveOf;

namespace {

TEST(ProfileClipboard, CopyEndsAtTheSurfaceAndHoldsAFullDive)
{
    ProfileClipboard clipboard;
    DiveRecord d = diveOf(zorv::logbook::kMaxSamples, 30.0f);
    d.samples[3].markers[0] = 0x04;
    clipboard.copyDive(d);
    ASSERT_EQ(clipboard.count(), zorv::logbook::kMaxSamples + 1);
    EXPECT_EQ(clipboard.depths().back(), 0.0);
    EXPECT_EQ(clipboard.depths()[0], -30.0);
    EXPECT_EQ(clipboard.markers()[3], 0x04);

    // A dive without samples leaves the clipboard alone.
    clipboard.copyDive(DiveRecord {});
    EXPECT_EQ(clipboard.count(), zorv::logbook::kMaxSamples + 1);
}

TEST(ProfileButtons, FollowTheDiveTheClipboardAndTheSecondProfile)
{
    ProfileClipboard clipboard;
    const DiveRecord d = diveOf(30, 10.0f);
    EXPECT_EQ(profileButtons(d, clipboard, false), (ProfileButtons { true, false, false, true }));
    clipboard.copyDive(d);
    EXPECT_EQ(profileButtons(d, clipboard, false), (ProfileButtons { true, true, false, true }));
    EXPECT_EQ(profileButtons(d, clipboard, true), (ProfileButtons { true, false, true, true }));
    EXPECT_EQ(profileButtons(DiveRecord {}, clipboard, true), (ProfileButtons { false, false, true, false }));
}

TEST(PlanRequest, NeedsAMinuteOfDiveAndRoundsTheDepthUp)
{
    DiveRecord d = diveOf(30, 18.2f);
    d.maxDepth = 1820;
    EXPECT_FALSE(planRequest(d, 3));
    EXPECT_EQ(planRequest(d, 10), (PlanRequest { 19, 3, false }));
    d.altitudeClass = 2;
    d.maxDepth = -1; // take the profile's maximum
    EXPECT_EQ(planRequest(d, 4), (PlanRequest { 19, 1, true }));
}

} // namespace
