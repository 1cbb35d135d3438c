#include "ui/registers/addressdialog.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using registers::Address;
    constexpr auto kCharset = registers::Charset::Oem;

} // namespace

AddressDetailDialog::AddressDetailDialog(const Address &address, QWidget *parent)
    : QDialog(parent)
    , m_address(address)
{
    setObjectName(QStringLiteral("addressDetails"));
    setWindowTitle(ui::tr("Adresse"));
    auto *grid = new QGridLayout;
    for (int i = 0; i < registers::kAddressFieldCount; ++i) {
        const registers::AddressField &field = registers::kAddressFields[static_cast<std::size_t>(i)];
        auto *edit = new QLineEdit(toQt(registers::toDisplay(address.*field.member, kCharset)), this);
        edit->setObjectName(QStringLiteral("field%1").arg(i));
        edit->setMaxLength(static_cast<int>(field.size) - 1);
        edit->setMinimumWidth(260);
        m_fields[static_cast<std::size_t>(i)] = edit;
        // Two columns of fields: names and address on the left, numbers and notes on the right.
        const int column = i < 7 ? 0 : 2;
        const int row = i < 7 ? i : i - 7;
        grid->addWidget(new QLabel(ui::tr(field.label), this), row, column);
        grid->addWidget(edit, row, column + 1);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    addFormButtons(this, layout);
    m_fields.front()->setFocus();
}

Address AddressDetailDialog::result() const
{
    Address address = m_address;
    for (int i = 0; i < registers::kAddressFieldCount; ++i)
        address.*registers::kAddressFields[static_cast<std::size_t>(i)].member
            = registers::toStored(fromQt(m_fields[static_cast<std::size_t>(i)]->text()), kCharset);
    return address;
}

AddressDialog::AddressDialog(AppContext &context, QWidget *parent)
    : RecordListWindow(context,
        { qstr(StringId::AskSaveAddresses), ui::tr("Adresses (*.adr);;Tous les fichiers (*)"), QStringLiteral("adr"),
            &context.settings.addressFile, reports::JobKind::Addresses },
        { registers::loadAddresses, registers::saveAddresses, registers::sortAddresses }, parent)
{
    setObjectName(QStringLiteral("addresses"));
    setWindowTitle(ui::tr("Adresses"));
    setUpList(registers::kAddressColumns, settings::ColumnList::Addresses);
    addButton(Action::Open, ui::tr("&Ouvrir"));
    addButton(Action::Save, ui::tr("&Sauvegarder"), Enabled::WithRecords);
    addButton(Action::New, ui::tr("&Nouvelle"));
    addButton(Action::Details, ui::tr("Dé&tails"), Enabled::WithRecords);
    addButton(Action::Delete, ui::tr("Ef&facer"), Enabled::WithRecords);
    addButton(Action::Sort, ui::tr("Trie&r"), Enabled::WithRecords);
    addButton(Action::Print, ui::tr("&Imprimer"), Enabled::WithRecords);
    load(context.settings.addressFile);
}

std::string AddressDialog::cell(int row, int column) const
{
    return registers::addressCell(record(row), column);
}

QString AddressDialog::removeQuestion(int row) const
{
    return toQt(common::cformat(std::string(common::str(StringId::AskDeleteNamed)).c_str(), cell(row, 0).c_str()));
}

registers::ListPrintout AddressDialog::printout() const
{
    return registers::addressPrintout(m_records);
}

void showAddressRegister(AppContext &context, QWidget *parent)
{
    AddressDialog dialog(context, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
