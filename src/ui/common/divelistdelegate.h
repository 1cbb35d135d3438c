// How the dive lists of the main window and the profile window draw a line: aligned columns, the profile mark coloured.
#pragma once

#include <QStyledItemDelegate>

namespace zorv::ui {

// The profile kind of a row (0 none, 1 computer, 2 hand-drawn), for the delegate's colours.
inline constexpr int kProfileKindRole = Qt::UserRole + 1;

// Draws the tab-separated line in aligned columns: kind, number, date, place and site.
class DiveListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace zorv::ui
