#include "canvas/recordingcanvas.h"
#include "common/clock.h"
#include "logbook/logbook.h"
#include "reports/logbookprint.h"

#include <gtest/gtest.h>

namespace zorv::reports {
namespace {

    using canvas::OpKind;
    using canvas::RecordingCanvas;
    using logbook::DiveRecord;
    using logbook::Logbook;

    // At 254 dpi one device pixel is a tenth of a millimetre, the unit the layouts are given in.
    constexpr int kDpi = 254;
    constexpr PageSizeMm kA4 { 210.0, 297.0 };

    Logbook makeLogbook(int dives)
    {
        Logbook book;
        for (int i = 0; i < dives; ++i) {
            DiveRecord dive;
            dive.date = 730000u + static_cast<std::uint32_t>(i);
            dive.entryTime = 600;
            dive.duration = 40;
            dive.maxDepth = 1850;
            logbook::setFixedText(dive.place, "Port-Cros");
            logbook::setFixedText(dive.site,
                "La Gabini\x8A"
                "re"); // stored in the DOS set
            logbook::setFixedText(dive.comment,
                "M\x82"
                "rous partout.");
            dive.sampleCount = 6;
            dive.samples.resize(dive.sampleCount);
            dive.profileLength = 4;
            for (int s = 1; s < 5; ++s)
                dive.samples[static_cast<std::size_t>(s)].depth = -18.5f;
            dive.profileMaxDepth = 18.5f;
            EXPECT_TRUE(book.insertDive(dive));
        }
        book.renumber(1);
        return book;
    }

    std::vector<std::string> texts(const RecordingCanvas &canvas)
    {
        std::vector<std::string> out;
        for (const auto &op : canvas.ofKind(OpKind::Text))
            out.push_back(op.text);
        return out;
    }

    bool hasText(const RecordingCanvas &canvas, std::string_view text)
    {
        return canvas.findText(text).has_value();
    }

    // The right or centre of a text as drawn, measured in the font it was drawn in.
    int rightEdge(RecordingCanvas &canvas, const canvas::CanvasOp &op)
    {
        canvas.setFont(op.state.font);
        return op.points[0].x + canvas.textWidth(op.text);
    }

    int countText(const RecordingCanvas &canvas, std::string_view text)
    {
        const auto all = texts(canvas);
        return static_cast<int>(std::count(all.begin(), all.end(), std::string(text)));
    }

    TEST(CommentLines, BreaksAtBlanksAndKeepsSevenLines)
    {
        const std::string forty(40, 'a');
        struct Case {
            std::string comment;
            std::vector<std::string> firstLines;
            std::size_t count;
        };
        const Case cases[] = {
            { "", {}, 7 },
            { forty, { forty, "" }, 7 },
            { forty + "b", { forty, "b" }, 7 },
            // A word across characters 40 and 41 moves to the next line with its leading blank dropped.
            { std::string(35, 'x') + " verylong", { std::string(35, 'x'), "verylong" }, 7 },
            // A blank at character 41 leaves the first 40 as they are.
            { forty + " suite", { forty, "suite" }, 7 },
            // No blank among characters 2 to 40: cut hard.
            { " " + std::string(45, 'z'), { std::string(39, 'z'), std::string(6, 'z') }, 7 },
            // Lines past the seventh count while they hold text; fourteen at most.
            { std::string(40 * 9, 'q'), { std::string(40, 'q') }, 9 },
            { std::string(40 * 20, 'q'), { std::string(40, 'q') }, 14 },
        };
        for (const Case &c : cases) {
            const auto lines = commentLines(c.comment);
            EXPECT_EQ(lines.size(), c.count) << c.comment;
            for (std::size_t i = 0; i < c.firstLines.size(); ++i)
                EXPECT_EQ(lines.at(i), c.firstLines[i]) << c.comment;
        }
    }

    TEST(PrintRange, PulledIntoTheLogbookEndFirst)
    {
        Logbook book = makeLogbook(20);
        PrintJob job;
        book.setCurrentDive(4);
        prepareRange(job, book);
        EXPECT_EQ(job.fromNumber, 4);
        EXPECT_EQ(job.toNumber, 4);

        job.fromNumber = 12;
        job.toNumber = 5;
        auto range = settleRange(job, book);
        ASSERT_TRUE(range);
        EXPECT_EQ(job.fromNumber, 5);
        EXPECT_EQ(job.toNumber, 5);
        EXPECT_EQ(range->first, 5);

        job.fromNumber = -40;
        job.toNumber = 400;
        range = settleRange(job, book);
        ASSERT_TRUE(range);
        EXPECT_EQ(range->first, 1);
        EXPECT_EQ(range->last, 20);

        // Several dives of one number: the last one counts. A number not in the logbook prints nothing.
        DiveRecord twin = *book.dive(3);
        twin.diveNumber = 2;
        book.putDive(twin, 3);
        job.fromNumber = job.toNumber = 2;
        EXPECT_EQ(settleRange(job, book)->first, 3);
        job.fromNumber = job.toNumber = 3;
        EXPECT_FALSE(settleRange(job, book));
        EXPECT_FALSE(settleRange(job, Logbook {}));
    }

    TEST(DivePages, TwoDivesASheetWithTheCuttingLine)
    {
        const Logbook book = makeLogbook(3);
        PrintJob job;
        LogbookPrintInfo info;
        info.logbookPath = "/home/plongeur/carnet.log";
        LogbookPrinter printer(book, job, { 1, 3 }, info);

        RecordingCanvas page1(kDpi);
        EXPECT_TRUE(printer.printPage(page1, kA4));
        // Frames at 7 mm and at half the page plus 12 mm, 170 by 125 mm.
        const auto frames = page1.ofKind(OpKind::Rectangle);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].rect, (canvas::Rect { 200, 70, 1900, 1320 }));
        EXPECT_EQ(frames[1].rect, (canvas::Rect { 200, 1605, 1900, 2855 }));
        const auto lines = page1.ofKind(OpKind::Line);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const auto &op) {
            return op.points[0] == canvas::Point { 0, 1485 } && op.points[1] == canvas::Point { 2100, 1485 };
        }));
        const auto number = page1.findText("N° de plongée: 1");
        ASSERT_TRUE(number);
        EXPECT_EQ(number->points[0], (canvas::Point { 230, 80 }));
        const auto file = page1.findText("<carnet.log>");
        ASSERT_TRUE(file);
        EXPECT_EQ(rightEdge(page1, *file), 1880);
        EXPECT_EQ(page1.findText("Port-Cros")->points[0].x, 400);
        EXPECT_EQ(page1.findText("La Gabinière")->points[0].x, 1170);
        EXPECT_EQ(countText(page1, "Signature/Cachet:"), 2);
        // Hand-entered dives name no computer beside the partners.
        EXPECT_FALSE(hasText(page1, "Données manuelles"));

        // The odd dive goes alone onto the last sheet; no cutting line when it is switched off.
        RecordingCanvas page2(kDpi);
        job.separator = false;
        EXPECT_FALSE(printer.printPage(page2, kA4));
        EXPECT_EQ(page2.ofKind(OpKind::Rectangle).size(), 1u);
        EXPECT_TRUE(hasText(page2, "N° de plongée: 3"));
        EXPECT_EQ(printer.pagesPrinted(), 2);
    }

    TEST(DivePages, BlankFormAndProfileOnly)
    {
        Logbook book = makeLogbook(1);
        RecordingCanvas blank(kDpi);
        drawDive(blank, book, *book.dive(1), 7.0, DivePageOption::BlankForm, {});
        EXPECT_TRUE(hasText(blank, "N° de plongée:"));
        EXPECT_TRUE(hasText(blank, "Lieu:"));
        EXPECT_TRUE(hasText(blank, "Prof. max.:"));
        EXPECT_TRUE(hasText(blank, "m"));
        EXPECT_FALSE(hasText(blank, "Port-Cros"));
        EXPECT_FALSE(hasText(blank, "Mérous partout."));
        EXPECT_FALSE(hasText(blank, "Signature/Cachet:"));
        EXPECT_TRUE(blank.ofKind(OpKind::Polyline).empty()); // no profile

        RecordingCanvas imprint(kDpi);
        drawDive(imprint, book, *book.dive(1), 7.0, DivePageOption::ProfileOnly, {});
        EXPECT_TRUE(imprint.ofKind(OpKind::Rectangle).empty());
        EXPECT_FALSE(hasText(imprint, "Lieu:"));
        EXPECT_FALSE(imprint.ofKind(OpKind::Polyline).empty());
        // The profile stays in its box: right of the column line, inside the frame's height.
        for (const canvas::Point p : imprint.touchedPoints()) {
            EXPECT_GE(p.x, 960 - 1);
            EXPECT_LE(p.x, 1860 + 1);
            EXPECT_LE(p.y, 70 + 1250);
        }
    }

    bool overlap(const canvas::Rect &a, const canvas::Rect &b)
    {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    canvas::Rect textBox(RecordingCanvas &canvas, const canvas::CanvasOp &op)
    {
        canvas.setFont(op.state.font);
        const canvas::Size size = canvas.textSize(op.text);
        return { op.points[0].x, op.points[0].y, op.points[0].x + size.width, op.points[0].y + size.height };
    }

    TEST(DivePages, ProfileCaptionsAndStripArrowsKeepClearOfEachOther)
    {
        Logbook book = makeLogbook(1);
        for (const int dpi : { kDpi, 300, 600 }) {
            RecordingCanvas canvas(dpi);
            drawDive(canvas, book, *book.dive(1), 7.0, DivePageOption::Complete, {});
            // "Mètres" above the axis and the axis's "0" beside its top.
            const auto unit = canvas.findText("M\xC3\xA8tres");
            ASSERT_TRUE(unit) << dpi;
            const canvas::Rect unitBox = textBox(canvas, *unit);
            int zeros = 0;
            for (const auto &op : canvas.ofKind(OpKind::Text))
                if (op.text == "0" && op.points[0].x < unitBox.right + 100) {
                    ++zeros;
                    EXPECT_FALSE(overlap(unitBox, textBox(canvas, op))) << dpi;
                }
            EXPECT_GE(zeros, 1) << dpi;
            // The strip's two arrows are the black lines left of its lanes, below the chart: down first, then up.
            const double mm = dpi / 25.4;
            const int stripTop = static_cast<int>((7.0 + 112.0) * mm);
            const int lanesLeft = static_cast<int>(96.0 * mm) + dpi * 20 / 96;
            std::vector<canvas::Rect> arrows;
            for (const auto &op : canvas.drawings()) {
                if ((op.kind != OpKind::Line && op.kind != OpKind::Polyline) || op.state.pen.colour != 0)
                    continue;
                canvas::Rect box { 1 << 20, 1 << 20, -1, -1 };
                for (const canvas::Point p : op.points)
                    box = { std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x + 1),
                        std::max(box.bottom, p.y + 1) };
                if (box.top >= stripTop && box.right <= lanesLeft)
                    arrows.push_back(box);
            }
            ASSERT_EQ(arrows.size(), 4u) << dpi; // shaft and head of each
            const int downBottom = std::max(arrows[0].bottom, arrows[1].bottom);
            const int upTop = std::min(arrows[2].top, arrows[3].top);
            EXPECT_LT(downBottom, upTop) << dpi;
        }
    }

    TEST(DivePages, DecoStretchIsRedOnlyWhenMarked)
    {
        Logbook book = makeLogbook(1);
        auto redDrawn = [&] {
            RecordingCanvas canvas(kDpi);
            drawDive(canvas, book, *book.dive(1), 7.0, DivePageOption::Complete, {});
            const auto drawings = canvas.drawings(
                [](const canvas::CanvasOp &op) { return op.state.pen.colour == canvas::rgb(255, 0, 0); });
            return !drawings.empty();
        };
        EXPECT_FALSE(redDrawn());
        DiveRecord dive = *book.dive(1);
        dive.samples[2].markers[0] = 1;
        book.putDive(dive, 1);
        EXPECT_TRUE(redDrawn());
    }

    TEST(DiveList, RowsRunToTheFooterAndGoOn)
    {
        common::FixedClock clock(1796551200); // 6 December 2026, 10:00 UTC
        common::setClock(&clock);
        const Logbook book = makeLogbook(130);
        PrintJob job;
        job.mode = PrintMode::DiveList;
        LogbookPrintInfo info;
        info.logbookPath = "/tmp/carnet.log";
        LogbookPrinter printer(book, job, { 2, 129 }, info);
        std::vector<int> numbers;
        int pages = 0;
        bool more = true;
        while (more) {
            RecordingCanvas canvas(kDpi);
            more = printer.printPage(canvas, kA4);
            ++pages;
            ASSERT_TRUE(hasText(canvas, "Liste des plongées"));
            ASSERT_TRUE(hasText(canvas, "<carnet.log> Imprimé le 06.12.2026"));
            const auto heading = canvas.findText("N°");
            ASSERT_TRUE(heading);
            EXPECT_EQ(rightEdge(canvas, *heading), 200);
            EXPECT_EQ(canvas.findText("Partenaires")->points[0].x, 1350);
            for (const auto &op : canvas.ofKind(OpKind::Text)) {
                if (op.points[0].y > heading->points[0].y && op.state.font.pointSize == 9.0
                    && op.text.find_first_not_of("0123456789") == std::string::npos) {
                    numbers.push_back(std::stoi(op.text));
                    EXPECT_LT(op.points[0].y + 32, 2939); // above the footer's rule
                }
            }
        }
        EXPECT_GT(pages, 1);
        ASSERT_EQ(numbers.size(), 128u);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            EXPECT_EQ(numbers[i], static_cast<int>(i) + 2);
        common::setClock(nullptr);
    }

    TEST(CoverPage, OnePageCentred)
    {
        const Logbook book = makeLogbook(2);
        PrintJob job;
        job.mode = PrintMode::CoverPage;
        LogbookPrintInfo info;
        info.diverName = "Jeanne Martin";
        info.club = "GRS Marseille";
        LogbookPrinter printer(book, job, { 1, 2 }, info);
        RecordingCanvas canvas(kDpi);
        EXPECT_FALSE(printer.printPage(canvas, kA4));
        const auto title = canvas.findText("Carnet");
        ASSERT_TRUE(title);
        EXPECT_EQ(title->points[0].y, 297);
        EXPECT_NEAR((title->points[0].x + rightEdge(canvas, *title)) / 2, 1050, 1);
        EXPECT_EQ(title->state.font.family, "Times New Roman");
        const auto diver = canvas.findText("Jeanne Martin");
        ASSERT_TRUE(diver);
        EXPECT_EQ(diver->points[0].y, 297 + 2 * RecordingCanvas::pixelHeight(title->state.font, kDpi));
        EXPECT_TRUE(hasText(canvas, "GRS Marseille"));
    }

} // namespace
} // namespace zorv::reports
