#include "ui/tools/diveeditdialog.h"

#include "common/clock.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/units.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
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

    QString unitText(Quantity quantity, logbook::UnitSystem units)
    {
        return toQt(logbook::unitWord(quantity, units));
    }

    QLineEdit *shortEdit(QWidget *parent, int width = 70)
    {
        auto *edit = new QLineEdit(parent);
        edit->setMinimumWidth(width);
        edit->setMaximumWidth(width + 30);
        return edit;
    }

    QComboBox *textCombo(QWidget *parent, int maxLength)
    {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->setMaxLength(maxLength);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(12);
        combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return combo;
    }

    // Three radio buttons in a row: the first flag, the second, neither.
    QButtonGroup *radioRow(QGridLayout *grid, int row, const QString &first, const QString &second,
        const QString &neither, QWidget *parent)
    {
        auto *group = new QButtonGroup(parent);
        const QString labels[3] = { first, second, neither };
        for (int i = 0; i < 3; ++i) {
            auto *radio = new QRadioButton(labels[i], parent);
            group->addButton(radio, i);
            grid->addWidget(radio, row, i);
        }
        return group;
    }

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

void DiveEditDialog::buildControls()
{
    const logbook::UnitSystem units = m_context.logbook.unitSystem();
    auto unitLabel = [&](Quantity quantity) { return new QLabel(unitText(quantity, units), this); };
    // A row "label: control [unit]"; the advanced-only and measured lists collect what the rules switch.
    auto row = [&](QGridLayout *grid, int r, const QString &label, QWidget *control, QLabel *unit = nullptr,
                   bool advancedOnly = false) {
        auto *caption = new QLabel(label, this);
        caption->setBuddy(control);
        grid->addWidget(caption, r, 0);
        // The unit sits right beside its value, not at the far edge of the group.
        auto *cell = new QHBoxLayout;
        cell->addWidget(control);
        if (unit)
            cell->addWidget(unit);
        const bool fillsCell = control->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding
            && control->maximumWidth() == QWIDGETSIZE_MAX;
        if (!fillsCell)
            cell->addStretch(1);
        grid->addLayout(cell, r, 1);
        if (advancedOnly) {
            m_advancedOnly.push_back(caption);
            m_advancedOnly.push_back(control);
            if (unit)
                m_advancedOnly.push_back(unit);
        }
    };

    // The dive: when and where.
    auto *diveBox = new QGroupBox(QStringLiteral("Plongée"), this);
    auto *diveGrid = new QGridLayout(diveBox);
    m_number = shortEdit(this);
    m_date = shortEdit(this, 90);
    m_time = shortEdit(this);
    m_interval = shortEdit(this);
    m_altitude = new QComboBox(this);
    row(diveGrid, 0, QStringLiteral("Numéro:"), m_number);
    row(diveGrid, 1, QStringLiteral("Date:"), m_date);
    row(diveGrid, 2, QStringLiteral("Heure:"), m_time);
    row(diveGrid, 3, QStringLiteral("Intervalle:"), m_interval);
    row(diveGrid, 4, QStringLiteral("Niveau d'altitude:"), m_altitude);
    diveGrid->setColumnStretch(1, 1);
    m_measured = { m_number, m_date, m_time, m_interval, m_altitude };

    auto *placeBox = new QGroupBox(QStringLiteral("Lieu"), this);
    auto *placeGrid = new QGridLayout(placeBox);
    m_place = textCombo(this, tools::kPlaceInputLength);
    m_site = textCombo(this, tools::kSiteInputLength);
    m_weather = new QComboBox(this);
    m_airTemperature = shortEdit(this);
    row(placeGrid, 0, QStringLiteral("Lieu:"), m_place);
    row(placeGrid, 1, QStringLiteral("Site:"), m_site);
    row(placeGrid, 2, QStringLiteral("Temps:"), m_weather);
    row(placeGrid, 3, QStringLiteral("Temp. air:"), m_airTemperature, unitLabel(Quantity::Temperature));
    placeGrid->setColumnStretch(1, 1);

    auto *gearBox = new QGroupBox(QStringLiteral("Equipement"), this);
    auto *gearGrid = new QGridLayout(gearBox);
    m_suit = new QComboBox(this);
    m_model = textCombo(this, tools::kModelInputLength);
    m_tankVolume = textCombo(this, 8);
    m_tankVolume->setMinimumContentsLength(6);
    m_tankVolume->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_tankPressure = shortEdit(this);
    m_tankMaterial = new QComboBox(this);
    m_weights = shortEdit(this);
    row(gearGrid, 0, QStringLiteral("Combinaison:"), m_suit);
    row(gearGrid, 1, QStringLiteral("Modèle:"), m_model, nullptr, true);
    row(gearGrid, 2, QStringLiteral("Cont. bouteille:"), m_tankVolume, unitLabel(Quantity::TankVolume));
    row(gearGrid, 3, QStringLiteral("Pression-bouteille:"), m_tankPressure, unitLabel(Quantity::Pressure), true);
    row(gearGrid, 4, QStringLiteral("Mat. bouteille:"), m_tankMaterial, nullptr, true);
    row(gearGrid, 5, QStringLiteral("Plombs:"), m_weights, unitLabel(Quantity::Weights), true);
    gearGrid->setColumnStretch(1, 1);

    // What the computer measured.
    auto *measureBox = new QGroupBox(QStringLiteral("Mesures"), this);
    auto *measureGrid = new QGridLayout(measureBox);
    m_maxDepth = shortEdit(this);
    m_duration = shortEdit(this);
    m_minWaterTemperature = shortEdit(this);
    m_visibility = shortEdit(this);
    m_airUsed = shortEdit(this);
    m_airConsumption = new QLabel(this);
    m_airConsumption->setMinimumWidth(70);
    m_airConsumption->setFrameShape(QFrame::StyledPanel);
    row(measureGrid, 0, QStringLiteral("Prof. max.:"), m_maxDepth, unitLabel(Quantity::Depth));
    row(measureGrid, 1, QStringLiteral("Durée:"), m_duration);
    row(measureGrid, 2, QStringLiteral("Temp. eau min.:"), m_minWaterTemperature, unitLabel(Quantity::Temperature));
    row(measureGrid, 3, QStringLiteral("Cons. air:"), m_airUsed, unitLabel(Quantity::Pressure));
    row(measureGrid, 4, QStringLiteral("Cons.Moy:"), m_airConsumption, unitLabel(Quantity::AirConsumption));
    row(measureGrid, 5, QStringLiteral("Visibilité:"), m_visibility, unitLabel(Quantity::Depth), true);
    m_airComputers = new QComboBox(this);
    m_importComputers = new QComboBox(this);
    auto *computerRow = new QVBoxLayout;
    computerRow->addWidget(m_airComputers);
    computerRow->addWidget(m_importComputers);
    measureGrid->addLayout(computerRow, 6, 0, 1, 2);
    m_warnings = new QPushButton(QStringLiteral("Alarmes"), this);
    m_freeData = new QCheckBox(QStringLiteral("Données libres"), this);
    measureGrid->addWidget(m_warnings, 7, 0);
    measureGrid->addWidget(m_freeData, 7, 1);
    measureGrid->setColumnStretch(1, 1);
    m_measured.insert(m_measured.end(), { m_maxDepth, m_duration, m_minWaterTemperature, m_airUsed, m_warnings });

    auto *typeBox = new QGroupBox(QStringLiteral("Type de plongée"), this);
    auto *typeGrid = new QGridLayout(typeBox);
    m_decompression = radioRow(
        typeGrid, 0, QStringLiteral("Dans la courbe"), QStringLiteral("Décompression"), QStringLiteral("-"), this);
    m_ascent = radioRow(typeGrid, 1, QStringLiteral("Remontée unique"), QStringLiteral("Remontées multiples"),
        QStringLiteral("-"), this);
    m_water = radioRow(typeGrid, 2, QStringLiteral("Eau douce"), QStringLiteral("Eau de mer"),
        QStringLiteral("Chambre de décompression"), this);
    m_nitrox = new QCheckBox(QStringLiteral("Nitrox"), this);
    m_scr = new QCheckBox(QStringLiteral("SCR"), this);
    typeGrid->addWidget(m_nitrox, 3, 0);
    typeGrid->addWidget(m_scr, 3, 1);
    // Boat or shore, and the diver's role, are kept in the .add file only.
    m_boatShore
        = radioRow(typeGrid, 4, QStringLiteral("Pl. bateau"), QStringLiteral("Pl. rivage"), QStringLiteral("-"), this);
    m_leader = radioRow(
        typeGrid, 5, QStringLiteral("Chef de palanquée"), QStringLiteral("Accompagnateur"), QStringLiteral("-"), this);
    for (QButtonGroup *group : { m_boatShore, m_leader })
        for (QAbstractButton *button : group->buttons())
            m_advancedOnly.push_back(button);

    auto *activityBox = new QGroupBox(QStringLiteral("Activités"), this);
    auto *activityGrid = new QGridLayout(activityBox);
    static const char *const activityLabels[12]
        = { "Pl. loisir", "Pl. club", "Education", "Instruction", " Pl. de nuit", " Pl. caverne", " Pl. sous glace",
              " Pl. recherche", "Pl. sur épaves", "Pl. rivière", "Pl. courant", "Pl. Photo" };
    for (int i = 0; i < 12; ++i) {
        // The labels with a leading blank are kept as the dialog always had them, but aligned like the others.
        const QString label = QString::fromUtf8(activityLabels[i]);
        auto *box = new QCheckBox(label.trimmed(), this);
        m_activities[static_cast<std::size_t>(i)] = box;
        activityGrid->addWidget(box, i / 2, i % 2);
    }
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    activityGrid->addWidget(line, 6, 0, 1, 2);
    for (int i = 0; i < 8; ++i) {
        auto *box = new QCheckBox(this);
        m_secondSet[static_cast<std::size_t>(i)] = box;
        activityGrid->addWidget(box, 7 + i / 2, i % 2);
        connect(box, &QCheckBox::clicked, this, [this] {
            if (!m_showing) {
                m_form->secondSetChanged(readControls());
                showValues();
            }
        });
    }
    m_shortNames = new QCheckBox(QStringLiteral("utilser abréviation"), this);
    activityGrid->addWidget(m_shortNames, 11, 0, 1, 2);
    m_otherActivities = textCombo(this, tools::kOtherActivitiesInputLength);
    auto *otherGrid = new QGridLayout;
    row(otherGrid, 0, QStringLiteral("Autres:"), m_otherActivities);
    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    m_result->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setMinimumHeight(m_result->fontMetrics().height() * 2);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row(otherGrid, 1, QStringLiteral("Résultat:"), m_result);
    otherGrid->setColumnStretch(1, 1);
    activityGrid->addLayout(otherGrid, 12, 0, 1, 2);
    activityGrid->setRowStretch(13, 1);

    // Partners and comment across the whole width.
    auto *notesGrid = new QGridLayout;
    m_partnerChoice = textCombo(this, tools::kPartnerChoiceInputLength);
    m_addPartner = new QPushButton(QStringLiteral("-->>"), this);
    m_addPartner->setAutoDefault(false);
    m_partners = new QLineEdit(this);
    m_partners->setMaxLength(tools::kPartnersInputLength);
    auto *partnerCaption = new QLabel(QStringLiteral("Partenaire:"), this);
    partnerCaption->setBuddy(m_partnerChoice);
    notesGrid->addWidget(partnerCaption, 0, 0);
    notesGrid->addWidget(m_partnerChoice, 0, 1);
    notesGrid->addWidget(m_addPartner, 0, 2);
    notesGrid->addWidget(m_partners, 0, 3);
    m_comment = new QPlainTextEdit(this);
    m_comment->setTabChangesFocus(true);
    m_comment->setMinimumHeight(m_comment->fontMetrics().lineSpacing() * 4 + 12);
    auto *commentCaption = new QLabel(QStringLiteral("Commentaire:"), this);
    commentCaption->setBuddy(m_comment);
    notesGrid->addWidget(commentCaption, 1, 0, Qt::AlignTop);
    notesGrid->addWidget(m_comment, 1, 1, 1, 3);
    notesGrid->setColumnStretch(1, 2);
    notesGrid->setColumnStretch(3, 3);

    m_previousDive = new QPushButton(QStringLiteral("Utiliser données &Plongée précédente"), this);
    m_previousDive->setAutoDefault(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DiveEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DiveEditDialog::reject);
    for (QPushButton *button : { m_warnings, m_previousDive })
        button->setAutoDefault(false);

    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(diveBox);
    left->addWidget(placeBox);
    left->addWidget(gearBox);
    left->addStretch(1);
    auto *middle = new QVBoxLayout;
    middle->addWidget(measureBox);
    middle->addWidget(typeBox);
    middle->addStretch(1);
    columns->addLayout(left, 3);
    columns->addLayout(middle, 3);
    columns->addWidget(activityBox, 3);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_previousDive);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto *all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(notesGrid);
    all->addLayout(bottom);

    // Names for the tests and for accessibility tools.
    const std::pair<QWidget *, const char *> named[] = { { m_number, "number" }, { m_date, "date" }, { m_time, "time" },
        { m_place, "place" }, { m_site, "site" }, { m_suit, "suit" }, { m_maxDepth, "maxDepth" },
        { m_duration, "duration" }, { m_airTemperature, "airTemperature" }, { m_tankVolume, "tankVolume" },
        { m_tankPressure, "tankPressure" }, { m_airUsed, "airUsed" }, { m_weights, "weights" },
        { m_visibility, "visibility" }, { m_airConsumption, "airConsumption" }, { m_partnerChoice, "partnerChoice" },
        { m_addPartner, "addPartner" }, { m_partners, "partners" }, { m_comment, "comment" },
        { m_freeData, "freeData" }, { m_warnings, "warnings" }, { m_previousDive, "previousDive" },
        { m_shortNames, "shortNames" }, { m_otherActivities, "otherActivities" }, { m_result, "result" },
        { m_airComputers, "airComputers" }, { m_importComputers, "importComputers" } };
    for (const auto &[widget, name] : named)
        widget->setObjectName(QLatin1String(name));
    for (std::size_t i = 0; i < m_secondSet.size(); ++i)
        m_secondSet[i]->setObjectName(QStringLiteral("secondSet%1").arg(i));

    // Handlers.
    for (QObject *watched : std::initializer_list<QObject *> { m_place, m_place->lineEdit(), m_otherActivities,
             m_otherActivities->lineEdit(), m_airUsed, m_tankVolume, m_tankVolume->lineEdit() })
        watched->installEventFilter(this);
    connect(m_shortNames, &QCheckBox::clicked, this, [this](bool on) {
        m_form->setShortNames(readControls(), on);
        showValues();
    });
    connect(m_freeData, &QCheckBox::clicked, this, [this](bool on) {
        m_form->setFreeData(readControls(), on);
        showValues();
    });
    connect(m_partnerChoice, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        m_form->choosePartner(fromQt(text));
        m_addPartner->setEnabled(m_form->states().addPartnerEnabled);
    });
    connect(m_addPartner, &QPushButton::clicked, this, [this] {
        m_form->addPartner(readControls());
        showValues();
    });
    connect(m_previousDive, &QPushButton::clicked, this, [this] {
        if (m_form->usePreviousDive(readControls()))
            showValues();
    });
    connect(m_warnings, &QPushButton::clicked, this, &DiveEditDialog::openWarnings);
    connect(m_comment, &QPlainTextEdit::textChanged, this, &DiveEditDialog::limitComment);
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
    if (dialog.exec() == QDialog::Accepted)
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
        m_boxes[i] = new QCheckBox(toQt(box.label), this);
        m_boxes[i]->setChecked((warnings & (1u << box.bit)) != 0);
        layout->addWidget(m_boxes[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
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
        if (dialog.exec() != QDialog::Accepted)
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
    if (dialog.exec() != QDialog::Accepted)
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
