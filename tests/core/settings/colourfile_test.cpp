#include "settings/colourfile.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace zorv::settings;
using zorv::test::TempDir;

namespace {

ProfileColours someColours()
{
    ProfileColours c;
    for (std::size_t i = 0; i < c.size(); ++i)
        c.colours[i]
            = zorv::canvas::rgb(static_cast<int>(10 + i), static_cast<int>(100 + i), static_cast<int>(200 + i));
    return c;
}

TEST(ColourFile, IsThirtyTwoBytesOfRedGreenBlueZeroInRoleOrder)
{
    const auto bytes = encodeColourFile(kDefaultProfileColours);
    // "Profil" navy, then "Clipprofil" orange.
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[2], 128);
    EXPECT_EQ(bytes[4], 255);
    EXPECT_EQ(bytes[5], 192);
    EXPECT_EQ(bytes[6], 0);
    for (std::size_t i = 3; i < kColourFileSize; i += 4)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST(ColourFile, SavedFileReloadsToTheSameColours)
{
    TempDir dir;
    const auto path = dir / "mine.cst";
    ASSERT_TRUE(saveColourFile(path, someColours()));
    EXPECT_EQ(std::filesystem::file_size(path), kColourFileSize);

    const auto loaded = loadColourFile(path, kDefaultProfileColours);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, someColours());

    // Saving again replaces the file instead of appending to it.
    ASSERT_TRUE(saveColourFile(path, kDefaultProfileColours));
    EXPECT_EQ(std::filesystem::file_size(path), kColourFileSize);
    const auto reloaded = loadColourFile(path, someColours());
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(*reloaded, kDefaultProfileColours);
}

TEST(ColourFile, ShortFileChangesOnlyTheBytesItHolds)
{
    TempDir dir;
    // Six bytes: the whole first colour and red and green of the second.
    zorv::test::writeFile(dir / "short.cst", std::string("\x01\x02\x03\x00\x04\x05", 6));
    const auto loaded = loadColourFile(dir / "short.cst", kDefaultProfileColours);
    ASSERT_TRUE(loaded);
    const ProfileColours &colours = *loaded;
    EXPECT_EQ(colours[ProfileColour::Profile], zorv::canvas::rgb(1, 2, 3));
    EXPECT_EQ(colours[ProfileColour::ClipProfile], zorv::canvas::rgb(4, 5, 0)); // blue of the default orange is 0
    for (std::size_t i = 2; i < colours.size(); ++i)
        EXPECT_EQ(colours.colours[i], kDefaultProfileColours.colours[i]);

    zorv::test::writeFile(dir / "empty.cst", "");
    const auto empty = loadColourFile(dir / "empty.cst", someColours());
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, someColours());
}

TEST(ColourFile, LongFileAndStrayHighBytesDoNotLeakIntoColours)
{
    std::string bytes(40, '\x7F');
    bytes[3] = '\x01'; // a palette flag in the old colour type, never a colour
    ProfileColours colours = kDefaultProfileColours;
    decodeColourFile(std::span(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()), colours);
    for (zorv::canvas::Rgb c : colours.colours)
        EXPECT_EQ(c, zorv::canvas::rgb(0x7F, 0x7F, 0x7F));
}

TEST(ColourFile, UnreadableFileAndFailedSaveSaySo)
{
    TempDir dir;
    EXPECT_FALSE(loadColourFile(dir / "missing.cst", someColours()));
    EXPECT_FALSE(loadColourFile(dir.path(), someColours()));
    const auto result = saveColourFile(dir / "no" / "such" / "x.cst", someColours());
    EXPECT_TRUE(!result && !result.message().empty());
}

} // namespace
