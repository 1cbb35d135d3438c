// Icons of the tool bar and the program: the desktop theme's where it has one, our own drawings otherwise.
#pragma once

#include "app/commandstate.h"

#include <QIcon>

class QPainter;

namespace zorv::ui {

QIcon commandIcon(app::Command command);

// The program's own mark: a dive flag over a wave.
QIcon programIcon();
void paintProgramMark(QPainter &painter, const QRectF &area);

} // namespace zorv::ui
