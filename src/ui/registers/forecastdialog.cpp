#include "ui/registers/forecastdialog.h"

#include "common/cformat.h"
#include "common/clock.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    // As many dives as the target field held before.
    constexpr long long kMostDives = 999999;

    registers::CalendarDate today()
    {
        const common::LocalDateTime now = common::clock().localNow();
        return { now.day, now.month, now.year };
    }

} // namespace

ForecastDialog::ForecastDialog(const logbook::Logbook &book, QWidget *parent)
    : QDialog(parent)
    , m_book(book)
{
    setObjectName(QStringLiteral("forecast"));
    setWindowTitle(ui::tr("Pronostic"));
    const std::string firstDate
        = book.diveCount() > 0 ? logbook::formatDate(book.dive(1)->date, logbook::DateForm::Medium) : std::string();
    const std::string lastDate = book.diveCount() > 0
        ? logbook::formatDate(book.dive(book.diveCount())->date, logbook::DateForm::Medium)
        : std::string();
    const registers::MonthYear start = registers::defaultForecastStart(firstDate);

    m_includeCurrent = new QCheckBox(ui::tr("Prendre en compte le mois actuel"), this);
    m_includeCurrent->setObjectName(QStringLiteral("includeCurrent"));
    m_target = new QLineEdit(QString::number(registers::defaultForecastTarget(book.diveCount())), this);
    m_target->setObjectName(QStringLiteral("target"));
    // Read as every number field is, "120,0" as "120"; a fraction or junk is refused when computing.
    m_target->setMaxLength(10);
    m_start = new QLineEdit(toQt(common::cformat("%02d.%04d", start.month, start.year)), this);
    m_start->setObjectName(QStringLiteral("start"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("result"));
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(ui::tr("Première plongée:"), this), 0, 0);
    form->addWidget(new QLabel(toQt(firstDate), this), 0, 1);
    form->addWidget(new QLabel(ui::tr("Dernière plongée:"), this), 1, 0);
    form->addWidget(new QLabel(toQt(lastDate), this), 1, 1);
    form->addWidget(new QLabel(ui::tr("Nombre de plongées:"), this), 2, 0);
    form->addWidget(new QLabel(QString::number(book.diveCount()), this), 2, 1);
    form->addWidget(new QLabel(ui::tr("Objectif (plongées):"), this), 3, 0);
    form->addWidget(m_target, 3, 1);
    form->addWidget(new QLabel(ui::tr("À partir de (mois.année):"), this), 4, 0);
    form->addWidget(m_start, 4, 1);
    form->addWidget(m_includeCurrent, 5, 0, 1, 2);
    form->addWidget(new QLabel(ui::tr("Objectif atteint le:"), this), 6, 0);
    form->addWidget(m_result, 6, 1);

    auto *rateBox = new QGroupBox(ui::tr("Moyenne par mois de l'année"), this);
    auto *rateLayout = new QVBoxLayout(rateBox);
    m_rate = new QButtonGroup(this);
    auto *perMonth = new QRadioButton(qstr(StringId::ForecastPerMonth), rateBox);
    perMonth->setObjectName(QStringLiteral("perMonth"));
    auto *perDay = new QRadioButton(qstr(StringId::ForecastPerDay), rateBox);
    perDay->setObjectName(QStringLiteral("perDay"));
    m_rate->addButton(perMonth, 0);
    m_rate->addButton(perDay, 1);
    perMonth->setChecked(true);
    auto *radios = new QHBoxLayout;
    radios->addWidget(perMonth);
    radios->addWidget(perDay);
    rateLayout->addLayout(radios);
    m_months = new QTreeWidget(rateBox);
    m_months->setObjectName(QStringLiteral("months"));
    m_months->setRootIsDecorated(false);
    m_months->setHeaderLabels({ ui::tr("Mois"), ui::tr("Moyenne"), ui::tr("Poids") });
    m_months->setMinimumSize(260, 270);
    m_months->setColumnWidth(0, 70);
    m_months->setColumnWidth(1, 90);
    m_months->setColumnWidth(2, 50);
    rateLayout->addWidget(m_months);
    connect(m_rate, &QButtonGroup::idClicked, this, &ForecastDialog::refillMonths);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("journal"));
    m_list->setMinimumWidth(430);

    auto *compute = registerButton(ui::tr("&Calculer"), QStringLiteral("compute"), this);
    m_store = registerButton(ui::tr("&Enregistrer pronostic"), QStringLiteral("store"), this);
    m_delete = registerButton(ui::tr("Effacer &pronostic"), QStringLiteral("delete"), this);
    auto *quit = registerButton(ui::tr("&Quitter"), QStringLiteral("quit"), this);
    connect(compute, &QPushButton::clicked, this, &ForecastDialog::compute);
    connect(m_store, &QPushButton::clicked, this, &ForecastDialog::store);
    connect(m_delete, &QPushButton::clicked, this, &ForecastDialog::deleteSelected);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    m_store->setEnabled(false);

    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(rateBox, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(ui::tr("Pronostics enregistrés:"), this));
    right->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { compute, m_store, m_delete })
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(quit);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    auto loaded = registers::loadJournal(book.prgPath());
    if (loaded) {
        m_journal = std::move(loaded.value());
        m_journalPath = book.prgPath();
    } else {
        showFailure(this, loaded.result());
    }
    refillJournal();
    refillMonths();
}

registers::ForecastInput ForecastDialog::input() const
{
    registers::ForecastInput in;
    in.dives = registers::diveDates(m_book);
    const common::ResultOr<long long> target = readTarget();
    in.target = target ? static_cast<int>(*target) : 0;
    int month = 0;
    int year = 0;
    if (common::cscan(fromQt(m_start->text()), "%d.%d", &month, &year) == 2)
        in.start = { month, year };
    in.includeCurrentMonth = m_includeCurrent->isChecked();
    in.today = today();
    return in;
}

common::ResultOr<long long> ForecastDialog::readTarget() const
{
    return registers::readWhole(fromQt(m_target->text()), common::tr("Objectif (plongées)"), 0, kMostDives);
}

void ForecastDialog::compute()
{
    if (const common::ResultOr<long long> target = readTarget(); !target) {
        showWarning(this, toQt(target.message()));
        m_target->setFocus();
        m_target->selectAll();
        return;
    }
    m_computed = input();
    m_forecast = registers::computeForecast(m_computed);
    m_result->setText(m_forecast ? toQt(registers::forecastDateText(m_forecast->reached)) : QString());
    m_store->setEnabled(m_forecast.has_value() && !m_journalPath.empty());
    refillMonths();
}

void ForecastDialog::store()
{
    if (!m_forecast || m_journalPath.empty())
        return;
    registers::ForecastJournal updated = m_journal;
    const registers::CalendarDate now = today();
    for (const registers::JournalEntry &entry :
        registers::forecastEntries(m_computed, *m_forecast, logbook::dayNumber(now.day, now.month, now.year)))
        updated.append(entry);
    if (const common::Result saved = registers::saveJournal(m_journalPath, updated); !saved) {
        showFailure(this, saved);
        return;
    }
    m_journal = std::move(updated);
    m_store->setEnabled(false);
    refillJournal();
}

void ForecastDialog::deleteSelected()
{
    const int line = m_list->currentRow();
    if (line < 0 || m_journalPath.empty())
        return;
    const registers::ForecastJournal rest = registers::withoutForecast(m_journal, line);
    if (const common::Result saved = registers::saveJournal(m_journalPath, rest); !saved) {
        showFailure(this, saved);
        return;
    }
    m_journal = rest;
    refillJournal();
}

void ForecastDialog::refillJournal()
{
    m_list->clear();
    for (const std::string &line : registers::journalLines(m_journal)) {
        // The date column of the old list box: a fixed width before the text.
        const QString text = toQt(line);
        const QString date = text.section(QLatin1Char('\t'), 0, 0);
        m_list->addItem(date.leftJustified(12, QLatin1Char(' ')) + text.section(QLatin1Char('\t'), 1));
    }
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_list->setFont(fixed);
    m_list->setCurrentRow(m_list->count() - 1);
    m_delete->setEnabled(m_list->count() > 0 && !m_journalPath.empty());
}

void ForecastDialog::refillMonths()
{
    m_months->clear();
    const bool perDay = m_rate->checkedId() == 1;
    for (int month = 1; month <= 12; ++month) {
        QString value;
        QString weight;
        if (m_forecast) {
            const registers::MonthSlot &slot = m_forecast->months[static_cast<std::size_t>(month - 1)];
            const double rate = slot.weight != 0 ? slot.average : m_forecast->overallRate;
            value = toQt(common::cformat(
                perDay ? "%.3f" : "%.1f", perDay ? rate : rate * registers::daysInMonth(month, today().year)));
            weight = slot.weight != 0 ? QString::number(slot.weight) : QStringLiteral("-");
        }
        auto *item = new QTreeWidgetItem(m_months, { toQt(common::monthName(month)), value, weight });
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void showForecast(AppContext &context, QWidget *parent)
{
    ForecastDialog dialog(context.logbook, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
