// "Données manuelles plongée": the depth profile of a dive drawn by hand over a profile made from its depth and time.
#pragma once

#include "logbook/diverecord.h"
#include "profile/manualprofile.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zorv::ui {

struct AppContext;
class ManualGraphView;
class CanvasView;

class ManualDataDialog final : public QDialog {
    Q_OBJECT
public:
    // Works on a copy of the current dive; only OK and "&Profil effacer" change the logbook.
    explicit ManualDataDialog(AppContext &context, QWidget *parent = nullptr);

    const logbook::DiveRecord &work() const { return m_work; }
    int cursor() const { return m_cursor; }
    QWidget *graph() const;
    QPushButton *button(const QString &text) const;
    QLabel *field(const QString &name) const;
    // Shown when the dive lasts longer than a drawn profile can hold.
    QLabel *limitNote() const { return m_limitNote; }

    // The mouse over the graph, in its coordinates; `drawing` with the left button held.
    void mouseAt(QPoint point, bool drawing);

private:
    void refreshFields();
    void store();
    void eraseProfile();
    profile::ManualGraphStyle graphStyle() const;

    AppContext &m_context;
    int m_position = 0;
    logbook::DiveRecord m_work;
    profile::ManualAxis m_axis;
    int m_cursor = 0;
    std::optional<profile::ManualPoint> m_stroke; // the last drawn point while the button is held
    ManualGraphView *m_graph = nullptr;
    CanvasView *m_panel = nullptr;
    QLabel *m_limitNote = nullptr;
    QPushButton *m_paste = nullptr;
    QPushButton *m_erase = nullptr;
    QPushButton *m_plan = nullptr;
};

// True when the logbook was changed.
bool showManualDataDialog(AppContext &context, QWidget *parent);

} // namespace zorv::ui
