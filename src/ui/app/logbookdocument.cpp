#include "ui/app/logbookdocument.h"

#include "logbook/logbookfile.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

namespace zorv::ui {

namespace {

    constexpr int kDocumentStrings = 128;
    constexpr int kAppTitle = 57344;

    // The fourth and fifth fields of the document string: filter name and extension.
    QString documentField(int index)
    {
        return qstr(kDocumentStrings).split(QLatin1Char('\n')).value(index);
    }

    bool fileExists(const QString &path)
    {
        return !path.isEmpty() && QFileInfo(path).isFile();
    }

} // namespace

LogbookDocument::LogbookDocument(AppContext &context, QWidget *window)
    : QObject(window)
    , m_context(context)
    , m_window(window)
{
    m_context.logbook.setObserver(this);
    m_context.logbook.setConfirmer(this);
}

LogbookDocument::~LogbookDocument()
{
    m_context.logbook.setObserver(nullptr);
    m_context.logbook.setConfirmer(nullptr);
}

bool LogbookDocument::openAtStartUp(const QString &commandLinePath)
{
    if (!commandLinePath.isEmpty())
        return load(commandLinePath, false);
    const QString recent = toQt(m_context.settings.recentFiles[0]);
    if (!fileExists(recent)) {
        // A most recent logbook that was deleted meanwhile is no error.
        resetToNew();
        return true;
    }
    load(recent, true);
    return true;
}

bool LogbookDocument::newLogbook()
{
    if (!maySave())
        return false;
    resetToNew();
    return true;
}

bool LogbookDocument::open()
{
    if (!maySave())
        return false;
    const QString path = chooseFile(false);
    return !path.isEmpty() && load(path, false);
}

bool LogbookDocument::openPath(const QString &path)
{
    return maySave() && load(path, false);
}

bool LogbookDocument::reopen()
{
    // Reloading throws away whatever was changed since the last save, so the
    // user is asked first like before any other replacement of the logbook.
    if (!m_hasFile || !maySave())
        return false;
    return load(toQt(m_context.logbook.path()), false);
}

bool LogbookDocument::save()
{
    if (!m_hasFile)
        return saveAs();
    return saveTo(toQt(m_context.logbook.path()));
}

bool LogbookDocument::saveAs()
{
    QString path = chooseFile(true);
    if (path.isEmpty())
        return false;
    const QString extension = documentField(4);
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return saveTo(path);
}

bool LogbookDocument::maySave()
{
    if (!m_context.logbook.isModified())
        return true;
    QMessageBox box(QMessageBox::Question, qstr(kAppTitle),
        QStringLiteral("Enregistrer les modifications de %1 ?").arg(displayName()), QMessageBox::NoButton, m_window);
    QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == no)
        return true;
    if (box.clickedButton() == yes)
        return save();
    return false;
}

QString LogbookDocument::displayName() const
{
    const QString path = toQt(m_context.logbook.path());
    return path.isEmpty() ? qstr(62588) : QFileInfo(path).fileName();
}

void LogbookDocument::markModified()
{
    emit modifiedChanged();
}

void LogbookDocument::diveChanged(int position)
{
    emit diveReplaced(position);
}

bool LogbookDocument::confirm(const std::string &questionUtf8)
{
    QMessageBox box(QMessageBox::Question, qstr(kAppTitle), toQt(questionUtf8), QMessageBox::NoButton, m_window);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

bool LogbookDocument::load(const QString &path, bool quietWhenMissing)
{
    const common::Result result = logbook::LogbookFile::loadFromPath(m_context.logbook, fromQt(path));
    if (result.status() == common::Status::NotFound) {
        if (quietWhenMissing) {
            resetToNew();
            return true;
        }
        // Nothing was read, so the open logbook stays as it was.
        showError(result.message());
        return false;
    }
    if (!result) {
        // A refused file leaves the logbook empty and nameless, so that it is
        // never saved over the file it could not read.
        m_hasFile = false;
        showError(result.message());
        emit replaced();
        return false;
    }
    m_hasFile = true;
    m_context.settings.addRecentFile(fromQt(path));
    emit recentFilesChanged();
    emit replaced();
    return true;
}

bool LogbookDocument::saveTo(const QString &path)
{
    const common::Result result = logbook::LogbookFile::save(m_context.logbook, fromQt(path));
    if (!result) {
        showError(result.message());
        return false;
    }
    m_hasFile = true;
    m_context.settings.addRecentFile(fromQt(path));
    emit recentFilesChanged();
    emit modifiedChanged();
    return true;
}

void LogbookDocument::resetToNew()
{
    m_context.logbook.reset();
    m_hasFile = false;
    emit replaced();
}

QString LogbookDocument::chooseFile(bool forSaving)
{
    QFileDialog dialog(m_window);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(documentField(3));
    dialog.setDefaultSuffix(documentField(4).mid(1));
    if (forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        const QString current = toQt(m_context.logbook.path());
        if (m_hasFile)
            dialog.selectFile(current);
        else
            dialog.selectFile(displayName());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (m_hasFile)
            dialog.setDirectory(QFileInfo(toQt(m_context.logbook.path())).absolutePath());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void LogbookDocument::showError(const std::string &message)
{
    QMessageBox::warning(m_window, qstr(kAppTitle), message.empty() ? qstr(62524) : toQt(message));
}

} // namespace zorv::ui
