// The small depth-profile picture on the dive page, which doubles as the button that opens the profile window.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace zorv::ui {

struct AppContext;

// With the preview option off it is a plain 60 × 20 push button. It only
// emits clicked(); the main window decides what a click opens.
class ProfilePreview : public QAbstractButton {
    Q_OBJECT
public:
    explicit ProfilePreview(AppContext &context, QWidget *parent = nullptr);

    // Shows the dive at this logbook position (0 = none); redraws lazily.
    void setDivePosition(int position);
    // Marks the picture for redrawing, e.g. after a colour or unit change.
    void invalidatePicture();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool previewOn() const;
    void paintPlainButton(QPainter &painter);
    void rebuildPicture();

    AppContext &m_context;
    int m_position = 0;
    QPixmap m_cache; // the finished picture, copied in one block on every paint
    bool m_valid = false;
};

} // namespace zorv::ui
