#include "reports/pageframe.h"

#include "common/cformat.h"
#include "common/clock.h"
#include "common/translation.h"

#include <cmath>
#include <string>

namespace zorv::reports {

using canvas::Canvas;
using canvas::Font;

namespace {

    constexpr double kMmPerInch = 25.4;

    Font font(const char *family, double points)
    {
        Font f;
        f.family = family;
        f.pointSize = points;
        return f;
    }

    const Font &footerFont()
    {
        static const Font f = font("Arial", 6);
        return f;
    }

    std::string fileNameOf(std::string_view path)
    {
        const std::size_t slash = path.find_last_of("/\\");
        return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    }

} // namespace

int mmToDevice(const Canvas &canvas, double mm)
{
    return static_cast<int>(std::lround(mm * canvas.dpi() / kMmPerInch));
}

double deviceToMm(const Canvas &canvas, int pixels)
{
    return pixels * kMmPerInch / canvas.dpi();
}

double lineHeightMm(const Canvas &canvas)
{
    return deviceToMm(canvas, canvas.textHeight("Ag"));
}

double printHeader(Canvas &canvas, double pageWidthMm, double /*pageHeightMm*/, std::string_view title,
    std::string_view line2, std::string_view line3)
{
    const int width = mmToDevice(canvas, pageWidthMm);
    canvas.setFont(font("Times New Roman", 22));
    const double titleLine = lineHeightMm(canvas);
    double y = 10.0;
    canvas.drawText(canvas::Rect { 0, mmToDevice(canvas, y), width, mmToDevice(canvas, y + titleLine) }, title,
        canvas::HAlign::Centre, canvas::VAlign::Top);
    y += titleLine;
    canvas.setFont(font("Times New Roman", 14));
    const double smallLine = lineHeightMm(canvas);
    for (std::string_view line : { line2, line3 }) {
        if (line.empty())
            continue;
        canvas.drawText(canvas::Rect { 0, mmToDevice(canvas, y), width, mmToDevice(canvas, y + smallLine) }, line,
            canvas::HAlign::Centre, canvas::VAlign::Top);
        y += smallLine;
    }
    y += smallLine / 2;
    canvas.setPen(canvas::Pen {});
    canvas.drawLine({ 0, mmToDevice(canvas, y) }, { width, mmToDevice(canvas, y) });
    return y + titleLine / 2;
}

double headerBottomMm(Canvas &canvas, std::string_view line2, std::string_view line3)
{
    canvas.setFont(font("Times New Roman", 22));
    const double titleLine = lineHeightMm(canvas);
    canvas.setFont(font("Times New Roman", 14));
    const double smallLine = lineHeightMm(canvas);
    const int lines = (line2.empty() ? 0 : 1) + (line3.empty() ? 0 : 1);
    return 10.0 + titleLine + lines * smallLine + smallLine / 2 + titleLine / 2;
}

double footerTopMm(Canvas &canvas, double pageHeightMm)
{
    canvas.setFont(footerFont());
    return pageHeightMm - lineHeightMm(canvas) - 1.0;
}

void printFooter(Canvas &canvas, double pageWidthMm, double pageHeightMm, std::string_view logbookPath)
{
    const double ruleY = footerTopMm(canvas, pageHeightMm);
    const double line = lineHeightMm(canvas);
    canvas.setPen(canvas::Pen {});
    canvas.drawLine({ 0, mmToDevice(canvas, ruleY) }, { mmToDevice(canvas, pageWidthMm), mmToDevice(canvas, ruleY) });
    const common::LocalDateTime today = common::clock().localNow();
    const std::string date = common::cformat("%02d.%02d.%04d", today.day, today.month, today.year);
    const std::string text = logbookPath.empty()
        ? common::cformat(common::tr("Imprimé le %s"), date.c_str())
        : common::cformat(common::tr("<%s> Imprimé le %s"), fileNameOf(logbookPath).c_str(), date.c_str());
    canvas.drawText({ mmToDevice(canvas, 10.0), mmToDevice(canvas, pageHeightMm - line) }, text);
}

} // namespace zorv::reports
