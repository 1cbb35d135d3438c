// The DECO 92 air decompression tables the planner reads: sea level and mountain lakes, surface intervals, residual
// nitrogen and no-fly times.
#pragma once

#include <array>
#include <optional>

namespace zorv::profile {

// One bottom time of a table row: the pressure group after the dive and the
// stop minutes it owes, shallowest first.
struct TableEntry {
    int bottomTime = 0; // minutes; 0 marks an empty slot, which never matches
    char group = '\0'; // 'B' ... 'G'
    std::array<int, 5> stops {}; // minutes at 3, 6, 9, 12 and 15 m

    int stopTotal() const { return stops[0] + stops[1] + stops[2] + stops[3] + stops[4]; }
    bool operator==(const TableEntry &) const = default;
};

// Stop depths in metres, in the order of TableEntry::stops.
inline constexpr std::array<int, 5> kStopDepths { 3, 6, 9, 12, 15 };

inline constexpr int kTableEntries = 11;
struct TableRow {
    int depth = 0; // metres
    int noDecoLimit = 0; // minutes
    std::array<TableEntry, kTableEntries> entries {};
};

inline constexpr int kTableRows = 19; // 9, 12, ... 63 m
using DecoTable = std::array<TableRow, kTableRows>;

enum class Altitude {
    SeaLevel, // "Niv. de la mer (0m-700m)"
    Mountain, // "Lac de mont. (701m-1500m)"
};
const DecoTable &decoTable(Altitude altitude);

// Minutes since the previous dive up to which its group still counts, limits 1 to 7.
struct SurfaceIntervalRow {
    char group = '\0';
    std::array<int, 7> limits {};
};
extern const std::array<SurfaceIntervalRow, 6> kSurfaceIntervalTable;

// Minutes added to the bottom time of a repetitive dive, by depth and by
// surface-interval column 1 to 6; both altitude tables share it.
struct ResidualRow {
    int depth = 0;
    std::array<int, 6> minutes {};
};
extern const std::array<ResidualRow, kTableRows> kResidualTable;

// Hours to wait before flying, for a group letter 'B' ... 'G'.
std::optional<int> noFlyHours(char group);

} // namespace zorv::profile
