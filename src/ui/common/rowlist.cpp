#include "ui/common/rowlist.h"

#include "ui/common/qtext.h"

#include <QStringList>
#include <QTreeWidget>

namespace zorv::ui {

QTreeWidget *rowList(const QString &objectName, std::span<const std::string> titles, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    QStringList headers;
    for (const std::string &title : titles)
        headers << toQt(title);
    list->setHeaderLabels(headers);
    return list;
}

} // namespace zorv::ui
