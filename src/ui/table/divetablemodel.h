// The logbook as a table model: one row per dive, the eleven columns of the table view.
#pragma once

#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"

#include <QAbstractTableModel>

namespace zorv::ui {

// Texts are formatted when the view asks for them, so that a logbook of
// thousands of dives opens at once. The logbook must not change while the
// model is shown: the table view is modal.
class DiveTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DiveTableModel(const logbook::Logbook &logbook, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const logbook::Logbook &m_logbook;
    logbook::FieldCatalogue m_catalogue; // follows the logbook's units at each call
};

} // namespace zorv::ui
