// A register printed as a list: title, column heads, one line per record, totals, page numbers; drawn in 0.1 mm.
#pragma once

#include "canvas/canvas.h"

#include <string>
#include <vector>

namespace zorv::registers {

struct PrintColumn {
    std::string title;
    int width = 0; // 0.1 mm
    canvas::HAlign align = canvas::HAlign::Left;
};

// Texts are UTF-8. Summary lines follow the last row, after a blank line.
struct ListPrintout {
    std::string title;
    std::vector<PrintColumn> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> summary;
};

// An A4 portrait sheet in units of 0.1 mm.
struct PageLayout {
    int width = 2100;
    int height = 2970;
    int margin = 150;
    int rowHeight = 50;
};

int listPageCount(const ListPrintout &list, const PageLayout &layout = {});
// Page numbers count from 1. The canvas must be set up so that one unit is 0.1 mm.
void drawListPage(canvas::Canvas &canvas, const ListPrintout &list, int page, const PageLayout &layout = {});

} // namespace zorv::registers
