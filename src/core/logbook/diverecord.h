// One dive as the logbook keeps it: values in stored units, texts in the DOS OEM set, the profile as long as it is.
#pragma once

#include "common/blockarena.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::logbook {

// 32767 in a 16-bit numeric field means "no value given".
inline constexpr std::int16_t kMissing = 32767;
// The date of a record that has none.
inline constexpr std::uint32_t kNoDate = 0xFFFFFFFFu;
// Mark written in every record this program creates.
inline constexpr std::uint16_t kRecordMark = 160;

inline constexpr int kMaxSamples = 636; // 3 h 32 min at one sample per 20 s
inline constexpr int kProfileBytesCapacity = 1600;
inline constexpr int kSampleSeconds = 20;

// Text capacities in characters; each buffer has one byte more for the terminator,
// except `model`, whose 25th character is ended by the reserved byte after it.
inline constexpr std::size_t kPlaceLength = 60;
inline constexpr std::size_t kSiteLength = 60;
inline constexpr std::size_t kOtherActivitiesLength = 40;
inline constexpr std::size_t kPartnersLength = 80;
inline constexpr std::size_t kCommentLength = 255;
inline constexpr std::size_t kCommentMoreLength = 255;
inline constexpr std::size_t kModelLength = 25;

// Bytes of a dive kept as long as they are, up to their last nonzero byte; see
// BlockArena for where they live.
using ByteArray = std::vector<std::uint8_t, common::ArenaAllocator<std::uint8_t>>;

// A depth sample: metres, negative below the surface, then four marker bytes
// (0: warning bits, 1: level A, 2: workload level B, 3: level C).
struct ProfileSample {
    float depth = 0.0f;
    std::array<std::uint8_t, 4> markers {};

    bool operator==(const ProfileSample &) const = default;
};

// The arrays of a dive, sized to what it holds; see BlockArena for where they live.
using SampleArray = std::vector<ProfileSample, common::ArenaAllocator<ProfileSample>>;

// The supplementary fields of a dive, kept in the .add companion file as a raw
// 550-byte little-endian image:
//   0 commentMore[256]  256 weights i16  258 visibility i16  260 avgDepthCm i16
//   262 tankMaterial u16  264 extraFlags u16  266 tankPressure i16
//   268 model[25]  293 reserved[257]
struct ExtraBlock {
    static constexpr std::size_t kSize = 550;
    static constexpr std::size_t kReservedSize = 257;

    std::array<char, 256> commentMore {};
    std::int16_t weights = kMissing; // hundredths of a kilogram
    std::int16_t visibility = kMissing; // centimetres
    std::int16_t avgDepthCm = 0; // file form of DiveRecord::avgDepth
    std::uint16_t tankMaterial = 0;
    std::uint16_t extraFlags = 0;
    std::int16_t tankPressure = kMissing; // hundredths of a bar
    std::array<char, 25> model {};
    // The 257 reserved bytes without their trailing zeros (mostly none at all).
    ByteArray reserved;

    void serialize(std::uint8_t *out) const; // writes kSize bytes
    static ExtraBlock deserialize(const std::uint8_t *in);

    bool operator==(const ExtraBlock &) const = default;
};

// Bits of DiveRecord::diveType.
namespace dive_type {
    inline constexpr std::uint16_t kNoDeco = 1u << 2;
    inline constexpr std::uint16_t kDeco = 1u << 3;
    inline constexpr std::uint16_t kSingleAscent = 1u << 4;
    inline constexpr std::uint16_t kMultipleAscents = 1u << 5;
    inline constexpr std::uint16_t kFreshWater = 1u << 6;
    inline constexpr std::uint16_t kSeaWater = 1u << 7;
    inline constexpr std::uint16_t kNitrox = 1u << 8;
    inline constexpr std::uint16_t kScr = 1u << 9;
} // namespace dive_type

// Bits 8-11 of ExtraBlock::extraFlags; bits 0-7 hold the second activity set.
namespace extra_flags {
    inline constexpr std::uint16_t kSecondSetMask = 0x00FF;
    inline constexpr std::uint16_t kBoat = 1u << 8;
    inline constexpr std::uint16_t kShore = 1u << 9;
    inline constexpr std::uint16_t kDiveLeader = 1u << 10;
    inline constexpr std::uint16_t kAccompanying = 1u << 11;
} // namespace extra_flags

// Fields in file order; default member values make the blank record.
struct DiveRecord {
    std::uint16_t recordMark = kRecordMark;
    std::uint32_t date = kNoDate; // DayNumber
    std::int16_t entryTime = kMissing; // minutes after midnight
    std::array<char, 61> place {};
    std::array<char, 61> site {};
    std::uint8_t altitudeClass = 0; // 0..4
    std::int16_t surfaceInterval = kMissing; // minutes
    std::uint8_t weather = 0;
    std::int16_t airTemperature = kMissing; // hundredths of a degree Celsius
    std::uint8_t suit = 0;
    std::int16_t tankVolume = kMissing; // hundredths of a litre
    std::int16_t maxDepth = kMissing; // centimetres; negative: show the profile's maximum
    std::int16_t duration = kMissing; // minutes
    std::int16_t minWaterTemperature = kMissing;
    std::int16_t airUsed = kMissing; // hundredths of a bar
    std::uint16_t diveType = 0;
    std::uint16_t activities = 0;
    std::array<char, 41> otherActivities {};
    std::array<char, 81> partners {};
    std::array<char, 256> comment {};
    std::uint16_t warnings = 0;
    std::int16_t diveNumber = 0;
    std::uint32_t computerLong = 0;
    std::uint8_t computerType = 0;
    std::uint8_t computerFlags = 0;
    std::array<std::uint8_t, 6> computerReserved {};
    std::uint16_t profileLength = 0;
    std::uint8_t profileFirstByte = 0;
    std::array<std::uint16_t, 8> profileHeader {};
    // The raw sample stream, at most kProfileBytesCapacity bytes and never ending on a zero
    // (trimProfileBytes): bytes past its end read as 0, so two records that save the same
    // bytes compare equal. Read it with profileByte().
    ByteArray profileBytes;
    std::uint16_t profileExtra = 0;
    // samples.size() == sampleCount (at most kMaxSamples). The one exception is the hand-drawn
    // profile editor's working copy, which may hold the point at index sampleCount too: the
    // editor lets that last point be drawn, and storing writes it into profileBytes.
    SampleArray samples;
    std::uint16_t sampleCount = 0;
    float profileMaxDepth = 0.0f; // metres
    float profileAvgDepth = 0.0f; // metres
    float avgDepth = 0.0f; // metres, given with the dive; 0 = none
    float airConsumption = 0.0f; // litres per minute at the surface; 0 = not computed
    ExtraBlock extra;

    bool operator==(const DiveRecord &) const = default;
};

// Byte `index` of the sample stream; past the stored bytes it reads as 0.
inline std::uint8_t profileByte(const DiveRecord &dive, std::size_t index)
{
    return index < dive.profileBytes.size() ? dive.profileBytes[index] : std::uint8_t { 0 };
}

// The dive's sampleCount samples (fewer only if a writer broke the invariant).
inline std::span<const ProfileSample> profileSamples(const DiveRecord &dive)
{
    return { dive.samples.data(),
        std::min({ std::size_t { dive.sampleCount }, dive.samples.size(), std::size_t { kMaxSamples } }) };
}

// Sets byte `index` of the sample stream, growing it as needed; an index at or past
// kProfileBytesCapacity is dropped. Writers end with trimProfileBytes().
void setProfileByte(DiveRecord &dive, std::size_t index, std::uint8_t value);

// Drops the zero bytes at the end of the sample stream, which read as 0 anyway.
void trimProfileBytes(DiveRecord &dive);

// The first `count` bytes of the sample stream, zero-filled past the stored ones.
std::vector<std::uint8_t> paddedProfileBytes(const DiveRecord &dive, std::size_t count);

// Profile kind, shown as " ", "P" or "H" beside a dive number.
enum class ProfileKind {
    None,
    Computer,
    HandDrawn,
};
ProfileKind profileKind(const DiveRecord &dive);

// Marker words that the hand-drawn profile editor writes into profileHeader.
inline constexpr std::uint16_t kHandProfileHeaderBase = 2927;

// The stored (OEM) text of a fixed buffer, up to its terminator or its end.
template <std::size_t N> std::string_view fixedText(const std::array<char, N> &buffer)
{
    std::size_t n = 0;
    while (n < N && buffer[n] != '\0')
        ++n;
    return { buffer.data(), n };
}

// Copies stored text into a fixed buffer, cut to `capacity` characters (at most N - 1
// unless the buffer, like `model`, ends at its last byte), and zero-fills the rest.
template <std::size_t N>
void setFixedText(std::array<char, N> &buffer, std::string_view text, std::size_t capacity = N - 1)
{
    const std::size_t n = std::min({ text.size(), capacity, N });
    buffer.fill('\0');
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = text[i];
}

} // namespace zorv::logbook
