#include "common/clock.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/units.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/qtext.h"
#include "ui/tools/diveeditdialog.h"

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

} // namespace

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
    auto *diveBox = new QGroupBox(ui::tr("Plongée"), this);
    auto *diveGrid = new QGridLayout(diveBox);
    m_number = shortEdit(this);
    m_date = shortEdit(this, 90);
    m_time = shortEdit(this);
    m_interval = shortEdit(this);
    m_altitude = new QComboBox(this);
    row(diveGrid, 0, ui::tr("Numéro:"), m_number);
    row(diveGrid, 1, ui::tr("Date:"), m_date);
    row(diveGrid, 2, ui::tr("Heure:"), m_time);
    row(diveGrid, 3, ui::tr("Intervalle:"), m_interval);
    row(diveGrid, 4, ui::tr("Niveau d'altitude:"), m_altitude);
    diveGrid->setColumnStretch(1, 1);
    m_measured = { m_number, m_date, m_time, m_interval, m_altitude };

    auto *placeBox = new QGroupBox(ui::tr("Lieu"), this);
    auto *placeGrid = new QGridLayout(placeBox);
    m_place = textCombo(this, tools::kPlaceInputLength);
    m_site = textCombo(this, tools::kSiteInputLength);
    m_weather = new QComboBox(this);
    m_airTemperature = shortEdit(this);
    row(placeGrid, 0, ui::tr("Lieu:"), m_place);
    row(placeGrid, 1, ui::tr("Site:"), m_site);
    row(placeGrid, 2, ui::tr("Temps:"), m_weather);
    row(placeGrid, 3, ui::tr("Temp. air:"), m_airTemperature, unitLabel(Quantity::Temperature));
    placeGrid->setColumnStretch(1, 1);

    auto *gearBox = new QGroupBox(ui::tr("Équipement"), this);
    auto *gearGrid = new QGridLayout(gearBox);
    m_suit = new QComboBox(this);
    m_model = textCombo(this, tools::kModelInputLength);
    m_tankVolume = textCombo(this, 8);
    m_tankVolume->setMinimumContentsLength(6);
    m_tankVolume->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_tankPressure = shortEdit(this);
    m_tankMaterial = new QComboBox(this);
    m_weights = shortEdit(this);
    row(gearGrid, 0, ui::tr("Combinaison:"), m_suit);
    row(gearGrid, 1, ui::tr("Modèle:"), m_model, nullptr, true);
    row(gearGrid, 2, ui::tr("Cont. bouteille:"), m_tankVolume, unitLabel(Quantity::TankVolume));
    row(gearGrid, 3, ui::tr("Pression bouteille:"), m_tankPressure, unitLabel(Quantity::Pressure), true);
    row(gearGrid, 4, ui::tr("Mat. bouteille:"), m_tankMaterial, nullptr, true);
    row(gearGrid, 5, ui::tr("Plombs:"), m_weights, unitLabel(Quantity::Weights), true);
    gearGrid->setColumnStretch(1, 1);

    // What the computer measured.
    auto *measureBox = new QGroupBox(ui::tr("Mesures"), this);
    auto *measureGrid = new QGridLayout(measureBox);
    m_maxDepth = shortEdit(this);
    m_duration = shortEdit(this);
    m_minWaterTemperature = shortEdit(this);
    m_visibility = shortEdit(this);
    m_airUsed = shortEdit(this);
    m_airConsumption = new QLabel(this);
    m_airConsumption->setMinimumWidth(70);
    m_airConsumption->setFrameShape(QFrame::StyledPanel);
    row(measureGrid, 0, ui::tr("Prof. max.:"), m_maxDepth, unitLabel(Quantity::Depth));
    row(measureGrid, 1, ui::tr("Durée:"), m_duration);
    row(measureGrid, 2, ui::tr("Temp. eau min.:"), m_minWaterTemperature, unitLabel(Quantity::Temperature));
    row(measureGrid, 3, ui::tr("Cons. air:"), m_airUsed, unitLabel(Quantity::Pressure));
    row(measureGrid, 4, ui::tr("Cons.Moy:"), m_airConsumption, unitLabel(Quantity::AirConsumption));
    row(measureGrid, 5, ui::tr("Visibilité:"), m_visibility, unitLabel(Quantity::Depth), true);
    m_airComputers = new QComboBox(this);
    m_importComputers = new QComboBox(this);
    auto *computerRow = new QVBoxLayout;
    computerRow->addWidget(m_airComputers);
    computerRow->addWidget(m_importComputers);
    measureGrid->addLayout(computerRow, 6, 0, 1, 2);
    m_warnings = new QPushButton(ui::tr("Alarmes"), this);
    m_freeData = new QCheckBox(ui::tr("Données libres"), this);
    measureGrid->addWidget(m_warnings, 7, 0);
    measureGrid->addWidget(m_freeData, 7, 1);
    measureGrid->setColumnStretch(1, 1);
    m_measured.insert(m_measured.end(), { m_maxDepth, m_duration, m_minWaterTemperature, m_airUsed, m_warnings });

    auto *typeBox = new QGroupBox(ui::tr("Type de plongée"), this);
    auto *typeGrid = new QGridLayout(typeBox);
    m_decompression
        = radioRow(typeGrid, 0, ui::tr("Dans la courbe"), ui::tr("Décompression"), QStringLiteral("-"), this);
    m_ascent
        = radioRow(typeGrid, 1, ui::tr("Remontée unique"), ui::tr("Remontées multiples"), QStringLiteral("-"), this);
    m_water
        = radioRow(typeGrid, 2, ui::tr("Eau douce"), ui::tr("Eau de mer"), ui::tr("Chambre de décompression"), this);
    m_nitrox = new QCheckBox(ui::tr("Nitrox"), this);
    m_scr = new QCheckBox(ui::tr("SCR"), this);
    typeGrid->addWidget(m_nitrox, 3, 0);
    typeGrid->addWidget(m_scr, 3, 1);
    // Boat or shore, and the diver's role, are kept in the .add file only.
    m_boatShore = radioRow(typeGrid, 4, ui::tr("Pl. bateau"), ui::tr("Pl. rivage"), QStringLiteral("-"), this);
    m_leader = radioRow(typeGrid, 5, ui::tr("Chef de palanquée"), ui::tr("Accompagnateur"), QStringLiteral("-"), this);
    for (QButtonGroup *group : { m_boatShore, m_leader })
        for (QAbstractButton *button : group->buttons())
            m_advancedOnly.push_back(button);

    auto *activityBox = new QGroupBox(ui::tr("Activités"), this);
    auto *activityGrid = new QGridLayout(activityBox);
    static const char *const activityLabels[12] = { N_("Pl. loisir"), N_("Pl. club"), N_("Éducation"),
        N_("Instruction"), N_(" Pl. de nuit"), N_(" Pl. caverne"), N_(" Pl. sous glace"), N_(" Pl. recherche"),
        N_("Pl. sur épaves"), N_("Pl. rivière"), N_("Pl. courant"), N_("Pl. photo") };
    for (int i = 0; i < 12; ++i) {
        // The labels with a leading blank are kept as the dialog always had them, but aligned like the others.
        const QString label = ui::tr(activityLabels[i]);
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
    m_shortNames = new QCheckBox(ui::tr("Utiliser les abréviations"), this);
    activityGrid->addWidget(m_shortNames, 11, 0, 1, 2);
    m_otherActivities = textCombo(this, tools::kOtherActivitiesInputLength);
    auto *otherGrid = new QGridLayout;
    row(otherGrid, 0, ui::tr("Autres:"), m_otherActivities);
    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    m_result->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setMinimumHeight(m_result->fontMetrics().height() * 2);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row(otherGrid, 1, ui::tr("Résultat:"), m_result);
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
    auto *partnerCaption = new QLabel(ui::tr("Partenaire:"), this);
    partnerCaption->setBuddy(m_partnerChoice);
    notesGrid->addWidget(partnerCaption, 0, 0);
    notesGrid->addWidget(m_partnerChoice, 0, 1);
    notesGrid->addWidget(m_addPartner, 0, 2);
    notesGrid->addWidget(m_partners, 0, 3);
    m_comment = new QPlainTextEdit(this);
    m_comment->setTabChangesFocus(true);
    m_comment->setMinimumHeight(m_comment->fontMetrics().lineSpacing() * 4 + 12);
    auto *commentCaption = new QLabel(ui::tr("Commentaire:"), this);
    commentCaption->setBuddy(m_comment);
    notesGrid->addWidget(commentCaption, 1, 0, Qt::AlignTop);
    notesGrid->addWidget(m_comment, 1, 1, 1, 3);
    notesGrid->setColumnStretch(1, 2);
    notesGrid->setColumnStretch(3, 3);

    m_previousDive = new QPushButton(ui::tr("Reprendre la &plongée précédente"), this);
    m_previousDive->setAutoDefault(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
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

} // namespace zorv::ui
