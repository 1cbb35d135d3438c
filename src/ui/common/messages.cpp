#include "ui/common/messages.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

namespace zorv::ui {

bool installFrenchTranslations(QCoreApplication &application)
{
    // The program speaks French whatever the desktop's language is.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool askYesNo(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zorv"), question, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Answer askYesNoCancel(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zorv"), question, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("&Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
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
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void showInformation(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zorv"), message, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace zorv::ui
