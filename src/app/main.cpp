// The desktop program zorv.
#include "ui/app/application.h"
#include "ui/app/mainwindow.h"
#include "ui/common/messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

// With ZORV_STARTUP_REPORT set, the program prints how long it took until the
// main window was first painted, and quits: the start-up time measurement.
class FirstPaintReporter : public QObject {
public:
    FirstPaintReporter(QWidget *window, const QElapsedTimer &clock)
        : m_window(window)
        , m_clock(clock)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window) {
            m_done = true;
            QTimer::singleShot(0, qApp, [this] {
                std::fprintf(stderr, "first paint after %lld ms\n", static_cast<long long>(m_clock.elapsed()));
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    const QElapsedTimer &m_clock;
    bool m_done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication qtApp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zorv"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORV_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("zorv"));
    // The texts follow the desktop's language, and Qt's own dialogs and menus with them; French
    // dialogs need Qt's French translations, without which they stay English.
    if (!zorv::ui::installTranslations(qtApp))
        std::fprintf(stderr, "zorv: les traductions françaises de Qt manquent (qt6-translations-l10n)\n");

    const bool report = qEnvironmentVariableIsSet("ZORV_STARTUP_REPORT");
    zorv::ui::StartOptions options = zorv::ui::parseArguments(
        QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath().toStdString());
    if (report)
        options.splash = options.tips = options.notice = false;

    zorv::ui::Application application;
    if (!application.start(options))
        return 1;
    FirstPaintReporter reporter(application.mainWindow(), clock);
    if (report)
        qtApp.installEventFilter(&reporter);
    const int code = QApplication::exec();
    if (report)
        return code;
    const int saved = application.finish();
    return code != 0 ? code : saved;
}
