// The many-dive commands of the main window: they ask through the tool dialogs and run the tools of core.
#pragma once

#include "app/commandstate.h"
#include "tools/divefill.h"
#include "tools/divesearch.h"

#include <QString>

class QWidget;

namespace zorv::ui {

struct AppContext;

// The buffers and the last searches live for the whole run, so that dives can
// be carried into another logbook and a search repeated from anywhere.
class ToolCommands {
public:
    ToolCommands(AppContext &context, QWidget *window);

    // The clipboard and search state the enabling rules read.
    void describe(app::CommandEnvironment &environment) const;

    // Each returns true when the logbook changed and its list must be rebuilt.
    bool renumberAll();
    bool renumberPart();
    bool timeZone();
    bool merge();
    bool split();
    bool fill();
    void copyDive();
    bool pasteDive();
    void multiCopy();
    bool multiPaste();
    void multiClear();
    bool replace();

    // Each returns the position of the dive to show, 0 for none.
    int quickSearch();
    int searchForward();
    int searchBackward();
    int advancedSearch();
    // The selection dialog: returns the dive "&Aller à" chose (0 for none) and
    // sets `pathToOpen` to the logbook it wrote when the user wants it opened.
    int createSelection(QString &pathToOpen);

    tools::SingleDiveBuffer &singleBuffer() { return m_single; }
    tools::MultiDiveBuffer &multiBuffer() { return m_multi; }
    tools::QuickSearch &lastQuickSearch() { return m_quick; }

private:
    int repeatSearch(tools::SearchDirection direction);
    // Shows a refusal or a tool's closing message; false for a refusal.
    bool report(const common::Result &result);
    void inform(const std::string &message);

    AppContext &m_context;
    QWidget *m_window;
    tools::SingleDiveBuffer m_single;
    tools::MultiDiveBuffer m_multi;
    tools::QuickSearch m_quick;
    tools::SearchCriteria m_criteria;
    tools::FillTemplate m_fill;
    bool m_fillOpened = false;
};

} // namespace zorv::ui
