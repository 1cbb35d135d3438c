// The dive list of the main window: one line per dive, formatted only when the view asks for it.
#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace zorv::logbook {
class Logbook;
} // namespace zorv::logbook

namespace zorv::ui {

class DiveListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The profile kind of a row (0 none, 1 computer, 2 hand-drawn), for the delegate's colours.
    static constexpr int ProfileKindRole = Qt::UserRole + 1;

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

// Draws the tab-separated line in aligned columns: kind, number, date, place and site.
class DiveListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace zorv::ui
