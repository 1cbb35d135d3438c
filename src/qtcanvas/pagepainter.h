// Pages of a print drawn onto a paged device: a printer, or a PDF written in memory.
#pragma once

#include "reports/pagesource.h"

#include <QByteArray>
#include <QPageSize>

class QPagedPaintDevice;

namespace zorv::qtcanvas {

// Draws every page of the source within the device's printable area; returns the page count,
// 0 when the device cannot be painted on.
int paintPages(QPagedPaintDevice &device, reports::PageSource &source);

// The source's pages as a PDF document, for files written through the durable save.
QByteArray pdfOfPages(reports::PageSource &source, const QPageSize &paper, int *pageCount = nullptr);

} // namespace zorv::qtcanvas
