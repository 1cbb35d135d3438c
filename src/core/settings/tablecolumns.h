// The columns of the table view of the logbook: titles, built-in widths, alignment and cell texts.
#pragma once

#include "common/stringid.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "settings/settings.h"

#include <array>
#include <string>

namespace zorv::settings {

enum class ColumnAlignment {
    Left,
    Right,
};

struct TableColumn {
    common::StringId titleId; // the header text
    int builtInWidth; // pixels, used while no width is stored
    ColumnAlignment alignment;
    // The widest text of a fixed-form column; empty for free text. The built-in
    // widths were measured for a smaller font than today's, so a view widens a
    // column that would cut such a text.
    const char *widestText;
};

inline constexpr int kTableColumnCount = 11;

const std::array<TableColumn, kTableColumnCount> &tableColumns();

// The stored width of a column when it is a usable one (8 to 500): the user
// chose it. Else the built-in width, widened to `neededWidth` (what the view
// measured for the title and the widest text in its font).
int tableColumnWidth(const Settings &settings, int column, int neededWidth = 0);

// The text of one cell, in the catalogue's unit system; UTF-8. Column 0 is the
// dive number and the profile marker ("00042 P"). Empty for an invalid position or column.
std::string tableCellText(
    const logbook::Logbook &logbook, const logbook::FieldCatalogue &catalogue, int position, int column);

} // namespace zorv::settings
