// The canvas colour as Qt's QColor and back.
#pragma once

#include "canvas/canvas.h"

#include <QColor>

namespace zorv::qtglue {

QColor toQColor(canvas::Rgb colour);
// A colour in any model (HSV, CMYK, ...) is taken as its red, green and blue; alpha is dropped.
canvas::Rgb fromQColor(const QColor &colour);

} // namespace zorv::qtglue
