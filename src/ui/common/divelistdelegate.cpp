#include "ui/common/divelistdelegate.h"

#include <QApplication>
#include <QPainter>

namespace zorv::ui {

void DiveListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString line = opt.text;
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QStringList parts = line.split(QLatin1Char('\t'));
    const QFontMetrics metrics(opt.font);
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    const int kindWidth = metrics.horizontalAdvance(QLatin1Char('H')) + gap;
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("00000")) + gap;
    const int dateWidth = metrics.horizontalAdvance(QStringLiteral("00.00.00")) + gap;
    const int widths[] = { kindWidth, numberWidth, dateWidth, opt.rect.width() };

    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(opt.font);
    QRect cell = opt.rect.adjusted(4, 0, 0, 0);
    for (int i = 0; i < parts.size() && i < 4; ++i) {
        QColor colour = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        if (i == 0 && !selected) {
            const int kind = index.data(kProfileKindRole).toInt();
            colour = kind == 2 ? QColor(128, 0, 64) : QColor(0, 100, 0);
        }
        painter->setPen(colour);
        const int width = i == 3 ? cell.width() : widths[i];
        const QRect textRect(cell.left(), cell.top(), width, cell.height());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(parts[i].trimmed(), Qt::ElideRight, width - (i == 3 ? 4 : 0)));
        cell.setLeft(cell.left() + width);
    }
    painter->restore();
}

QSize DiveListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return { metrics.horizontalAdvance(QStringLiteral("H 00000 00.00.00 Lieu, site du plongée")),
        metrics.height() + 4 };
}

} // namespace zorv::ui
