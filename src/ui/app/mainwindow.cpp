#include "ui/app/mainwindow.h"

#include "app/notices.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/menutext.h"
#include "ui/app/noticedialog.h"
#include "ui/app/tipsdialog.h"
#include "ui/colours/nodecowindow.h"
#include "ui/common/appcontext.h"
#include "ui/common/commandicons.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/windowplacement.h"
#include "ui/profile/manualdatadialog.h"
#include "ui/profile/plannerdialog.h"
#include "ui/profile/profilepreview.h"
#include "ui/profile/profilewindow.h"
#include "ui/registers/addressdialog.h"
#include "ui/registers/certificatesdialog.h"
#include "ui/registers/equipmentdialog.h"
#include "ui/registers/forecastdialog.h"
#include "ui/registers/teachingdialog.h"
#include "ui/registers/tripsdialog.h"
#include "ui/reports/csvexportdialog.h"
#include "ui/reports/printdispatcher.h"
#include "ui/settings/optionsdialogs.h"
#include "ui/stats/statisticswindow.h"
#include "ui/table/tableview.h"
#include "ui/tools/diveeditdialog.h"
#include "ui/tools/toolcommands.h"
#include "ui/transfer/computertypedialogs.h"
#include "ui/transfer/importcommands.h"
#include "ui/transfer/transferdialog.h"
#include "ui/transfer/uddfcommands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>
#include <QWindow>
#include <vector>

namespace zorv::ui {

namespace {

    using app::Command;

    // The bar layout is kept under "Status", as it always was.
    constexpr const char *kBarSection = "Status";

} // namespace

MainWindow::MainWindow(AppContext &context, std::filesystem::path tipsFile, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_tipsFile(std::move(tipsFile))
{
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    m_document = new LogbookDocument(context, this);
    m_print = new PrintDispatcher(context, this);
    m_page = new DivePageView(context, this);
    m_tools = std::make_unique<ToolCommands>(context, this);
    setCentralWidget(m_page);

    buildMenus();
    buildToolBar();
    statusBar()->setSizeGripEnabled(true);
    // The window is not shown yet, so the bars are not "visible" either: the
    // marks follow what the bars will be once it is.
    const bool toolBarShown = context.mainIni.readInt(kBarSection, "ToolBar", 1) != 0;
    const bool statusBarShown = context.mainIni.readInt(kBarSection, "StatusBar", 1) != 0;
    m_toolBar->setVisible(toolBarShown);
    statusBar()->setVisible(statusBarShown);
    m_actions.value(Command::ToolBar)->setChecked(toolBarShown);
    m_actions.value(Command::StatusBar)->setChecked(statusBarShown);

    connect(m_page, &DivePageView::commandRequested, this, &MainWindow::runCommand);
    connect(m_page->preview(), &ProfilePreview::clicked, this, [this] { runCommand(Command::ProfileWindow); });
    connect(m_document, &LogbookDocument::replaced, this, &MainWindow::logbookChanged);
    connect(m_document, &LogbookDocument::modifiedChanged, this, [this] {
        updateTitle();
        m_page->refreshPage();
    });
    connect(m_document, &LogbookDocument::diveReplaced, m_page, &DivePageView::diveChanged);
    connect(m_document, &LogbookDocument::restored, this, [this] {
        m_page->reloadList();
        m_page->goToDive(m_context.logbook.currentDive());
        updateCommandStates();
    });
    connect(m_document, &LogbookDocument::recentFilesChanged, this, &MainWindow::rebuildRecentFiles);

    resize(1100, 720);
    rebuildRecentFiles();
    updateTitle();
    updateCommandStates();
}

void MainWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(m_document->displayName(), qstr(StringId::AppTitle)));
}

void MainWindow::updateCommandStates()
{
    const settings::Settings &s = m_context.settings;
    app::CommandEnvironment environment;
    environment.profilePreview = s.profilePreview;
    environment.externalApplicationExists = !s.externalAppFile.empty() && QFileInfo(toQt(s.externalAppFile)).isFile();
    environment.logbookFileExists = m_document->hasFile() && QFileInfo(toQt(m_context.logbook.path())).isFile();
    m_tools->describe(environment);
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (it.key() == Command::ToolBar || it.key() == Command::StatusBar || it.key() == Command::Undo
            || it.key() == Command::Redo)
            continue;
        const app::CommandState state
            = app::commandState(it.key(), m_context.logbook, &m_context.catalogue, environment);
        it.value()->setEnabled(state.enabled);
        if (it.value()->isCheckable())
            it.value()->setChecked(state.checked);
    }
    // The user's own name for the external program names it in the menu and on the tool bar alike.
    if (QAction *external = m_actions.value(Command::ExternalApplication)) {
        const QString text = menuText(
            s.externalAppMenuText.empty() ? qstr(StringId::MenuExternalApplication) : toQt(s.externalAppMenuText));
        if (external->text() != text) {
            external->setText(text);
            external->setToolTip(plainText(text));
            external->setStatusTip(plainText(text));
        }
    }
}

void MainWindow::runCommand(Command command)
{
    // Accelerators of disabled commands may still arrive while the menus are
    // out of date; the rules are asked again here.
    updateCommandStates();
    updateUndoTexts();
    if (QAction *action = m_actions.value(command); action && !action->isEnabled())
        return;
    // Whatever the command changes in the logbook is undone as one step under its menu text.
    QAction *action = m_actions.value(command);
    m_document->beginCommand();
    runCommandBody(command);
    m_document->endCommand(action ? plainText(action->text()) : QString());
    updateTitle();
    updateCommandStates();
}

void MainWindow::runCommandBody(Command command)
{
    AppContext &c = m_context;
    switch (command) {
    case Command::Undo:
        m_document->undo();
        break;
    case Command::Redo:
        m_document->redo();
        break;
    case Command::NewLogbook:
        m_document->newLogbook();
        break;
    case Command::OpenLogbook:
        m_document->open();
        break;
    case Command::SaveLogbook:
        m_document->save();
        break;
    case Command::SaveLogbookAs:
        m_document->saveAs();
        break;
    case Command::ReopenLogbook:
        m_document->reopen();
        break;
    case Command::Quit:
        close();
        break;
    case Command::ExportCsv:
        exportCsv(c, this);
        break;
    case Command::Print:
    case Command::PrintPreview:
        m_print->printLogbook(this, command == Command::PrintPreview);
        break;
    case Command::PrintSetup:
        m_print->pageSetup(this);
        break;
    case Command::EditDive:
        if (c.logbook.diveCount() > 0 && editCurrentDive(c, this))
            m_page->reloadList();
        break;
    case Command::InsertDive:
        if (newDive(c, this))
            m_page->reloadList();
        break;
    case Command::ImportCitizen:
    case Command::ImportGuardian:
        if (importDive(
                c, command == Command::ImportCitizen ? imports::Format::Citizen : imports::Format::Guardian, this))
            m_page->reloadList();
        break;
    case Command::ExportUddf:
        exportUddf(c, this);
        break;
    case Command::ImportUddf:
        if (importUddf(c, this))
            m_page->reloadList();
        break;
    case Command::DeleteDive:
        if (m_document->deleteCurrentDive())
            m_page->reloadList();
        break;
    case Command::RenumberAll:
    case Command::RenumberPart:
    case Command::TimeZone:
    case Command::MergeDives:
    case Command::SplitDive:
    case Command::FillDives:
    case Command::PasteDive:
    case Command::MultiPaste:
    case Command::SearchReplace:
        if (runChangingTool(command))
            m_page->reloadList();
        break;
    case Command::CopyDive:
        m_tools->copyDive();
        break;
    case Command::MultiCopy:
        m_tools->multiCopy();
        break;
    case Command::MultiClear:
        m_tools->multiClear();
        break;
    case Command::SearchDive:
    case Command::SearchForward:
    case Command::SearchBackward:
    case Command::AdvancedSearch:
        if (const int found = runSearch(command))
            m_page->goToDive(found);
        break;
    case Command::CreateSelection: {
        QString open;
        if (const int found = m_tools->createSelection(open))
            m_page->goToDive(found);
        if (!open.isEmpty())
            m_document->openPath(open);
        break;
    }
    case Command::ToolBar:
        m_toolBar->setVisible(m_actions.value(command)->isChecked());
        break;
    case Command::StatusBar:
        statusBar()->setVisible(m_actions.value(command)->isChecked());
        break;
    case Command::ProfilePreview:
        c.settings.profilePreview = !c.settings.profilePreview;
        m_page->applyOptions();
        break;
    case Command::ProfileWindow:
        // The window may change the current dive and the colours.
        showProfileWindow(c, this, [this] {
            m_page->goToDive(m_context.logbook.currentDive());
            m_page->preview()->invalidatePicture();
        });
        break;
    case Command::TableView: {
        TableViewCallbacks callbacks;
        callbacks.goToDive = [this](int position) { m_page->goToDive(position); };
        showTableView(c, callbacks, this);
        m_page->reloadList();
        break;
    }
    case Command::Options:
        if (showOptionsDialog(c, this)) {
            c.applySettingsToLogbook();
            m_page->applyOptions();
            m_page->reloadList();
        }
        break;
    case Command::ExternalApplication:
        startExternalApplication();
        break;
    case Command::ReadComputer:
        if (showTransferDialog(c, this)) {
            m_page->reloadList();
            m_page->goToDive(c.logbook.diveCount());
        }
        break;
    case Command::ComputerTypes:
        if (showComputerTypesDialog(c, this))
            m_page->refreshPage();
        break;
    case Command::Statistics:
        showStatistics(c, this);
        break;
    case Command::SiteStatistics:
    case Command::PartnerStatistics:
        showFrequencies(c, command == Command::PartnerStatistics, this);
        break;
    case Command::MonthlyStatistics:
        showMonthlyBehaviour(c, this);
        break;
    case Command::NoDecoComparison:
        showNoDecoComparison(c, this);
        break;
    case Command::Planner:
        showPlannerDialog(c, this);
        break;
    case Command::ManualData:
        if (showManualDataDialog(c, this))
            m_page->reloadList();
        break;
    case Command::Certificates:
        showCertificates(c, this);
        break;
    case Command::Equipment:
        showEquipmentRegister(c, this);
        break;
    case Command::Addresses:
        showAddressRegister(c, this);
        break;
    case Command::Trips:
        showTrips(
            c, [this](int position) { m_page->goToDive(position); }, this);
        break;
    case Command::InstructorRecord:
        showTeachingRecord(c, this);
        break;
    case Command::Forecast:
        showForecast(c, this);
        break;
    case Command::KnownComputers:
        showKnownComputersDialog(this);
        break;
    case Command::Tips:
        showTips();
        break;
    case Command::About:
        showAbout();
        break;
    case Command::Compatibility:
        showNotice();
        break;
    default:
        break;
    }
}

bool MainWindow::runChangingTool(Command command)
{
    switch (command) {
    case Command::RenumberAll:
        return m_tools->renumberAll();
    case Command::RenumberPart:
        return m_tools->renumberPart();
    case Command::TimeZone:
        return m_tools->timeZone();
    case Command::MergeDives:
        return m_tools->merge();
    case Command::SplitDive:
        return m_tools->split();
    case Command::FillDives:
        return m_tools->fill();
    case Command::PasteDive:
        return m_tools->pasteDive();
    case Command::MultiPaste:
        return m_tools->multiPaste();
    case Command::SearchReplace:
        return m_tools->replace();
    default:
        return false;
    }
}

int MainWindow::runSearch(Command command)
{
    switch (command) {
    case Command::SearchDive:
        return m_tools->quickSearch();
    case Command::SearchForward:
        return m_tools->searchForward();
    case Command::SearchBackward:
        return m_tools->searchBackward();
    case Command::AdvancedSearch:
        return m_tools->advancedSearch();
    default:
        return 0;
    }
}

void MainWindow::logbookChanged()
{
    // Another logbook: the print range starts again from its current dive.
    m_print->job().resetRange();
    m_page->reloadList();
    updateTitle();
    updateCommandStates();
}

void MainWindow::startExternalApplication()
{
    // Started on its own, without a shell, so that no character of the path is
    // ever read as a command; a failed start is not reported.
    QProcess::startDetached(toQt(m_context.settings.externalAppFile), {});
}

void MainWindow::showTips()
{
    TipsDialog dialog(m_context, m_tipsFile, this);
    prompter().exec(dialog);
}

void MainWindow::showNotice()
{
    NoticeDialog dialog(m_context, this);
    prompter().exec(dialog);
}

void MainWindow::showAbout()
{
    QMessageBox box(QMessageBox::Information, plainText(qstr(StringId::MenuAbout)),
        toQt(app::aboutText(fromQt(QCoreApplication::applicationVersion()))), QMessageBox::NoButton, this);
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(programIcon().pixmap(64, 64));
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

bool MainWindow::restorePlacement()
{
    const auto stored = storedPlacement(m_context, settings::Window::Main, QSize(200, 150));
    if (!stored)
        return false;
    setGeometry(stored->rect);
    if (stored->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void MainWindow::savePlacement()
{
    saveWindowPlacement(m_context, this, settings::Window::Main);
}

void MainWindow::saveBarState()
{
    m_context.mainIni.writeInt(kBarSection, "ToolBar", m_toolBar->isVisibleTo(this) ? 1 : 0);
    m_context.mainIni.writeInt(kBarSection, "StatusBar", statusBar()->isVisibleTo(this) ? 1 : 0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveBarState();
    if (!m_document->maySave()) {
        event->ignore();
        return;
    }
    savePlacement();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        for (const QUrl &url : event->mimeData()->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void MainWindow::dropEvent(QDropEvent *event)
{
    // One logbook is open at a time: the first file dropped is the one opened.
    for (const QUrl &url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        event->acceptProposedAction();
        activateWindow();
        m_document->openPath(url.toLocalFile());
        return;
    }
}

} // namespace zorv::ui
