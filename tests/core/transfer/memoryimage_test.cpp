#include "computers/computercatalogue.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "transfertest.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace zorv::transfer;
namespace computers = zorv::computers;
using zorv::logbook::DiveRecord;
using zorv::logbook::kMissing;
using zorv::logbook::Logbook;
using zorv::transfer::test::kRefused;
using zorv::transfer::test::loadedCount;

namespace {

// 1 March 2024 12:00:00 UTC.
constexpr std::int64_t kNow = 1709294400;
// The computer's clock at the transfer, half seconds.
constexpr std::uint32_t kImageClock = 100'000'000;

// An image written byte by byte in the decoded (bit-reversed) domain.
class RawImage {
public:
    RawImage()
    {
        total(37);
        bytes[image::kType] = 30;
        put(image::kClock, kImageClock, 4);
    }

    void put(std::size_t at, std::uint32_t value, int width)
    {
        for (int i = width - 1; i >= 0; --i) {
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
            value >>= 8;
        }
    }
    void total(int dives) { put(image::kTotalDives, static_cast<std::uint32_t>(dives), 2); }
    void endPointer(int e)
    {
        bytes[image::kEndPointer] = static_cast<std::uint8_t>(e & 0xFF);
        bytes[image::kEndPointer + 1] = static_cast<std::uint8_t>((e >> 8) << 1);
    }
    std::uint8_t *entry(int index) { return &bytes[image::kLogbookRing + static_cast<std::size_t>(index) * 12]; }
    // A dive of 10 m for 30 minutes; its clock tells the entries apart.
    void dive(int index, std::uint32_t clock, std::uint8_t flags = 0)
    {
        std::uint8_t *e = entry(index);
        e[0] = flags;
        e[1] = 0x30;
        e[2] = 0x10; // 4096: 1000 cm
        e[3] = 0x00;
        for (int i = 0; i < 4; ++i)
            e[7 + i] = static_cast<std::uint8_t>(clock >> (8 * (3 - i)));
    }
    std::uint8_t &ring(int position) { return bytes[image::kProfileRing + static_cast<std::size_t>(position)]; }

    std::vector<std::uint8_t> captured(bool withChecksum = true) const
    {
        auto copy = bytes;
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < image::kChecksummed; ++i)
            sum = static_cast<std::uint16_t>(sum + copy[i]);
        if (!withChecksum)
            sum = 0;
        copy[image::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
        copy[image::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);
        std::vector<std::uint8_t> out;
        for (std::uint8_t b : copy)
            out.push_back(image::reverseBits(b));
        return out;
    }

    std::array<std::uint8_t, image::kSize> bytes {};
};

std::vector<std::uint32_t> clocks(const MemoryImage &memory)
{
    std::vector<std::uint32_t> out;
    for (int p = 0; const auto dive = memory.diveAt(p); ++p)
        out.push_back(dive->clockAtDive);
    return out;
}

class MemoryImageTest : public ::testing::Test {
protected:
    zorv::transfer::test::PinnedClock m_clock { kNow };
    MemoryImage m_memory;
};

} // namespace

TEST(ImageValues, DepthRoundsInSinglePrecision)
{
    EXPECT_EQ(image::depthCentimetres(4096), 1000);
    EXPECT_EQ(image::depthCentimetres(256), 62); // 62.4999992: just below the half
    EXPECT_EQ(image::depthCentimetres(7), 2); // 1.709
    EXPECT_EQ(image::depthCentimetres(-7), -1); // -1.709: the fraction is negative
    EXPECT_EQ(image::depthCentimetres(0), 0);
}

TEST(ImageValues, PressureDropScalesForTypesEndingInTwelve)
{
    EXPECT_EQ(image::pressureDrop(150, 30), 15000);
    EXPECT_EQ(image::pressureDrop(150, 28), 20645);
    EXPECT_EQ(image::pressureDrop(150, 0x4C), 20645);
    EXPECT_EQ(image::pressureDrop(0, 30), kMissing);
    EXPECT_EQ(image::pressureDrop(0, 28), kMissing);
    // Large drops with the scale must not wrap round to negative pressures.
    EXPECT_EQ(image::pressureDrop(238, 28), 32756);
    EXPECT_EQ(image::pressureDrop(255, 28), 32766);
}

TEST(ImageValues, BitReversalIsItsOwnInverse)
{
    EXPECT_EQ(image::reverseBits(0x55), 0xAA);
    EXPECT_EQ(image::reverseBits(0x1C), 0x38);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(image::reverseBits(image::reverseBits(static_cast<std::uint8_t>(b))), b);
}

TEST_F(MemoryImageTest, RefusesDamagedImages)
{
    RawImage raw;
    raw.dive(0, 500);
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 1);

    auto bad = raw.captured();
    bad[100] ^= 0x10;
    EXPECT_EQ(loadedCount(m_memory, bad), kRefused);
    EXPECT_EQ(m_memory.diveCount(), 0); // nothing of the earlier image stays

    auto shortImage = raw.captured();
    shortImage.pop_back();
    EXPECT_EQ(loadedCount(m_memory, shortImage), kRefused);

    // Checksum right (or off), but the walks would leave the rings; the last place inside is taken.
    for (const auto &[index, pointer, checked, count] :
        { std::tuple { 37, 0, true, kRefused }, { 255, 0, false, kRefused }, { 36, 0, true, 1 },
            { 0, 1536, true, kRefused }, { 0, 2047, false, kRefused }, { 0, 1535, true, 1 } }) {
        RawImage walk = raw;
        walk.bytes[image::kLogbookIndex] = static_cast<std::uint8_t>(index);
        walk.endPointer(pointer);
        EXPECT_EQ(loadedCount(m_memory, walk.captured(checked)), count) << index << " " << pointer;
    }

    // A zero checksum turns the check off for an image a computer could have sent:
    // one dive in its life, written just before the logbook index.
    RawImage young;
    young.total(1);
    young.bytes[image::kLogbookIndex] = 1;
    young.dive(0, 500);
    auto unchecked = young.captured(false);
    unchecked[10] ^= 0xFF;
    EXPECT_EQ(loadedCount(m_memory, unchecked), 1);
    EXPECT_EQ(m_memory.storedChecksum(), 0);
    // Without a checksum, entries the walk must meet but that hold no dive, or a dive
    // after the transfer, mark line noise.
    EXPECT_EQ(loadedCount(m_memory, raw.captured(false)), kRefused);
    young.dive(0, kImageClock + 2);
    EXPECT_EQ(loadedCount(m_memory, young.captured(false)), kRefused);
}

TEST_F(MemoryImageTest, LogbookRingShowsOnlyTheEntriesWritten)
{
    // A young computer, five dives in its life and next entry 10: the dives stand in entries 5..9.
    RawImage raw;
    raw.total(5);
    raw.bytes[image::kLogbookIndex] = 10;
    for (int i = 0; i < 37; ++i)
        raw.dive(i, static_cast<std::uint32_t>(1000 + i));
    EXPECT_EQ(loadedCount(m_memory, raw.captured()), 5);
    EXPECT_EQ(clocks(m_memory), (std::vector<std::uint32_t> { 1005, 1006, 1007, 1008, 1009 }));

    // A full ring starts at the index and skips empty entries.
    raw.total(40);
    raw.bytes[image::kLogbookIndex] = 35;
    for (int i = 0; i < 37; ++i)
        raw.dive(i, static_cast<std::uint32_t>(1000 + i));
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 37);
    EXPECT_EQ(clocks(m_memory).front(), 1035u);
    EXPECT_EQ(clocks(m_memory)[2], 1000u);
    EXPECT_EQ(clocks(m_memory).back(), 1034u);

    raw.entry(36)[1] = 0; // no duration
    raw.entry(0)[2] = raw.entry(0)[3] = 0; // no depth
    raw.dive(1, 0); // no clock
    EXPECT_EQ(loadedCount(m_memory, raw.captured()), 34);
    EXPECT_EQ(clocks(m_memory)[0], 1035u);
    EXPECT_EQ(clocks(m_memory)[1], 1002u);
}

TEST_F(MemoryImageTest, DecodesTheEntryFields)
{
    RawImage raw;
    raw.bytes[image::kType] = 28;
    raw.dive(0, kImageClock - 2 * 3600); // an hour before the transfer
    std::uint8_t *e = raw.entry(0);
    e[0] = 0x01 | 0x02 | 0x04 | 0x08 | 0x20 | 0x80; // ascent, interval, +100, deco, SOS, altitude 3
    e[1] = 0x45;
    e[4] = 0x02;
    e[5] = 0x35;
    e[6] = 150;
    e[11] = 99;
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 1);
    ComputerDive dive = m_memory.diveAt(0).value();
    EXPECT_EQ(dive.duration, 145);
    EXPECT_EQ(dive.surfaceInterval, 155);
    EXPECT_EQ(dive.maxDepth, 1000);
    EXPECT_EQ(dive.pressureDrop, 20645);
    EXPECT_EQ(dive.warnings, 0x29);
    EXPECT_EQ(dive.altitudeClass, 3);
    EXPECT_EQ(dive.waterTemperature, 2475);
    EXPECT_EQ(dive.computerType, 28);
    EXPECT_EQ(dive.date, zorv::logbook::dayNumber(1, 3, 2024));
    EXPECT_EQ(dive.timeOfDay, 11 * 60);
    EXPECT_FALSE(m_memory.diveAt(1));
    EXPECT_FALSE(m_memory.diveAt(-1));

    e[0] = 0; // no surface interval, no +100
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 1);
    dive = m_memory.diveAt(0).value();
    EXPECT_EQ(dive.surfaceInterval, kMissing);
    EXPECT_EQ(dive.duration, 45);
    EXPECT_EQ(dive.altitudeClass, 1);
}

TEST_F(MemoryImageTest, DiveTimeRoundsSecondsAboveThirty)
{
    struct Case {
        std::uint32_t halfSeconds; // before the transfer
        int timeOfDay;
        std::uint32_t date;
    };
    const Case cases[] = {
        { 2 * 29, 12 * 60, zorv::logbook::dayNumber(1, 3, 2024) }, // 11:59:31
        { 2 * 30, 11 * 60 + 59, zorv::logbook::dayNumber(1, 3, 2024) }, // 11:59:30
        { 2 * 30 + 1, 11 * 60 + 59, zorv::logbook::dayNumber(1, 3, 2024) }, // the odd half second is dropped
        { 2 * 60 * 60 * 13, 23 * 60, zorv::logbook::dayNumber(29, 2, 2024) }, // the day before
    };
    for (const Case &c : cases) {
        RawImage raw;
        raw.dive(0, kImageClock - c.halfSeconds);
        ASSERT_EQ(loadedCount(m_memory, raw.captured()), 1);
        ComputerDive dive = m_memory.diveAt(0).value();
        EXPECT_EQ(dive.timeOfDay, c.timeOfDay) << c.halfSeconds;
        EXPECT_EQ(dive.date, c.date) << c.halfSeconds;
    }
}

TEST_F(MemoryImageTest, ProfilesGoToTheNewestDives)
{
    RawImage raw;
    for (int i = 0; i < 5; ++i)
        raw.dive(32 + i, static_cast<std::uint32_t>(1000 + i));
    // Walk from e = 50: 50..99 are leftovers, then three profiles, the last one
    // wrapping round to the end pointer; the byte before e is never taken.
    raw.endPointer(50);
    for (int p = 0; p < 1536; ++p)
        raw.ring(p) = 0x11;
    const int starts[] = { 100, 200, 1400 };
    for (int j = 0; j < 3; ++j) {
        raw.ring(starts[j]) = 0xFF;
        raw.ring(starts[j] + 1) = static_cast<std::uint8_t>(0x20 + j);
        raw.ring(starts[j] + 2) = static_cast<std::uint8_t>(j);
        raw.ring(starts[j] + 3) = 0x01;
    }
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 5);
    ComputerDive dive = m_memory.diveAt(1).value();
    EXPECT_EQ(dive.profile.byteCount, 0);
    const int expectedCounts[] = { 200 - 101, 1400 - 201, 1536 - 1401 + 49 };
    for (int j = 0; j < 3; ++j) {
        dive = m_memory.diveAt(2 + j).value();
        EXPECT_EQ(dive.profile.firstByte, 0x20 + j);
        EXPECT_EQ(dive.profile.header[0], 0x0100 + j);
        EXPECT_EQ(dive.profile.byteCount, expectedCounts[j]) << j;
    }

    // More profiles than dives: the oldest profiles find no dive.
    RawImage few = raw;
    for (int i = 0; i < 4; ++i)
        few.entry(32 + i)[1] = 0;
    ASSERT_EQ(loadedCount(m_memory, few.captured()), 1);
    dive = m_memory.diveAt(0).value();
    EXPECT_EQ(dive.profile.firstByte, 0x20);
}

TEST_F(MemoryImageTest, SettingsUseSinglePrecision)
{
    RawImage raw;
    raw.bytes[image::kType] = 244;
    raw.bytes[image::kUnitsAndBeeper] = 0x03;
    raw.bytes[image::kPpO2] = 4;
    raw.put(image::kSerial, 0x123456, 3);
    raw.bytes[image::kBattery] = 201;
    raw.total(1234);
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 0);
    const ComputerSettings s = m_memory.settings();
    EXPECT_EQ(s.serialNumber, 0x123456u);
    EXPECT_EQ(s.totalDives, 1234);
    EXPECT_TRUE(s.beeper);
    EXPECT_TRUE(s.imperialUnits);
    EXPECT_EQ(s.maxPpO2, static_cast<double>(1.2f + 4.0f * 0.05f));
    EXPECT_NE(s.maxPpO2, 1.4);
    EXPECT_EQ(s.batteryPercent, static_cast<double>(7851.0f * 0.01f)); // trunc(201 * 39.0625)
}

TEST_F(MemoryImageTest, SearchFindsTheDivesAfterTheLogbooksLast)
{
    RawImage raw;
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 0);
    EXPECT_FALSE(m_memory.searchNewDives(std::nullopt).any);
    EXPECT_EQ(m_memory.searchNewDives(std::nullopt).first, -1);

    // Five dives a day apart, the newest two days before the transfer, at 12:00.
    for (int i = 0; i < 5; ++i)
        raw.dive(32 + i, kImageClock - static_cast<std::uint32_t>(2 * 86400 * (6 - i)));
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 5);
    ComputerDive third = m_memory.diveAt(2).value();

    EXPECT_EQ(m_memory.searchNewDives(std::nullopt).first, 0);
    EXPECT_EQ(m_memory.searchNewDives(LastLogbookDive { 0, 0, 0 }).first, 0);

    // The logbook ends with the third dive, recognised by its clock.
    NewDives found = m_memory.searchNewDives(LastLogbookDive { 1, 0, third.clockAtDive });
    EXPECT_EQ(found.first, 3);
    EXPECT_TRUE(found.any);
    // The same by date and time.
    EXPECT_EQ(m_memory.searchNewDives(LastLogbookDive { third.date, third.timeOfDay, 1 }).first, 3);
    EXPECT_EQ(m_memory.searchNewDives(LastLogbookDive { third.date, 11 * 60, 1 }).first, 2);

    // A logbook older than every decoded dive takes them all, the oldest included.
    found = m_memory.searchNewDives(LastLogbookDive { third.date - 100, 0, 1 });
    EXPECT_EQ(found.first, 0);

    // Nothing newer, and an undated last dive, which compares as later than any date.
    found = m_memory.searchNewDives(LastLogbookDive { third.date + 10, 0, 1 });
    EXPECT_EQ(found.first, -1);
    EXPECT_FALSE(found.any);
    EXPECT_EQ(m_memory.searchNewDives(LastLogbookDive { zorv::logbook::kNoDate, 0, 1 }).first, -1);
}

TEST_F(MemoryImageTest, ConvertKeepsTheRawProfileAndInsertsByDate)
{
    const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    Logbook book;
    book.setComputerInfo(&catalogue);
    zorv::logbook::NewDiveDefaults defaults;
    defaults.apply = true;
    defaults.tankVolume = 1200;
    book.setNewDiveDefaults(defaults);

    RawImage raw;
    raw.bytes[image::kType] = 244; // nitrox: the first two sample bytes are the extra word
    raw.dive(35, kImageClock - 2 * 86400);
    raw.dive(36, kImageClock - 2 * 3600);
    raw.entry(36)[6] = 40;
    raw.endPointer(33);
    const std::uint8_t profile[] = { 0xFF, 0x10, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, 0x12, 0, 0, 0,
        0, 0, 40, 0, 40, 0, 40, 0, 0x17, 0 };
    for (std::size_t i = 0; i < std::size(profile); ++i)
        raw.ring(static_cast<int>(i)) = profile[i];
    ASSERT_EQ(loadedCount(m_memory, raw.captured()), 2);

    ASSERT_TRUE(m_memory.convert(1, book));
    ASSERT_TRUE(m_memory.convert(0, book));
    EXPECT_FALSE(m_memory.convert(2, book));
    ASSERT_EQ(book.diveCount(), 2);

    const DiveRecord &older = *book.dive(1);
    EXPECT_EQ(older.profileLength, 0);
    EXPECT_EQ(older.computerFlags & 1, 1); // no air data
    EXPECT_EQ(older.tankVolume, 1200);

    const DiveRecord &newer = *book.dive(2);
    EXPECT_EQ(newer.diveNumber, 2);
    EXPECT_EQ(newer.computerType, 244);
    EXPECT_EQ(newer.airUsed, 4000);
    EXPECT_EQ(newer.computerFlags & 1, 0);
    EXPECT_EQ(newer.profileLength, std::size(profile) - 2); // no leading 0xFF, no spare last byte
    EXPECT_EQ(newer.profileFirstByte, 0x10);
    EXPECT_EQ(newer.profileHeader[0], 20);
    EXPECT_EQ(newer.profileExtra, 0x1234);
    EXPECT_EQ(newer.profileBytes[5], 40);
    EXPECT_EQ(newer.sampleCount, 7); // the first sample, the group, and a group read past the stored bytes
    EXPECT_FLOAT_EQ(newer.samples[1].depth, -40 * 4 * 0.15625f);
    EXPECT_FLOAT_EQ(newer.profileMaxDepth, 25.0f);
    EXPECT_EQ(newer.samples[3].markers[3], 42); // level C 7 * 6
}
