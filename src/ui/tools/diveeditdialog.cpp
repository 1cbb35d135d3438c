#include "ui/tools/diveeditdialog.h"

#include "common/clock.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/units.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

namespace zorv::ui {

using logbook::Quantity;
using tools::Choice;

namespace {

    Choice choiceOf(const QButtonGroup *group)
    {
        switch (group->checkedId()) {
        case 0:
            return Choice::First;
        case 1:
            return Choice::Second;
        default:
            return Choice::Neither;
        }
    }

    void setChoice(QButtonGroup *group, Choice choice)
    {
        const int id = choice == Choice::First ? 0 : choice == Choice::Second ? 1 : 2;
        group->button(id)->setChecked(true);
    }

    void setComboText(QComboBox *combo, const std::string &text)
    {
        combo->setCurrentText(toQt(text));
    }

    void fillFromList(QComboBox *combo, const logbook::ValueList &list)
    {
        const QString text = combo->currentText();
        combo->clear();
        for (int i = 0; i < list.count(); ++i)
            combo->addItem(toQt(list.get(i)));
        combo->setCurrentText(text);
    }

    // The stored comment keeps the line breaks of the edit controls its older logbooks were typed into.
    std::string commentFromEdit(const QString &text)
    {
        QString stored = text;
        stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        return fromQt(stored);
    }

    QString commentForEdit(const std::string &comment)
    {
        QString text = toQt(comment);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return text;
    }

    int commentLength(const QString &text)
    {
        return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
    }

} // namespace

DiveEditDialog::DiveEditDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_form(std::make_unique<tools::DiveEditForm>(context.logbook, context.catalogue, context.diveEditSwitches))
{
    setWindowTitle(qstr(StringId::EditDiveCaption));
    buildControls();
    fillLists();
    showValues();
}

DiveEditDialog::~DiveEditDialog()
{
    // Children losing the focus while they are torn down must not reach the form.
    m_showing = true;
}

void DiveEditDialog::fillLists()
{
    const logbook::SuggestionLists &lists = m_form->lists();
    for (const std::string &row : m_form->altitudeClassRows())
        m_altitude->addItem(toQt(row));
    for (int i = 0; i < logbook::names::kWeatherCount; ++i)
        m_weather->addItem(toQt(logbook::names::weather(i)));
    for (int i = 0; i < logbook::names::kSuitCount; ++i)
        m_suit->addItem(toQt(logbook::names::suit(i)));
    for (int i = 0; i < logbook::names::kTankMaterialCount; ++i)
        m_tankMaterial->addItem(toQt(logbook::names::tankMaterial(i)));
    fillFromList(m_place, lists.list(logbook::ListId::Places));
    fillFromList(m_partnerChoice, lists.list(logbook::ListId::Partners));
    fillFromList(m_otherActivities, lists.list(logbook::ListId::OtherActivities));
    fillFromList(m_model, lists.list(logbook::ListId::SuitModels));
    fillFromList(m_tankVolume, lists.list(logbook::ListId::TankVolumes));
    fillFromList(m_site, lists.list(logbook::ListId::SitesOfPlace));
    for (const std::string &row : m_form->computerRows(tools::ComputerList::All))
        m_airComputers->addItem(toQt(row));
    for (const std::string &row : m_form->computerRows(tools::ComputerList::Import))
        m_importComputers->addItem(toQt(row));
    m_partnerChoice->setCurrentText({});
}

void DiveEditDialog::setRecord(const logbook::DiveRecord &record, int position)
{
    m_form->setRecord(record, position);
    fillFromList(m_site, m_form->lists().list(logbook::ListId::SitesOfPlace));
    showValues();
}

std::optional<logbook::DiveRecord> DiveEditDialog::changedRecord() const
{
    return m_form->changedRecord();
}

tools::DiveEditValues DiveEditDialog::readControls() const
{
    tools::DiveEditValues v;
    v.number = fromQt(m_number->text());
    v.date = fromQt(m_date->text());
    v.time = fromQt(m_time->text());
    v.place = fromQt(m_place->currentText());
    v.site = fromQt(m_site->currentText());
    v.altitudeClass = m_altitude->currentIndex();
    v.interval = fromQt(m_interval->text());
    v.weather = m_weather->currentIndex();
    v.airTemperature = fromQt(m_airTemperature->text());
    v.weights = fromQt(m_weights->text());
    v.suit = m_suit->currentIndex();
    v.model = fromQt(m_model->currentText());
    // The suggestion list pads small volumes with blanks to line them up.
    v.tankVolume = fromQt(m_tankVolume->currentText().trimmed());
    v.tankPressure = fromQt(m_tankPressure->text());
    v.tankMaterial = m_tankMaterial->currentIndex();
    v.maxDepth = fromQt(m_maxDepth->text());
    v.visibility = fromQt(m_visibility->text());
    v.duration = fromQt(m_duration->text());
    v.minWaterTemperature = fromQt(m_minWaterTemperature->text());
    v.airUsed = fromQt(m_airUsed->text());
    v.airConsumption = m_form->shown().airConsumption;
    v.decompression = choiceOf(m_decompression);
    v.ascent = choiceOf(m_ascent);
    v.water = choiceOf(m_water);
    v.nitrox = m_nitrox->isChecked();
    v.scr = m_scr->isChecked();
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        v.activities[i] = m_activities[i]->isChecked();
    for (std::size_t i = 0; i < m_secondSet.size(); ++i)
        v.secondSet[i] = m_secondSet[i]->isChecked();
    v.otherActivities = fromQt(m_otherActivities->currentText());
    v.result = m_form->shown().result;
    v.boatShore = choiceOf(m_boatShore);
    v.leader = choiceOf(m_leader);
    v.partnerChoice = fromQt(m_partnerChoice->currentText());
    v.partners = fromQt(m_partners->text());
    // The edit turns stored line breaks into its own; an untouched comment must read back as it was.
    const QString comment = m_comment->toPlainText();
    v.comment = comment == m_commentAsShown ? m_form->shown().comment : commentFromEdit(comment);
    const bool importList = m_form->states().computerList == tools::ComputerList::Import;
    v.computer = importList ? m_importComputers->currentIndex() : m_airComputers->currentIndex();
    return v;
}

void DiveEditDialog::showValues()
{
    m_showing = true;
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject *o : std::initializer_list<QObject *> {
             m_comment, m_partnerChoice, m_place, m_site, m_otherActivities, m_tankVolume, m_model })
        blockers.push_back(std::make_unique<QSignalBlocker>(o));

    const tools::DiveEditValues &v = m_form->shown();
    m_number->setText(toQt(v.number));
    m_date->setText(toQt(v.date));
    m_time->setText(toQt(v.time));
    setComboText(m_place, v.place);
    setComboText(m_site, v.site);
    m_altitude->setCurrentIndex(v.altitudeClass);
    m_interval->setText(toQt(v.interval));
    m_weather->setCurrentIndex(v.weather);
    m_airTemperature->setText(toQt(v.airTemperature));
    m_weights->setText(toQt(v.weights));
    m_suit->setCurrentIndex(v.suit);
    setComboText(m_model, v.model);
    setComboText(m_tankVolume, v.tankVolume);
    m_tankPressure->setText(toQt(v.tankPressure));
    m_tankMaterial->setCurrentIndex(v.tankMaterial);
    m_maxDepth->setText(toQt(v.maxDepth));
    m_visibility->setText(toQt(v.visibility));
    m_duration->setText(toQt(v.duration));
    m_minWaterTemperature->setText(toQt(v.minWaterTemperature));
    m_airUsed->setText(toQt(v.airUsed));
    m_airConsumption->setText(toQt(v.airConsumption));
    setChoice(m_decompression, v.decompression);
    setChoice(m_ascent, v.ascent);
    setChoice(m_water, v.water);
    m_nitrox->setChecked(v.nitrox);
    m_scr->setChecked(v.scr);
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        m_activities[i]->setChecked(v.activities[i]);
    const std::array<std::string, 8> labels = m_form->secondSetLabels();
    for (std::size_t i = 0; i < m_secondSet.size(); ++i) {
        m_secondSet[i]->setText(toQt(labels[i]));
        m_secondSet[i]->setChecked(v.secondSet[i]);
    }
    setComboText(m_otherActivities, v.otherActivities);
    m_result->setText(toQt(v.result));
    m_shortNames->setChecked(m_form->switches().shortNames);
    m_freeData->setChecked(m_form->switches().freeData);
    setChoice(m_boatShore, v.boatShore);
    setChoice(m_leader, v.leader);
    m_partners->setText(toQt(v.partners));
    const QString comment = commentForEdit(v.comment);
    if (m_comment->toPlainText() != comment || m_commentAsShown.isNull()) {
        m_comment->setPlainText(comment);
        m_commentAsShown = m_comment->toPlainText();
    }
    m_airComputers->setCurrentIndex(-1);
    m_importComputers->setCurrentIndex(-1);
    (m_form->states().computerList == tools::ComputerList::Import ? m_importComputers : m_airComputers)
        ->setCurrentIndex(v.computer);
    blockers.clear();
    m_showing = false;
    applyStates();
}

void DiveEditDialog::applyStates()
{
    const tools::ControlStates s = m_form->states();
    m_previousDive->setEnabled(s.previousDiveEnabled);
    for (QWidget *w : m_advancedOnly)
        w->setVisible(s.advancedShown);
    m_shortNames->setVisible(s.shortNameSwitchShown);
    for (QWidget *w : m_measured)
        w->setEnabled(s.measuredEnabled);
    m_airTemperature->setEnabled(s.airTemperatureEnabled);
    const bool importList = s.computerList == tools::ComputerList::Import;
    m_importComputers->setVisible(importList);
    m_airComputers->setVisible(!importList);
    m_importComputers->setEnabled(s.computerEnabled);
    m_airComputers->setEnabled(s.computerEnabled);
    m_addPartner->setEnabled(s.addPartnerEnabled);
}

void DiveEditDialog::limitComment()
{
    // A comment stored longer than the mode allows (from advanced mode) may stay, but not grow.
    const QString text = m_comment->toPlainText();
    const int limit = std::max(m_form->states().commentLength, commentLength(m_commentAsShown));
    if (commentLength(text) <= limit)
        return;
    QString cut = text;
    while (!cut.isEmpty() && commentLength(cut) > limit)
        cut.chop(1);
    const QSignalBlocker blocker(m_comment);
    m_comment->setPlainText(cut);
    m_comment->moveCursor(QTextCursor::End);
}

void DiveEditDialog::openWarnings()
{
    WarningsDialog dialog(m_form->warnings(), this);
    if (prompter().exec(dialog) == QDialog::Accepted)
        m_form->setWarnings(dialog.warnings());
}

bool DiveEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_showing) {
        auto is = [watched](QComboBox *combo) { return watched == combo || watched == combo->lineEdit(); };
        if (is(m_place)) {
            m_form->placeLeft(readControls());
            {
                const QSignalBlocker blocker(m_site);
                fillFromList(m_site, m_form->lists().list(logbook::ListId::SitesOfPlace));
            }
            showValues();
        } else if (is(m_otherActivities)) {
            m_form->secondSetChanged(readControls());
            showValues();
        } else if (watched == m_airUsed || is(m_tankVolume)) {
            m_form->airFieldsLeft(readControls());
            showValues();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DiveEditDialog::accept()
{
    // An impossible value stays in its field for the user to mend; nothing is stored.
    const common::Result result = m_form->accept(readControls());
    if (!result) {
        showWarning(this, toQt(result.message()));
        return;
    }
    QDialog::accept();
}

WarningsDialog::WarningsDialog(std::uint16_t warnings, QWidget *parent)
    : QDialog(parent)
    , m_original(warnings)
{
    setWindowTitle(qstr(StringId::AlarmCaption));
    auto *layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const tools::WarningBox &box = tools::kWarningBoxes[i];
        m_boxes[i] = new QCheckBox(ui::tr(box.label), this);
        m_boxes[i]->setChecked((warnings & (1u << box.bit)) != 0);
        layout->addWidget(m_boxes[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(220);
    fitTitle(this);
}

std::uint16_t WarningsDialog::warnings() const
{
    std::array<bool, 4> ticked {};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        ticked[i] = m_boxes[i]->isChecked();
    return tools::applyWarningBoxes(m_original, ticked);
}

namespace {

    // The dialog on a dive not yet in the logbook; the dive as typed on OK.
    std::optional<logbook::DiveRecord> editNewDive(
        AppContext &context, const logbook::DiveRecord &record, QWidget *parent)
    {
        DiveEditDialog dialog(context, parent);
        dialog.setRecord(record, 0);
        if (prompter().exec(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.changedRecord(); // a new dive always counts as changed
    }

} // namespace

bool editCurrentDive(AppContext &context, QWidget *parent)
{
    logbook::Logbook &book = context.logbook;
    const int position = book.currentDive();
    const logbook::DiveRecord *current = book.dive(position);
    if (!current)
        return false;
    DiveEditDialog dialog(context, parent);
    dialog.setRecord(*current, position);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    const std::optional<logbook::DiveRecord> edited = dialog.changedRecord();
    if (!edited)
        return false;
    book.storeEditedCurrent(*edited);
    return true;
}

bool newDive(AppContext &context, QWidget *parent)
{
    logbook::Logbook &book = context.logbook;
    logbook::DiveRecord record;
    book.applyNewDiveDefaults(record);
    if (context.lastNewDiveDate == 0) {
        const common::LocalDateTime today = common::clock().localNow();
        context.lastNewDiveDate = logbook::dayNumber(today.day, today.month, today.year);
    }
    record.date = context.lastNewDiveDate;
    const std::optional<logbook::DiveRecord> typed = editNewDive(context, record, parent);
    if (!typed || !book.insertDive(*typed))
        return false;
    if (logbook::isShownAsDate(typed->date))
        context.lastNewDiveDate = typed->date;
    return true;
}

bool newDiveFrom(AppContext &context, const logbook::DiveRecord &prepared, QWidget *parent, logbook::DiveRecord *edited)
{
    const std::optional<logbook::DiveRecord> typed = editNewDive(context, prepared, parent);
    if (!typed)
        return false;
    if (edited)
        *edited = *typed;
    return context.logbook.insertDive(*typed);
}

} // namespace zorv::ui
