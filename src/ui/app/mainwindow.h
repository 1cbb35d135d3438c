// The main frame: menus, accelerators, tool bar and status bar around the dive page, and the commands behind them.
#pragma once

#include "app/commandstate.h"
#include "common/stringid.h"

#include <QMainWindow>
#include <QMap>
#include <filesystem>
#include <memory>
#include <optional>

class QMenu;
class QToolBar;

namespace zorv::ui {

struct AppContext;
class DivePageView;
class LogbookDocument;
class PrintDispatcher;
class ToolCommands;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext &context, std::filesystem::path tipsFile, QWidget *parent = nullptr);
    ~MainWindow() override;

    LogbookDocument *document() const { return m_document; }
    DivePageView *page() const { return m_page; }
    PrintDispatcher *printDispatcher() const { return m_print; }
    ToolCommands *tools() const { return m_tools.get(); }
    QToolBar *toolBar() const { return m_toolBar; }
    // The action of a command that the menus offer; null for commands left out.
    QAction *action(app::Command command) const { return m_actions.value(command); }
    const QList<QAction *> &recentFileActions() const { return m_recentActions; }

    void runCommand(app::Command command);
    // Applies each command's enabling rule to its menu item and button.
    void updateCommandStates();

    // Puts the window where it was last closed on this screen size; false when it stays at its default place.
    bool restorePlacement();
    void showTips();
    void showNotice();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // A command without a text id (undo, redo) gets its text later.
    QAction *addCommand(QMenu *menu, app::Command command, std::optional<common::StringId> textId,
        const QList<QKeySequence> &keys = {});
    void buildMenus();
    void buildToolBar();
    void runCommandBody(app::Command command);
    bool runChangingTool(app::Command command);
    int runSearch(app::Command command);
    void updateUndoTexts();
    void rebuildRecentFiles();
    void updateTitle();
    void savePlacement();
    void saveBarState();
    void logbookChanged();
    void startExternalApplication();
    void showAbout();

    AppContext &m_context;
    std::filesystem::path m_tipsFile;
    LogbookDocument *m_document = nullptr;
    DivePageView *m_page = nullptr;
    PrintDispatcher *m_print = nullptr;
    std::unique_ptr<ToolCommands> m_tools; // no QObject: owned here
    QToolBar *m_toolBar = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentAnchor = nullptr; // the recent files are inserted before it
    QList<QAction *> m_recentActions;
    QMap<app::Command, QAction *> m_actions;
};

} // namespace zorv::ui
