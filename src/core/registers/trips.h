// The trips register: the diver's trips with their dates, destination and range of dives, in the logbook's .trp file.
#pragma once

#include "registers/registerfile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorv::registers {

// Texts are the stored Windows-set bytes.
struct Trip {
    std::uint32_t firstDay = 0; // DayNumber, 0 when not given
    std::uint32_t lastDay = 0;
    std::int32_t firstDive = 0; // dive numbers of the trip
    std::int32_t lastDive = 0;
    std::string destination; // 61
    std::string remarks; // 579 in the file, 343 characters accepted by the dialog

    bool operator==(const Trip &) const = default;
};

namespace trips {
    inline constexpr std::size_t kDestination = 61;
    inline constexpr std::size_t kRemarks = 579;
    inline constexpr std::size_t kLegacyRemarks = 155;
    inline constexpr std::size_t kRemarksAccepted = 343;
    inline constexpr std::size_t kRecordSize = 656;
    inline constexpr std::size_t kLegacyRecordSize = 232;
} // namespace trips

/* Trips file, little-endian:
     0  u16  number of trips N
     2  f32  format mark 2.0
     6  N records of 656 bytes: first day u32, last day u32, first dive i32,
        last dive i32, destination 61, remarks 579.
   Older files have no mark: N records of 232 bytes follow the count, with
   155 bytes of remarks. Files are always written in the new form. */
common::ResultOr<std::vector<Trip>> parseTrips(std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> tripBytes(const std::vector<Trip> &trips);
common::ResultOr<std::vector<Trip>> loadTrips(const std::filesystem::path &path);
common::Result saveTrips(const std::filesystem::path &path, const std::vector<Trip> &trips);

inline constexpr int kTripColumnCount = 3;
extern const std::array<ColumnSpec, kTripColumnCount> kTripColumns;
// "Date" (the first day), "Cible", "Plongée" as "00012-00020".
std::string tripCell(const Trip &trip, int column);

// By first day, trips without a date last, then by destination.
void sortTrips(std::vector<Trip> &trips);

// The dive page position "Aller à" moves to: the first dive number when it lies
// between 1 and the number of dives.
std::optional<int> tripGoToPosition(const Trip &trip, int diveCount);

} // namespace zorv::registers
