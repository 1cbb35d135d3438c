// The dive list of the main window: one line per dive, formatted only when the view asks for it.
#pragma once

#include <QAbstractListModel>

namespace zorv::logbook {
class Logbook;
} // namespace zorv::logbook

namespace zorv::ui {

// Rows answer kProfileKindRole as well as their text.
class DiveListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit DiveListModel(const logbook::Logbook &logbook, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // After dives were added, removed or moved: the row count follows the logbook again.
    void reload();
    // One dive was replaced in place.
    void diveChanged(int position);

private:
    const logbook::Logbook &m_logbook;
    // Kept apart from the logbook so that the view never sees a count that
    // changed without a reset.
    int m_rows = 0;
};

} // namespace zorv::ui
