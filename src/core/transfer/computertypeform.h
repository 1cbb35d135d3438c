// The rules of the computer-type windows: the user's list of types with its working copy, and the form of one type.
#pragma once

#include "computers/computercatalogue.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::transfer {

inline constexpr int kComputerTypeColumnCount = 5;
// "Nom", "Marque", "Gaz", "Gestion d'air", "Import".
std::array<std::string, kComputerTypeColumnCount> computerTypeColumnTitles();
// A kept width only counts when it is wider than a sliver; else the column's own width.
int computerTypeColumnWidth(int column, int savedWidth);
// Only the id column is right-aligned.
bool computerTypeColumnRightAligned(int column);
// The row of the list: name, id, gas, air integration, import, as shown.
std::array<std::string, kComputerTypeColumnCount> computerTypeRow(const computers::ComputerType &entry);

/*
 * The list dialog works on a copy of the catalogue and hands it back only when
 * confirmed. The copy keeps the catalogue's one-entry-per-id rule at every step
 * instead of only at the merge: a new type or an edited id that names a type
 * already listed updates that type, as the merge would have, so the list never
 * shows two rows that would become one.
 */
class ComputerTypeList {
public:
    explicit ComputerTypeList(const computers::ComputerCatalogue &catalogue);

    const std::vector<computers::ComputerType> &entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    bool modified() const { return m_modified; }

    // -1 when no row is selected.
    int selection() const { return m_selection; }
    void select(int index);

    bool canEdit() const;
    bool canDelete() const;
    // The pop-up menu greys per row, whatever the selection.
    static bool editableRow(const computers::ComputerType &entry) { return entry.typeId != 0; }
    static bool deletableRow(const computers::ComputerType &entry) { return !entry.builtIn; }

    // Removes the selected row; the selection stays on a row while there is one.
    bool removeSelected();
    // Stores the form's result for the selected row. False when nothing differs.
    bool applyEdit(const computers::ComputerType &edited);
    // False for an id that only a built-in serial computer may carry.
    bool addNew(const computers::ComputerType &entry);

    // Replaces the catalogue with the copy, when anything changed.
    void commit(computers::ComputerCatalogue &catalogue) const;

private:
    int indexOf(std::uint8_t typeId, int except) const;

    std::vector<computers::ComputerType> m_entries;
    int m_selection = -1;
    bool m_modified = false;
};

// The form "Données description ordinateur" over one entry.
class ComputerTypeForm {
public:
    explicit ComputerTypeForm(const computers::ComputerType &entry);

    // A built-in type only lets its name be changed.
    bool typeIdEditable() const { return !m_original.builtIn; }
    bool flagsEditable() const { return !m_original.builtIn; }
    // Import is a property of the ids the file imports give their dives.
    bool importEditable() const;

    // Text typed into the id field; anything but a number in 1..255 leaves the previous id.
    void setTypeIdText(std::string_view text);
    int typeId() const { return m_typeId; }

    std::string name;
    computers::Gas gas = computers::Gas::Air;
    bool airIntegrated = false;
    bool imported = false;

    // The entry as the form leaves it. Fields whose controls are disabled keep
    // the entry's values, so a choice made while a field was open and then
    // closed again does not slip through.
    computers::ComputerType result() const;

private:
    computers::ComputerType m_original;
    int m_typeId = 0;
};

} // namespace zorv::transfer
