#include "ui/stats/frequencywindow.h"

#include "common/clock.h"
#include "common/textcodec.h"
#include "logbook/daynumber.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/stats/statisticswindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

namespace zorv::ui {

namespace {

    constexpr int kNameWidth = 160;
    constexpr int kCountWidth = 75;

    QString ansi(const std::string &text)
    {
        return qtglue::fromWindows1252(text);
    }

} // namespace

FrequencyModel::FrequencyModel(QString nameTitle, QObject *parent)
    : QAbstractTableModel(parent)
    , m_nameTitle(std::move(nameTitle))
{
}

void FrequencyModel::show(const stats::FrequencyList *list, int entry)
{
    beginResetModel();
    m_list = list;
    m_entry = entry;
    endResetModel();
}

int FrequencyModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_list)
        return 0;
    if (m_entry < 0)
        return static_cast<int>(m_list->entries().size());
    if (m_entry >= static_cast<int>(m_list->entries().size()))
        return 0;
    return static_cast<int>(m_list->entries()[static_cast<std::size_t>(m_entry)].subEntries.size());
}

int FrequencyModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant FrequencyModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    std::string name;
    unsigned count = 0;
    if (m_entry < 0) {
        name = m_list->entries()[row].name;
        count = m_list->entries()[row].count;
    } else {
        const auto &sub = m_list->entries()[static_cast<std::size_t>(m_entry)].subEntries[row];
        name = sub.name;
        count = sub.count;
    }
    return index.column() == 0 ? QVariant(ansi(name)) : QVariant(QString::number(count));
}

QVariant FrequencyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const QString title = section == 0 ? m_nameTitle : ui::tr("Plongée");
    return section == m_sortMark ? QStringLiteral(">> ") + title : title;
}

FrequencyWindow::FrequencyWindow(AppContext &context, stats::FrequencyKind kind, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_list(kind)
{
    const bool partners = kind == stats::FrequencyKind::Partners;
    setWindowTitle(partners ? ui::tr(" Statistiques des partenaires") : ui::tr("Statistiques des sites de plongée"));
    m_entryModel = new FrequencyModel(partners ? ui::tr("Partenaires") : ui::tr("Endroit"), this);
    m_subModel = new FrequencyModel(partners ? ui::tr("Endroit") : ui::tr("Site"), this);
    m_entries = new QTableView;
    m_subs = new QTableView;
    for (QTableView *view : { m_entries, m_subs }) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->verticalHeader()->hide();
        // One text line a row, as a list box shows it: long lists stay readable at a glance.
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->horizontalHeader()->setSectionsClickable(true);
    }
    m_entries->setModel(m_entryModel);
    m_subs->setModel(m_subModel);
    const std::array<std::pair<QTableView *, settings::ColumnList>, 2> widths {
        { { m_entries, settings::ColumnList::Partners1 }, { m_subs, settings::ColumnList::Partners2 } }
    };
    for (const auto &[view, list] : widths)
        for (int column = 0; column < 2; ++column) {
            const int stored = partners ? context.settings.columnWidth(list, column) : -1;
            view->setColumnWidth(column, stored > 0 ? stored : (column == 0 ? kNameWidth : kCountWidth));
            if (partners)
                connect(view->horizontalHeader(), &QHeaderView::sectionResized, this,
                    [this, list = list](
                        int section, int, int size) { m_context.settings.setColumnWidth(list, section, size); });
        }

    m_mode = new QButtonGroup(this);
    auto *total = new QRadioButton(ui::tr("&Total"));
    auto *year = new QRadioButton(ui::tr("&Année"));
    m_mode->addButton(total, 0);
    m_mode->addButton(year, 1);
    total->setChecked(true);
    m_year = new QSpinBox;
    m_year->setEnabled(false);
    m_currentYear = common::clock().localNow().year;
    m_firstYear = m_currentYear;
    for (const logbook::DiveRecord &dive : context.logbook.dives())
        if (logbook::isShownAsDate(dive.date)) {
            m_firstYear = std::min(logbook::calendarDate(dive.date).year, m_currentYear);
            break;
        }
    m_year->setRange(m_firstYear, m_currentYear);
    m_year->setValue(m_currentYear);

    m_entryCount = new QLabel;
    m_subCount = new QLabel;
    auto *grid = new QGridLayout(this);
    grid->addWidget(total, 0, 0);
    grid->addWidget(year, 0, 1);
    grid->addWidget(m_year, 0, 2);
    grid->addWidget(m_entries, 1, 0, 1, 3);
    grid->addWidget(m_subs, 1, 3, 1, 3);
    grid->addWidget(new QLabel(partners ? ui::tr("Partenaire(s)") : ui::tr("Lieu(s)")), 2, 0);
    grid->addWidget(m_entryCount, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("de")), 2, 3);
    grid->addWidget(m_subCount, 2, 4);
    if (!partners) {
        m_subTotal = new QLabel;
        grid->addWidget(new QLabel(ui::tr("Site(s)")), 3, 3);
        grid->addWidget(m_subTotal, 3, 4);
    }
    auto *quit = new QPushButton(ui::tr("&Quitter"));
    grid->addWidget(quit, 4, 5);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_mode, &QButtonGroup::idClicked, this, [this](int id) { setYearMode(id == 1); });
    connect(m_year, &QSpinBox::valueChanged, this, [this] { recompute(); });
    connect(m_entries->horizontalHeader(), &QHeaderView::sectionClicked, this, &FrequencyWindow::sortBy);
    connect(m_entries->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) { selectEntry(current.row()); });
    resize(560, 420);
    recompute();
}

FrequencyWindow::~FrequencyWindow() = default;

void FrequencyWindow::setYearMode(bool oneYear)
{
    m_year->setEnabled(oneYear);
    m_mode->button(oneYear ? 1 : 0)->setChecked(true);
    recompute();
}

void FrequencyWindow::recompute()
{
    m_list.compute(m_context.logbook, m_mode->checkedId() == 1 ? m_year->value() : 0);
    m_entryModel->setSortMark(-1);
    refill();
}

void FrequencyWindow::refill()
{
    m_entryModel->show(&m_list, -1);
    m_entryCount->setText(QString::number(m_list.entries().size()));
    if (m_subTotal)
        m_subTotal->setText(QString::number(m_list.subEntryTotal()));
    selectEntry(0);
}

void FrequencyWindow::sortBy(int column)
{
    m_list.sort(column == 0 ? stats::FrequencySort::ByName : stats::FrequencySort::ByCount);
    m_entryModel->setSortMark(column);
    refill();
}

void FrequencyWindow::selectEntry(int row)
{
    const bool valid = row >= 0 && row < static_cast<int>(m_list.entries().size());
    m_subModel->show(&m_list, valid ? row : static_cast<int>(m_list.entries().size()));
    m_subCount->setText(valid ? QString::number(m_list.entries()[static_cast<std::size_t>(row)].subEntries.size())
                              : QStringLiteral("0"));
    if (valid && m_entries->currentIndex().row() != row)
        m_entries->setCurrentIndex(m_entryModel->index(row, 0));
}

void showFrequencies(AppContext &context, bool partners, QWidget *parent)
{
    FrequencyWindow window(context, partners ? stats::FrequencyKind::Partners : stats::FrequencyKind::Sites, parent);
    prompter().exec(window);
}

} // namespace zorv::ui
