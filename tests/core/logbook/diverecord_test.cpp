#include "logbook/diverecord.h"

#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

namespace zorv::logbook {
namespace {

    TEST(ExtraBlock, ImageHasTheFileOffsetsAndRoundTripsAnyBytes)
    {
        ExtraBlock block;
        block.weights = 0x1234;
        block.extraFlags = 0x0A01;
        block.tankPressure = -2;
        setFixedText(block.model, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kModelLength);
        block.reserved = { 0x77 };
        std::vector<std::uint8_t> image(ExtraBlock::kSize, 0xCC);
        block.serialize(image.data());
        // visibility defaults to 32767 (0x7FFF)
        const std::pair<std::size_t, std::uint8_t> expected[] = { { 256, 0x34 }, { 257, 0x12 }, { 258, 0xFF },
            { 259, 0x7F }, { 264, 0x01 }, { 265, 0x0A }, { 266, 0xFE }, { 268, 'A' }, { 292, 'Y' }, { 293, 0x77 } };
        for (const auto &[offset, value] : expected)
            EXPECT_EQ(image[offset], value) << offset;
        EXPECT_EQ(ExtraBlock::deserialize(image.data()), block);

        std::mt19937 random(7);
        std::vector<std::uint8_t> noise(ExtraBlock::kSize);
        for (auto &b : noise)
            b = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> again(ExtraBlock::kSize);
        ExtraBlock::deserialize(noise.data()).serialize(again.data());
        EXPECT_EQ(again, noise);
    }

    TEST(DiveRecord, ProfileKind)
    {
        DiveRecord dive;
        EXPECT_EQ(profileKind(dive), ProfileKind::None);
        dive.profileLength = 17;
        EXPECT_EQ(profileKind(dive), ProfileKind::HandDrawn); // all header words 0
        for (std::size_t i = 0; i < 8; ++i)
            dive.profileHeader[i] = static_cast<std::uint16_t>(2927 + i);
        dive.profileHeader[3] = 0;
        EXPECT_EQ(profileKind(dive), ProfileKind::HandDrawn);
        dive.profileHeader[3] = 2927; // right value, wrong place
        EXPECT_EQ(profileKind(dive), ProfileKind::Computer);
        for (std::size_t i = 0; i < 8; ++i)
            dive.profileHeader[i] = static_cast<std::uint16_t>(2926 + i);
        EXPECT_EQ(profileKind(dive), ProfileKind::Computer);
        dive.profileLength = 0;
        EXPECT_EQ(profileKind(dive), ProfileKind::None);
    }

} // namespace
} // namespace zorv::logbook
