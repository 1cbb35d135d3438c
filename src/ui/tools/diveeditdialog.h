// The dive edit dialog and the three ways of opening it.
#pragma once

#include "logbook/diverecord.h"
#include "tools/diveeditform.h"

#include <QDialog>
#include <array>
#include <memory>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zorv::ui {

struct AppContext;

// Edits the current dive; stores it (moving it if its date changed) on OK.
// Returns true when the logbook changed. OK on an unchanged dive changes nothing.
bool editCurrentDive(AppContext &context, QWidget *parent);

// New dive from the blank record with the defaults and the remembered date.
// Returns true when a dive was inserted.
bool newDive(AppContext &context, QWidget *parent);

// New dive from a record another window prepared (manual profile, imports, the
// dive clipboard). On OK the edited dive is also written to `edited` when given.
bool newDiveFrom(
    AppContext &context, const logbook::DiveRecord &prepared, QWidget *parent, logbook::DiveRecord *edited = nullptr);

// "Editer données de plongée": edits a copy of one dive. Use: setRecord, exec,
// and on Accepted changedRecord, empty when the logbook need not change.
class DiveEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiveEditDialog(AppContext &context, QWidget *parent = nullptr);
    ~DiveEditDialog() override;

    // Position 0 is a new dive.
    void setRecord(const logbook::DiveRecord &record, int position);
    std::optional<logbook::DiveRecord> changedRecord() const;

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fillLists();
    tools::DiveEditValues readControls() const;
    void showValues();
    void applyStates();
    void limitComment();
    void openWarnings();

    AppContext &m_context;
    std::unique_ptr<tools::DiveEditForm> m_form;
    bool m_showing = false;
    QString m_commentAsShown; // the edit's text right after it was filled

    QLineEdit *m_number = nullptr;
    QLineEdit *m_date = nullptr;
    QLineEdit *m_time = nullptr;
    QComboBox *m_place = nullptr;
    QComboBox *m_site = nullptr;
    QComboBox *m_altitude = nullptr;
    QLineEdit *m_interval = nullptr;
    QComboBox *m_weather = nullptr;
    QLineEdit *m_airTemperature = nullptr;
    QLineEdit *m_weights = nullptr;
    QComboBox *m_suit = nullptr;
    QComboBox *m_model = nullptr;
    QComboBox *m_tankVolume = nullptr;
    QLineEdit *m_tankPressure = nullptr;
    QComboBox *m_tankMaterial = nullptr;
    QLineEdit *m_maxDepth = nullptr;
    QLineEdit *m_visibility = nullptr;
    QLineEdit *m_duration = nullptr;
    QLineEdit *m_minWaterTemperature = nullptr;
    QLineEdit *m_airUsed = nullptr;
    QLabel *m_airConsumption = nullptr;
    QButtonGroup *m_decompression = nullptr;
    QButtonGroup *m_ascent = nullptr;
    QButtonGroup *m_water = nullptr;
    QCheckBox *m_nitrox = nullptr;
    QCheckBox *m_scr = nullptr;
    std::array<QCheckBox *, 12> m_activities {};
    std::array<QCheckBox *, 8> m_secondSet {};
    QComboBox *m_otherActivities = nullptr;
    QLabel *m_result = nullptr;
    QCheckBox *m_shortNames = nullptr;
    QButtonGroup *m_boatShore = nullptr;
    QButtonGroup *m_leader = nullptr;
    QComboBox *m_partnerChoice = nullptr;
    QPushButton *m_addPartner = nullptr;
    QLineEdit *m_partners = nullptr;
    QPlainTextEdit *m_comment = nullptr;
    QCheckBox *m_freeData = nullptr;
    QPushButton *m_warnings = nullptr;
    QComboBox *m_airComputers = nullptr;
    QComboBox *m_importComputers = nullptr;
    QPushButton *m_previousDive = nullptr;
    // Shown in advanced mode only: the controls with their labels.
    std::vector<QWidget *> m_advancedOnly;
    std::vector<QWidget *> m_measured;
};

// "Message d'alarme": the warnings a dive computer reported, as four check boxes.
class WarningsDialog : public QDialog {
    Q_OBJECT
public:
    WarningsDialog(std::uint16_t warnings, QWidget *parent = nullptr);
    // The warnings with the boxes as ticked; the bits without a box unchanged.
    std::uint16_t warnings() const;

private:
    std::uint16_t m_original;
    std::array<QCheckBox *, 4> m_boxes {};
};

} // namespace zorv::ui
