#include "logbook/profiledecoder.h"
#include "logbook/profileencoder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace zorv::logbook {
namespace {

    enum Marker {
        kWarnings = 0,
        kLevelA = 1,
        kWorkload = 2,
        kLevelC = 3,
    };

    DiveRecord encoded(std::vector<float> depths, std::vector<GroupLevels> groups = {},
        ProfileFamily family = ProfileFamily::Plain, std::vector<std::uint8_t> warnings = {})
    {
        ProfileScript script;
        script.depths = std::move(depths);
        script.groups = std::move(groups);
        script.warnings = std::move(warnings);
        DiveRecord record;
        encodeProfile(record, script, family);
        return record;
    }

    std::vector<int> markers(const DiveRecord &record, Marker marker, int first, int last)
    {
        std::vector<int> values;
        for (int i = first; i <= last; ++i)
            values.push_back(record.samples[static_cast<std::size_t>(i)].markers[marker]);
        return values;
    }

    const auto incrementA = [](int a) { return GroupLevels { static_cast<std::uint8_t>(a), 0, 0 }; };
    const auto workload = [](int b) { return GroupLevels { 0, static_cast<std::uint8_t>(b), 0 }; };
    const auto levelC = [](int c) { return GroupLevels { 0, 0, static_cast<std::uint8_t>(c) }; };

    std::size_t rawLength(const DiveRecord &record, ProfileFamily family)
    {
        return record.profileLength - (family == ProfileFamily::Plain ? 17u : 19u);
    }

    class ProfileRoundTrip : public testing::TestWithParam<ProfileFamily> { };

    TEST_P(ProfileRoundTrip, ReproducesDepthsAndWarningsThenSurfaces)
    {
        std::vector<float> depths;
        std::vector<std::uint8_t> warnings;
        for (int i = 0; i < 61; ++i) {
            depths.push_back(0.3f + 1.37f * static_cast<float>(i % 40));
            warnings.push_back(static_cast<std::uint8_t>((i * 5) % 63));
        }
        const DiveRecord record = encoded(depths, {}, GetParam(), warnings);

        // The last group is padded to three samples; the loop bound then reads two
        // (three with the extra word) samples past the stored bytes, at the surface.
        const int trailing = GetParam() == ProfileFamily::Plain ? 2 : 3;
        ASSERT_EQ(record.sampleCount, 1 + 63 + trailing);
        EXPECT_FLOAT_EQ(record.samples[0].depth, -1.3f);
        float deepest = 0.0f;
        for (std::size_t i = 0; i < depths.size(); ++i) {
            EXPECT_EQ(record.samples[i + 1].depth, -quantisedDepth(depths[i])) << "sample " << i + 1;
            EXPECT_EQ(record.samples[i + 1].markers[kWarnings], warnings[i]) << "sample " << i + 1;
            deepest = std::max(deepest, quantisedDepth(depths[i]));
        }
        for (int i = 62; i < record.sampleCount; ++i)
            EXPECT_EQ(record.samples[static_cast<std::size_t>(i)].depth, 0.0f) << "sample " << i;
        EXPECT_EQ(record.profileMaxDepth, deepest);
        EXPECT_EQ(profileKind(record), ProfileKind::Computer);
    }

    INSTANTIATE_TEST_SUITE_P(
        Families, ProfileRoundTrip, testing::Values(ProfileFamily::Plain, ProfileFamily::Nitrox, ProfileFamily::O2));

    TEST(ProfileEncoder, NeverWritesTheEndOfProfileByte)
    {
        // 0.46875 m has depth code 3, whose low bits with all six warnings would make 0xFF.
        const DiveRecord record
            = encoded({ 0.46875f, 200.0f, 12.0f }, { { 6, 21, 42 } }, ProfileFamily::O2, { 0x3F, 0x3F });
        const auto raw = rawLength(record, ProfileFamily::O2);
        const std::vector<std::uint8_t> bytes = paddedProfileBytes(record, raw);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xFF), 0);
        EXPECT_EQ(record.samples[1].depth, -0.46875f);
        EXPECT_EQ(record.samples[1].markers[kWarnings], 0x3D);
        EXPECT_EQ(record.samples[2].depth, -159.21875f);
        EXPECT_EQ(record.samples[2].markers[kWarnings], 0x3D);
    }

    TEST(ProfileDecoder, WorkloadRampsUseTheSinglePrecisionThird)
    {
        // 6 - 1.00000003 truncates to 4: a plain 1/3 would give 5.
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { workload(6), workload(3) }), kWorkload, 0, 6),
            (std::vector<int> { 6, 6, 6, 6, 4, 3, 3 }));
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { workload(3), workload(6) }), kWorkload, 0, 6),
            (std::vector<int> { 3, 3, 3, 3, 4, 5, 6 }));
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { workload(9), workload(9) }), kWorkload, 4, 6),
            (std::vector<int> { 9, 9, 9 }));
    }

    TEST(ProfileDecoder, LevelARampsAndAccumulates)
    {
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { incrementA(0), incrementA(6), incrementA(0) }),
                      kLevelA, 0, 9),
            (std::vector<int> { 0, 1, 2, 3, 4, 5, 6, 6, 6, 6 }));
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { incrementA(6), incrementA(6), incrementA(0) }),
                      kLevelA, 0, 9),
            (std::vector<int> { 6, 6, 6, 6, 8, 10, 12, 12, 12, 12 }));
    }

    TEST(ProfileDecoder, LevelANeverFallsBackAtTheEnd)
    {
        // The only rise comes in the first group; the samples after the last group
        // must keep it rather than drop to 0.
        const DiveRecord record = encoded(std::vector<float>(6, 10.0f), { incrementA(6), incrementA(0) });
        ASSERT_EQ(record.sampleCount, 9);
        EXPECT_EQ(markers(record, kLevelA, 0, 8), (std::vector<int>(9, 6)));
    }

    TEST(ProfileDecoder, LevelCRampsInSixthsFromZeroAndThirdsOtherwise)
    {
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { levelC(0), levelC(12), levelC(12) }), kLevelC, 0, 9),
            (std::vector<int> { 0, 2, 4, 6, 8, 10, 12, 12, 12, 12 }));
        EXPECT_EQ(markers(encoded(std::vector<float>(9, 10.0f), { levelC(12), levelC(6), levelC(6) }), kLevelC, 0, 9),
            (std::vector<int> { 12, 12, 12, 12, 10, 8, 6, 6, 6, 6 }));
    }

    TEST(ProfileDecoder, StopsAt636Samples)
    {
        const DiveRecord record = encoded(std::vector<float>(681, 10.0f));
        EXPECT_EQ(record.sampleCount, kMaxSamples);
        EXPECT_EQ(record.samples[kMaxSamples - 1].depth, -10.0f);

        DiveRecord garbage;
        garbage.profileLength = 0xFFFF;
        garbage.profileBytes.assign(kProfileBytesCapacity, 0x7F);
        decodeProfile(garbage, true);
        EXPECT_EQ(garbage.sampleCount, kMaxSamples);
    }

    TEST(ProfileDecoder, ShortBlockHasOnlyTheFirstSample)
    {
        DiveRecord record;
        record.profileLength = 17;
        record.profileBytes.assign(kProfileBytesCapacity, 0x40);
        decodeProfile(record, false);
        EXPECT_EQ(record.sampleCount, 1);
        EXPECT_FLOAT_EQ(record.profileAvgDepth, 0.65f);
        EXPECT_EQ(record.profileMaxDepth, 0.0f);
    }

    TEST(ProfileDecoder, AverageDepthAndConsumptionCountTheFirstSample)
    {
        DiveRecord record;
        record.tankVolume = 1200;
        record.airUsed = 15000;
        ProfileScript script;
        script.depths = { 10.0f, 10.0f, 10.0f };
        encodeProfile(record, script, ProfileFamily::Plain);
        ASSERT_EQ(record.sampleCount, 6);
        // 1.3 m of the first sample in the sum, one sample more in the count.
        const float average = (30.0f + 1.3f) / 7.0f;
        EXPECT_FLOAT_EQ(record.profileAvgDepth, average);
        // 1800 l over three samples below the surface (0.67 min) at the average pressure.
        EXPECT_NEAR(record.airConsumption, 1800.0f / (average * 0.1f + 1.0f) / 0.67f, 0.05f);
    }

    TEST(ProfileDecoder, RedecodingForgetsOldLevelsAndSamples)
    {
        DiveRecord record = encoded(std::vector<float>(30, 10.0f), std::vector<GroupLevels>(10, { 6, 21, 42 }));
        ASSERT_EQ(record.sampleCount, 33);
        // Keep only the first group, without levels, and decode the same record again.
        record.profileLength = 17 + 5 + 7;
        record.profileBytes[5 + 6] = 0;
        decodeProfile(record, false);
        ASSERT_EQ(record.sampleCount, 6);
        ASSERT_EQ(record.samples.size(), 6u);
        for (const ProfileSample &sample : record.samples)
            EXPECT_EQ(sample.markers, (std::array<std::uint8_t, 4> {}));
    }

} // namespace
} // namespace zorv::logbook
