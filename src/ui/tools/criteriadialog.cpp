#include "ui/tools/criteriadialog.h"

#include "common/decimal.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/suggestionlists.h"
#include "logbook/units.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using logbook::Field;
    namespace type = logbook::dive_type;

    QButtonGroup *radioRow(QGridLayout *grid, int row, const QStringList &labels, QWidget *parent)
    {
        auto *group = new QButtonGroup(parent);
        for (int i = 0; i < labels.size(); ++i) {
            auto *radio = new QRadioButton(labels[i], parent);
            group->addButton(radio, i);
            grid->addWidget(radio, row, i);
        }
        group->button(static_cast<int>(labels.size()) - 1)->setChecked(true);
        return group;
    }

    std::uint16_t bitsOf(const QButtonGroup *group, std::uint16_t first, std::uint16_t second)
    {
        return group->checkedId() == 0 ? first : group->checkedId() == 1 ? second : std::uint16_t { 0 };
    }

    void showBits(QButtonGroup *group, std::uint16_t bits, std::uint16_t first, std::uint16_t second)
    {
        group->button((bits & first) ? 0 : (bits & second) ? 1 : 2)->setChecked(true);
    }

    QLineEdit *shortEdit(QWidget *parent, const char *name)
    {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QLatin1String(name));
        // Room for a whole date as the style draws a line edit: its frame and margins vary with the desktop, so
        // they are asked of the style rather than guessed; the cursor and a digit wider than "0" take the rest.
        const QFontMetrics metrics = edit->fontMetrics();
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QSize text(metrics.horizontalAdvance(QStringLiteral("00.00.00000")) + 4, metrics.height());
        const int width = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width();
        edit->setMinimumWidth(width);
        edit->setMaximumWidth(width);
        return edit;
    }

    QComboBox *listCombo(const logbook::ValueList &list, QWidget *parent, const char *name)
    {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(QLatin1String(name));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItem(QString());
        for (int i = 0; i < list.count(); ++i)
            if (!list.get(i).empty())
                combo->addItem(toQt(list.get(i)));
        return combo;
    }

    QString displayed(const std::string &stored)
    {
        return toQt(logbook::storedToDisplay(stored));
    }

    std::string stored(const QString &text)
    {
        return logbook::displayToStored(fromQt(text.trimmed()));
    }

    const char *const kActivityLabels[12] = { N_("Pl. loisir"), N_("Pl. club"), N_("Éducation"), N_("Instruction"),
        N_("Pl. de nuit"), N_("Pl. caverne"), N_("Pl. sous glace"), N_("Pl. recherche"), N_("Pl. sur épaves"),
        N_("Pl. rivière"), N_("Pl. courant"), N_("Pl. photo") };

} // namespace

CriteriaDialog::CriteriaDialog(
    logbook::Logbook &book, tools::SearchCriteria &criteria, Purpose purpose, QWidget *parent)
    : QDialog(parent)
    , m_book(book)
    , m_criteria(criteria)
    , m_purpose(purpose)
{
    setWindowTitle(
        purpose == Purpose::Selection ? ui::tr("Critères de sélection") : qstr(StringId::AdvancedSearchCaption));
    const logbook::UnitSystem units = book.unitSystem();
    const logbook::SuggestionLists lists(book);
    const auto unit = [units](logbook::Quantity q) { return toQt(logbook::unitWord(q, units)); };

    m_dateFrom = shortEdit(this, "dateFrom");
    m_dateTo = shortEdit(this, "dateTo");
    m_place = listCombo(lists.list(logbook::ListId::Places), this, "place");
    m_site = listCombo(lists.list(logbook::ListId::Sites), this, "site");
    m_depthFrom = shortEdit(this, "depthFrom");
    m_depthTo = shortEdit(this, "depthTo");
    m_altitude = new QComboBox(this);
    for (int i = 0; i < logbook::names::kAltitudeClassCount; ++i)
        m_altitude->addItem(toQt(logbook::names::altitudeClass(i, units)));
    m_weather = new QComboBox(this);
    for (int i = 0; i < logbook::names::kWeatherCount; ++i)
        m_weather->addItem(toQt(logbook::names::weather(i)));
    m_suit = new QComboBox(this);
    for (int i = 0; i < logbook::names::kSuitCount; ++i)
        m_suit->addItem(toQt(logbook::names::suit(i)));
    m_durationFrom = shortEdit(this, "durationFrom");
    m_durationTo = shortEdit(this, "durationTo");
    m_consumptionFrom = shortEdit(this, "consumptionFrom");
    m_consumptionTo = shortEdit(this, "consumptionTo");
    m_tankVolume = listCombo(lists.list(logbook::ListId::TankVolumes), this, "tankVolume");
    m_partner = new QLineEdit(this);
    m_partner->setObjectName(QStringLiteral("partner"));
    m_other = new QLineEdit(this);
    m_other->setObjectName(QStringLiteral("other"));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto pair
        = [&](const QString &label, QWidget *from, const QString &between, QWidget *to, const QString &unitText = {}) {
              grid->addWidget(new QLabel(label, this), row, 0);
              grid->addWidget(from, row, 1);
              grid->addWidget(new QLabel(between, this), row, 2);
              grid->addWidget(to, row, 3);
              if (!unitText.isEmpty())
                  grid->addWidget(new QLabel(unitText, this), row, 4);
              ++row;
          };
    const auto single = [&](const QString &label, QWidget *control, const QString &unitText = {}) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(control, row, 1, 1, 3);
        if (!unitText.isEmpty())
            grid->addWidget(new QLabel(unitText, this), row, 4);
        ++row;
    };
    pair(ui::tr("Date du:"), m_dateFrom, ui::tr("au:"), m_dateTo);
    single(ui::tr("Lieu:"), m_place);
    single(ui::tr("Site:"), m_site);
    pair(ui::tr("Prof. à partir de:"), m_depthFrom, ui::tr("jusqu'à:"), m_depthTo, unit(logbook::Quantity::Depth));
    single(ui::tr("Niveau d'altitude:"), m_altitude);
    single(ui::tr("Temps:"), m_weather);
    single(ui::tr("Combinaison:"), m_suit);
    pair(ui::tr("Durée de:"), m_durationFrom, ui::tr("à:"), m_durationTo);
    pair(ui::tr("Cons.Moy de:"), m_consumptionFrom, ui::tr("à:"), m_consumptionTo,
        unit(logbook::Quantity::AirConsumption));
    single(ui::tr("Cont. bouteille:"), m_tankVolume, unit(logbook::Quantity::TankVolume));
    single(ui::tr("Partenaire:"), m_partner);
    single(ui::tr("Autres:"), m_other);

    auto *typeBox = new QGroupBox(ui::tr("Type de plongée"), this);
    auto *typeGrid = new QGridLayout(typeBox);
    m_decompression
        = radioRow(typeGrid, 0, { ui::tr("Dans la courbe"), ui::tr("Décompression"), QStringLiteral("-") }, this);
    m_ascent = radioRow(
        typeGrid, 1, { ui::tr("Remontée unique"), ui::tr("Remontées multiples"), QStringLiteral("-") }, this);
    m_water = radioRow(typeGrid, 2, { ui::tr("Eau douce"), ui::tr("Eau de mer"), QStringLiteral("-") }, this);
    m_nitrox = new QCheckBox(ui::tr("Nitrox"), this);
    typeGrid->addWidget(m_nitrox, 3, 0);

    auto *activityBox = new QGroupBox(ui::tr("Activités"), this);
    auto *activityGrid = new QGridLayout(activityBox);
    for (int i = 0; i < 12; ++i) {
        m_activities[static_cast<std::size_t>(i)] = new QCheckBox(ui::tr(kActivityLabels[i]), this);
        activityGrid->addWidget(m_activities[static_cast<std::size_t>(i)], i / 2, i % 2);
    }
    for (int i = 0; i < 7; ++i) {
        m_secondSet[static_cast<std::size_t>(i)] = new QCheckBox(toQt(logbook::names::secondActivityLong(i)), this);
        activityGrid->addWidget(m_secondSet[static_cast<std::size_t>(i)], 6 + i / 2, i % 2);
    }

    auto *modeBox = new QGroupBox(ui::tr("Mode de recherche"), this);
    auto *modeLayout = new QHBoxLayout(modeBox);
    m_mode = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(i == 0 ? ui::tr("ET") : ui::tr("OU"), modeBox);
        m_mode->addButton(radio, i);
        modeLayout->addWidget(radio);
    }

    m_results = new QListWidget(this);
    m_results->setMinimumHeight(140);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    m_search = new QPushButton(ui::tr("C&hercher"), this);
    m_goTo = new QPushButton(ui::tr("&Aller à"), this);
    m_create = new QPushButton(ui::tr("&Créer"), this);
    // Before a search there is nothing to go to or to write.
    m_goTo->setEnabled(false);
    m_create->setEnabled(false);
    m_count->setEnabled(false);
    m_search->setDefault(true);
    connect(m_search, &QPushButton::clicked, this, &CriteriaDialog::search);
    connect(m_goTo, &QPushButton::clicked, this, [this] {
        const int row = m_results->currentRow() < 0 ? 0 : m_results->currentRow();
        if (row >= static_cast<int>(m_found.size()))
            return;
        m_chosen = m_found[static_cast<std::size_t>(row)];
        QDialog::accept();
    });
    connect(m_results, &QListWidget::itemDoubleClicked, m_goTo, &QPushButton::click);
    connect(m_create, &QPushButton::clicked, this, &CriteriaDialog::create);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_search, QDialogButtonBox::ActionRole);
    buttons->addButton(m_goTo, QDialogButtonBox::ActionRole);
    buttons->addButton(m_create, QDialogButtonBox::ActionRole);
    buttons->addButton(ui::tr("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(ui::tr("Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (const common::Result read = readCriteria(); !read) {
            showWarning(this, toQt(read.message()));
            return;
        }
        QDialog::accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(ui::tr("Plongées adéquates:"), this));
    countRow->addWidget(m_count);
    countRow->addStretch();

    auto *right = new QVBoxLayout;
    right->addWidget(typeBox);
    right->addWidget(activityBox);
    right->addWidget(modeBox);
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(grid, 1);
    columns->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_results, 1);
    layout->addLayout(countRow);
    layout->addWidget(buttons);
    showCriteria();
    fitTitle(this);
}

void CriteriaDialog::showCriteria()
{
    const logbook::FieldCatalogue fields(m_book);
    const tools::SearchCriteria &c = m_criteria;
    const auto date = [](std::uint32_t day) {
        return day == 0 ? QString() : toQt(logbook::formatDate(day, logbook::DateForm::Medium));
    };
    const auto depth = [&fields](int centimetres) {
        logbook::DiveRecord probe;
        probe.maxDepth = static_cast<std::int16_t>(centimetres);
        return centimetres == 0 ? QString() : toQt(fields.fromRecord(Field::MaxDepth, probe));
    };
    const auto minutes = [](int m) { return m == 0 ? QString() : QString::number(m); };
    const auto consumption = [this](float litres) {
        if (litres == 0.0f)
            return QString();
        const double shown
            = m_book.unitSystem() == logbook::UnitSystem::Metric ? litres : logbook::litresPerMinuteToCubicFeet(litres);
        return QString::number(shown, 'f', 1);
    };
    logbook::DiveRecord tank;
    tank.tankVolume = c.tankVolume == 0 ? logbook::kMissing : static_cast<std::int16_t>(c.tankVolume);
    m_dateFrom->setText(date(c.dateFrom));
    m_dateTo->setText(date(c.dateTo));
    m_place->setEditText(displayed(c.place));
    m_site->setEditText(displayed(c.site));
    m_depthFrom->setText(depth(c.depthFrom));
    m_depthTo->setText(depth(c.depthTo));
    m_altitude->setCurrentIndex(c.altitudeClass);
    m_weather->setCurrentIndex(c.weather);
    m_suit->setCurrentIndex(c.suit);
    m_durationFrom->setText(minutes(c.durationFrom));
    m_durationTo->setText(minutes(c.durationTo));
    m_consumptionFrom->setText(consumption(c.consumptionFrom));
    m_consumptionTo->setText(consumption(c.consumptionTo));
    m_tankVolume->setEditText(toQt(fields.fromRecord(Field::TankVolume, tank)).trimmed());
    m_partner->setText(displayed(c.partner));
    m_other->setText(displayed(c.otherActivities));
    showBits(m_decompression, c.diveTypeBits, type::kNoDeco, type::kDeco);
    showBits(m_ascent, c.diveTypeBits, type::kSingleAscent, type::kMultipleAscents);
    showBits(m_water, c.diveTypeBits, type::kFreshWater, type::kSeaWater);
    m_nitrox->setChecked(c.diveTypeBits & type::kNitrox);
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        m_activities[i]->setChecked(c.activityBits & (1u << i));
    for (std::size_t i = 0; i < m_secondSet.size(); ++i)
        m_secondSet[i]->setChecked(c.secondActivityBits & (1u << i));
    m_mode->button(c.mode == tools::CriteriaMode::Or ? 1 : 0)->setChecked(true);
}

common::Result CriteriaDialog::readCriteria()
{
    const logbook::FieldCatalogue fields(m_book);
    tools::SearchCriteria &c = m_criteria;
    const auto date = [](const QLineEdit *edit) {
        const std::uint32_t day = logbook::parseDate(fromQt(edit->text().trimmed()));
        return day == logbook::kNoDate ? 0u : day;
    };
    // Depths, consumptions and the tank volume are read first: one that does not read changes nothing.
    logbook::DiveRecord depthFrom;
    logbook::DiveRecord depthTo;
    logbook::DiveRecord tank;
    std::optional<double> consumptionFrom;
    std::optional<double> consumptionTo;
    const auto consumption = [](const QLineEdit *edit, std::optional<double> &out, const char *label) {
        const std::string text = fromQt(edit->text().trimmed());
        out = text.empty() ? 0.0 : common::parseDecimal(text);
        if (out && *out >= 0)
            return common::Result::success();
        return common::Result::failure(common::Status::Refused,
            logbook::refusalMessage(out ? logbook::Parsed::OutOfRange : logbook::Parsed::NotANumber, label, text));
    };
    for (const common::Result &read : {
             fields.readTyped(Field::MaxDepth, fromQt(m_depthFrom->text()), common::tr("Prof. à partir de"), depthFrom),
             fields.readTyped(Field::MaxDepth, fromQt(m_depthTo->text()), common::tr("jusqu'à"), depthTo),
             consumption(m_consumptionFrom, consumptionFrom, common::tr("Cons.Moy de")),
             consumption(m_consumptionTo, consumptionTo, common::tr("Cons.Moy à")),
             fields.readTyped(
                 Field::TankVolume, fromQt(m_tankVolume->currentText()), common::tr("Cont. bouteille"), tank),
         })
        if (!read)
            return read;
    const auto depth = [](const logbook::DiveRecord &probe) {
        return probe.maxDepth == logbook::kMissing ? 0 : static_cast<int>(probe.maxDepth);
    };
    const auto minutes = [](const QLineEdit *edit) {
        const std::int16_t m = logbook::parseMinutes(fromQt(edit->text().trimmed()));
        return m == logbook::kMissing ? 0 : static_cast<int>(m);
    };
    const auto litresPerMinute = [this](double typed) {
        if (m_book.unitSystem() == logbook::UnitSystem::Metric)
            return static_cast<float>(typed);
        return static_cast<float>(typed / logbook::litresPerMinuteToCubicFeet(1.0));
    };
    c.dateFrom = date(m_dateFrom);
    c.dateTo = date(m_dateTo);
    c.place = stored(m_place->currentText());
    c.site = stored(m_site->currentText());
    c.depthFrom = depth(depthFrom);
    c.depthTo = depth(depthTo);
    c.altitudeClass = m_altitude->currentIndex();
    c.weather = m_weather->currentIndex();
    c.suit = m_suit->currentIndex();
    c.durationFrom = minutes(m_durationFrom);
    c.durationTo = minutes(m_durationTo);
    c.consumptionFrom = litresPerMinute(*consumptionFrom);
    c.consumptionTo = litresPerMinute(*consumptionTo);
    c.tankVolume = tank.tankVolume == logbook::kMissing ? 0 : tank.tankVolume;
    c.partner = stored(m_partner->text());
    c.otherActivities = stored(m_other->text());
    c.diveTypeBits = static_cast<std::uint16_t>(bitsOf(m_decompression, type::kNoDeco, type::kDeco)
        | bitsOf(m_ascent, type::kSingleAscent, type::kMultipleAscents)
        | bitsOf(m_water, type::kFreshWater, type::kSeaWater) | (m_nitrox->isChecked() ? type::kNitrox : 0));
    c.activityBits = 0;
    for (std::size_t i = 0; i < m_activities.size(); ++i)
        if (m_activities[i]->isChecked())
            c.activityBits = static_cast<std::uint16_t>(c.activityBits | (1u << i));
    c.secondActivityBits = 0;
    for (std::size_t i = 0; i < m_secondSet.size(); ++i)
        if (m_secondSet[i]->isChecked())
            c.secondActivityBits = static_cast<std::uint8_t>(c.secondActivityBits | (1u << i));
    c.mode = m_mode->checkedId() == 1 ? tools::CriteriaMode::Or : tools::CriteriaMode::And;
    return common::Result::success();
}

void CriteriaDialog::search()
{
    if (const common::Result read = readCriteria(); !read) {
        showWarning(this, toQt(read.message()));
        return;
    }
    m_found = tools::findDives(m_book, m_criteria);
    m_results->clear();
    for (const int position : m_found)
        m_results->addItem(toQt(tools::selectionLine(m_book, position)));
    if (!m_found.empty())
        m_results->setCurrentRow(0);
    m_count->setText(QString::number(m_found.size()));
    m_count->setEnabled(true);
    m_goTo->setEnabled(!m_found.empty());
    // The advanced search only finds; writing a selection is the selection command's.
    m_create->setEnabled(m_purpose == Purpose::Selection && !m_found.empty());
}

void CriteriaDialog::create()
{
    FileRequest request;
    request.parent = this;
    request.mode = FileRequest::Mode::Save;
    // The overwrite question is the program's own.
    request.confirmOverwrite = false;
    request.filter = ui::tr("Carnet de plongée (*.log)");
    request.defaultSuffix = QStringLiteral("log");
    // The new logbook goes beside the one it is taken from unless the user goes elsewhere.
    if (const QString from = toQt(m_book.path()); !from.isEmpty())
        request.directory = QFileInfo(from).absolutePath();
    if (const QString path = chooseFile(request); !path.isEmpty())
        createAt(path);
}

void CriteriaDialog::createAt(const QString &path)
{
    if (QFileInfo::exists(path)
        && !askYesNo(this, qstr(StringId::AskOverwriteFile).replace(QStringLiteral("%s"), QFileInfo(path).fileName())))
        return;
    const common::Result result = tools::saveSelection(m_book, fromQt(path), m_found);
    if (!result) {
        showWarning(this, toQt(result.message()));
        return;
    }
    m_written = path;
    // The new logbook is not opened here: say where it went and what it holds.
    const auto count = static_cast<int>(m_found.size());
    const QString where = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    showInformation(this,
        count == 1 ? ui::tr("1 plongée écrite dans le nouveau carnet\n%1").arg(where)
                   : ui::tr("%1 plongées écrites dans le nouveau carnet\n%2").arg(QString::number(count), where));
}

} // namespace zorv::ui
