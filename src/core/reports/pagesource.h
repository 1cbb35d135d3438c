// What every printing of the program hands to the printer: pages drawn one after the other on a Canvas.
#pragma once

#include "canvas/canvas.h"

namespace zorv::reports {

// The printable area of a sheet, in millimetres.
struct PageSizeMm {
    double width = 210.0;
    double height = 297.0;
};

// The logbook, the statistics, the planner and the registers each print through one of these, so the
// print dialog, the preview, PDF and the command line all draw the same pages.
class PageSource {
public:
    virtual ~PageSource() = default;
    // Draws the next page with its origin at the printable area's top left; returns whether more follow.
    virtual bool printPage(canvas::Canvas &canvas, PageSizeMm page) = 0;
};

} // namespace zorv::reports
