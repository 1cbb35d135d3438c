// The instructor record: courses taught, with their theory and practice hours and the number of people.
#pragma once

#include "registers/registerfile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zorv::registers {

// Texts are the stored Windows-set bytes.
struct TeachingActivity {
    std::string activity; // 64
    std::uint32_t firstDay = 0; // DayNumber
    std::uint32_t lastDay = 0;
    std::int32_t theoryHours = 0;
    std::int32_t practiceHours = 0;
    std::int32_t persons = 0;
    std::string remarks; // 64

    bool operator==(const TeachingActivity &) const = default;
};

namespace teaching {
    inline constexpr std::size_t kActivity = 64;
    inline constexpr std::size_t kRemarks = 64;
    inline constexpr std::size_t kRecordSize = 148;
    inline constexpr std::uint16_t kVersion = 110;
} // namespace teaching

/* Record file (.abn), little-endian: u16 version 110, u16 number of records N,
   N records of 148 bytes: activity 64, first day u32, last day u32, theory hours
   i32, practice hours i32, persons i32, remarks 64. */
common::ResultOr<std::vector<TeachingActivity>> parseTeaching(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> teachingBytes(const std::vector<TeachingActivity> &records);
common::ResultOr<std::vector<TeachingActivity>> loadTeaching(const std::filesystem::path &path);
common::Result saveTeaching(const std::filesystem::path &path, const std::vector<TeachingActivity> &records);

inline constexpr int kTeachingColumnCount = 2;
extern const std::array<ColumnSpec, kTeachingColumnCount> kTeachingColumns;
std::string teachingCell(const TeachingActivity &record, int column);

// The "Total heures" box. Sums in 64 bits: a typed number may be anything an int holds.
struct TeachingTotals {
    std::int64_t theory = 0;
    std::int64_t practice = 0;
    std::int64_t persons = 0;
    std::int64_t total() const { return theory + practice; }
};
TeachingTotals teachingTotals(const std::vector<TeachingActivity> &records);

// By first day, undated records last, then by activity.
void sortTeaching(std::vector<TeachingActivity> &records);

} // namespace zorv::registers
