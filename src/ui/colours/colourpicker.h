// The colour picker every chart colour is chosen with.
#pragma once

#include "canvas/canvas.h"

#include <QColorDialog>

namespace zorv::ui {

// The toolkit's own dialog rather than the desktop's, so it looks and behaves
// the same everywhere and stays inside the program's modal flow.
class CGetColor : public QColorDialog {
    Q_OBJECT
public:
    explicit CGetColor(canvas::Rgb initial, QWidget *parent = nullptr);

    canvas::Rgb selectedRgb() const;

    // Replaces `colour` after OK; cancelling keeps it. True when it was replaced.
    static bool pick(canvas::Rgb &colour, QWidget *parent);
};

QColor toQColor(canvas::Rgb colour);
canvas::Rgb fromQColor(const QColor &colour);

} // namespace zorv::ui
