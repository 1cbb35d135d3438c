#include "ui/common/valuefield.h"

#include <QLabel>

namespace zorv::ui {

QLabel *newValueField(const QWidget *sizing)
{
    auto *value = new QLabel;
    value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value->setAutoFillBackground(true);
    value->setBackgroundRole(QPalette::Base);
    value->setForegroundRole(QPalette::Text);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setTextFormat(Qt::PlainText);
    value->setContentsMargins(3, 1, 3, 1);
    value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    value->setMinimumWidth(sizing->fontMetrics().horizontalAdvance(QStringLiteral("Ma, 18.Fev.2020")) + 8);
    return value;
}

} // namespace zorv::ui
