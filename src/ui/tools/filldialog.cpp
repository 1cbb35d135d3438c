#include "ui/tools/filldialog.h"

#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"
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
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using logbook::Field;
    namespace type = logbook::dive_type;
    namespace extra = logbook::extra_flags;

    QButtonGroup *radioRow(QGridLayout *grid, int row, const QStringList &labels, QWidget *parent)
    {
        auto *group = new QButtonGroup(parent);
        for (int i = 0; i < 3; ++i) {
            auto *radio = new QRadioButton(labels[i], parent);
            group->addButton(radio, i);
            grid->addWidget(radio, row, i);
        }
        return group;
    }

    // The first button sets `first`, the second `second`, the third neither.
    std::uint16_t bitsOf(const QButtonGroup *group, std::uint16_t first, std::uint16_t second)
    {
        return group->checkedId() == 0 ? first : group->checkedId() == 1 ? second : std::uint16_t { 0 };
    }

    void showBits(QButtonGroup *group, std::uint16_t bits, std::uint16_t first, std::uint16_t second)
    {
        group->button((bits & first) ? 0 : (bits & second) ? 1 : 2)->setChecked(true);
    }

    QComboBox *comboOf(const logbook::ValueList &list, QWidget *parent, bool editable = true)
    {
        auto *combo = new QComboBox(parent);
        combo->setEditable(editable);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (int i = 0; i < list.count(); ++i)
            combo->addItem(toQt(list.get(i)));
        return combo;
    }

    QComboBox *comboOfNames(int count, std::string_view (*name)(int), QWidget *parent)
    {
        auto *combo = new QComboBox(parent);
        for (int i = 0; i < count; ++i)
            combo->addItem(toQt(name(i)));
        return combo;
    }

    QLineEdit *numberField(QWidget *parent)
    {
        auto *field = new QLineEdit(parent);
        field->setValidator(new QIntValidator(0, 32767, field));
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
        return field;
    }

    QString numberText(int value)
    {
        return value == 0 ? QString() : QString::number(value);
    }

    const char *const kActivityLabels[12] = { N_("Pl. loisir"), N_("Pl. club"), N_("Éducation"), N_("Instruction"),
        N_("Pl. de nuit"), N_("Pl. caverne"), N_("Pl. sous glace"), N_("Pl. recherche"), N_("Pl. sur épaves"),
        N_("Pl. rivière"), N_("Pl. courant"), N_("Pl. photo") };

} // namespace

FillDialog::FillDialog(logbook::Logbook &book, tools::FillTemplate &fill, QWidget *parent)
    : QDialog(parent)
    , m_book(book)
    , m_fill(fill)
    , m_lists(book)
    , m_advanced(book.mode() == logbook::Mode::Advanced)
{
    setWindowTitle(ui::tr("Remplir les plongées"));
    const logbook::UnitSystem units = book.unitSystem();
    // Outside advanced mode the fields the .add file keeps are never filled.
    if (!m_advanced)
        m_fill.resetAdvancedFields();

    m_first = numberField(this);
    m_last = numberField(this);
    m_first->setObjectName(QStringLiteral("first"));
    m_last->setObjectName(QStringLiteral("last"));
    m_place = comboOf(m_lists.list(logbook::ListId::Places), this);
    m_place->setObjectName(QStringLiteral("place"));
    m_lists.fillSitesOfPlace(logbook::storedToDisplay(m_fill.place));
    m_site = comboOf(m_lists.list(logbook::ListId::SitesOfPlace), this);
    m_site->setObjectName(QStringLiteral("site"));
    m_weather = comboOfNames(logbook::names::kWeatherCount, &logbook::names::weather, this);
    m_suit = comboOfNames(logbook::names::kSuitCount, &logbook::names::suit, this);
    m_model = comboOf(m_lists.list(logbook::ListId::SuitModels), this);
    m_tankVolume = comboOf(m_lists.list(logbook::ListId::TankVolumes), this);
    m_tankMaterial = comboOfNames(logbook::names::kTankMaterialCount, &logbook::names::tankMaterial, this);
    m_airTemperature = new QLineEdit(this);
    m_airTemperature->setObjectName(QStringLiteral("airTemperature"));
    m_weights = new QLineEdit(this);
    m_weights->setObjectName(QStringLiteral("weights"));
    m_place->installEventFilter(this);
    m_model->lineEdit()->setMaxLength(logbook::kModelLength);
    m_place->lineEdit()->setMaxLength(60);
    m_site->lineEdit()->setMaxLength(60);

    auto *values = new QGridLayout;
    int row = 0;
    auto *range = new QHBoxLayout;
    range->addWidget(m_first);
    range->addWidget(new QLabel(ui::tr("à"), this));
    range->addWidget(m_last);
    range->addStretch();
    values->addWidget(new QLabel(ui::tr("Plongée"), this), row, 0);
    values->addLayout(range, row++, 1, 1, 2);
    const auto add = [&](const QString &label, QWidget *control, const QString &unit = {}) {
        values->addWidget(new QLabel(label, this), row, 0);
        values->addWidget(control, row, 1);
        if (!unit.isEmpty())
            values->addWidget(new QLabel(unit, this), row, 2);
        ++row;
    };
    add(ui::tr("Lieu:"), m_place);
    add(ui::tr("Site:"), m_site);
    add(ui::tr("Temps:"), m_weather);
    add(ui::tr("Temp. air:"), m_airTemperature, toQt(logbook::unitWord(logbook::Quantity::Temperature, units)));
    add(ui::tr("Combinaison:"), m_suit);
    add(ui::tr("Combi.-modèle:"), m_model);
    add(ui::tr("Cont. bouteille:"), m_tankVolume, toQt(logbook::unitWord(logbook::Quantity::TankVolume, units)));
    add(ui::tr("Mat. bouteille:"), m_tankMaterial);
    add(ui::tr("Plombs:"), m_weights, toQt(logbook::unitWord(logbook::Quantity::Weights, units)));
    values->setColumnStretch(1, 1);

    auto *typeBox = new QGroupBox(ui::tr("Type de plongée"), this);
    auto *typeGrid = new QGridLayout(typeBox);
    m_decompression
        = radioRow(typeGrid, 0, { ui::tr("Dans la courbe"), ui::tr("décompression"), QStringLiteral("-") }, this);
    m_ascent = radioRow(
        typeGrid, 1, { ui::tr("Remontée unique"), ui::tr("Remontées multiples"), QStringLiteral("-") }, this);
    m_water = radioRow(typeGrid, 2, { ui::tr("Eau douce"), ui::tr("Eau de mer"), ui::tr("Chambre de déco") }, this);
    m_nitrox = new QCheckBox(ui::tr("Nitrox"), this);
    m_scr = new QCheckBox(ui::tr("SCR"), this);
    typeGrid->addWidget(m_nitrox, 3, 0);
    typeGrid->addWidget(m_scr, 3, 1);
    m_boatShore = radioRow(typeGrid, 4, { ui::tr("Pl. bateau"), ui::tr("Pl. rivage"), QStringLiteral("-") }, this);
    m_leader
        = radioRow(typeGrid, 5, { ui::tr("Chef de palanquée"), ui::tr("Accompagnateur"), QStringLiteral("-") }, this);

    auto *activityBox = new QGroupBox(ui::tr("Activités"), this);
    auto *activityGrid = new QGridLayout(activityBox);
    for (int i = 0; i < 12; ++i) {
        auto *box = new QCheckBox(ui::tr(kActivityLabels[i]), this);
        m_activities[static_cast<std::size_t>(i)] = box;
        activityGrid->addWidget(box, i / 2, i % 2);
    }

    for (QWidget *w : std::initializer_list<QWidget *> { m_weights, m_tankMaterial, m_model })
        w->setEnabled(m_advanced);
    for (QButtonGroup *group : { m_boatShore, m_leader })
        for (QAbstractButton *button : group->buttons())
            button->setEnabled(m_advanced);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *fillButton = buttons->addButton(ui::tr("&Remplir"), QDialogButtonBox::AcceptRole);
    buttons->addButton(ui::tr("A&nnuler"), QDialogButtonBox::RejectRole);
    QPushButton *resetButton = buttons->addButton(ui::tr("Ré&initialiser"), QDialogButtonBox::ResetRole);
    fillButton->setDefault(true);
    connect(fillButton, &QPushButton::clicked, this, &FillDialog::runFill);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(resetButton, &QPushButton::clicked, this, [this] {
        m_fill.reset();
        showTemplate();
    });

    auto *right = new QVBoxLayout;
    right->addWidget(typeBox);
    right->addWidget(activityBox);
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(values, 1);
    columns->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    showTemplate();
    m_first->setFocus();
    fitTitle(this);
}

void FillDialog::showTemplate()
{
    const logbook::FieldCatalogue fields(m_book);
    // The catalogue formats a record; a blank one carries the template's numbers.
    logbook::DiveRecord probe;
    probe.airTemperature = m_fill.airTemperature;
    probe.tankVolume = m_fill.tankVolume;
    probe.extra.weights = m_fill.weights;
    m_first->setText(numberText(m_fill.firstNumber));
    m_last->setText(numberText(m_fill.lastNumber));
    m_place->setEditText(toQt(logbook::storedToDisplay(m_fill.place)));
    m_placeShown = m_place->currentText();
    m_site->setEditText(toQt(logbook::storedToDisplay(m_fill.site)));
    m_weather->setCurrentIndex(m_fill.weather < logbook::names::kWeatherCount ? m_fill.weather : 0);
    m_suit->setCurrentIndex(m_fill.suit < logbook::names::kSuitCount ? m_fill.suit : 0);
    m_tankMaterial->setCurrentIndex(m_fill.tankMaterial < logbook::names::kTankMaterialCount ? m_fill.tankMaterial : 0);
    m_model->setEditText(toQt(logbook::storedToDisplay(m_fill.model)));
    m_airTemperature->setText(toQt(fields.fromRecord(Field::AirTemperature, probe)));
    m_tankVolume->setEditText(toQt(fields.fromRecord(Field::TankVolume, probe)));
    m_weights->setText(toQt(fields.fromRecord(Field::Weights, probe)));
    showBits(m_decompression, m_fill.diveTypeBits, type::kNoDeco, type::kDeco);
    showBits(m_ascent, m_fill.diveTypeBits, type::kSingleAscent, type::kMultipleAscents);
    showBits(m_water, m_fill.diveTypeBits, type::kFreshWater, type::kSeaWater);
    m_nitrox->setChecked(m_fill.diveTypeBits & type::kNitrox);
    m_scr->setChecked(m_fill.diveTypeBits & type::kScr);
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        m_activities[i]->setChecked(m_fill.activityBits & (1u << i));
    showBits(m_boatShore, m_fill.secondActivityBits, extra::kBoat, extra::kShore);
    showBits(m_leader, m_fill.secondActivityBits, extra::kDiveLeader, extra::kAccompanying);
}

common::Result FillDialog::readTemplate()
{
    const logbook::FieldCatalogue fields(m_book);
    // An empty numeric field leaves the dives' value alone: the catalogue reads it as missing.
    logbook::DiveRecord probe;
    logbook::DiveRecord first;
    logbook::DiveRecord last;
    const QString firstText = m_first->text().trimmed();
    const QString lastText = m_last->text().trimmed();
    for (const common::Result &read : {
             fields.readTyped(
                 Field::DiveNumber, firstText.isEmpty() ? "0" : fromQt(firstText), common::tr("Plongée"), first),
             fields.readTyped(Field::DiveNumber, lastText.isEmpty() ? "0" : fromQt(lastText), common::tr("à"), last),
             fields.readTyped(Field::AirTemperature, fromQt(m_airTemperature->text()), common::tr("Temp. air"), probe),
             fields.readTyped(
                 Field::TankVolume, fromQt(m_tankVolume->currentText()), common::tr("Cont. bouteille"), probe),
             m_advanced ? fields.readTyped(Field::Weights, fromQt(m_weights->text()), common::tr("Plombs"), probe)
                        : common::Result::success(),
         })
        if (!read)
            return read;
    m_fill.firstNumber = first.diveNumber;
    m_fill.lastNumber = last.diveNumber;
    m_fill.place = logbook::displayToStored(fromQt(m_place->currentText().trimmed()));
    m_fill.site = logbook::displayToStored(fromQt(m_site->currentText().trimmed()));
    m_fill.weather = static_cast<std::uint8_t>(m_weather->currentIndex());
    m_fill.suit = static_cast<std::uint8_t>(m_suit->currentIndex());
    m_fill.airTemperature = probe.airTemperature;
    m_fill.tankVolume = probe.tankVolume;
    m_fill.diveTypeBits = static_cast<std::uint16_t>(bitsOf(m_decompression, type::kNoDeco, type::kDeco)
        | bitsOf(m_ascent, type::kSingleAscent, type::kMultipleAscents)
        | bitsOf(m_water, type::kFreshWater, type::kSeaWater) | (m_nitrox->isChecked() ? type::kNitrox : 0)
        | (m_scr->isChecked() ? type::kScr : 0));
    m_fill.activityBits = 0;
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        if (m_activities[i]->isChecked())
            m_fill.activityBits = static_cast<std::uint16_t>(m_fill.activityBits | (1u << i));
    if (m_advanced) {
        m_fill.weights = probe.extra.weights;
        m_fill.tankMaterial = static_cast<std::uint16_t>(m_tankMaterial->currentIndex());
        m_fill.model = logbook::displayToStored(fromQt(m_model->currentText().trimmed()));
        m_fill.secondActivityBits = static_cast<std::uint16_t>(bitsOf(m_boatShore, extra::kBoat, extra::kShore)
            | bitsOf(m_leader, extra::kDiveLeader, extra::kAccompanying));
    }
    return common::Result::success();
}

void FillDialog::runFill()
{
    // A value that does not read keeps the dialog open on it; nothing is filled.
    if (const common::Result read = readTemplate(); !read) {
        showWarning(this, toQt(read.message()));
        return;
    }
    const tools::ToolResult result = tools::fillDives(m_book, m_fill);
    if (!result) {
        // Without both dive numbers the dialog stays open for them.
        showWarning(this, toQt(result.message()));
        return;
    }
    m_filled = result->changed > 0;
    accept();
}

void FillDialog::refillSites()
{
    const QString place = m_place->currentText();
    if (place == m_placeShown)
        return;
    m_placeShown = place;
    m_lists.fillSitesOfPlace(fromQt(place));
    const QString site = m_site->currentText();
    m_site->clear();
    const logbook::ValueList &sites = m_lists.list(logbook::ListId::SitesOfPlace);
    for (int i = 0; i < sites.count(); ++i)
        m_site->addItem(toQt(sites.get(i)));
    m_site->setEditText(site);
}

bool FillDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_place && event->type() == QEvent::FocusOut)
        refillSites();
    return QDialog::eventFilter(watched, event);
}

} // namespace zorv::ui
