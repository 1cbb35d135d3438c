// The colour picker every chart colour is chosen with.
#pragma once

#include "canvas/canvas.h"

#include <QColorDialog>
#include <optional>

namespace zorv::ui {

// The toolkit's own dialog rather than the desktop's, so it looks and behaves
// the same everywhere and stays inside the program's modal flow.
class ColourPicker : public QColorDialog {
    Q_OBJECT
public:
    explicit ColourPicker(canvas::Rgb initial, QWidget *parent = nullptr);

    canvas::Rgb selectedRgb() const;

    // The colour chosen with OK; nothing when the user cancels.
    static std::optional<canvas::Rgb> pick(canvas::Rgb initial, QWidget *parent);
};

} // namespace zorv::ui
