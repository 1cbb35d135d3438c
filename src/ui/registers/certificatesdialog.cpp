#include "ui/registers/certificatesdialog.h"

#include "logbook/diverecord.h"
#include "logbook/fieldcatalogue.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using registers::Certificate;
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
    : RecordListDialog(context, parent)
{
    using namespace registers::certificates;
    setObjectName(QStringLiteral("certificates"));
    setWindowTitle(QStringLiteral("Carnet de plongée ; diplômes"));
    m_saveQuestion = QStringLiteral("Sauvegarder les brevets et certificats?");

    // The diver and the club head the whole register, above the list.
    m_diver = new QLineEdit(this);
    m_diver->setObjectName(QStringLiteral("diver"));
    m_diver->setMaxLength(static_cast<int>(kName) - 1);
    m_club = new QLineEdit(this);
    m_club->setObjectName(QStringLiteral("club"));
    m_club->setMaxLength(static_cast<int>(kName) - 1);
    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Plongeur"), this));
    head->addWidget(m_diver, 1);
    head->addWidget(new QLabel(QStringLiteral("Club"), this));
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

    setUpList(registers::kCertificateColumns, settings::ColumnList::Contents,
        [this](int row, int column) { return registers::certificateCell(certificate(row), column); });
    addField(
        QStringLiteral("Catégorie"), QStringLiteral("category"), static_cast<int>(kCategory) - 1,
        [this](int r) { return shown(certificate(r).category); },
        [this](int r, const QString &t) { certificate(r).category = stored(t); });
    addField(
        QStringLiteral("Déscription"), QStringLiteral("description"), static_cast<int>(kDescription) - 1,
        [this](int r) { return shown(certificate(r).description); },
        [this](int r, const QString &t) { certificate(r).description = stored(t); });
    addField(
        QStringLiteral("Date"), QStringLiteral("date"), 12,
        [this](int r) { return toQt(logbook::formatDate(certificate(r).date, logbook::DateForm::Medium)); },
        [this](int r, const QString &t) {
            const std::uint32_t day = logbook::parseDate(fromQt(t));
            certificate(r).date = day == logbook::kNoDate ? 0 : day;
        },
        Apply::WhenLeft);
    addField(
        QStringLiteral("Instructeur"), QStringLiteral("instructor"), static_cast<int>(kInstructor) - 1,
        [this](int r) { return shown(certificate(r).instructor); },
        [this](int r, const QString &t) { certificate(r).instructor = stored(t); });
    addField(
        QStringLiteral("Coût"), QStringLiteral("cost"), 14,
        [this](int r) { return toQt(registers::moneyText(certificate(r).cost)); },
        [this](int r, const QString &t) { certificate(r).cost = registers::parseMoney(fromQt(t)); }, Apply::WhenLeft);
    addField(
        QStringLiteral("Remarques"), QStringLiteral("remarks"), static_cast<int>(kRemarks) - 1,
        [this](int r) { return shown(certificate(r).remarks); },
        [this](int r, const QString &t) { certificate(r).remarks = stored(t); });
    m_cost = new QLabel(this);
    m_cost->setObjectName(QStringLiteral("costTotal"));
    const int row = fieldGrid()->rowCount();
    fieldGrid()->addWidget(new QLabel(QStringLiteral("Coût/Instruction"), this), row, 0);
    fieldGrid()->addWidget(m_cost, row, 1);

    addButton(QStringLiteral("&Nouveau"), QStringLiteral("new"), [this] { appendRecord(); });
    m_needRecords.push_back(addButton(QStringLiteral("Ef&facer"), QStringLiteral("delete"), [this] {
        if (selectedRow() >= 0)
            removeRecord(selectedRow());
    }));
    m_needRecords.push_back(addButton(QStringLiteral(" Trie&r "), QStringLiteral("sort"), [this] { sortRecords(); }));
    m_needRecords.push_back(addButton(QStringLiteral("&Imprimer"), QStringLiteral("print"),
        [this] { printList(this, printout(), reports::JobKind::Certificates); }));
    addButton(QStringLiteral("&Sauvegarder"), QStringLiteral("save"), [this] { save(); });
    sideButtons()->addStretch(1);
    addButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), [this] { reject(); });

    const std::string path = context.logbook.infPath();
    auto loaded = registers::loadCertificates(path);
    if (loaded)
        m_register = std::move(loaded.value());
    m_diver->setText(shown(m_register.diverName));
    m_club->setText(shown(m_register.club));
    setRecords(path, loaded.ok(), loaded.result());
}

void CertificatesDialog::appendRecord()
{
    m_register.certificates.emplace_back();
    reloadList(count() - 1);
    markChanged();
}

void CertificatesDialog::removeRecord(int row)
{
    m_register.certificates.erase(m_register.certificates.begin() + row);
    reloadList(std::min(row, count() - 1));
    markChanged();
}

void CertificatesDialog::sortRecords()
{
    registers::sortCertificates(m_register.certificates);
    reloadList(0);
    markChanged();
}

common::Result CertificatesDialog::saveTo(const std::string &path)
{
    return registers::saveCertificates(path, m_register);
}

registers::ListPrintout CertificatesDialog::printout() const
{
    return registers::certificatePrintout(m_register, m_context.settings.currency);
}

void CertificatesDialog::refreshSummary()
{
    m_cost->setText(toQt(registers::certificateCostText(m_register.certificates, m_context.settings.currency)));
}

QString CertificatesDialog::askNewPath()
{
    return chooseSavePath(this, QStringLiteral("Brevets (*.inf);;Tous les fichiers (*)"), QStringLiteral("inf"),
        m_context.logbook.infPath());
}

void showCertificates(AppContext &context, QWidget *parent)
{
    CertificatesDialog dialog(context, parent);
    dialog.exec();
}

} // namespace zorv::ui
