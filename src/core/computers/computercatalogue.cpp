#include "computers/computercatalogue.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace zorv::computers {

using common::StringId;

namespace {

    struct BuiltIn {
        std::uint8_t typeId;
        const char *name;
        Gas gas;
        bool airIntegrated;
        bool imported;
    };

    // In the order they were always added; the sort that follows decides the
    // order of equal names, and nothing depends on it.
    constexpr BuiltIn kBuiltIns[] = {
        { 0, "Handeintrag", Gas::Air, false, false },
        { 177, "Citizen Hyper Aqualand", Gas::Air, false, true },
        { 178, "Citizen ProMaster", Gas::Air, false, true },
        { 179, "Mares Guardian", Gas::Air, false, true },
        { 68, "Aladin Air X/Z", Gas::Air, true, false },
        { 52, "Aladin Air X", Gas::Air, true, false },
        { 244, "Aladin Air X Nitrox", Gas::Nitrox, true, false },
        { 31, "Aladin Pro", Gas::Air, false, false },
        { 63, "Aladin Pro", Gas::Air, false, false },
        { 255, "Aladin Pro Nitrox", Gas::Nitrox, false, false },
        { 30, "Aladin Sport", Gas::Air, false, false },
        { 28, "Aladin Air", Gas::Air, true, false },
        { 29, "Spiro Monitor 2 Plus", Gas::Air, false, false },
        { 61, "Spiro Monitor 2 Plus", Gas::Air, false, false },
        { 72, "Spiro Monitor 3 Air", Gas::Air, true, false },
        { 64, "Mares Genius", Gas::Air, true, false },
        { 164, "Aladin Air X O2", Gas::Oxygen, true, false },
    };

    constexpr std::array<int, 14> kBuiltInSerialIds = { 0, 28, 29, 30, 31, 52, 61, 63, 64, 68, 72, 164, 244, 255 };

    // Cuts at the limit in characters, never inside one, and at an embedded
    // zero, which ended the name in the old fixed buffer.
    std::string limitName(std::string_view name)
    {
        name = name.substr(0, name.find('\0'));
        std::size_t characters = 0;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if ((c & 0xC0) != 0x80 && ++characters > kMaxComputerNameLength)
                return std::string(name.substr(0, i));
        }
        return std::string(name);
    }

    std::string pickRow(const ComputerType &entry)
    {
        // Type 0's name stays as Ctyp.ini has always stored it; the list shows it in the user's language.
        const std::string shown
            = entry.typeId == 0 ? std::string(common::str(StringId::ManualDataComputer)) : entry.name;
        return shown + common::cformat(" [%d]", entry.typeId);
    }

} // namespace

ComputerCatalogue ComputerCatalogue::withBuiltInTypes()
{
    ComputerCatalogue catalogue;
    for (const BuiltIn &b : kBuiltIns) {
        ComputerType entry;
        entry.typeId = b.typeId;
        entry.name = b.name;
        entry.gas = b.gas;
        entry.airIntegrated = b.airIntegrated;
        entry.imported = b.imported;
        entry.builtIn = true;
        catalogue.add(entry, SortNow::No);
    }
    catalogue.sort();
    return catalogue;
}

int ComputerCatalogue::indexOf(std::uint8_t typeId) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].typeId == typeId)
            return static_cast<int>(i);
    return -1;
}

void ComputerCatalogue::add(const ComputerType &entry, SortNow sortNow)
{
    if (const int i = indexOf(entry.typeId); i >= 0) {
        ComputerType &existing = m_entries[static_cast<std::size_t>(i)];
        existing.name = limitName(entry.name);
        existing.gas = entry.gas;
        existing.airIntegrated = entry.airIntegrated;
        existing.imported = entry.imported;
    } else {
        ComputerType added = entry;
        added.name = limitName(entry.name);
        m_entries.push_back(std::move(added));
    }
    if (sortNow == SortNow::Yes)
        sort();
}

void ComputerCatalogue::clear()
{
    m_entries.clear();
}

void ComputerCatalogue::sort()
{
    // Names compare in the character set they were always stored in, so the
    // lists keep the order users know; std::string compares bytes unsigned.
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const ComputerType &entry : m_entries)
        keys.push_back(common::utf8ToCp1252(entry.name));
    std::vector<std::size_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

    std::vector<ComputerType> sorted;
    sorted.reserve(m_entries.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(m_entries[i]));
    m_entries = std::move(sorted);

    int importCount = 0;
    int airCount = 0;
    for (ComputerType &entry : m_entries) {
        entry.importOrdinal = entry.imported ? importCount++ : -1;
        entry.airOrdinal = entry.gas == Gas::Air ? airCount++ : -1;
    }
}

ComputerType ComputerCatalogue::entryAt(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_entries[static_cast<std::size_t>(index)];
}

std::uint8_t ComputerCatalogue::typeIdAt(int index) const
{
    return entryAt(index).typeId;
}

bool ComputerCatalogue::contains(std::uint8_t typeId) const
{
    return indexOf(typeId) >= 0;
}

std::string ComputerCatalogue::name(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i < 0 ? std::string() : m_entries[static_cast<std::size_t>(i)].name;
}

bool ComputerCatalogue::airIntegrated(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i >= 0 && m_entries[static_cast<std::size_t>(i)].airIntegrated;
}

bool ComputerCatalogue::isNitrox(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i >= 0 && m_entries[static_cast<std::size_t>(i)].gas == Gas::Nitrox
        && !m_entries[static_cast<std::size_t>(i)].imported;
}

bool ComputerCatalogue::isO2(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i >= 0 && m_entries[static_cast<std::size_t>(i)].gas == Gas::Oxygen
        && !m_entries[static_cast<std::size_t>(i)].imported;
}

bool ComputerCatalogue::isImport(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i >= 0 && m_entries[static_cast<std::size_t>(i)].imported;
}

bool ComputerCatalogue::isAir(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i >= 0 && m_entries[static_cast<std::size_t>(i)].gas == Gas::Air;
}

int ComputerCatalogue::importOrdinal(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i < 0 ? -1 : m_entries[static_cast<std::size_t>(i)].importOrdinal;
}

std::uint8_t ComputerCatalogue::typeIdOfImportOrdinal(int ordinal) const
{
    for (const ComputerType &entry : m_entries)
        if (ordinal >= 0 && entry.importOrdinal == ordinal)
            return entry.typeId;
    return 0;
}

std::optional<std::string> ComputerCatalogue::importNameAt(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    const ComputerType &entry = m_entries[static_cast<std::size_t>(index)];
    if (!entry.imported || entry.importOrdinal < 0)
        return std::nullopt;
    return entry.name;
}

int ComputerCatalogue::airOrdinal(std::uint8_t typeId) const
{
    const int i = indexOf(typeId);
    return i < 0 ? -1 : m_entries[static_cast<std::size_t>(i)].airOrdinal;
}

std::uint8_t ComputerCatalogue::typeIdOfAirOrdinal(int ordinal) const
{
    for (const ComputerType &entry : m_entries)
        if (ordinal >= 0 && entry.airOrdinal == ordinal)
            return entry.typeId;
    return 0;
}

std::optional<std::string> ComputerCatalogue::airNameAt(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    const ComputerType &entry = m_entries[static_cast<std::size_t>(index)];
    if (entry.gas != Gas::Air || entry.airOrdinal < 0)
        return std::nullopt;
    return entry.name;
}

std::vector<std::string> ComputerCatalogue::importPickList() const
{
    std::vector<std::string> rows;
    for (const ComputerType &entry : m_entries)
        if (entry.imported && entry.importOrdinal >= 0)
            rows.push_back(pickRow(entry));
    return rows;
}

std::vector<std::string> ComputerCatalogue::airPickList() const
{
    std::vector<std::string> rows;
    for (const ComputerType &entry : m_entries)
        if (entry.gas == Gas::Air && entry.airOrdinal >= 0)
            rows.push_back(pickRow(entry));
    return rows;
}

bool ComputerCatalogue::isBuiltInSerialId(int typeId)
{
    return std::find(kBuiltInSerialIds.begin(), kBuiltInSerialIds.end(), typeId) != kBuiltInSerialIds.end();
}

std::string ComputerCatalogue::displayName(std::uint8_t typeId) const
{
    std::string shown = name(typeId);
    if (typeId == 0)
        shown = common::str(StringId::ManualDataComputer);
    if (shown.empty())
        shown = common::cformat(common::tr("Type %d"), typeId);
    if (m_overrides)
        shown = settings::computerTypeName(*m_overrides, typeId, shown);
    return shown;
}

void ComputerCatalogue::load(const settings::IniFile &ctyp)
{
    for (int id = 0; id <= 255; ++id) {
        const std::string section = std::to_string(id);
        ComputerType entry;
        entry.name = ctyp.readString(section, "Name");
        if (entry.name.empty())
            continue;
        entry.typeId = static_cast<std::uint8_t>(id);
        entry.gas = static_cast<Gas>(ctyp.readInt(section, "Gas", 0));
        entry.airIntegrated = ctyp.readInt(section, "Pressure", 0) != 0;
        entry.imported = ctyp.readInt(section, "Import", 0) != 0;
        add(entry, SortNow::No);
    }
    sort();
}

common::Result ComputerCatalogue::save(settings::IniFile &ctyp) const
{
    ctyp.clear();
    for (const ComputerType &entry : m_entries) {
        const std::string section = std::to_string(entry.typeId);
        ctyp.writeString(section, "Name", entry.name);
        ctyp.writeInt(section, "Gas", static_cast<int>(entry.gas));
        ctyp.writeInt(section, "Pressure", entry.airIntegrated ? 1 : 0);
        ctyp.writeInt(section, "Import", entry.imported ? 1 : 0);
    }
    return ctyp.save();
}

} // namespace zorv::computers
