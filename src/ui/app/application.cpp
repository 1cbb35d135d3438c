#include "ui/app/application.h"

#include "app/tips.h"
#include "common/translation.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/app/splashscreen.h"
#include "ui/app/tipsdialog.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/equipmentdialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace zorv::ui {

StartOptions parseArguments(const QStringList &arguments, const std::filesystem::path &programDir)
{
    StartOptions options;
    options.programDir = programDir;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--no-splash")) {
            options.splash = false;
            options.tips = false;
            options.notice = false;
        } else if (options.logbookPath.isEmpty() && !argument.startsWith(QLatin1String("--"))) {
            options.logbookPath = argument;
        }
    }
    return options;
}

std::filesystem::path tipsFilePath(const std::filesystem::path &programDir)
{
    return app::tipsFileFor(programDir, common::textLanguage());
}

Application::Application() = default;

Application::~Application() = default;

bool Application::start(const StartOptions &options)
{
    settings::ScreenSize screen;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = { primary->geometry().width(), primary->geometry().height() };
    m_context.programDir = options.programDir;
    const app::SettingsLoadReport loaded = m_context.load(settings::settingsDirectory(options.programDir), screen);

    m_window = std::make_unique<MainWindow>(m_context, tipsFilePath(options.programDir));
    if (options.splash)
        (new SplashScreen)->showFor(1500);
    if (!m_window->document()->openAtStartUp(options.logbookPath))
        return false;

    const bool restored = m_window->restorePlacement();
    if (restored && m_window->isMaximized())
        m_window->showMaximized();
    else
        m_window->show();

    // A settings file that was not read leaves the defaults, which the user must know.
    for (const std::string &warning : loaded.warnings)
        ui::warn(m_window.get(), qstr(StringId::AppTitle), toQt(warning));
    // The notice comes first, then the reminder of due services, then the tip of the day, all over the
    // shown window, as the dive page showed them on its first paint.
    const bool notice = options.notice && m_context.settings.compatibilityNotice;
    const bool service = equipmentServiceDue(m_context);
    const bool tips = options.tips && TipsDialog::wantedAtStartUp(m_context);
    if (notice || service || tips)
        QTimer::singleShot(0, m_window.get(), [window = m_window.get(), notice, service, tips] {
            if (notice)
                window->showNotice();
            if (service)
                showServiceReminder(window);
            if (tips)
                window->showTips();
        });
    return true;
}

int Application::finish()
{
    const common::Result saved = m_context.saveAll();
    if (!saved) {
        ui::warn(nullptr, qstr(StringId::AppTitle), toQt(saved.message()));
        return 1;
    }
    return 0;
}

} // namespace zorv::ui
