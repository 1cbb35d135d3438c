// "Séparer plongées": the dive's profile, where a held mouse button picks the minute to split at.
#pragma once

#include <QDialog>

class QLineEdit;

namespace zorv::ui {

struct AppContext;
class SplitPlot;

class SplitDialog : public QDialog {
    Q_OBJECT
public:
    SplitDialog(AppContext &context, int position, QWidget *parent = nullptr);
    // The chosen minute; 0 when none was chosen.
    int minute() const;
    // What a held button at this x of the plot chooses, as a mouse would.
    void pickAt(int x);
    QWidget *plot() const;

private:
    SplitPlot *m_plot;
    QLineEdit *m_minute;
};

} // namespace zorv::ui
