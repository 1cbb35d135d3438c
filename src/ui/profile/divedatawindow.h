// The profile window's modeless companion that lists the current dive's data beside the chart.
#pragma once

#include "logbook/divepage.h"

#include <QDialog>
#include <QMap>
#include <QRect>
#include <optional>
#include <vector>

class QGridLayout;
class QLabel;

namespace zorv::ui {

struct AppContext;

// The dive page's rows for a dive (0 = none gives empty values): both windows
// show the page's own labels, texts and unit words.
std::vector<logbook::DivePageRow> divePageRows(const AppContext &context, int position);

// Lives only while the profile window's "&Données" switch is on; it remembers
// where it stood under "CDisplWindow".
class DiveDataWindow : public QDialog {
    Q_OBJECT
public:
    DiveDataWindow(AppContext &context, QWidget *parent);
    ~DiveDataWindow() override;

    // Fills the fields from the dive at this logbook position (0 = none).
    void showDive(int position);
    // The shown value of a dive page control, by its control id (tests).
    QString valueText(logbook::PageControl controlId) const;
    QString unitText(logbook::PageControl controlId) const;

    // Where the user left it last, if that is still on a screen.
    std::optional<QRect> storedRect() const;

    // Every way of closing (its close button, Escape, the profile window) passes here.
    void done(int result) override;

private:
    void savePlacement();

    AppContext &m_context;
    QMap<logbook::PageControl, QLabel *> m_values; // by control id
    QMap<logbook::PageControl, QLabel *> m_units; // by the control id of their value
    bool m_placementSaved = false;
};

} // namespace zorv::ui
