#include "registers/listprintout.h"

#include "common/cformat.h"
#include "common/translation.h"

#include <algorithm>

namespace zorv::registers {

namespace {

    // Heights of the blocks above and below the rows, in 0.1 mm.
    constexpr int kTitleBlock = 120;
    constexpr int kHeadBlock = 70;
    constexpr int kFootBlock = 80;
    constexpr int kCellPadding = 10;

    // Text heights in 0.1 mm: 14 pt for the title, 10 pt for the lines (1 pt = 3.53 units).
    canvas::Font font(int height, int weight)
    {
        canvas::Font f;
        f.family = "Arial";
        f.pixelHeight = height;
        f.weight = weight;
        return f;
    }

    int linesPerPage(const PageLayout &layout)
    {
        const int room = layout.height - 2 * layout.margin - kTitleBlock - kHeadBlock - kFootBlock;
        return std::max(1, room / std::max(1, layout.rowHeight));
    }

    int totalLines(const ListPrintout &list)
    {
        const int rows = static_cast<int>(list.rows.size());
        return list.summary.empty() ? rows : rows + 1 + static_cast<int>(list.summary.size());
    }

} // namespace

int listPageCount(const ListPrintout &list, const PageLayout &layout)
{
    const int per = linesPerPage(layout);
    return std::max(1, (totalLines(list) + per - 1) / per);
}

void drawListPage(canvas::Canvas &c, const ListPrintout &list, int page, const PageLayout &layout)
{
    using canvas::HAlign;
    using canvas::Rect;
    using canvas::VAlign;
    const int pages = listPageCount(list, layout);
    if (page < 1 || page > pages)
        return;
    const int left = layout.margin;
    const int right = layout.width - layout.margin;
    int y = layout.margin;

    c.setTextColour(canvas::rgb(0, 0, 0));
    c.setPen({ canvas::rgb(0, 0, 0), 3, canvas::PenStyle::Solid });
    c.setFont(font(50, 700));
    c.drawText(Rect { left, y, right, y + 70 }, list.title, HAlign::Left, VAlign::Centre);
    y += kTitleBlock;

    c.setFont(font(35, 700));
    int x = left;
    for (const PrintColumn &column : list.columns) {
        const int end = std::min(right, x + column.width);
        c.drawText(Rect { x + kCellPadding, y, end - kCellPadding, y + kHeadBlock - 15 }, column.title, column.align,
            VAlign::Centre);
        x = end;
    }
    c.drawLine({ left, y + kHeadBlock - 10 }, { right, y + kHeadBlock - 10 });
    y += kHeadBlock;

    c.setFont(font(35, 400));
    const int per = linesPerPage(layout);
    const int first = (page - 1) * per;
    const int last = std::min(totalLines(list), first + per);
    const int rowCount = static_cast<int>(list.rows.size());
    for (int line = first; line < last; ++line, y += layout.rowHeight) {
        if (line < rowCount) {
            const std::vector<std::string> &row = list.rows[static_cast<std::size_t>(line)];
            x = left;
            for (std::size_t col = 0; col < list.columns.size(); ++col) {
                const PrintColumn &column = list.columns[col];
                const int end = std::min(right, x + column.width);
                // A long text stops at its column instead of running into the next one.
                const Rect cell { x + kCellPadding, y, end - kCellPadding, y + layout.rowHeight };
                if (col < row.size() && !row[col].empty()) {
                    c.setClip(cell);
                    c.drawText(cell, row[col], column.align, VAlign::Centre);
                    c.clearClip();
                }
                x = end;
            }
        } else if (line > rowCount) {
            const std::string &text = list.summary[static_cast<std::size_t>(line - rowCount - 1)];
            c.drawText(
                Rect { left + kCellPadding, y, right, y + layout.rowHeight }, text, HAlign::Left, VAlign::Centre);
        }
    }

    const int footTop = layout.height - layout.margin - kFootBlock;
    c.setPen({ canvas::rgb(0, 0, 0), 2, canvas::PenStyle::Solid });
    c.drawLine({ left, footTop + 20 }, { right, footTop + 20 });
    c.setFont(font(30, 400));
    c.drawText(Rect { left, footTop + 30, right, footTop + kFootBlock },
        common::cformat(common::tr("Page %d / %d"), page, pages), HAlign::Right, VAlign::Centre);
    c.drawText(Rect { left, footTop + 30, right, footTop + kFootBlock }, "Zorv", HAlign::Left, VAlign::Centre);
}

} // namespace zorv::registers
