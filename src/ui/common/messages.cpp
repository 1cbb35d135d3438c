#include "ui/common/messages.h"

#include "common/translation.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <string_view>

namespace zorv::ui {

namespace {

    // qtbase's French leaves a few words of the file dialog in English (its type column says
    // "Folder"): they are answered here, before qtbase's own translator is asked.
    class FileDialogWords : public QTranslator {
    public:
        using QTranslator::QTranslator;

        bool isEmpty() const override { return false; }

        QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
        {
            Q_UNUSED(disambiguation)
            Q_UNUSED(n)
            const std::string_view where = context ? context : "";
            if (where != "QAbstractFileIconProvider" && where != "QFileSystemModel" && where != "QFileDialog")
                return {};
            const std::string_view source = sourceText ? sourceText : "";
            if (source == "Folder")
                return ui::tr("Dossier");
            if (source == "File Folder")
                return ui::tr("Dossier");
            if (source == "Drive")
                return ui::tr("Lecteur");
            if (source == "File")
                return ui::tr("Fichier");
            if (source == "%1 File")
                return ui::tr("Fichier %1");
            return {};
        }
    };

} // namespace

bool installFrenchTranslations(QCoreApplication &application)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    // Installed last, asked first.
    QCoreApplication::installTranslator(new FileDialogWords(&application));
    return true;
}

bool installTranslations(QCoreApplication &application)
{
    common::setUpTranslations(QCoreApplication::applicationDirPath().toStdString());
    const std::string language = common::textLanguage();
    if (language == "fr")
        return installFrenchTranslations(application);
    // English is qtbase's own language: no translator to load.
    QLocale::setDefault(QLocale(QString::fromStdString(language)));
    return true;
}

bool askYesNo(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zorv"), question, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(ui::tr("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(ui::tr("&Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    prompter().exec(box);
    return box.clickedButton() == yes;
}

Answer askYesNoCancel(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zorv"), question, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(ui::tr("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(ui::tr("&Non"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(ui::tr("&Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    prompter().exec(box);
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

void fitTitle(QWidget *window)
{
    // Title bars use a bold face; the icon and three buttons take about 110 pixels.
    QFont bold = window->font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 120;
    window->setMinimumWidth(std::max(window->minimumSizeHint().width(), needed));
    window->resize(std::max(window->width(), needed), window->height());
}

void showWarning(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zorv"), message, QMessageBox::NoButton, parent);
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

void showInformation(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zorv"), message, QMessageBox::NoButton, parent);
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

} // namespace zorv::ui
