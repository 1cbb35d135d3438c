// The main window's page: the dive list on the left, every field of the current dive on the right.
#pragma once

#include "app/commandstate.h"
#include "logbook/divepage.h"

#include <QMap>
#include <QWidget>

class QGridLayout;
class QLabel;
class QListView;
class QPlainTextEdit;
class QSplitter;

namespace zorv::ui {

struct AppContext;
class DiveListModel;
class ProfilePreview;

class DivePageView : public QWidget {
    Q_OBJECT
public:
    explicit DivePageView(AppContext &context, QWidget *parent = nullptr);

    // Shows the dive at this position (1-based) as current and selects its line.
    void goToDive(int position);
    // The logbook changed as a whole (dives added, removed, moved, another file).
    void reloadList();
    // One dive was replaced in place.
    void diveChanged(int position);
    // Refills every field from the current dive, with the current units and options.
    void refreshPage();
    // Shows or hides the profile preview and the weights after an options change.
    void applyOptions();

    QListView *diveList() const { return m_list; }
    DiveListModel *model() const { return m_model; }
    ProfilePreview *preview() const { return m_preview; }
    // The value text of a page control, by its control id (tests and the status bar).
    QString valueText(logbook::PageControl controlId) const;
    QLabel *valueLabel(logbook::PageControl controlId) const { return m_values.value(controlId); }
    QLabel *unitLabel(logbook::PageControl unitControlId) const { return m_units.value(unitControlId); }

signals:
    void commandRequested(app::Command command);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildPage();
    QLabel *valueField(logbook::PageControl controlId);
    void addRow(QGridLayout *grid, int row, int column, logbook::PageControl controlId, int span = 1);
    void selectCurrentLine();
    void currentLineChanged(int row);
    void colourProfileKind(int kind);

    AppContext &m_context;
    DiveListModel *m_model = nullptr;
    QListView *m_list = nullptr;
    QSplitter *m_splitter = nullptr;
    QPlainTextEdit *m_comment = nullptr;
    ProfilePreview *m_preview = nullptr;
    QMap<logbook::PageControl, QLabel *> m_values; // by control id
    QMap<logbook::PageControl, QLabel *> m_labels; // by the control id of their value
    QMap<logbook::PageControl, QLabel *> m_units; // by unit control id
    QMap<logbook::PageControl, QString> m_labelTexts;
    QMap<logbook::PageControl, logbook::PageControl> m_unitOfControl;
    bool m_selecting = false;
};

} // namespace zorv::ui
