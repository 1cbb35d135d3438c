// A widget that shows a drawing made on the Canvas, composed off screen and copied in one block.
#pragma once

#include "canvas/canvas.h"

#include <QPixmap>
#include <QWidget>
#include <functional>

namespace zorv::ui {

// The picture is drawn once and kept until invalidate() or a resize, so a
// repaint never shows it half drawn and an overlay (cursor lines) can move
// over it without drawing the picture again.
class CanvasView : public QWidget {
    Q_OBJECT
public:
    using Draw = std::function<void(canvas::Canvas &canvas, canvas::Size size)>;

    explicit CanvasView(Draw draw, QWidget *parent = nullptr);
    // With a preferred size, which is also the size hint; the view shrinks to half of it at the most.
    CanvasView(Draw draw, QSize preferred, QWidget *parent = nullptr);

    // Laid over the finished picture at every paint.
    void setOverlay(Draw overlay) { m_overlay = std::move(overlay); }
    // What the picture shows changed: draw it again at the next paint.
    void invalidate();
    // How often the picture was drawn, for tests that a mouse move does not redraw it.
    int drawCount() const { return m_draws; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Draw m_draw;
    Draw m_overlay;
    QSize m_preferred;
    QPixmap m_picture;
    bool m_valid = false;
    int m_draws = 0;
};

} // namespace zorv::ui
