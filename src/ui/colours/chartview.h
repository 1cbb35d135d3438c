// A widget that shows a chart drawn on the Canvas, composed off screen and copied in one block.
#pragma once

#include "canvas/canvas.h"

#include <QWidget>
#include <functional>

namespace zorv::ui {

class ChartView : public QWidget {
    Q_OBJECT
public:
    using Draw = std::function<void(canvas::Canvas &canvas, canvas::Size size)>;

    ChartView(Draw draw, QSize preferred, QWidget *parent = nullptr);

    QSize sizeHint() const override { return m_preferred; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Draw m_draw;
    QSize m_preferred;
};

} // namespace zorv::ui
