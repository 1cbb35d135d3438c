#include "transfer/computertypeform.h"

#include "common/cformat.h"
#include "common/strings.h"

#include <charconv>

namespace zorv::transfer {

using common::StringId;

namespace {

    constexpr std::array<int, kComputerTypeColumnCount> kDefaultWidths = { 218, 57, 57, 76, 50 };
    constexpr int kNarrowestKeptWidth = 10;

    std::string yesNo(bool value)
    {
        return std::string(common::str(value ? StringId::Yes : StringId::No));
    }

    std::string gasText(computers::Gas gas)
    {
        switch (gas) {
        case computers::Gas::Nitrox:
            return std::string(common::str(StringId::GasNitrox));
        case computers::Gas::Oxygen:
            return std::string(common::str(StringId::GasOxygen));
        case computers::Gas::Air:
            break;
        }
        return std::string(common::str(StringId::GasAir));
    }

    // The fields the user can see and change; ordinals are the catalogue's business.
    bool sameContent(const computers::ComputerType &a, const computers::ComputerType &b)
    {
        return a.typeId == b.typeId && a.name == b.name && a.gas == b.gas && a.airIntegrated == b.airIntegrated
            && a.imported == b.imported;
    }

} // namespace

std::array<std::string, kComputerTypeColumnCount> computerTypeColumnTitles()
{
    return { std::string(common::str(StringId::ColumnName)), std::string(common::str(StringId::ComputerBrand)),
        std::string(common::str(StringId::ComputerGas)), std::string(common::str(StringId::ComputerAirIntegrated)),
        std::string(common::str(StringId::ComputerImport)) };
}

int computerTypeColumnWidth(int column, int savedWidth)
{
    if (column < 0 || column >= kComputerTypeColumnCount)
        return 0;
    return savedWidth > kNarrowestKeptWidth ? savedWidth : kDefaultWidths[static_cast<std::size_t>(column)];
}

bool computerTypeColumnRightAligned(int column)
{
    return column == 1;
}

std::array<std::string, kComputerTypeColumnCount> computerTypeRow(const computers::ComputerType &entry)
{
    return { entry.name, common::cformat("%d", entry.typeId), gasText(entry.gas), yesNo(entry.airIntegrated),
        yesNo(entry.imported) };
}

ComputerTypeList::ComputerTypeList(const computers::ComputerCatalogue &catalogue)
    : m_entries(catalogue.entries())
    , m_selection(m_entries.empty() ? -1 : 0)
{
}

void ComputerTypeList::select(int index)
{
    m_selection = index >= 0 && index < count() ? index : -1;
}

bool ComputerTypeList::canEdit() const
{
    return m_selection >= 0 && editableRow(m_entries[static_cast<std::size_t>(m_selection)]);
}

bool ComputerTypeList::canDelete() const
{
    return m_selection >= 0 && deletableRow(m_entries[static_cast<std::size_t>(m_selection)]);
}

bool ComputerTypeList::removeSelected()
{
    if (!canDelete())
        return false;
    m_entries.erase(m_entries.begin() + m_selection);
    if (m_selection >= count())
        m_selection = count() - 1;
    m_modified = true;
    return true;
}

bool ComputerTypeList::applyEdit(const computers::ComputerType &edited)
{
    if (!canEdit())
        return false;
    computers::ComputerType &entry = m_entries[static_cast<std::size_t>(m_selection)];
    computers::ComputerType next = edited;
    next.builtIn = entry.builtIn;
    next.importOrdinal = entry.importOrdinal;
    next.airOrdinal = entry.airOrdinal;
    if (entry.builtIn) {
        // Decoding relies on what a built-in type is; only its name is the user's.
        next.typeId = entry.typeId;
        next.gas = entry.gas;
        next.airIntegrated = entry.airIntegrated;
        next.imported = entry.imported;
    } else if (next.typeId != entry.typeId && computers::ComputerCatalogue::isBuiltInSerialId(next.typeId)) {
        next.typeId = entry.typeId;
    }
    if (sameContent(next, entry))
        return false;

    const int other = indexOf(next.typeId, m_selection);
    if (other < 0) {
        entry = next;
    } else {
        computers::ComputerType &target = m_entries[static_cast<std::size_t>(other)];
        target.name = next.name;
        target.gas = next.gas;
        target.airIntegrated = next.airIntegrated;
        target.imported = next.imported;
        m_entries.erase(m_entries.begin() + m_selection);
        m_selection = other < m_selection ? other : other - 1;
    }
    m_modified = true;
    return true;
}

bool ComputerTypeList::addNew(const computers::ComputerType &entry)
{
    if (computers::ComputerCatalogue::isBuiltInSerialId(entry.typeId))
        return false;
    const int existing = indexOf(entry.typeId, -1);
    if (existing >= 0) {
        computers::ComputerType &target = m_entries[static_cast<std::size_t>(existing)];
        target.name = entry.name;
        target.gas = entry.gas;
        target.airIntegrated = entry.airIntegrated;
        target.imported = entry.imported;
        m_selection = existing;
    } else {
        computers::ComputerType added = entry;
        added.builtIn = false;
        added.importOrdinal = -1;
        added.airOrdinal = -1;
        m_entries.push_back(added);
        m_selection = count() - 1;
    }
    m_modified = true;
    return true;
}

void ComputerTypeList::commit(computers::ComputerCatalogue &catalogue) const
{
    if (!m_modified)
        return;
    catalogue.clear();
    for (const computers::ComputerType &entry : m_entries)
        catalogue.add(entry, computers::SortNow::No);
    catalogue.sort();
}

int ComputerTypeList::indexOf(std::uint8_t typeId, int except) const
{
    for (int i = 0; i < count(); ++i)
        if (i != except && m_entries[static_cast<std::size_t>(i)].typeId == typeId)
            return i;
    return -1;
}

ComputerTypeForm::ComputerTypeForm(const computers::ComputerType &entry)
    : name(entry.name)
    , gas(entry.gas)
    , airIntegrated(entry.airIntegrated)
    , imported(entry.imported)
    , m_original(entry)
    , m_typeId(entry.typeId)
{
}

bool ComputerTypeForm::importEditable() const
{
    return !m_original.builtIn && m_typeId >= 177 && m_typeId <= 179;
}

void ComputerTypeForm::setTypeIdText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc {} || end != text.data() + text.size() || value < 1 || value > 255) {
        m_typeId = m_original.typeId;
        return;
    }
    m_typeId = value;
}

computers::ComputerType ComputerTypeForm::result() const
{
    computers::ComputerType entry = m_original;
    entry.name = name;
    if (typeIdEditable())
        entry.typeId = static_cast<std::uint8_t>(m_typeId);
    if (flagsEditable()) {
        entry.gas = gas;
        entry.airIntegrated = airIntegrated;
    }
    if (importEditable())
        entry.imported = imported;
    return entry;
}

} // namespace zorv::transfer
