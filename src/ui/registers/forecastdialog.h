// The dive count forecast window: when the logbook reaches a number of dives, and the journal of forecasts.
#pragma once

#include "registers/forecast.h"

#include <QDialog>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace zorv::ui {

struct AppContext;

class ForecastDialog : public QDialog {
    Q_OBJECT
public:
    explicit ForecastDialog(const logbook::Logbook &book, QWidget *parent = nullptr);
    const registers::ForecastJournal &journal() const { return m_journal; }
    // The target of the last forecast computed (tests).
    int computedTarget() const { return m_computed.target; }

private:
    void compute();
    void store();
    void deleteSelected();
    void refillJournal();
    void refillMonths();
    registers::ForecastInput input() const;
    common::ResultOr<long long> readTarget() const;

    const logbook::Logbook &m_book;
    std::string m_journalPath; // empty when the journal could not be read: it is then left alone
    registers::ForecastJournal m_journal;
    std::optional<registers::Forecast> m_forecast;
    registers::ForecastInput m_computed;
    QCheckBox *m_includeCurrent = nullptr;
    QLineEdit *m_target = nullptr;
    QLineEdit *m_start = nullptr;
    QLabel *m_result = nullptr;
    QButtonGroup *m_rate = nullptr;
    QTreeWidget *m_months = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_store = nullptr;
    QPushButton *m_delete = nullptr;
};

void showForecast(AppContext &context, QWidget *parent);

} // namespace zorv::ui
