#include "settings/tablecolumns.h"

#include "common/cformat.h"

#include <algorithm>

namespace zorv::settings {

using common::StringId;

namespace {

    using logbook::DateForm;
    using logbook::Field;

    constexpr std::array<TableColumn, kTableColumnCount> kColumns { {
        { StringId::ColumnNumber, 60, ColumnAlignment::Left, "00000 P" }, // number and profile marker
        { StringId::ColumnDate, 55, ColumnAlignment::Left, "00.00.00" }, // date
        { StringId::ColumnTime, 40, ColumnAlignment::Left, "00:00" }, // entry time
        { StringId::ColumnPlace, 115, ColumnAlignment::Left, "" }, // place
        { StringId::ColumnSite, 110, ColumnAlignment::Left, "" }, // site
        { StringId::ColumnDuration, 40, ColumnAlignment::Left, "00:00" }, // duration
        { StringId::ColumnDepth, 35, ColumnAlignment::Right, "000.0" }, // maximum depth
        { StringId::ColumnType, 120, ColumnAlignment::Left, "" }, // dive type
        { StringId::ListColumnActivity, 120, ColumnAlignment::Left, "" }, // activities
        { StringId::ListColumnPartner, 140, ColumnAlignment::Left, "" }, // partners
        { StringId::ColumnMeanConsumption, 40, ColumnAlignment::Left, "00.00" }, // air consumption
    } };

    // The fields of columns 1 to 10.
    constexpr std::array<Field, kTableColumnCount - 1> kColumnFields {
        Field::Date,
        Field::EntryTime,
        Field::Place,
        Field::Site,
        Field::Duration,
        Field::MaxDepth,
        Field::DiveTypeText,
        Field::ActivitiesText,
        Field::Partners,
        Field::AirConsumption,
    };

    char profileMarker(const logbook::DiveRecord &dive)
    {
        switch (logbook::profileKind(dive)) {
        case logbook::ProfileKind::Computer:
            return 'P';
        case logbook::ProfileKind::HandDrawn:
            return 'H';
        case logbook::ProfileKind::None:
            break;
        }
        return ' ';
    }

} // namespace

const std::array<TableColumn, kTableColumnCount> &tableColumns()
{
    return kColumns;
}

int tableColumnWidth(const Settings &settings, int column, int neededWidth)
{
    if (column < 0 || column >= kTableColumnCount)
        return 0;
    const int stored = settings.columnWidth(ColumnList::Table, column);
    // Widths are only checked when read from the file; one set while running may still be out of range.
    if (stored >= 8 && stored <= 500)
        return stored;
    return std::max(kColumns[static_cast<std::size_t>(column)].builtInWidth, neededWidth);
}

std::string tableCellText(
    const logbook::Logbook &logbook, const logbook::FieldCatalogue &catalogue, int position, int column)
{
    // The table asks for the visible cells only, so the record is read in place, not copied.
    const logbook::DiveRecord *dive = logbook.dive(position);
    if (!dive || column < 0 || column >= kTableColumnCount)
        return {};
    if (column == 0)
        return common::cformat("%05d %c", dive->diveNumber, profileMarker(*dive));
    return catalogue.fromRecord(kColumnFields[static_cast<std::size_t>(column - 1)], *dive, DateForm::Short);
}

} // namespace zorv::settings
