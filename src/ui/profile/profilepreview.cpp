#include "ui/profile/profilepreview.h"

#include "profile/previewdrawing.h"
#include "qtcanvas/qpaintercanvas.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zorv::ui {

ProfilePreview::ProfilePreview(AppContext &context, QWidget *parent)
    : QAbstractButton(parent)
    , m_context(context)
{
    // The label of the plain button; the mnemonic also works while the picture shows.
    setText(ui::tr("&Profil"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ProfilePreview::previewOn() const
{
    return m_context.settings.profilePreview;
}

void ProfilePreview::setDivePosition(int position)
{
    m_position = position;
    invalidatePicture();
}

void ProfilePreview::invalidatePicture()
{
    m_valid = false;
    setAttribute(Qt::WA_OpaquePaintEvent, previewOn());
    updateGeometry();
    update();
}

QSize ProfilePreview::sizeHint() const
{
    const canvas::Size size = profile::previewButtonSize(
        previewOn() ? profile::PreviewOption::On : profile::PreviewOption::Off, { 0, 0 }, { 0, 0 });
    return { size.width, size.height };
}

QSize ProfilePreview::minimumSizeHint() const
{
    return sizeHint();
}

void ProfilePreview::resizeEvent(QResizeEvent *event)
{
    m_valid = false;
    QAbstractButton::resizeEvent(event);
}

void ProfilePreview::rebuildPicture()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    {
        QPainter painter(&picture);
        qtcanvas::QPainterCanvas canvas(painter);
        profile::PreviewStyle style;
        style.colours = m_context.settings.profileColours;
        style.units = m_context.logbook.unitSystem();
        style.grid = m_context.settings.grid ? profile::Grid::On : profile::Grid::Off;
        profile::drawPreview(canvas, { width(), height() }, m_context.logbook.dive(m_position), style);
    }
    m_cache = picture;
    m_valid = true;
}

void ProfilePreview::paintPlainButton(QPainter &painter)
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void ProfilePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!previewOn()) {
        paintPlainButton(painter);
        return;
    }
    if (!m_valid || m_cache.size() != size() * devicePixelRatioF())
        rebuildPicture();
    painter.drawPixmap(0, 0, m_cache);

    // A pressed or focused picture still has to look like a button.
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace zorv::ui
