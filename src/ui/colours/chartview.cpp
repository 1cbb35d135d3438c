#include "ui/colours/chartview.h"

#include "qtcanvas/qpaintercanvas.h"

#include <QPainter>
#include <QPixmap>
#include <utility>

namespace zorv::ui {

ChartView::ChartView(Draw draw, QSize preferred, QWidget *parent)
    : QWidget(parent)
    , m_draw(std::move(draw))
    , m_preferred(preferred)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(preferred / 2);
}

void ChartView::paintEvent(QPaintEvent *)
{
    // Composed whole before it reaches the screen, so a repaint never shows a half-drawn chart.
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    {
        QPainter painter(&picture);
        qtcanvas::QPainterCanvas canvas(painter);
        m_draw(canvas, { width(), height() });
    }
    QPainter(this).drawPixmap(0, 0, picture);
}

} // namespace zorv::ui
