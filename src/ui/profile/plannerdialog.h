// The dive planner "Calcul de plongée d'après DECO 92": inputs, the result box, the chart of the planned dive,
// printing.
#pragma once

#include "profile/planner.h"
#include "profile/plannerdrawing.h"

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;

namespace zorv::ui {

struct AppContext;
class PlannerChartView;

// The planner's inputs and last result, kept for the rest of the run once the dialog was first opened.
profile::PlannerState &plannerState(AppContext &context);
// The profile of the last computation, whoever started it.
profile::PlannedProfile &plannedProfile();

// The printed page on any paint device (printer, PDF), through the page drawing in tenths of a millimetre.
void paintPlannerPage(QPainter &painter, const profile::PlannerState &state, const profile::PlannedProfile &planned,
    const profile::PlannerChartStyle &style);

class PlannerDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PlannerDialog(AppContext &context, QWidget *parent = nullptr);

    QLineEdit *depthField() const { return m_depth; }
    QLineEdit *timeField() const { return m_time; }
    QLineEdit *groupField() const { return m_group; }
    QLineEdit *intervalField() const { return m_interval; }
    QLineEdit *rateField() const { return m_rate; }
    QLineEdit *tankField() const { return m_tank; }
    QLineEdit *pressureField() const { return m_pressure; }
    QCheckBox *repetitiveBox() const { return m_repetitive; }
    QRadioButton *mountainButton() const { return m_mountain; }
    QPlainTextEdit *resultBox() const { return m_result; }
    PlannerChartView *chart() const { return m_chart; }
    QPushButton *button(const QString &text) const;

    // "&Calculer"; false when a field does not hold a number.
    bool calculate();

private:
    void showFields();
    bool readFields();
    void refreshEnabling();
    void print();
    profile::PlannerChartStyle chartStyle() const;

    AppContext &m_context;
    QLineEdit *m_depth = nullptr;
    QLineEdit *m_time = nullptr;
    QRadioButton *m_seaLevel = nullptr;
    QRadioButton *m_mountain = nullptr;
    QCheckBox *m_repetitive = nullptr;
    QLineEdit *m_group = nullptr;
    QLineEdit *m_interval = nullptr;
    QLineEdit *m_rate = nullptr;
    QLineEdit *m_tank = nullptr;
    QLineEdit *m_pressure = nullptr;
    QPlainTextEdit *m_result = nullptr;
    PlannerChartView *m_chart = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_paste = nullptr;
    QPushButton *m_erase = nullptr;
    QPushButton *m_print = nullptr;
    QCheckBox *m_grid = nullptr;
    QCheckBox *m_crosshair = nullptr;
    // The chart shows only a result computed in this dialog, not one left from an earlier opening.
    bool m_computedHere = false;
};

void showPlannerDialog(AppContext &context, QWidget *parent);

} // namespace zorv::ui
