// The header and footer of every printed page, and the millimetre arithmetic of printed layouts.
#pragma once

#include "canvas/canvas.h"

#include <string_view>

namespace zorv::reports {

// Printed layouts are given in millimetres from the printable area's left and
// top edges; the canvas works in device pixels at its dpi.
int mmToDevice(const canvas::Canvas &canvas, double mm);
double deviceToMm(const canvas::Canvas &canvas, int pixels);
// The height of one line of the current font, in millimetres.
double lineHeightMm(const canvas::Canvas &canvas);

// Draws the centred title (22 pt) and up to two more lines (14 pt; empty ones
// are left out) and a rule across the page; returns where the content begins,
// in millimetres from the top. The caller selects its own font afterwards.
double printHeader(canvas::Canvas &canvas, double pageWidthMm, double pageHeightMm, std::string_view title,
    std::string_view line2, std::string_view line3);

// Where printHeader would let the content begin, measured without drawing.
double headerBottomMm(canvas::Canvas &canvas, std::string_view line2, std::string_view line3);

// Draws a rule and "<file.log> Imprimé le dd.mm.yyyy" at the bottom of the
// page, with today's date from the program's clock; without a logbook path the
// angle-bracketed name is left out.
void printFooter(canvas::Canvas &canvas, double pageWidthMm, double pageHeightMm, std::string_view logbookPath);
// Where the footer's rule lies, in millimetres from the top: content must stay above it.
double footerTopMm(canvas::Canvas &canvas, double pageHeightMm);

} // namespace zorv::reports
