#include "ui/colours/colourpicker.h"

namespace zorv::ui {

QColor toQColor(canvas::Rgb colour)
{
    return QColor(canvas::redOf(colour), canvas::greenOf(colour), canvas::blueOf(colour));
}

canvas::Rgb fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return canvas::rgb(rgb.red(), rgb.green(), rgb.blue());
}

ColourPicker::ColourPicker(canvas::Rgb initial, QWidget *parent)
    : QColorDialog(toQColor(initial), parent)
{
    setOption(QColorDialog::DontUseNativeDialog);
}

canvas::Rgb ColourPicker::selectedRgb() const
{
    return fromQColor(currentColor());
}

std::optional<canvas::Rgb> ColourPicker::pick(canvas::Rgb initial, QWidget *parent)
{
    ColourPicker dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedRgb();
}

} // namespace zorv::ui
