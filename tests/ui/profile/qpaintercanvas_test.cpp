#include "qtcanvas/qpaintercanvas.h"
#include "uitest.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <vector>

using namespace zorv;
using canvas::Point;
using canvas::Rect;
using qtcanvas::QPainterCanvas;

namespace {

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Paints onto the image; the painter ends before the pixels are looked at.
template <typename Draw> void paint(QImage &image, Draw draw)
{
    QPainter painter(&image);
    QPainterCanvas c(painter);
    draw(c);
}

} // namespace

class QPainterCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void fillsAndLinesLandOnTheirPixels()
    {
        QImage image = blank(40, 30);
        paint(image, [&](QPainterCanvas &c) {
            c.fillRect(Rect { 2, 3, 12, 8 }, canvas::rgb(255, 0, 0));
            c.setPen(canvas::Pen { canvas::rgb(0, 0, 255), 1 });
            c.drawLine({ 20, 5 }, { 30, 5 });
        });
        QCOMPARE(image.pixelColor(2, 3), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(11, 7), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(12, 7), QColor(Qt::white)); // right edge is exclusive
        QCOMPARE(image.pixelColor(11, 8), QColor(Qt::white));
        QCOMPARE(image.pixelColor(25, 5), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(25, 4), QColor(Qt::white)); // crisp, no antialiased fringe
        QCOMPARE(image.pixelColor(25, 6), QColor(Qt::white));
    }

    void invertingTwiceRestoresThePicture()
    {
        QImage image = blank(60, 40);
        paint(image, [&](QPainterCanvas &c) {
            c.fillRect(Rect { 0, 0, 30, 40 }, canvas::rgb(255, 255, 192));
            c.setPen(canvas::Pen { canvas::rgb(0, 0, 128), 3 });
            const std::vector<Point> curve { { 0, 0 }, { 20, 30 }, { 59, 25 } };
            c.drawPolyline(curve);
        });
        const QImage before = image.copy();
        // The pen's colour does not matter to an inverted line.
        const auto cross = [](QPainterCanvas &c) {
            c.setRasterMode(canvas::RasterMode::Invert);
            c.setPen(canvas::Pen { canvas::rgb(255, 0, 0), 1 });
            c.drawLine({ 15, 0 }, { 15, 39 });
            c.drawLine({ 0, 20 }, { 59, 20 });
        };
        paint(image, cross);
        QVERIFY(image != before);
        QCOMPARE(image.pixelColor(15, 5), QColor(0, 0, 63)); // inverted light yellow
        paint(image, cross);
        QCOMPARE(image, before);
    }

    void clippingKeepsDrawingInside()
    {
        QImage image = blank(40, 40);
        paint(image, [&](QPainterCanvas &c) {
            c.setClip(Rect { 10, 10, 20, 20 });
            c.fillRect(Rect { 0, 0, 40, 40 }, canvas::rgb(0, 0, 0));
            c.clearClip();
            c.fillRect(Rect { 35, 35, 40, 40 }, canvas::rgb(0, 255, 0));
        });
        QCOMPARE(image.pixelColor(9, 15), QColor(Qt::white));
        QCOMPARE(image.pixelColor(10, 10), QColor(Qt::black));
        QCOMPARE(image.pixelColor(20, 19), QColor(Qt::white));
        QCOMPARE(image.pixelColor(36, 36), QColor(0, 255, 0));
    }

    void oldFontNamesFindInstalledFonts()
    {
        QPainterCanvas::installFontSubstitutions();
        for (const char *name : { "Arial", "Times New Roman", "MS Sans Serif" }) {
            const QFont font = QPainterCanvas::toQFont(canvas::Font { name, 8.0 }, 96);
            QVERIFY2(QFontInfo(font).family().startsWith(QStringLiteral("Liberation")), name);
            QCOMPARE(font.pixelSize(), 11);
        }
    }

    void textIsMeasuredAndDrawnFromItsTopLeft()
    {
        QImage image = blank(120, 40);
        canvas::Size size;
        paint(image, [&](QPainterCanvas &c) {
            c.setFont(canvas::Font { "Arial", 8.0 });
            c.setTextColour(canvas::rgb(0, 0, 0));
            size = c.textSize("M\xC3\xA8tre(s)");
            c.drawText(Point { 10, 10 }, "M\xC3\xA8tre(s)");
        });
        QVERIFY(size.width > 30 && size.width < 60);
        QVERIFY(size.height >= 11 && size.height <= 16);
        int top = image.height();
        int left = image.width();
        int right = -1;
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).lightness() < 160) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY(top >= 10 && bottom < 10 + size.height);
        QVERIFY(left >= 10 && right < 10 + size.width + 1);

        // Show the primitives as a diver's eye would meet them.
        QLabel label;
        label.setPixmap(QPixmap::fromImage(image.scaled(360, 120)));
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        uitest::saveScreenshot(&label, QStringLiteral("qpaintercanvas_text"));
    }

    void arcsRunCounterClockwise()
    {
        QImage image = blank(41, 41);
        paint(image, [&](QPainterCanvas &c) {
            c.setPen(canvas::Pen { canvas::rgb(0, 0, 0), 2 });
            // From 12 o'clock counter-clockwise to 6 o'clock: the left half.
            c.drawArc(Rect { 0, 0, 41, 41 }, { 20, 0 }, { 20, 40 });
        });
        QVERIFY(image.pixelColor(1, 20).lightness() < 128);
        QCOMPARE(image.pixelColor(39, 20), QColor(Qt::white));
    }
};

ZORV_UI_TEST_MAIN(QPainterCanvasTest)
#include "qpaintercanvas_test.moc"
