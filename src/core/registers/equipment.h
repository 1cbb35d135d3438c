// The equipment register: the diver's gear with service dates, the service reminder and the cost summary.
#pragma once

#include "common/result.h"
#include "registers/registerfile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::registers {

inline constexpr int kEquipmentCategoryCount = 8;
inline constexpr std::uint8_t kOtherCategory = 7;

// Texts are the stored Windows-set bytes; sizes below include the terminator.
struct EquipmentItem {
    std::uint8_t category = 0; // 0..7, see equipmentCategoryName
    std::string article; // 61
    std::string user; // 21
    std::string vendorDate; // 31
    std::string part1; // 31
    std::string serialNumber; // 21
    std::string part2; // 31
    std::string serialNumber2; // 21
    std::string details; // 61
    std::uint16_t lastServiceMonth = 0; // 1..12, 0 when not set
    std::uint16_t lastServiceYear = 0;
    std::uint16_t nextServiceMonth = 0;
    std::uint16_t nextServiceYear = 0;
    float price = 0.0f;
    float serviceCost = 0.0f;
    std::string remarks; // 61
    bool remind = false;

    bool operator==(const EquipmentItem &) const = default;
};

namespace equipment {
    inline constexpr std::size_t kArticle = 61;
    inline constexpr std::size_t kUser = 21;
    inline constexpr std::size_t kVendorDate = 31;
    inline constexpr std::size_t kPart = 31;
    inline constexpr std::size_t kSerial = 21;
    inline constexpr std::size_t kDetails = 61;
    inline constexpr std::size_t kRemarks = 61;
    inline constexpr std::size_t kItemSize = 357;
    inline constexpr std::uint16_t kVersion = 100;
} // namespace equipment

// "Détenteur" .. "Autres"; any category outside 0..7 (the old files used 99) is "Autres".
std::string_view equipmentCategoryName(std::uint8_t category);

/* Equipment file, little-endian, no gaps:
     0  u16  version 100
     2  u16  number of items N
     4  N items of 357 bytes: category u8, article 61, user 21, vendor and date 31,
        part 1 31, serial 21, part 2 31, serial 2 21, details 61, last service month,
        year, next service month, year (u16 each), price f32, service cost f32,
        remarks 61, remind u8. */
common::ResultOr<std::vector<EquipmentItem>> parseEquipment(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> equipmentBytes(const std::vector<EquipmentItem> &items);
// A missing file is an empty register; a damaged one is refused with a message naming it.
common::ResultOr<std::vector<EquipmentItem>> loadEquipment(const std::filesystem::path &path);
common::Result saveEquipment(const std::filesystem::path &path, const std::vector<EquipmentItem> &items);

// Due when the reminder is on, the next service is set and today's month has reached it.
bool isServiceDue(const EquipmentItem &item, int month, int year);
// The start-up check: true when the file exists, reads, and holds an item due.
bool equipmentFileHasDueItem(const std::filesystem::path &path, int month, int year);

// The list's columns: "Catégorie", "Déscription", "Utilisateur", "Prochaine révision".
inline constexpr int kEquipmentColumnCount = 4;
extern const std::array<ColumnSpec, kEquipmentColumnCount> kEquipmentColumns;
std::string equipmentCell(const EquipmentItem &item, int column, int month, int year); // UTF-8
// "03.2005", with "*" when due; empty when no year is set.
std::string nextServiceText(const EquipmentItem &item, int month, int year);

// Sorted by category, then article, then user: how the gear lies in the cupboard.
void sortEquipment(std::vector<EquipmentItem> &items);

// The user box of the cost summary: every distinct user text, in list order.
std::vector<std::string> equipmentUsers(const std::vector<EquipmentItem> &items);

struct CostLine {
    int count = 0;
    float prices = 0.0f;
    float services = 0.0f;
    float total = 0.0f;
};
struct CostSummary {
    std::array<CostLine, kEquipmentCategoryCount> categories {};
    CostLine total;
};
// All items, or only those whose user text is exactly `user`. Sums in single precision.
CostSummary costSummary(const std::vector<EquipmentItem> &items, std::optional<std::string_view> user);

} // namespace zorv::registers
