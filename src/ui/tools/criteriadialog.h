// "Critères de sélection" and "Recherche avancé": the criteria search, its result list, and the selection save.
#pragma once

#include "common/result.h"
#include "tools/divesearch.h"

#include <QDialog>
#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zorv::ui {

class CriteriaDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose {
        Selection, // may write the found dives as a new logbook
        AdvancedSearch,
    };

    // Shows `criteria`, which the dialog keeps up to date for the next opening.
    CriteriaDialog(logbook::Logbook &book, tools::SearchCriteria &criteria, Purpose purpose, QWidget *parent = nullptr);

    // The dive "&Aller à" chose, 0 when none.
    int chosenPosition() const { return m_chosen; }
    // The logbook "&Créer" wrote, empty when none.
    QString writtenPath() const { return m_written; }

    void search();
    // The user has chosen the file; asks before overwriting it.
    void createAt(const QString &path);

    QListWidget *results() const { return m_results; }
    QLabel *countLabel() const { return m_count; }
    QPushButton *searchButton() const { return m_search; }
    QPushButton *goToButton() const { return m_goTo; }
    QPushButton *createButton() const { return m_create; }

private:
    void showCriteria();
    // The controls into the criteria; a refusal names the field that does not read.
    common::Result readCriteria();
    void create();

    logbook::Logbook &m_book;
    tools::SearchCriteria &m_criteria;
    Purpose m_purpose;
    std::vector<int> m_found;
    int m_chosen = 0;
    QString m_written;
    QLineEdit *m_dateFrom;
    QLineEdit *m_dateTo;
    QComboBox *m_place;
    QComboBox *m_site;
    QLineEdit *m_depthFrom;
    QLineEdit *m_depthTo;
    QComboBox *m_altitude;
    QComboBox *m_weather;
    QComboBox *m_suit;
    QLineEdit *m_durationFrom;
    QLineEdit *m_durationTo;
    QLineEdit *m_consumptionFrom;
    QLineEdit *m_consumptionTo;
    QComboBox *m_tankVolume;
    QLineEdit *m_partner;
    QLineEdit *m_other;
    QButtonGroup *m_decompression;
    QButtonGroup *m_ascent;
    QButtonGroup *m_water;
    QCheckBox *m_nitrox;
    std::array<QCheckBox *, 12> m_activities {};
    std::array<QCheckBox *, 7> m_secondSet {};
    QButtonGroup *m_mode;
    QListWidget *m_results;
    QLabel *m_count;
    QPushButton *m_search;
    QPushButton *m_goTo;
    QPushButton *m_create;
};

} // namespace zorv::ui
