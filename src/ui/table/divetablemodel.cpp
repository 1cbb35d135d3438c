#include "ui/table/divetablemodel.h"

#include "settings/tablecolumns.h"
#include "ui/common/qtext.h"

namespace zorv::ui {

namespace {

    QVariant alignment(int column)
    {
        const bool right
            = settings::tableColumns()[static_cast<std::size_t>(column)].alignment == settings::ColumnAlignment::Right;
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }

} // namespace

DiveTableModel::DiveTableModel(const logbook::Logbook &logbook, QObject *parent)
    : QAbstractTableModel(parent)
    , m_logbook(logbook)
    , m_catalogue(logbook)
{
}

int DiveTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_logbook.diveCount();
}

int DiveTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : settings::kTableColumnCount;
}

QVariant DiveTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toQt(settings::tableCellText(m_logbook, m_catalogue, index.row() + 1, index.column()));
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    default:
        return {};
    }
}

QVariant DiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= settings::kTableColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return qstr(settings::tableColumns()[static_cast<std::size_t>(section)].titleId);
    case Qt::TextAlignmentRole:
        return alignment(section);
    default:
        return {};
    }
}

} // namespace zorv::ui
