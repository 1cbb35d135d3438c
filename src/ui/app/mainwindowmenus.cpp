// The main window's menus, tool bar, undo texts and recent-file entries: the command table as the user sees it.
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/app/menutext.h"
#include "ui/common/appcontext.h"
#include "ui/common/commandicons.h"
#include "ui/common/qtext.h"
#include "ui/tools/toolcommands.h"

#include <QDir>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

namespace zorv::ui {

namespace {

    using app::Command;

    constexpr int kRecentFileCount = 8;

} // namespace

QAction *MainWindow::addCommand(
    QMenu *menu, Command command, std::optional<StringId> textId, const QList<QKeySequence> &keys)
{
    // The string table's menu texts carry their keys after a tab, written the
    // old way ("Strg+F5"); Qt shows the action's own shortcuts at the right in
    // the desktop's form, so only the part before the tab is kept.
    const QString text = textId ? menuText(qstr(*textId)) : QString();
    auto *action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setStatusTip(plainText(text));
    action->setToolTip(plainText(text));
    action->setIcon(commandIcon(command));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    if (menu)
        menu->addAction(action);
    m_actions.insert(command, action);
    return action;
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    using QK = QKeySequence;
    QMenuBar *bar = menuBar();

    m_fileMenu = bar->addMenu(ui::tr("&Fichier"));
    addCommand(m_fileMenu, Command::NewLogbook, StringId::MenuNewLogbook, { QK(Qt::CTRL | Qt::Key_N) });
    addCommand(
        m_fileMenu, Command::OpenLogbook, StringId::MenuOpenLogbook, { QK(Qt::Key_F3), QK(Qt::CTRL | Qt::Key_O) });
    addCommand(
        m_fileMenu, Command::SaveLogbook, StringId::MenuSaveLogbook, { QK(Qt::Key_F2), QK(Qt::CTRL | Qt::Key_S) });
    addCommand(m_fileMenu, Command::SaveLogbookAs, StringId::MenuSaveLogbookAs);
    addCommand(m_fileMenu, Command::ReopenLogbook, StringId::MenuReopenLogbook, { QK(Qt::ALT | Qt::Key_F5) });
    addCommand(m_fileMenu, Command::CreateSelection, StringId::MenuCreateSelection);
    m_fileMenu->addSeparator();
    addCommand(m_fileMenu, Command::ExportCsv, StringId::MenuExportCsv);
    addCommand(m_fileMenu, Command::ImportCitizen, StringId::MenuImportCitizen);
    addCommand(m_fileMenu, Command::ImportGuardian, StringId::MenuImportGuardian);
    addCommand(m_fileMenu, Command::ExportUddf, StringId::MenuExportUddf);
    addCommand(m_fileMenu, Command::ImportUddf, StringId::MenuImportUddf);
    m_fileMenu->addSeparator();
    addCommand(m_fileMenu, Command::Print, StringId::MenuPrint, { QK(Qt::CTRL | Qt::Key_P) });
    addCommand(m_fileMenu, Command::PrintPreview, StringId::MenuPrintPreview);
    addCommand(m_fileMenu, Command::PrintSetup, StringId::MenuPrintSetup);
    m_fileMenu->addSeparator();
    m_recentAnchor = m_fileMenu->addSeparator();
    addCommand(m_fileMenu, Command::Quit, StringId::MenuQuit, { QK(Qt::ALT | Qt::Key_X) });

    QMenu *edit = bar->addMenu(ui::tr("É&dition"));
    // The stack names the step to undo; the menu shows it after the verb.
    addCommand(edit, Command::Undo, std::nullopt, { QK(Qt::CTRL | Qt::Key_Z), QK(Qt::ALT | Qt::Key_Backspace) });
    addCommand(edit, Command::Redo, std::nullopt, { QK(Qt::CTRL | Qt::Key_Y) });
    updateUndoTexts();
    connect(m_document->undoStack(), &QUndoStack::indexChanged, this, &MainWindow::updateUndoTexts);
    connect(m_document->undoStack(), &QUndoStack::cleanChanged, this, &MainWindow::updateUndoTexts);
    edit->addSeparator();
    addCommand(
        edit, Command::CopyDive, StringId::MenuCopyDive, { QK(Qt::CTRL | Qt::Key_C), QK(Qt::CTRL | Qt::Key_Insert) });
    addCommand(edit, Command::PasteDive, StringId::MenuPasteDive,
        { QK(Qt::CTRL | Qt::Key_V), QK(Qt::SHIFT | Qt::Key_Insert) });
    QMenu *multi = edit->addMenu(ui::tr("&Presse-papiers multi-plongées"));
    addCommand(multi, Command::MultiCopy, StringId::MenuMultiCopy);
    addCommand(multi, Command::MultiPaste, StringId::MenuMultiPaste);
    addCommand(multi, Command::MultiClear, StringId::MenuMultiClear);
    edit->addSeparator();
    addCommand(edit, Command::ReadComputer, StringId::MenuReadComputer, { QK(Qt::Key_F5) });
    addCommand(edit, Command::EditDive, StringId::MenuEditDive, { QK(Qt::CTRL | Qt::Key_E) });
    addCommand(edit, Command::InsertDive, StringId::MenuInsertDive, { QK(Qt::Key_F7) });
    addCommand(edit, Command::DeleteDive, StringId::MenuDeleteDive, { QK(Qt::Key_F8), QK(Qt::SHIFT | Qt::Key_Delete) });
    edit->addSeparator();
    addCommand(edit, Command::RenumberAll, StringId::MenuRenumberAll);
    addCommand(edit, Command::RenumberPart, StringId::MenuRenumberPart);
    addCommand(edit, Command::TimeZone, StringId::MenuTimeZone);
    addCommand(edit, Command::FillDives, StringId::MenuFillDives);
    addCommand(edit, Command::ManualData, StringId::MenuManualData);
    addCommand(edit, Command::SplitDive, StringId::MenuSplitDive);
    addCommand(edit, Command::MergeDives, StringId::MenuMergeDives);

    QMenu *view = bar->addMenu(ui::tr("&Vue"));
    addCommand(view, Command::ToolBar, StringId::MenuToolBar)->setCheckable(true);
    addCommand(view, Command::StatusBar, StringId::MenuStatusBar)->setCheckable(true);
    view->addSeparator();
    addCommand(view, Command::ProfilePreview, StringId::MenuProfilePreview)->setCheckable(true);
    addCommand(view, Command::ProfileWindow, StringId::MenuProfileWindow, { QK(Qt::Key_F9) });
    addCommand(view, Command::TableView, StringId::MenuTableView, { QK(Qt::ALT | Qt::Key_T) });
    view->addSeparator();
    addCommand(view, Command::Options, StringId::MenuOptions);
    addCommand(view, Command::ComputerTypes, StringId::MenuComputerTypes);

    QMenu *statistics = bar->addMenu(ui::tr("&Statistiques"));
    addCommand(statistics, Command::Statistics, StringId::MenuStatistics, { QK(Qt::Key_F6) });
    addCommand(statistics, Command::SiteStatistics, StringId::MenuSiteStatistics);
    addCommand(statistics, Command::PartnerStatistics, StringId::MenuPartnerStatistics);
    addCommand(statistics, Command::MonthlyStatistics, StringId::MenuMonthlyStatistics);

    QMenu *search = bar->addMenu(ui::tr("&Chercher"));
    addCommand(search, Command::SearchDive, StringId::MenuSearchDive, { QK(Qt::CTRL | Qt::Key_F) });
    addCommand(search, Command::SearchForward, StringId::MenuSearchForward);
    addCommand(search, Command::SearchBackward, StringId::MenuSearchBackward);
    addCommand(search, Command::AdvancedSearch, StringId::MenuAdvancedSearch);
    addCommand(search, Command::SearchReplace, StringId::MenuSearchReplace);

    QMenu *extras = bar->addMenu(ui::tr("&Outils"));
    addCommand(extras, Command::Planner, StringId::MenuPlanner);
    addCommand(extras, Command::NoDecoComparison, StringId::MenuNoDecoComparison);
    extras->addSeparator();
    addCommand(extras, Command::Certificates, StringId::MenuCertificates, { QK(Qt::Key_F1) });
    addCommand(extras, Command::Equipment, StringId::MenuEquipment, { QK(Qt::Key_F10) });
    addCommand(extras, Command::Addresses, StringId::MenuAddresses, { QK(Qt::Key_F11) });
    addCommand(extras, Command::Trips, StringId::MenuTrips);
    addCommand(extras, Command::InstructorRecord, StringId::MenuInstructorRecord);
    addCommand(extras, Command::Forecast, StringId::MenuForecast);
    extras->addSeparator();
    addCommand(extras, Command::ExternalApplication, StringId::MenuExternalApplication, { QK(Qt::CTRL | Qt::Key_F5) });

    QMenu *help = bar->addMenu(qstr(StringId::MenuHelp));
    addCommand(help, Command::Tips, StringId::MenuTips);
    help->addSeparator();
    addCommand(help, Command::About, StringId::MenuAbout);
    addCommand(help, Command::KnownComputers, StringId::MenuKnownComputers);
    addCommand(help, Command::Compatibility, StringId::MenuCompatibility);

    for (QMenu *menu : bar->findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(plainText(qstr(StringId::MenuToolBar)));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    // Only commands the program has are on the bar; a separator divides the groups.
    const std::vector<std::vector<Command>> groups = {
        { Command::NewLogbook, Command::OpenLogbook, Command::SaveLogbook },
        { Command::EditDive, Command::InsertDive, Command::ReadComputer },
        { Command::DeleteDive, Command::CopyDive, Command::PasteDive },
        { Command::Print },
        { Command::ProfileWindow, Command::TableView, Command::Statistics },
        { Command::SearchDive, Command::SearchBackward, Command::SearchForward },
        { Command::About },
        { Command::ExternalApplication, Command::ReopenLogbook },
    };
    for (const std::vector<Command> &group : groups) {
        if (&group != &groups.front())
            m_toolBar->addSeparator();
        for (Command command : group)
            m_toolBar->addAction(m_actions.value(command));
    }
}

void MainWindow::updateUndoTexts()
{
    const QUndoStack *stack = m_document->undoStack();
    const auto label = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : QStringLiteral("%1 %2").arg(verb, step);
    };
    const std::pair<Command, QString> items[] = {
        { Command::Undo, label(ui::tr("&Annuler"), stack->undoText()) },
        { Command::Redo, label(ui::tr("&Rétablir"), stack->redoText()) },
    };
    for (const auto &[command, text] : items) {
        QAction *action = m_actions.value(command);
        action->setText(text);
        action->setToolTip(plainText(text));
        action->setStatusTip(plainText(text));
        action->setEnabled(command == Command::Undo ? stack->canUndo() : stack->canRedo());
    }
}

void MainWindow::rebuildRecentFiles()
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    int number = 0;
    for (const std::string &file : m_context.settings.recentFiles) {
        if (file.empty() || number == kRecentFileCount)
            continue;
        ++number;
        const QString path = toQt(file);
        auto *action = new QAction(QStringLiteral("&%1 %2").arg(number).arg(QDir::toNativeSeparators(path)), this);
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] { m_document->openPath(path); });
        m_fileMenu->insertAction(m_recentAnchor, action);
        m_recentActions.append(action);
    }
    if (m_recentActions.isEmpty()) {
        auto *placeholder = new QAction(qstr(StringId::MenuRecentFile), this);
        placeholder->setEnabled(false);
        m_fileMenu->insertAction(m_recentAnchor, placeholder);
        m_recentActions.append(placeholder);
    }
}

} // namespace zorv::ui
