#include "ui/colours/colourpicker.h"

#include "qtglue/qcolour.h"
#include "ui/common/prompter.h"

namespace zorv::ui {

ColourPicker::ColourPicker(canvas::Rgb initial, QWidget *parent)
    : QColorDialog(qtglue::toQColor(initial), parent)
{
    setOption(QColorDialog::DontUseNativeDialog);
}

canvas::Rgb ColourPicker::selectedRgb() const
{
    return qtglue::fromQColor(currentColor());
}

std::optional<canvas::Rgb> ColourPicker::pick(canvas::Rgb initial, QWidget *parent)
{
    ColourPicker dialog(initial, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedRgb();
}

} // namespace zorv::ui
