// Builds the memory image a dive computer would send, for tests, the fuzz corpus and the example dumps.
#pragma once

#include "common/clock.h"
#include "logbook/profileencoder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorv::logbook {
class ComputerInfo;
} // namespace zorv::logbook

namespace zorv::transfer {

struct ImageDive {
    common::LocalDateTime start; // local time; seconds are ignored
    int maxDepthCm = 1000; // 1..7999
    int durationMinutes = 30; // 1..199
    std::optional<int> surfaceIntervalMinutes; // 0..5999
    // Whole bar, or units of 1.376 bar for types whose low four bits are 12; 0 = none.
    std::uint8_t pressureDrop = 0;
    std::uint8_t temperatureQuarters = 80; // quarter degrees Celsius
    std::uint8_t warnings = 0; // logbook entry flag bits 0, 3, 4 and 5
    int altitudeClass = 1; // 1..4
    logbook::ProfileScript profile; // no depths: no profile
};

struct ImageSettings {
    std::uint8_t type = 30;
    std::uint32_t serialNumber = 0; // 24 bits
    std::uint16_t totalDives = 0; // raised to the number of dives when below it
    std::uint8_t battery = 200; // percent = trunc(b * 39.0625) / 100
    bool beeper = true;
    bool imperialUnits = false;
    std::uint8_t ppO2Step = 0; // 1.2 + n * 0.05 bar
    std::uint8_t airReserve = 0; // bar
    std::uint8_t breathingSensitivity = 0; // per cent
};

struct ImageScript {
    ImageSettings settings;
    std::vector<ImageDive> dives; // oldest first, at most 37
    // The computer's clock at the transfer, half seconds since it was made. Every
    // dive must lie within it: the computer cannot remember a dive before its birth.
    std::uint32_t clock = 2u * 86400u * 800u;
    int logbookIndex = 0; // where the computer writes its next logbook entry, 0..36
    int ringStart = 0; // ring position of the oldest profile's 0xFF, 0..1535
    bool checksum = true; // false stores 0, which turns the check off
};

struct EncodedImage {
    std::vector<std::uint8_t> bytes; // 2050 bytes as captured; empty on failure
    std::string error; // why the script cannot be encoded

    explicit operator bool() const { return error.empty(); }
};

// Lays the dives into the logbook ring and their profiles into the profile ring so
// that MemoryImage::load, run at the moment `clock` gives and with that clock
// installed, reads them back. The computer info decides the profile layout of the
// type, as it does for the decoder. Dives with profiles must be the newest ones,
// since the decoder pairs the profiles with the newest dives; header words and the
// extra word must not hold a 0xFF byte, which would end a profile.
EncodedImage encodeImage(const ImageScript &script, const logbook::ComputerInfo *computers, const common::Clock &clock);

// The moment the example dumps were captured, 15 June 2024 18:00 UTC; decoding them
// with a FixedClock at this moment gives the dates they were made with.
inline constexpr std::int64_t kExampleTransferTime = 1718474400;

// The example dumps: one realistic transfer per computer family, and damaged
// images that the decoder must refuse. Deterministic.
struct ExampleDump {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};
std::vector<ExampleDump> exampleDumps(const logbook::ComputerInfo *computers);

} // namespace zorv::transfer
