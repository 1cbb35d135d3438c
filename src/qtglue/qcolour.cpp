#include "qtglue/qcolour.h"

namespace zorv::qtglue {

QColor toQColor(canvas::Rgb colour)
{
    return QColor(canvas::redOf(colour), canvas::greenOf(colour), canvas::blueOf(colour));
}

canvas::Rgb fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return canvas::rgb(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace zorv::qtglue
