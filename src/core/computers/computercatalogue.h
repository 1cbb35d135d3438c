// The dive computer types a dive's type byte can name, and what each type changes in reading and showing its dives.
#pragma once

#include "common/atomicfile.h"
#include "logbook/computerinfo.h"
#include "settings/inifile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::computers {

// Ctyp.ini keeps these numbers.
enum class Gas : std::int32_t {
    Air = 0,
    Nitrox = 1,
    Oxygen = 2,
};

// Names were fixed 84-byte buffers with their terminating zero.
inline constexpr std::size_t kMaxComputerNameLength = 83;

struct ComputerType {
    std::uint8_t typeId = 0; // the computer's own type byte; 0 for dives entered by hand
    std::string name; // UTF-8, at most kMaxComputerNameLength characters
    Gas gas = Gas::Air;
    bool airIntegrated = false; // records tank pressure
    bool imported = false; // dives come from another program's file, not the serial link
    // Positions among the import types and among the air types, in catalogue
    // order; -1 for the others. The dive edit dialog's pick lists use them.
    int importOrdinal = -1;
    int airOrdinal = -1;
    bool builtIn = false; // only the name of a built-in type may be changed

    bool operator==(const ComputerType &) const = default;
};

enum class SortNow {
    No,
    Yes,
};

// Entries are copied out, never referenced: any change may sort the array.
// A lookup of an id that is not in the catalogue gives empty, false, or an
// ordinal of -1.
class ComputerCatalogue final : public logbook::ComputerInfo {
public:
    ComputerCatalogue() = default;
    // The types the program knows without Ctyp.ini, sorted.
    static ComputerCatalogue withBuiltInTypes();

    // An id already present keeps its place and built-in flag and takes the
    // new name, gas and flags; a name that is too long is cut.
    void add(const ComputerType &entry, SortNow sortNow);
    void clear();
    int count() const { return static_cast<int>(m_entries.size()); }
    // Orders by name, compared as Windows-1252 bytes, and renumbers both ordinals.
    void sort();

    ComputerType entryAt(int index) const;
    std::uint8_t typeIdAt(int index) const;
    const std::vector<ComputerType> &entries() const { return m_entries; }

    bool contains(std::uint8_t typeId) const;
    std::string name(std::uint8_t typeId) const;
    bool airIntegrated(std::uint8_t typeId) const;
    // Nitrox and O2 only count for computers read over the serial link.
    bool isNitrox(std::uint8_t typeId) const override;
    bool isO2(std::uint8_t typeId) const override;
    bool isImport(std::uint8_t typeId) const;
    bool isAir(std::uint8_t typeId) const;

    int importOrdinal(std::uint8_t typeId) const;
    std::uint8_t typeIdOfImportOrdinal(int ordinal) const; // 0 when no entry has it
    std::optional<std::string> importNameAt(int index) const;
    int airOrdinal(std::uint8_t typeId) const;
    std::uint8_t typeIdOfAirOrdinal(int ordinal) const; // 0 when no entry has it
    std::optional<std::string> airNameAt(int index) const;

    // Rows of the two pick lists, "name [id]", in ordinal order.
    std::vector<std::string> importPickList() const;
    std::vector<std::string> airPickList() const;

    // Ids that only the computers we read ourselves may carry; the user
    // cannot create a type with one of them.
    static bool isBuiltInSerialId(int typeId);

    // The name shown for a dive, the user's override from the settings file included.
    std::string displayName(std::uint8_t typeId) const override;
    // The settings file holding the "Computertyp" overrides; it must outlive
    // the catalogue. Without it displayName() shows the catalogue's names.
    void setNameOverrides(const settings::IniFile *mainSettings) { m_overrides = mainSettings; }

    // Completes the catalogue from Ctyp.ini: sections "0" .. "255" with a
    // "Name" update or add their type, then the catalogue is sorted once.
    void load(const settings::IniFile &ctyp);
    // Replaces everything in the file with the catalogue, built-in types
    // included, and writes it.
    common::Result save(settings::IniFile &ctyp) const;

private:
    int indexOf(std::uint8_t typeId) const;

    std::vector<ComputerType> m_entries;
    const settings::IniFile *m_overrides = nullptr;
};

} // namespace zorv::computers
