#include "ui/registers/addressdialog.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using registers::Address;
    constexpr auto kCharset = registers::Charset::Oem;
    const QString kFilter = QStringLiteral("Adresses (*.adr);;Tous les fichiers (*)");
    const QString kSuffix = QStringLiteral("adr");

} // namespace

AddressDetailDialog::AddressDetailDialog(const Address &address, QWidget *parent)
    : QDialog(parent)
    , m_address(address)
{
    setObjectName(QStringLiteral("addressDetails"));
    setWindowTitle(QStringLiteral("Adresse"));
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
        grid->addWidget(new QLabel(QString::fromUtf8(field.label), this), row, column);
        grid->addWidget(edit, row, column + 1);
    }
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
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
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("addresses"));
    setWindowTitle(QStringLiteral("Adresses"));
    m_model = new RegisterListModel(
        columnTitles(registers::kAddressColumns), [this] { return static_cast<int>(m_addresses.size()); },
        [this](
            int row, int column) { return registers::addressCell(m_addresses[static_cast<std::size_t>(row)], column); },
        this);
    m_view = registerView(this, m_model, registers::kAddressColumns, context.settings, settings::ColumnList::Addresses);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("fileName"));

    auto *open = registerButton(QStringLiteral("&Ouvrir"), QStringLiteral("open"), this);
    m_save = registerButton(QStringLiteral("&Sauvegarder"), QStringLiteral("save"), this);
    auto *add = registerButton(QStringLiteral("&Nouvelle"), QStringLiteral("new"), this);
    m_details = registerButton(QStringLiteral("De&tails"), QStringLiteral("details"), this);
    m_delete = registerButton(QStringLiteral("Ef&facer"), QStringLiteral("delete"), this);
    m_sort = registerButton(QStringLiteral("Trie&r"), QStringLiteral("sort"), this);
    m_print = registerButton(QStringLiteral("&Imprimer"), QStringLiteral("print"), this);
    auto *quit = registerButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), this);
    connect(open, &QPushButton::clicked, this, &AddressDialog::openFile);
    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    connect(add, &QPushButton::clicked, this, &AddressDialog::addAddress);
    connect(m_details, &QPushButton::clicked, this, &AddressDialog::editAddress);
    connect(m_delete, &QPushButton::clicked, this, &AddressDialog::deleteAddress);
    connect(m_sort, &QPushButton::clicked, this, &AddressDialog::sortAddresses);
    connect(m_print, &QPushButton::clicked, this,
        [this] { printList(this, registers::addressPrintout(m_addresses), reports::JobKind::Addresses); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view, &QTreeView::doubleClicked, this, &AddressDialog::editAddress);

    auto *fileLine = new QHBoxLayout;
    fileLine->addWidget(new QLabel(QStringLiteral("Fichier:"), this));
    fileLine->addWidget(m_file, 1);
    auto *side = new QVBoxLayout;
    for (QPushButton *b : { open, m_save, add, m_details, m_delete, m_sort, m_print })
        side->addWidget(b);
    side->addStretch(1);
    side->addWidget(quit);
    auto *column = new QVBoxLayout;
    column->addLayout(fileLine);
    column->addWidget(m_view, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(column, 1);
    layout->addLayout(side);

    load(context.settings.addressFile);
}

AddressDialog::~AddressDialog()
{
    storeColumnWidths(m_view, m_context.settings, settings::ColumnList::Addresses, registers::kAddressColumnCount);
}

void AddressDialog::load(const std::string &path)
{
    takeLoaded(this, m_state, m_addresses, registers::loadAddresses(path), path);
    m_model->reload();
    selectRow(m_view, m_addresses.empty() ? -1 : 0);
    updateState();
}

bool AddressDialog::save()
{
    if (!saveRegister(this, m_state, kFilter, kSuffix, m_context.settings.addressFile,
            [this](const std::string &path) { return registers::saveAddresses(path, m_addresses); }))
        return false;
    updateState();
    return true;
}

bool AddressDialog::maySave()
{
    if (!m_state.modified)
        return true;
    return saveOrDiscard(this, qstr(StringId::AskSaveAddresses), [this] { return save(); });
}

void AddressDialog::done(int result)
{
    if (maySave())
        QDialog::done(result);
}

void AddressDialog::openFile()
{
    if (!maySave())
        return;
    const QString chosen = chooseOpenPath(this, kFilter, kSuffix, m_context.settings.addressFile);
    if (chosen.isEmpty())
        return;
    m_context.settings.addressFile = fromQt(chosen);
    load(m_context.settings.addressFile);
}

void AddressDialog::addAddress()
{
    AddressDetailDialog form(Address {}, this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_addresses.push_back(form.result());
    m_model->reload();
    selectRow(m_view, static_cast<int>(m_addresses.size()) - 1);
    changed();
}

void AddressDialog::editAddress()
{
    const int row = currentRow(m_view);
    if (row < 0)
        return;
    AddressDetailDialog form(m_addresses[static_cast<std::size_t>(row)], this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_addresses[static_cast<std::size_t>(row)] = form.result();
    m_model->rowChanged(row);
    changed();
}

void AddressDialog::deleteAddress()
{
    const int row = currentRow(m_view);
    if (row < 0)
        return;
    const std::string name = registers::addressCell(m_addresses[static_cast<std::size_t>(row)], 0);
    if (!askYesNo(
            this, toQt(common::cformat(std::string(common::str(StringId::AskDeleteNamed)).c_str(), name.c_str()))))
        return;
    m_addresses.erase(m_addresses.begin() + row);
    m_model->reload();
    selectRow(m_view, std::min(row, static_cast<int>(m_addresses.size()) - 1));
    changed();
}

void AddressDialog::sortAddresses()
{
    registers::sortAddresses(m_addresses);
    m_model->reload();
    selectRow(m_view, 0);
    changed();
}

void AddressDialog::changed()
{
    m_state.modified = true;
    updateState();
}

void AddressDialog::updateState()
{
    m_file->setText(toQt(m_state.fileLabel()));
    const bool any = !m_addresses.empty();
    for (QPushButton *b : { m_save, m_details, m_delete, m_sort, m_print })
        b->setEnabled(any);
}

void showAddressRegister(AppContext &context, QWidget *parent)
{
    AddressDialog dialog(context, parent);
    dialog.exec();
}

} // namespace zorv::ui
