// Start-up and exit of the desktop program: settings, the main window, the first logbook, splash and tips.
#pragma once

#include "ui/common/appcontext.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

namespace zorv::ui {

class MainWindow;

struct StartOptions {
    std::filesystem::path programDir; // where the program and, beside it, tips.txt are
    QString logbookPath; // from the command line; empty opens the most recent logbook
    // "--no-splash" starts quietly: no splash, no tips, no compatibility notice.
    bool splash = true;
    bool tips = true;
    bool notice = true;
};

// The command line: an optional logbook and "--no-splash". Arguments start
// after the program name.
StartOptions parseArguments(const QStringList &arguments, const std::filesystem::path &programDir);

// tips.txt beside the program, or in share/zorv of an installed program.
std::filesystem::path tipsFilePath(const std::filesystem::path &programDir);

class Application {
public:
    Application();
    ~Application();

    // The whole start-up. False ends the program at once: the logbook named on
    // the command line could not be opened (the user has been told why).
    bool start(const StartOptions &options);
    // Saves the settings at exit; returns the exit code.
    int finish();

    AppContext &context() { return m_context; }
    MainWindow *mainWindow() const { return m_window.get(); }

private:
    AppContext m_context;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace zorv::ui
