#include "qtcanvas/pagepainter.h"

#include "qtcanvas/qpaintercanvas.h"
#include "reports/logbookprint.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace zorv::qtcanvas {

int paintPages(QPagedPaintDevice &device, reports::PageSource &source)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Millimeter);
    QPainterCanvas canvas(painter);
    return reports::printAllPages(source, canvas, { area.width(), area.height() }, [&device] { device.newPage(); });
}

QByteArray pdfOfPages(reports::PageSource &source, const QPageSize &paper, int *pageCount)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Zorv"));
        pages = paintPages(writer, source);
    }
    if (pageCount)
        *pageCount = pages;
    return bytes;
}

} // namespace zorv::qtcanvas
