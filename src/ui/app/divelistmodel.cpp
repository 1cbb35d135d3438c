#include "ui/app/divelistmodel.h"

#include "logbook/divepage.h"
#include "logbook/logbook.h"
#include "ui/common/divelistdelegate.h"
#include "ui/common/qtext.h"

namespace zorv::ui {

DiveListModel::DiveListModel(const logbook::Logbook &logbook, QObject *parent)
    : QAbstractListModel(parent)
    , m_logbook(logbook)
    , m_rows(logbook.diveCount())
{
}

int DiveListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant DiveListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const int position = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return toQt(logbook::diveListLine(m_logbook, position));
    case kProfileKindRole:
        if (const logbook::DiveRecord *dive = m_logbook.dive(position))
            return static_cast<int>(logbook::profileKind(*dive));
        return 0;
    default:
        return {};
    }
}

void DiveListModel::reload()
{
    beginResetModel();
    m_rows = m_logbook.diveCount();
    endResetModel();
}

void DiveListModel::diveChanged(int position)
{
    if (position < 1 || position > m_rows)
        return;
    const QModelIndex changed = index(position - 1);
    emit dataChanged(changed, changed);
}

} // namespace zorv::ui
