// The small depth-profile picture on the dive page, which doubles as the button that opens the profile window.
#pragma once

#include <QAbstractButton>

namespace zorv::ui {

struct AppContext;

class ProfilePreview : public QAbstractButton {
    Q_OBJECT
public:
    explicit ProfilePreview(AppContext &context, QWidget *parent = nullptr);

    // Shows the dive at this logbook position (0 = none); redraws lazily.
    void setDivePosition(int position);
    // Marks the picture for redrawing, e.g. after a colour or unit change.
    void invalidatePicture();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    AppContext &m_context;
    int m_position = 0;
    QPixmap *m_cache = nullptr; // owned; rebuilt when invalid
    bool m_valid = false;
};

} // namespace zorv::ui
