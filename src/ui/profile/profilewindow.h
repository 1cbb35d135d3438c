// The profile window: the dive's chart with a cursor that replays what the dive computer showed, and a list to pick the
// dive.
#pragma once

#include "profile/profilescene.h"
#include "ui/profile/divedatawindow.h"

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QListView;
class QPushButton;

namespace zorv::ui {

struct AppContext;
class ProfileGraphView;
class CanvasView;
class ProfileDiveListModel;

// Reads dives only. The dive chosen in its list becomes the logbook's current
// dive at once; `mainViewChanged` tells the main window to show it (and to
// repaint after a colour change).
class ProfileWindow : public QDialog {
    Q_OBJECT
public:
    ProfileWindow(AppContext &context, std::function<void()> mainViewChanged, QWidget *parent = nullptr);
    ~ProfileWindow() override;

    int cursorIndex() const;
    // What the computer's display shows at the cursor.
    const profile::CursorReadout &readout() const { return m_readout; }
    // A header field's value and unit caption, by the dive page's control id.
    QString headerText(logbook::PageControl controlId) const;
    QString headerUnit(logbook::PageControl controlId) const;
    // Null while the "&Données" switch is off.
    DiveDataWindow *dataWindow() const { return m_dataWindow; }
    // How often the chart itself was drawn: cursor moves must not draw it.
    int graphDrawCount() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildTopBand();
    QWidget *buildHeaderFields();
    QWidget *buildInstruments();
    QWidget *buildButtons();
    void chooseDive(int row);
    void selectCurrentLine();
    void showCurrentDive();
    void cursorMoved(int cursor);
    void refreshFields();
    void refreshButtons();
    void setDataWindowOpen(bool open);
    void placeDataWindow();
    void changeColours();
    profile::GraphStyle graphStyle() const;
    profile::ComputerTraits traits() const;
    void restorePlacement();
    void savePlacement();

    AppContext &m_context;
    std::function<void()> m_mainViewChanged;
    ProfileDiveListModel *m_model = nullptr;
    QListView *m_list = nullptr;
    ProfileGraphView *m_graph = nullptr;
    CanvasView *m_strip = nullptr;
    CanvasView *m_instruments = nullptr;
    CanvasView *m_levelBars = nullptr;
    CanvasView *m_display = nullptr;
    QLabel *m_pressureCaption = nullptr;
    QMap<logbook::PageControl, QLabel *> m_values; // header fields by control id
    QMap<logbook::PageControl, QLabel *> m_units;
    QPushButton *m_copy = nullptr;
    QPushButton *m_paste = nullptr;
    QPushButton *m_erase = nullptr;
    QPushButton *m_plan = nullptr;
    QCheckBox *m_gridBox = nullptr;
    QCheckBox *m_crosshairBox = nullptr;
    QCheckBox *m_averageBox = nullptr;
    QCheckBox *m_dataBox = nullptr;
    QPointer<DiveDataWindow> m_dataWindow;
    profile::CursorReadout m_readout;
    bool m_averageLine = false; // per window, off at each opening
    bool m_selecting = false;
    bool m_shown = false;
};

// Opens the window modally; afterwards the main window shows the current dive again.
void showProfileWindow(AppContext &context, QWidget *parent, const std::function<void()> &mainViewChanged);

} // namespace zorv::ui
