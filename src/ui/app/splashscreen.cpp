#include "ui/app/splashscreen.h"

#include "ui/common/commandicons.h"
#include "ui/common/qtext.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace zorv::ui {

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(sizeHint());
}

SplashScreen::~SplashScreen()
{
    qApp->removeEventFilter(this);
}

void SplashScreen::showFor(int milliseconds)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
    show();
    QTimer::singleShot(milliseconds, this, &QWidget::close);
}

bool SplashScreen::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        // The press only dismisses the splash; it must not also reach a window behind it.
        close();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    QLinearGradient sea(area.topLeft(), area.bottomLeft());
    sea.setColorAt(0.0, QColor(40, 150, 210));
    sea.setColorAt(0.45, QColor(16, 78, 139));
    sea.setColorAt(1.0, QColor(6, 24, 52));
    p.fillRect(area, sea);

    // Light rays from the surface.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    for (int i = 0; i < 4; ++i) {
        const double x = 60 + i * 95;
        p.drawPolygon(QPolygonF(
            { QPointF(x, 0), QPointF(x + 40, 0), QPointF(x - 20, area.height()), QPointF(x - 70, area.height()) }));
    }
    // A dive profile drawn across the water, as the logbook shows it.
    QPainterPath profile;
    // It runs below the name, so the two never cross.
    profile.moveTo(20, 150);
    profile.lineTo(60, 222);
    profile.lineTo(200, 232);
    profile.lineTo(260, 204);
    profile.lineTo(310, 198);
    profile.lineTo(350, 172);
    profile.lineTo(400, 150);
    p.setPen(QPen(QColor(255, 200, 60), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(profile);
    // Bubbles.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    for (const QPointF &bubble : { QPointF(392, 128), QPointF(400, 110), QPointF(392, 94), QPointF(402, 78) })
        p.drawEllipse(bubble, 4, 4);

    paintProgramMark(p, QRectF(28, 56, 72, 72));
    QFont title = font();
    title.setPointSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(116, 58, 280, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zorv"));
    QFont subtitle = font();
    subtitle.setPointSize(12);
    p.setFont(subtitle);
    p.setPen(QColor(210, 235, 255));
    p.drawText(QRectF(118, 104, 290, 24), Qt::AlignLeft | Qt::AlignVCenter, ui::tr("Carnet de plongée"));
    p.setPen(QColor(255, 255, 255, 90));
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace zorv::ui
