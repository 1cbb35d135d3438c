#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <memory>

namespace zorv::uitest {

void saveScreenshot(QWidget *widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(ZORV_SCREENSHOT_DIR));
    QWidget *window = widget->window();
    window->grab().save(QStringLiteral(ZORV_SCREENSHOT_DIR) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void whenModalOpens(const std::function<void(QWidget *modal)> &action, int timeoutMs)
{
    auto *timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        *elapsed += 20;
        if (modal || *elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (modal)
                action(modal);
        }
    });
    timer->start(20);
}

} // namespace zorv::uitest
