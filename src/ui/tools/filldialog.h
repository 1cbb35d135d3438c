// "Remplir plongée": the values to write into a range of dives, kept for the run in a fill template.
#pragma once

#include "common/result.h"
#include "logbook/suggestionlists.h"
#include "tools/divefill.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zorv::ui {

class FillDialog : public QDialog {
    Q_OBJECT
public:
    // Shows `fill` and, on "&Remplir", writes the controls back into it and fills the dives.
    FillDialog(logbook::Logbook &book, tools::FillTemplate &fill, QWidget *parent = nullptr);
    // True once a fill has changed the logbook.
    bool filled() const { return m_filled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTemplate();
    // The controls into the template; a refusal names the field that does not read.
    common::Result readTemplate();
    void runFill();
    void refillSites();

    logbook::Logbook &m_book;
    tools::FillTemplate &m_fill;
    logbook::SuggestionLists m_lists;
    bool m_advanced;
    bool m_filled = false;
    QString m_placeShown; // the place the site list was filled for
    QLineEdit *m_first;
    QLineEdit *m_last;
    QComboBox *m_place;
    QComboBox *m_site;
    QComboBox *m_weather;
    QComboBox *m_suit;
    QComboBox *m_model;
    QComboBox *m_tankVolume;
    QComboBox *m_tankMaterial;
    QLineEdit *m_airTemperature;
    QLineEdit *m_weights;
    QButtonGroup *m_decompression;
    QButtonGroup *m_ascent;
    QButtonGroup *m_water;
    QCheckBox *m_nitrox;
    QCheckBox *m_scr;
    std::array<QCheckBox *, 12> m_activities {};
    QButtonGroup *m_boatShore;
    QButtonGroup *m_leader;
};

} // namespace zorv::ui
