// The decoder of the memory image a dive computer sends: its settings, its logbook of dives and their profiles.
#pragma once

#include "common/result.h"
#include "logbook/diverecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zorv::logbook {
class Logbook;
class ComputerInfo;
} // namespace zorv::logbook

namespace zorv::transfer {

/*
 * The image, 2050 bytes from the first 0x55 sync byte on. Every byte arrives with
 * its bits in reverse order; the offsets below are of the reversed bytes. Numbers
 * are big-endian except the checksum and the profile header words.
 *
 *      0    4  preamble (sync bytes), counted in the checksum
 *      4 1536  profile ring
 *   1540  444  logbook ring: 37 entries of 12 bytes
 *   1984    1  computer type byte
 *   2006    1  bit 0 imperial units, bit 1 beeper on
 *   2007    1  maximum ppO2 step n: 1.2 + n * 0.05 bar
 *   2018    1  air reserve, bar
 *   2031    1  breathing sensitivity, per cent
 *   2033    3  serial number
 *   2036    1  battery b: trunc(b * 39.0625) hundredths of a per cent
 *   2038    2  dives made with the computer
 *   2040    1  logbook index: where the walk over the logbook ring starts
 *   2042    2  profile ring end pointer: byte 2042 + 256 * ((byte 2043 >> 1) & 7)
 *   2044    4  the computer's clock at the transfer, half seconds
 *   2048    2  checksum, little-endian: sum of bytes 0..2047; 0 turns the check off
 *
 * Logbook entry: 0 flags (bit 0 ascent warning, bit 1 surface interval valid, bit 2
 * add 100 minutes, bit 3 decompression, bit 4 workload, bit 5 SOS, bits 6-7 altitude
 * class - 1), 1 duration BCD, 2-3 depth (signed, units of 0.24414061 cm), 4-5 surface
 * interval hours and minutes BCD, 6 pressure drop, 7-10 clock at the dive, 11 water
 * temperature in quarter degrees.
 */
namespace image {
    inline constexpr std::size_t kSize = 2050;
    inline constexpr std::size_t kProfileRing = 4;
    inline constexpr int kProfileRingSize = 1536;
    inline constexpr std::size_t kLogbookRing = 1540;
    inline constexpr int kLogbookEntries = 37;
    inline constexpr std::size_t kEntrySize = 12;
    inline constexpr std::size_t kType = 1984;
    inline constexpr std::size_t kUnitsAndBeeper = 2006;
    inline constexpr std::size_t kPpO2 = 2007;
    inline constexpr std::size_t kAirReserve = 2018;
    inline constexpr std::size_t kBreathing = 2031;
    inline constexpr std::size_t kSerial = 2033;
    inline constexpr std::size_t kBattery = 2036;
    inline constexpr std::size_t kTotalDives = 2038;
    inline constexpr std::size_t kLogbookIndex = 2040;
    inline constexpr std::size_t kEndPointer = 2042;
    inline constexpr std::size_t kClock = 2044;
    inline constexpr std::size_t kChecksum = 2048;
    inline constexpr std::size_t kChecksummed = 2048;
    // The header of a profile: its first byte and eight 16-bit words.
    inline constexpr int kProfileHeaderBytes = 17;

    namespace flag {
        inline constexpr std::uint8_t kAscent = 0x01;
        inline constexpr std::uint8_t kSurfaceInterval = 0x02;
        inline constexpr std::uint8_t kHundredMinutes = 0x04;
        inline constexpr std::uint8_t kDecompression = 0x08;
        inline constexpr std::uint8_t kWorkload = 0x10;
        inline constexpr std::uint8_t kSos = 0x20;
        inline constexpr std::uint8_t kWarnings = kAscent | kDecompression | kWorkload | kSos;
    } // namespace flag

    // Bit 7 becomes bit 0 and so on; the transform is its own inverse.
    std::uint8_t reverseBits(std::uint8_t byte);
    // The depth word of a logbook entry in centimetres, rounded as the computers show it.
    std::int16_t depthCentimetres(std::int16_t word);
    // The pressure drop byte in hundredths of a bar; 32767 for 0.
    std::int16_t pressureDrop(std::uint8_t byte, std::uint8_t computerType);
    // Two BCD digits; digits above 9 count on as the computers' firmware does.
    int bcd(std::uint8_t byte);
} // namespace image

// A dive's profile as it stood in the ring.
struct ProfileBlock {
    std::uint16_t byteCount = 0; // first byte + 16 header bytes + sample bytes; 0 = no profile
    std::uint8_t firstByte = 0;
    std::array<std::uint16_t, 8> header {};
    std::array<std::uint8_t, logbook::kProfileBytesCapacity> samples {};

    bool operator==(const ProfileBlock &) const = default;
};

struct ComputerDive {
    std::uint32_t date = logbook::kNoDate; // DayNumber
    std::int16_t timeOfDay = logbook::kMissing; // minutes after midnight
    std::uint8_t altitudeClass = 0; // 1..4 once decoded
    std::int16_t surfaceInterval = logbook::kMissing; // minutes
    std::int16_t maxDepth = logbook::kMissing; // centimetres
    std::int16_t duration = logbook::kMissing; // minutes
    std::int16_t waterTemperature = logbook::kMissing; // hundredths of a degree Celsius
    std::int16_t pressureDrop = logbook::kMissing; // hundredths of a bar
    std::uint8_t warnings = 0; // logbook entry flag bits 0, 3, 4, 5
    std::uint8_t spare = 0; // high byte of the record's warnings
    std::uint32_t clockAtDive = 0; // the computer's clock, half seconds
    std::uint8_t computerType = 0;
    ProfileBlock profile;

    bool operator==(const ComputerDive &) const = default;
};

struct ComputerSettings {
    std::uint32_t serialNumber = 0;
    std::uint16_t type = 0;
    std::uint16_t totalDives = 0;
    bool beeper = false;
    bool imperialUnits = false;
    double maxPpO2 = 0.0; // bar
    std::uint16_t airReserve = 0; // bar
    std::uint16_t breathingSensitivity = 0; // per cent
    double batteryPercent = 0.0;
};

// The logbook's last dive, which the search for new dives compares against.
struct LastLogbookDive {
    std::uint32_t date = logbook::kNoDate;
    std::int16_t entryTime = logbook::kMissing;
    std::uint32_t computerLong = 0;
};
// Empty when the logbook has no dives.
std::optional<LastLogbookDive> lastLogbookDive(const logbook::Logbook &logbook);

struct NewDives {
    int first = -1; // position of the oldest new dive; -1 when none
    bool any = false;
};

class MemoryImage;

// What taking a transfer's new dives into the logbook did.
struct AcceptedDives {
    int added = 0;
    int notFitted = 0; // new dives left out because the logbook was full
};

// Inserts the new dives from `found.first` on, in date order. A logbook holds at
// most 32767 dives: those that no longer fit are counted, so the user can be told.
AcceptedDives acceptNewDives(const MemoryImage &memory, const NewDives &found, logbook::Logbook &logbook);

// The user's sentence for dives that did not fit; empty when all did.
std::string notFittedMessage(const AcceptedDives &accepted);

class MemoryImage {
public:
    // Takes the image as captured (bits not yet reversed) and decodes its dives.
    // Refuses (BadFormat, no dives) a checksum mismatch, an image shorter than
    // 2050 bytes, one whose logbook index or profile end pointer points outside
    // its rings, or one without checksum that no computer could have sent (entries
    // out of order or after the transfer, depths, times or temperatures out of
    // range). Dates are rebuilt against common::clock() as it stands now.
    common::Result load(std::span<const std::uint8_t> captured);

    int diveCount() const { return m_count; }
    std::optional<ComputerDive> diveAt(int position) const; // 0 = oldest decoded
    ComputerSettings settings() const;
    std::uint32_t serialNumber() const;
    std::uint16_t storedChecksum() const { return m_checksum; }

    // Positions from `first` on are dives the logbook does not have yet.
    NewDives searchNewDives(const std::optional<LastLogbookDive> &last) const;

    // The logbook dive a decoded dive becomes, before insertion: the logbook's
    // new-dive defaults, the decoded fields and the decoded profile. The logbook's
    // computer info says which computers carry the extra profile word and the O2
    // layout. Empty for a position without a dive.
    std::optional<logbook::DiveRecord> toRecord(int position, const logbook::Logbook &logbook) const;
    // Inserts that dive into the logbook in date order; false when there is no
    // such dive or the logbook is full.
    bool convert(int position, logbook::Logbook &logbook) const;

private:
    void decode();
    bool plausible() const;
    void readProfiles();

    std::array<std::uint8_t, image::kSize> m_image {};
    std::uint16_t m_checksum = 0;
    std::array<ComputerDive, image::kLogbookEntries> m_dives {};
    int m_count = 0;
};

} // namespace zorv::transfer
