#include "ui/registers/equipmentdialog.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zorv::ui {

namespace {

    using registers::EquipmentItem;
    using registers::toDisplay;
    using registers::toStored;
    constexpr auto kCharset = registers::Charset::Windows;

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
    setWindowTitle(ui::tr("Équipement"));

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
        { N_("Article:"), "article", &EquipmentItem::article, kArticle },
        { N_("Utilisateur:"), "user", &EquipmentItem::user, kUser },
        { N_("Vendeur, Date:"), "vendorDate", &EquipmentItem::vendorDate, kVendorDate },
        { N_("TT1:"), "part1", &EquipmentItem::part1, kPart },
        { N_("Numéro de série:"), "serialNumber", &EquipmentItem::serialNumber, kSerial },
        { N_("TT2:"), "part2", &EquipmentItem::part2, kPart },
        { N_("TS2:"), "serialNumber2", &EquipmentItem::serialNumber2, kSerial },
        { N_("Détails:"), "details", &EquipmentItem::details, kDetails },
        { N_("Remarques:"), "remarks", &EquipmentItem::remarks, kRemarks },
    };
    int row = 0;
    for (const auto &t : texts) {
        QLineEdit *edit = textField(item.*t.member, t.size, QString::fromLatin1(t.name), this);
        m_texts.emplace_back(edit, t.member);
        grid->addWidget(new QLabel(ui::tr(t.label), this), row, 0);
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
    grid->addWidget(new QLabel(ui::tr("Dernière révision (mois, année):"), this), row, 0);
    grid->addWidget(m_dates[0], row, 1);
    grid->addWidget(m_dates[1], row, 2);
    ++row;
    grid->addWidget(new QLabel(ui::tr("Prochaine révision (mois, année):"), this), row, 0);
    grid->addWidget(m_dates[2], row, 1);
    grid->addWidget(m_dates[3], row, 2);
    m_remind = new QCheckBox(ui::tr("Prévenir"), this);
    m_remind->setObjectName(QStringLiteral("remind"));
    m_remind->setChecked(item.remind);
    grid->addWidget(m_remind, row, 3);
    ++row;
    m_price = new QLineEdit(toQt(registers::moneyText(item.price)), this);
    m_price->setObjectName(QStringLiteral("price"));
    m_service = new QLineEdit(toQt(registers::moneyText(item.serviceCost)), this);
    m_service->setObjectName(QStringLiteral("serviceCost"));
    grid->addWidget(new QLabel(ui::tr("Prix:"), this), row, 0);
    grid->addWidget(m_price, row, 1, 1, 2);
    ++row;
    grid->addWidget(new QLabel(ui::tr("Révision:"), this), row, 0);
    grid->addWidget(m_service, row, 1, 1, 2);
    grid->setColumnStretch(4, 1);

    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    addFormButtons(this, left);
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
    setWindowTitle(ui::tr("Coût de l'équipement"));
    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("user"));
    m_user->addItem(ui::tr("Tous les utilisateurs"));
    for (const std::string &user : m_users)
        m_user->addItem(toQt(toDisplay(user, kCharset)));
    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("costs"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels(
        { qstr(StringId::ColumnCategory), ui::tr("Nombre"), ui::tr("Prix"), ui::tr("Révisions"), ui::tr("Total") });
    m_table->setColumnWidth(0, 130);
    for (int c = 1; c < 5; ++c) {
        m_table->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        m_table->setColumnWidth(c, c == 1 ? 70 : 120);
    }
    m_table->setMinimumSize(580, 260);
    auto *close = registerButton(ui::tr("&Quitter"), QStringLiteral("quit"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_user, &QComboBox::currentIndexChanged, this, &EquipmentCostDialog::refill);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(ui::tr("Utilisateur:"), this));
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
    QTreeWidgetItem *total = addLine(ui::tr("Total"), summary.total);
    for (int c = 0; c < 5; ++c)
        total->setFont(c, bold);
}

EquipmentDialog::EquipmentDialog(AppContext &context, QWidget *parent)
    : RecordListWindow(context,
        { qstr(StringId::AskSaveEquipment), ui::tr("Liste de matériel (*.dat);;Tous les fichiers (*)"),
            QStringLiteral("dat"), &context.settings.equipmentFile, reports::JobKind::Equipment },
        { registers::loadEquipment, registers::saveEquipment, registers::sortEquipment }, parent)
{
    setObjectName(QStringLiteral("equipment"));
    setWindowTitle(ui::tr("Inventaire de l'équipement"));
    setUpList(registers::kEquipmentColumns, settings::ColumnList::Equipment);
    auto *autocheck = new QCheckBox(ui::tr("Contrôle automatique"), this);
    autocheck->setObjectName(QStringLiteral("autocheck"));
    autocheck->setChecked(context.settings.equipmentAutocheck);
    connect(autocheck, &QCheckBox::toggled, this, [this](bool on) { m_context.settings.equipmentAutocheck = on; });
    mainColumn()->addWidget(autocheck);

    addButton(Action::Open, ui::tr("&Ouvrir"));
    addButton(Action::Save, ui::tr("&Sauvegarder"), Enabled::WhenChanged);
    addButton(Action::New, ui::tr("Nou&veau"));
    addButton(Action::Details, ui::tr("Dé&tails"), Enabled::WithSelection);
    addButton(Action::Delete, ui::tr("Ef&facer"), Enabled::WithSelection);
    addButton(Action::Sort, ui::tr("T&rier"), Enabled::WithRecords);
    addButton(Action::Print, ui::tr("&Imprimer"), Enabled::WithRecords);
    addButton(ui::tr("&Coût"), QStringLiteral("cost"), Enabled::WithRecords, [this] {
        EquipmentCostDialog dialog(m_records, m_context.settings.currency, this);
        prompter().exec(dialog);
    });
    load(context.settings.equipmentFile);
}

std::string EquipmentDialog::cell(int row, int column) const
{
    const MonthAndYear now = currentMonth();
    return registers::equipmentCell(record(row), column, now.month, now.year);
}

QString EquipmentDialog::removeQuestion(int row) const
{
    const std::string category(registers::equipmentCategoryName(record(row).category));
    const std::string article = toDisplay(record(row).article, kCharset);
    return toQt(common::cformat(
        std::string(common::str(StringId::AskDeleteEquipment)).c_str(), category.c_str(), article.c_str()));
}

registers::ListPrintout EquipmentDialog::printout() const
{
    const MonthAndYear now = currentMonth();
    return registers::equipmentPrintout(m_records, now.month, now.year, m_context.settings.currency);
}

bool showEquipmentRegister(AppContext &context, QWidget *parent)
{
    EquipmentDialog dialog(context, parent);
    prompter().exec(dialog);
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
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

} // namespace zorv::ui
