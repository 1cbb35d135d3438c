#include "ui/colours/cgetcolor.h"

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

CGetColor::CGetColor(canvas::Rgb initial, QWidget *parent)
    : QColorDialog(toQColor(initial), parent)
{
    setOption(QColorDialog::DontUseNativeDialog);
}

canvas::Rgb CGetColor::selectedRgb() const
{
    return fromQColor(currentColor());
}

bool CGetColor::pick(canvas::Rgb &colour, QWidget *parent)
{
    CGetColor dialog(colour, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    colour = dialog.selectedRgb();
    return true;
}

} // namespace zorv::ui
