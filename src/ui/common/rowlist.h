// The plain list of rows under column titles that the program's list windows show.
#pragma once

#include <QString>
#include <span>
#include <string>

class QTreeWidget;
class QWidget;

namespace zorv::ui {

// No tree decoration, rows of one height, the whole row marked; the titles come from core.
QTreeWidget *rowList(const QString &objectName, std::span<const std::string> titles, QWidget *parent);

} // namespace zorv::ui
