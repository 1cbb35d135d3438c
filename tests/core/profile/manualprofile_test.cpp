#include "logbook/profiledecoder.h"
#include "profile/manualprofile.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using zorv::logbook::DiveRecord;
using zorv::logbook::UnitSystem;

namespace {

DiveRecord diveOf(int centimetres, int minutes)
{
    DiveRecord d;
    d.maxDepth = static_cast<std::int16_t>(centimetres);
    d.duration = static_cast<std::int16_t>(minutes);
    return d;
}

float depthAt(const DiveRecord &d, int sample)
{
    return -d.samples[static_cast<std::size_t>(sample)].depth;
}

} // namespace

TEST(ManualProfile, TwentyMetresThirtyMinutesGetsNinetyThreePoints)
{
    DiveRecord d = diveOf(2000, 30);
    generateManualProfile(d);
    ASSERT_EQ(d.sampleCount, 93);
    EXPECT_FLOAT_EQ(depthAt(d, 0), 1.3f);
    EXPECT_EQ(d.samples[0].markers[2], 3);
    const float down[] = { 4.63f, 7.96f, 11.29f, 14.62f, 17.95f, 20.0f };
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(depthAt(d, i + 1), down[i], 1e-4) << i;
    for (int i = 7; i <= 86; ++i)
        ASSERT_EQ(depthAt(d, i), 20.0f) << i;
    const float up[] = { 16.67f, 13.34f, 10.01f, 6.68f, 3.35f, 0.02f, 0.0f };
    for (int i = 0; i < 7; ++i)
        EXPECT_NEAR(depthAt(d, 87 + i), up[i], 1e-4) << i;
    // The editor keeps the point one past the samples, which it lets the diver draw too.
    ASSERT_EQ(d.samples.size(), 94u);
    for (std::size_t i = 1; i < d.samples.size(); ++i)
        ASSERT_EQ(d.samples[i].markers[2], 6);
    EXPECT_EQ(d.profileMaxDepth, 20.0f);
    EXPECT_EQ(d.avgDepth, 0.0f);
    EXPECT_EQ(d.profileAvgDepth, 18.0f); // 1727.82 m over 93 samples, cut to whole metres
}

TEST(ManualProfile, AveragesAndBreathingRateFollowTheDrawing)
{
    DiveRecord d = diveOf(2000, 30);
    d.tankVolume = 1000; // 10 l
    d.airUsed = 15000; // 150 bar
    generateManualProfile(d);
    // 1500 litres at 18 m (2.8 bar) over 93 thirds of a minute less 0.33.
    const double minutes = 93 * static_cast<double>(0.33333334f) - 0.33;
    EXPECT_NEAR(d.airConsumption, 1500.0 / 2.8 / minutes, 1e-3);

    const ManualAxis axis = manualAxis(d, UnitSystem::Metric);
    EXPECT_EQ(axis.maximum, 25);
    EXPECT_EQ(axis.step, 5);
    // Half way down a 250-pixel plot is 12.5 m; below the bottom is held at the dive's 20 m.
    ASSERT_TRUE(drawManualSample(d, 50, 125, 250, axis, UnitSystem::Metric));
    EXPECT_EQ(depthAt(d, 50), 12.5f);
    ASSERT_TRUE(drawManualSample(d, 51, 249, 250, axis, UnitSystem::Metric));
    EXPECT_EQ(depthAt(d, 51), 20.0f);
    EXPECT_FALSE(drawManualSample(d, 52, 10, 0, axis, UnitSystem::Metric));
    EXPECT_EQ(d.avgDepth, 0.0f);

    const ManualAxis feet = manualAxis(d, UnitSystem::Imperial);
    EXPECT_EQ(feet.maximum, 65 + 20);
    ASSERT_TRUE(drawManualSample(d, 53, 100, 850, feet, UnitSystem::Imperial)); // 10 ft
    EXPECT_NEAR(depthAt(d, 53), 3.04f, 1e-5);
}

TEST(ManualProfile, ADragSetsEverySampleThePointerPassedOver)
{
    DiveRecord d = diveOf(2000, 30);
    generateManualProfile(d);
    const ManualAxis axis = manualAxis(d, UnitSystem::Metric);
    const float untouched = depthAt(d, 30);
    // Two mouse events 8 samples apart, from 5 m to 15 m on a 250-pixel plot of 25 m: a straight line, no comb.
    ASSERT_TRUE(drawManualStroke(d, { 10, 50 }, { 18, 150 }, 250, axis, UnitSystem::Metric));
    for (int i = 10; i <= 18; ++i)
        EXPECT_NEAR(depthAt(d, i), 5.0f + 1.25f * static_cast<float>(i - 10), 1e-4) << i;
    // Right to left as well, and held at the dive's maximum depth.
    ASSERT_TRUE(drawManualStroke(d, { 24, 0 }, { 20, 250 }, 250, axis, UnitSystem::Metric));
    EXPECT_NEAR(depthAt(d, 24), 0.0f, 1e-4);
    EXPECT_NEAR(depthAt(d, 22), 12.5f, 1e-4);
    EXPECT_NEAR(depthAt(d, 20), 20.0f, 1e-4);
    EXPECT_EQ(depthAt(d, 30), untouched);
    EXPECT_FALSE(drawManualStroke(d, { 1, 10 }, { 5, 10 }, 0, axis, UnitSystem::Metric));
}

TEST(ManualProfile, DepthCodesCarryTheHandMark)
{
    const std::pair<double, DepthCode> cases[] = { { 0.0, { 0, 0x20 } }, { 20.0, { 32, 0x20 } }, { 4.63, { 7, 0x60 } },
        { 0.3125, { 0, 0xA0 } }, { 0.5, { 0, 0xE0 } }, { 200.0, { 255, 0xE0 } }, { -3.0, { 0, 0x20 } } };
    for (const auto &[metres, code] : cases)
        EXPECT_EQ(manualDepthCode(metres), code) << metres;
}

TEST(ManualProfile, StoredBlockReadsBackThroughTheDecoder)
{
    DiveRecord d = diveOf(2000, 30);
    generateManualProfile(d);
    storeManualProfile(d);
    EXPECT_EQ(zorv::logbook::profileKind(d), zorv::logbook::ProfileKind::HandDrawn);
    EXPECT_EQ(d.profileLength, 7 * 32 + 17);
    EXPECT_EQ(d.profileFirstByte, 0);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(d.profileHeader[i], 2927 + i);
    const std::uint8_t lead[] = { 0, 0, 0, 0x40, 0x90 };
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(d.profileBytes[i], lead[i]);
    EXPECT_EQ(d.profileBytes[5 + 6], 0x20);
    EXPECT_EQ(d.altitudeClass, 1);

    DiveRecord read = d;
    zorv::logbook::decodeProfile(read, false);
    ASSERT_GE(read.sampleCount, d.sampleCount);
    for (int i = 1; i < d.sampleCount; ++i)
        EXPECT_NEAR(depthAt(read, i), depthAt(d, i), 0.157) << i;
    EXPECT_FLOAT_EQ(depthAt(read, 7), 20.0f);
    EXPECT_EQ(read.samples[7].markers[2], 6);

    d.altitudeClass = 3;
    storeManualProfile(d);
    EXPECT_EQ(d.altitudeClass, 3);
}

TEST(ManualProfile, LongDivesAreCutToWhatFits)
{
    DiveRecord d = diveOf(1500, 300);
    EXPECT_TRUE(manualProfileLimited(d));
    EXPECT_FALSE(manualProfileLimited(diveOf(1500, 211)));
    EXPECT_EQ(manualProfileMinutes(d), 211);
    generateManualProfile(d);
    EXPECT_EQ(d.sampleCount, 636);
    EXPECT_EQ(depthAt(d, 635), 0.0f);
    storeManualProfile(d);
    EXPECT_EQ(d.profileLength, 7 * 213 + 17);
    EXPECT_LE(d.profileLength - 17u, std::size_t { zorv::logbook::kProfileBytesCapacity });
    EXPECT_LE(d.profileBytes.size(), std::size_t { zorv::logbook::kProfileBytesCapacity });
    DiveRecord read = d;
    zorv::logbook::decodeProfile(read, false);
    EXPECT_EQ(read.sampleCount, 636);
    EXPECT_FLOAT_EQ(depthAt(read, 300), 15.0f);
}

TEST(ManualProfile, EraseLeavesNoProfile)
{
    DiveRecord d = diveOf(2000, 30);
    generateManualProfile(d);
    storeManualProfile(d);
    eraseManualProfile(d);
    EXPECT_EQ(zorv::logbook::profileKind(d), zorv::logbook::ProfileKind::None);
    EXPECT_EQ(d.sampleCount, 0);
    EXPECT_TRUE(d.samples.empty());
}
