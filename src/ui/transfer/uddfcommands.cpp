#include "ui/transfer/uddfcommands.h"

#include "uddf/uddfimport.h"
#include "ui/common/appcontext.h"
#include "ui/common/filefolders.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    std::string localPath(const QString &path)
    {
        return QFile::encodeName(path).toStdString();
    }

    QString existing(const std::string &path)
    {
        const QString q = QFile::decodeName(path.c_str());
        return !q.isEmpty() && QFileInfo(q).isFile() ? q : QString();
    }

    // The registers the user names beside the logbook's own, and whether Zorv's data goes along.
    class UddfExportDialog : public QDialog {
    public:
        UddfExportDialog(const AppContext &context, QWidget *parent)
            : QDialog(parent)
        {
            setWindowTitle(ui::tr("Exporter UDDF"));
            auto *form = new QFormLayout;
            m_equipment = addFile(form, QStringLiteral("equipment"), ui::tr("Matériel :"),
                existing(context.settings.equipmentFile), ui::tr("Matériel (*.dat)"));
            m_addresses = addFile(form, QStringLiteral("addresses"), ui::tr("Adresses :"),
                existing(context.settings.addressFile), ui::tr("Adresses (*.adr)"));
            m_teaching
                = addFile(form, QStringLiteral("teaching"), ui::tr("Enseignement :"), {}, ui::tr("Cours (*.abn)"));
            m_portable = new QCheckBox(ui::tr("Sans les données propres à Zorv (fichier plus petit, sans "
                                              "retour exact)"));
            m_portable->setObjectName(QStringLiteral("portable"));
            auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
            buttons->button(QDialogButtonBox::Ok)->setText(ui::tr("OK"));
            buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
            connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
            connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
            auto *layout = new QVBoxLayout(this);
            layout->addWidget(
                new QLabel(ui::tr("Le carnet part avec ses voyages et ses brevets. Registres à joindre :")));
            layout->addLayout(form);
            layout->addWidget(m_portable);
            layout->addWidget(buttons);
        }

        QString equipment() const { return m_equipment->text(); }
        QString addresses() const { return m_addresses->text(); }
        QString teaching() const { return m_teaching->text(); }
        bool portable() const { return m_portable->isChecked(); }

    private:
        QLineEdit *addFile(
            QFormLayout *form, const QString &name, const QString &label, const QString &value, const QString &filter)
        {
            auto *edit = new QLineEdit(value);
            edit->setObjectName(name);
            edit->setMinimumWidth(320);
            auto *browse = new QPushButton(QStringLiteral("…"));
            browse->setMaximumWidth(40);
            connect(browse, &QPushButton::clicked, this, [this, edit, filter] {
                FileRequest request;
                request.parent = this;
                request.directory = edit->text();
                request.filter = filter + ui::tr(";;Tous les fichiers (*)");
                const QString file = chooseFile(request);
                if (!file.isEmpty())
                    edit->setText(file);
            });
            auto *row = new QHBoxLayout;
            row->addWidget(edit);
            row->addWidget(browse);
            form->addRow(label, row);
            return edit;
        }

        QLineEdit *m_equipment;
        QLineEdit *m_addresses;
        QLineEdit *m_teaching;
        QCheckBox *m_portable;
    };

    void warn(QWidget *parent, const std::string &message)
    {
        ui::warn(parent, qstr(StringId::AppTitle), toQt(message));
    }

} // namespace

void exportUddf(AppContext &context, QWidget *parent)
{
    FileRequest request;
    request.parent = parent;
    request.mode = FileRequest::Mode::Save;
    request.filter = ui::tr("Fichiers UDDF (*.uddf);;Tous les fichiers (*)");
    request.defaultSuffix = QStringLiteral("uddf");
    request.title = ui::tr("Exporter UDDF");
    request.context = &context;
    request.folder = FileFolder::UddfExport;
    const QString target = chooseFile(request);
    if (target.isEmpty())
        return;
    UddfExportDialog choices(context, parent);
    if (prompter().exec(choices) != QDialog::Accepted)
        return;

    const logbook::Logbook &book = context.logbook;
    std::vector<uddf::RegisterSource> registers;
    const std::pair<uddf::RegisterKind, std::string> files[] = {
        { uddf::RegisterKind::Certificates, book.infPath() },
        { uddf::RegisterKind::Trips, book.trpPath() },
        { uddf::RegisterKind::Equipment, localPath(choices.equipment()) },
        { uddf::RegisterKind::Addresses, localPath(choices.addresses()) },
        { uddf::RegisterKind::Teaching, localPath(choices.teaching()) },
    };
    for (const auto &[kind, path] : files) {
        if (path.empty())
            continue;
        auto source = uddf::readRegisterSource(kind, path);
        if (!source) {
            warn(parent, source.message());
            return;
        }
        if (*source)
            registers.push_back(std::move(**source));
    }

    uddf::ExportOptions options;
    options.content = choices.portable() ? uddf::Content::Portable : uddf::Content::Full;
    QProgressDialog progress(ui::tr("Export UDDF en cours…"), ui::tr("Annuler"), 0, book.diveCount(), parent);
    progress.setWindowTitle(ui::tr("Exporter UDDF"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    options.progress = [&progress](int done, int total) {
        // Every few dives: repainting for each one would cost more than writing it.
        if (done % 50 == 0 || done == total) {
            progress.setMaximum(total);
            progress.setValue(done);
            QApplication::processEvents();
        }
        return !progress.wasCanceled();
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto written = uddf::exportUddf(book, registers, options, localPath(target));
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (!written && written.status() != common::Status::Cancelled)
        warn(parent, written.message());
}

bool importUddf(AppContext &context, QWidget *parent)
{
    FileRequest request;
    request.parent = parent;
    request.filter = ui::tr("Fichiers UDDF (*.uddf *.xml);;Tous les fichiers (*)");
    request.title = ui::tr("Importer UDDF");
    request.context = &context;
    request.folder = FileFolder::Import;
    const QString path = chooseFile(request);
    return !path.isEmpty() && importUddfFrom(context, path, parent);
}

bool importUddfFrom(AppContext &context, const QString &path, QWidget *parent)
{
    logbook::Logbook &book = context.logbook;
    uddf::ImportOptions options;
    options.defaults = context.settings.newDiveDefaults;
    if (const auto type = settings::importComputerType(context.settings.importTypeId))
        options.computerType = *type;
    options.computers = book.computerInfo();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto content = uddf::readUddfFile(localPath(path), options);
    std::vector<std::string> registerNotes;
    // Registers come back only into a logbook that is still empty: they belong to the logbook they left.
    if (content && book.diveCount() == 0 && QFileInfo(QFile::decodeName(book.path().c_str())).dir().exists())
        uddf::restoreRegisters(*content, book, registerNotes);
    std::optional<uddf::ImportSummary> summary;
    if (content)
        summary = uddf::addToLogbook(book, std::move(*content));
    QApplication::restoreOverrideCursor();
    if (!summary) {
        warn(parent, content.message());
        return false;
    }
    summary->notes.insert(summary->notes.end(), registerNotes.begin(), registerNotes.end());
    QStringList lines;
    for (const std::string &line : uddf::summaryLines(*summary))
        lines << toQt(line);
    // The counts above, the notes (fields skipped, profiles cut, links unresolved) in the details.
    const qsizetype counts = summary->refused > 0 ? 3 : 2;
    QMessageBox box(QMessageBox::Information, ui::tr("Importer UDDF"), lines.mid(0, counts).join(QLatin1Char('\n')),
        QMessageBox::Ok, parent);
    if (lines.size() > counts)
        box.setDetailedText(lines.mid(counts).join(QLatin1Char('\n')));
    prompter().exec(box);
    return summary->added > 0;
}

} // namespace zorv::ui
