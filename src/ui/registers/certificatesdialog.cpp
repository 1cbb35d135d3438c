#include "ui/registers/certificatesdialog.h"

#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace zorv::ui {

namespace {

    constexpr auto kCharset = registers::Charset::Oem;

    QString shown(const std::string &stored)
    {
        return toQt(registers::toDisplay(stored, kCharset));
    }

    std::string stored(const QString &text)
    {
        return registers::toStored(fromQt(text), kCharset);
    }

} // namespace

CertificatesDialog::CertificatesDialog(AppContext &context, QWidget *parent)
    : RegisterWindow(context,
        { ui::tr("Enregistrer les brevets et certificats ?"), ui::tr("Brevets (*.inf);;Tous les fichiers (*)"),
            QStringLiteral("inf"), nullptr, reports::JobKind::Certificates },
        parent)
{
    using namespace registers::certificates;
    setObjectName(QStringLiteral("certificates"));
    setWindowTitle(ui::tr("Carnet de plongée : diplômes"));

    // The diver and the club head the whole register, above the list.
    m_diver = new QLineEdit(this);
    m_diver->setObjectName(QStringLiteral("diver"));
    m_diver->setMaxLength(static_cast<int>(kName) - 1);
    m_club = new QLineEdit(this);
    m_club->setObjectName(QStringLiteral("club"));
    m_club->setMaxLength(static_cast<int>(kName) - 1);
    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(ui::tr("Plongeur"), this));
    head->addWidget(m_diver, 1);
    head->addWidget(new QLabel(ui::tr("Club"), this));
    head->addWidget(m_club, 1);
    mainColumn()->addLayout(head);
    connect(m_diver, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_register.diverName = stored(t);
        markChanged();
    });
    connect(m_club, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_register.club = stored(t);
        markChanged();
    });

    setUpList(registers::kCertificateColumns, settings::ColumnList::Contents);
    addTextField(ui::tr("Catégorie"), QStringLiteral("category"), kCategory, kCharset,
        [this](int r) -> std::string & { return certificate(r).category; });
    addTextField(ui::tr("Description"), QStringLiteral("description"), kDescription, kCharset,
        [this](int r) -> std::string & { return certificate(r).description; });
    addDateField(
        ui::tr("Date"), QStringLiteral("date"), [this](int r) -> std::uint32_t & { return certificate(r).date; });
    addTextField(ui::tr("Instructeur"), QStringLiteral("instructor"), kInstructor, kCharset,
        [this](int r) -> std::string & { return certificate(r).instructor; });
    addField(
        ui::tr("Coût"), QStringLiteral("cost"), 14,
        [this](int r) { return toQt(registers::moneyText(certificate(r).cost)); },
        [this](int r, const QString &t) { certificate(r).cost = registers::parseMoney(fromQt(t)); }, Apply::WhenLeft);
    addTextField(ui::tr("Remarques"), QStringLiteral("remarks"), kRemarks, kCharset,
        [this](int r) -> std::string & { return certificate(r).remarks; });
    m_cost = new QLabel(this);
    m_cost->setObjectName(QStringLiteral("costTotal"));
    const int row = fieldGrid()->rowCount();
    fieldGrid()->addWidget(new QLabel(ui::tr("Coût/Instruction"), this), row, 0);
    fieldGrid()->addWidget(m_cost, row, 1);

    addButton(Action::New, ui::tr("&Nouveau"));
    addButton(Action::Delete, ui::tr("Ef&facer"), Enabled::WithRecords);
    addButton(Action::Sort, ui::tr(" Trie&r "), Enabled::WithRecords);
    addButton(Action::Print, ui::tr("&Imprimer"), Enabled::WithRecords);
    addButton(Action::Save, ui::tr("&Sauvegarder"));
    load(context.logbook.infPath());
}

std::string CertificatesDialog::cell(int row, int column) const
{
    return registers::certificateCell(m_register.certificates[static_cast<std::size_t>(row)], column);
}

common::Result CertificatesDialog::readFrom(const std::string &path)
{
    common::Result read = takeRecords(m_register, registers::loadCertificates(path));
    m_diver->setText(shown(m_register.diverName));
    m_club->setText(shown(m_register.club));
    return read;
}

common::Result CertificatesDialog::saveTo(const std::string &path)
{
    return registers::saveCertificates(path, m_register);
}

bool CertificatesDialog::appendRecord()
{
    m_register.certificates.emplace_back();
    return true;
}

void CertificatesDialog::removeRecord(int row)
{
    m_register.certificates.erase(m_register.certificates.begin() + row);
}

void CertificatesDialog::sortRecords()
{
    registers::sortCertificates(m_register.certificates);
}

registers::ListPrintout CertificatesDialog::printout() const
{
    return registers::certificatePrintout(m_register, m_context.settings.currency);
}

void CertificatesDialog::refreshSummary()
{
    m_cost->setText(toQt(registers::certificateCostText(m_register.certificates, m_context.settings.currency)));
}

void showCertificates(AppContext &context, QWidget *parent)
{
    CertificatesDialog dialog(context, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
