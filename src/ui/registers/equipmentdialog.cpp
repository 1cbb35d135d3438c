#include "ui/registers/equipmentdialog.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zorv::ui {

namespace {

    using registers::EquipmentItem;
    using registers::toDisplay;
    using registers::toStored;
    constexpr auto kCharset = registers::Charset::Windows;
    const QString kFilter = QStringLiteral("Liste de matériel (*.dat);;Tous les fichiers (*)");

    QLineEdit *textField(const std::string &stored, std::size_t size, const QString &name, QWidget *parent)
    {
        auto *edit = new QLineEdit(toQt(toDisplay(stored, kCharset)), parent);
        edit->setObjectName(name);
        edit->setMaxLength(static_cast<int>(size) - 1);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x'))
            * static_cast<int>(std::min<std::size_t>(size, 45)));
        return edit;
    }

    QString number(unsigned value)
    {
        return value == 0 ? QString() : QString::number(value);
    }

} // namespace

EquipmentItemDialog::EquipmentItemDialog(const EquipmentItem &item, QWidget *parent)
    : QDialog(parent)
    , m_item(item)
{
    using namespace registers::equipment;
    setObjectName(QStringLiteral("equipmentItem"));
    setWindowTitle(QStringLiteral("Equipement"));

    auto *categories = new QGroupBox(qstr(StringId::ColumnCategory), this);
    auto *categoryLayout = new QGridLayout(categories);
    m_category = new QButtonGroup(this);
    for (int c = 0; c < registers::kEquipmentCategoryCount; ++c) {
        auto *button
            = new QRadioButton(toQt(registers::equipmentCategoryName(static_cast<std::uint8_t>(c))), categories);
        button->setObjectName(QStringLiteral("category%1").arg(c));
        m_category->addButton(button, c);
        categoryLayout->addWidget(button, c % 4, c / 4);
    }
    m_category->button(std::min<int>(item.category, registers::kOtherCategory))->setChecked(true);

    auto *grid = new QGridLayout;
    const struct {
        const char *label;
        const char *name;
        std::string EquipmentItem::*member;
        std::size_t size;
    } texts[] = {
        { "Article:", "article", &EquipmentItem::article, kArticle },
        { "Utilisateur:", "user", &EquipmentItem::user, kUser },
        { "Vendeur, Date:", "vendorDate", &EquipmentItem::vendorDate, kVendorDate },
        { "TT1:", "part1", &EquipmentItem::part1, kPart },
        { "Numéro de série:", "serialNumber", &EquipmentItem::serialNumber, kSerial },
        { "TT2:", "part2", &EquipmentItem::part2, kPart },
        { "TS2:", "serialNumber2", &EquipmentItem::serialNumber2, kSerial },
        { "Détails:", "details", &EquipmentItem::details, kDetails },
        { "Remarques:", "remarks", &EquipmentItem::remarks, kRemarks },
    };
    int row = 0;
    for (const auto &t : texts) {
        QLineEdit *edit = textField(item.*t.member, t.size, QString::fromLatin1(t.name), this);
        m_texts.emplace_back(edit, t.member);
        grid->addWidget(new QLabel(QString::fromUtf8(t.label), this), row, 0);
        grid->addWidget(edit, row, 1, 1, 4);
        ++row;
    }

    const QString dateNames[] = { QStringLiteral("lastMonth"), QStringLiteral("lastYear"), QStringLiteral("nextMonth"),
        QStringLiteral("nextYear") };
    const unsigned dateValues[]
        = { item.lastServiceMonth, item.lastServiceYear, item.nextServiceMonth, item.nextServiceYear };
    for (int i = 0; i < 4; ++i) {
        m_dates[static_cast<std::size_t>(i)] = new QLineEdit(number(dateValues[i]), this);
        m_dates[static_cast<std::size_t>(i)]->setObjectName(dateNames[i]);
        m_dates[static_cast<std::size_t>(i)]->setValidator(new QIntValidator(0, i % 2 == 0 ? 12 : 9999, this));
        m_dates[static_cast<std::size_t>(i)]->setMaximumWidth(60);
    }
    grid->addWidget(new QLabel(QStringLiteral("Dernière révision (mois, année):"), this), row, 0);
    grid->addWidget(m_dates[0], row, 1);
    grid->addWidget(m_dates[1], row, 2);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Prochaine révision (mois, année):"), this), row, 0);
    grid->addWidget(m_dates[2], row, 1);
    grid->addWidget(m_dates[3], row, 2);
    m_remind = new QCheckBox(QStringLiteral("Prévenir"), this);
    m_remind->setObjectName(QStringLiteral("remind"));
    m_remind->setChecked(item.remind);
    grid->addWidget(m_remind, row, 3);
    ++row;
    m_price = new QLineEdit(toQt(registers::moneyText(item.price)), this);
    m_price->setObjectName(QStringLiteral("price"));
    m_service = new QLineEdit(toQt(registers::moneyText(item.serviceCost)), this);
    m_service->setObjectName(QStringLiteral("serviceCost"));
    grid->addWidget(new QLabel(QStringLiteral("Prix:"), this), row, 0);
    grid->addWidget(m_price, row, 1, 1, 2);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Révision:"), this), row, 0);
    grid->addWidget(m_service, row, 1, 1, 2);
    grid->setColumnStretch(4, 1);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(buttons);
    layout->addWidget(categories, 0, Qt::AlignTop);
    layout->addLayout(left, 1);
    m_texts.front().first->setFocus();
}

EquipmentItem EquipmentItemDialog::result() const
{
    EquipmentItem item = m_item;
    item.category = static_cast<std::uint8_t>(std::max(0, m_category->checkedId()));
    for (const auto &[edit, member] : m_texts)
        item.*member = toStored(fromQt(edit->text()), kCharset);
    std::uint16_t *dates[]
        = { &item.lastServiceMonth, &item.lastServiceYear, &item.nextServiceMonth, &item.nextServiceYear };
    for (int i = 0; i < 4; ++i)
        *dates[i] = static_cast<std::uint16_t>(
            registers::parseWhole(fromQt(m_dates[static_cast<std::size_t>(i)]->text()), 0, i % 2 == 0 ? 12 : 9999));
    item.price = registers::parseMoney(fromQt(m_price->text()));
    item.serviceCost = registers::parseMoney(fromQt(m_service->text()));
    item.remind = m_remind->isChecked();
    return item;
}

EquipmentCostDialog::EquipmentCostDialog(
    const std::vector<EquipmentItem> &items, const std::string &currency, QWidget *parent)
    : QDialog(parent)
    , m_items(items)
    , m_users(registers::equipmentUsers(items))
    , m_currency(currency)
{
    setObjectName(QStringLiteral("equipmentCost"));
    setWindowTitle(QStringLiteral("Coût de l'équipement"));
    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("user"));
    m_user->addItem(QStringLiteral("Tous les utilisateurs"));
    for (const std::string &user : m_users)
        m_user->addItem(toQt(toDisplay(user, kCharset)));
    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("costs"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels({ qstr(StringId::ColumnCategory), QStringLiteral("Nombre"), QStringLiteral("Prix"),
        QStringLiteral("Révisions"), QStringLiteral("Total") });
    m_table->setColumnWidth(0, 130);
    for (int c = 1; c < 5; ++c) {
        m_table->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        m_table->setColumnWidth(c, c == 1 ? 70 : 120);
    }
    m_table->setMinimumSize(580, 260);
    auto *close = registerButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_user, &QComboBox::currentIndexChanged, this, &EquipmentCostDialog::refill);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Utilisateur:"), this));
    top->addWidget(m_user, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    refill();
}

void EquipmentCostDialog::refill()
{
    const int selected = m_user->currentIndex();
    std::optional<std::string_view> user;
    if (selected > 0)
        user = m_users[static_cast<std::size_t>(selected - 1)];
    const registers::CostSummary summary = registers::costSummary(m_items, user);
    m_table->clear();
    const auto addLine = [this](const QString &name, const registers::CostLine &line) {
        const QString currency = toQt(m_currency);
        auto *item = new QTreeWidgetItem(m_table,
            { name, QString::number(line.count), toQt(registers::moneyText(line.prices)) + QLatin1Char(' ') + currency,
                toQt(registers::moneyText(line.services)) + QLatin1Char(' ') + currency,
                toQt(registers::moneyText(line.total)) + QLatin1Char(' ') + currency });
        for (int c = 1; c < 5; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    for (int c = 0; c < registers::kEquipmentCategoryCount; ++c)
        addLine(toQt(registers::equipmentCategoryName(static_cast<std::uint8_t>(c))),
            summary.categories[static_cast<std::size_t>(c)]);
    QFont bold = m_table->font();
    bold.setBold(true);
    QTreeWidgetItem *total = addLine(QStringLiteral("Total"), summary.total);
    for (int c = 0; c < 5; ++c)
        total->setFont(c, bold);
}

EquipmentDialog::EquipmentDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("equipment"));
    setWindowTitle(QStringLiteral("Inventaire équipement"));

    m_model = new RegisterListModel(
        columnTitles(registers::kEquipmentColumns), [this] { return static_cast<int>(m_items.size()); },
        [this](int row, int column) {
            const MonthAndYear now = currentMonth();
            return registers::equipmentCell(m_items[static_cast<std::size_t>(row)], column, now.month, now.year);
        },
        this);
    m_view
        = registerView(this, m_model, registers::kEquipmentColumns, context.settings, settings::ColumnList::Equipment);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("fileName"));
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_autocheck = new QCheckBox(QStringLiteral("Contrôle automatique"), this);
    m_autocheck->setObjectName(QStringLiteral("autocheck"));
    m_autocheck->setChecked(context.settings.equipmentAutocheck);
    connect(m_autocheck, &QCheckBox::toggled, this, [this](bool on) { m_context.settings.equipmentAutocheck = on; });

    auto *open = registerButton(QStringLiteral("&Ouvrir"), QStringLiteral("open"), this);
    m_save = registerButton(QStringLiteral("&Sauvegarder"), QStringLiteral("save"), this);
    auto *add = registerButton(QStringLiteral("Nou&veau"), QStringLiteral("new"), this);
    m_details = registerButton(QStringLiteral("De&tails"), QStringLiteral("details"), this);
    m_delete = registerButton(QStringLiteral("Ef&facer"), QStringLiteral("delete"), this);
    m_sort = registerButton(QStringLiteral("T&rier"), QStringLiteral("sort"), this);
    m_print = registerButton(QStringLiteral("&Imprimer"), QStringLiteral("print"), this);
    m_cost = registerButton(QStringLiteral("&Coût"), QStringLiteral("cost"), this);
    auto *quit = registerButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), this);
    connect(open, &QPushButton::clicked, this, &EquipmentDialog::openFile);
    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    connect(add, &QPushButton::clicked, this, &EquipmentDialog::addItem);
    connect(m_details, &QPushButton::clicked, this, &EquipmentDialog::editItem);
    connect(m_delete, &QPushButton::clicked, this, &EquipmentDialog::deleteItem);
    connect(m_sort, &QPushButton::clicked, this, &EquipmentDialog::sortItems);
    connect(m_print, &QPushButton::clicked, this, &EquipmentDialog::print);
    connect(m_cost, &QPushButton::clicked, this, &EquipmentDialog::showCosts);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view, &QTreeView::doubleClicked, this, &EquipmentDialog::editItem);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, &EquipmentDialog::updateState);

    auto *fileLine = new QHBoxLayout;
    fileLine->addWidget(new QLabel(QStringLiteral("Fichier:"), this));
    fileLine->addWidget(m_file, 1);
    auto *side = new QVBoxLayout;
    for (QPushButton *b : { open, m_save, add, m_details, m_delete, m_sort, m_print, m_cost })
        side->addWidget(b);
    side->addStretch(1);
    side->addWidget(quit);
    auto *column = new QVBoxLayout;
    column->addLayout(fileLine);
    column->addWidget(m_view, 1);
    column->addWidget(m_autocheck);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(column, 1);
    layout->addLayout(side);

    load(context.settings.equipmentFile);
}

EquipmentDialog::~EquipmentDialog()
{
    storeColumnWidths(m_view, m_context.settings, settings::ColumnList::Equipment, registers::kEquipmentColumnCount);
}

void EquipmentDialog::load(const std::string &path)
{
    takeLoaded(this, m_state, m_items, registers::loadEquipment(path), path);
    m_model->reload();
    selectRow(m_view, m_items.empty() ? -1 : 0);
    updateState();
}

bool EquipmentDialog::save()
{
    if (!saveRegister(this, m_state, kFilter, m_context.settings.equipmentFile,
            [this](const std::string &path) { return registers::saveEquipment(path, m_items); }))
        return false;
    updateState();
    return true;
}

bool EquipmentDialog::maySave()
{
    if (!m_state.modified)
        return true;
    return saveOrDiscard(this, qstr(StringId::AskSaveEquipment), [this] { return save(); });
}

void EquipmentDialog::done(int result)
{
    if (!maySave())
        return;
    QDialog::done(result);
}

void EquipmentDialog::openFile()
{
    if (!maySave())
        return;
    const QString chosen = chooseOpenPath(this, kFilter, m_context.settings.equipmentFile);
    if (chosen.isEmpty())
        return;
    m_context.settings.equipmentFile = fromQt(chosen);
    load(m_context.settings.equipmentFile);
}

void EquipmentDialog::addItem()
{
    EquipmentItemDialog form(EquipmentItem {}, this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_items.push_back(form.result());
    m_model->reload();
    selectRow(m_view, static_cast<int>(m_items.size()) - 1);
    changed();
}

void EquipmentDialog::editItem()
{
    const int row = currentRow(m_view);
    if (row < 0)
        return;
    EquipmentItemDialog form(m_items[static_cast<std::size_t>(row)], this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_items[static_cast<std::size_t>(row)] = form.result();
    m_model->rowChanged(row);
    changed();
}

void EquipmentDialog::deleteItem()
{
    const int row = currentRow(m_view);
    if (row < 0)
        return;
    const EquipmentItem &item = m_items[static_cast<std::size_t>(row)];
    const std::string category(registers::equipmentCategoryName(item.category));
    const std::string article = toDisplay(item.article, kCharset);
    if (!askYesNo(this,
            toQt(common::cformat(
                std::string(common::str(StringId::AskDeleteEquipment)).c_str(), category.c_str(), article.c_str()))))
        return;
    m_items.erase(m_items.begin() + row);
    m_model->reload();
    selectRow(m_view, std::min(row, static_cast<int>(m_items.size()) - 1));
    changed();
}

void EquipmentDialog::sortItems()
{
    registers::sortEquipment(m_items);
    m_model->reload();
    selectRow(m_view, 0);
    changed();
}

void EquipmentDialog::print()
{
    const MonthAndYear now = currentMonth();
    printList(this, registers::equipmentPrintout(m_items, now.month, now.year, m_context.settings.currency),
        reports::JobKind::Equipment);
}

void EquipmentDialog::showCosts()
{
    EquipmentCostDialog dialog(m_items, m_context.settings.currency, this);
    dialog.exec();
}

void EquipmentDialog::changed()
{
    m_state.modified = true;
    updateState();
}

void EquipmentDialog::updateState()
{
    m_file->setText(toQt(m_state.fileLabel()));
    const bool any = !m_items.empty();
    const bool selected = currentRow(m_view) >= 0;
    m_save->setEnabled(m_state.modified);
    m_details->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_sort->setEnabled(any);
    m_print->setEnabled(any);
    m_cost->setEnabled(any);
}

bool showEquipmentRegister(AppContext &context, QWidget *parent)
{
    EquipmentDialog dialog(context, parent);
    dialog.exec();
    return true;
}

bool equipmentServiceDue(const AppContext &context)
{
    if (!context.settings.equipmentAutocheck)
        return false;
    const MonthAndYear now = currentMonth();
    return registers::equipmentFileHasDueItem(context.settings.equipmentFile, now.month, now.year);
}

void showServiceReminder(QWidget *parent)
{
    QMessageBox box(
        QMessageBox::Warning, qstr(StringId::AppTitle), qstr(StringId::ServiceReminder), QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("serviceReminder"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace zorv::ui
