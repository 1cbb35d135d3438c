#include "ui/common/canvasview.h"

#include "qtcanvas/qpaintercanvas.h"

#include <QPainter>
#include <utility>

namespace zorv::ui {

CanvasView::CanvasView(Draw draw, QWidget *parent)
    : QWidget(parent)
    , m_draw(std::move(draw))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CanvasView::CanvasView(Draw draw, QSize preferred, QWidget *parent)
    : CanvasView(std::move(draw), parent)
{
    m_preferred = preferred;
    setMinimumSize(preferred / 2);
}

void CanvasView::invalidate()
{
    m_valid = false;
    update();
}

QSize CanvasView::sizeHint() const
{
    return m_preferred.isValid() ? m_preferred : QWidget::sizeHint();
}

void CanvasView::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_valid || m_picture.size() != size() * ratio) {
        QPixmap picture(size() * ratio);
        picture.setDevicePixelRatio(ratio);
        {
            QPainter onPicture(&picture);
            qtcanvas::QPainterCanvas canvas(onPicture);
            m_draw(canvas, { width(), height() });
        }
        m_picture = std::move(picture);
        m_valid = true;
        ++m_draws;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    if (m_overlay) {
        qtcanvas::QPainterCanvas canvas(painter);
        m_overlay(canvas, { width(), height() });
    }
}

void CanvasView::resizeEvent(QResizeEvent *event)
{
    m_valid = false;
    QWidget::resizeEvent(event);
}

} // namespace zorv::ui
