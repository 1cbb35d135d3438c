#include "ui/common/prompter.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace zorv::ui {

namespace {

    class QtPrompter : public Prompter {
    protected:
        int run(QDialog &dialog) override { return dialog.exec(); }
    };

    // Room a window manager's title bar takes besides the title: icon and three buttons.
    constexpr int kTitleBarControls = 110;

    // A short message under a long title ("Entrez un nombre." from the planner) makes a box
    // narrower than its title, which the title bar then cuts. QMessageBox sizes itself and
    // ignores a minimum width, so the room goes into its layout.
    void fitTitle(QMessageBox &box)
    {
        QFont bold = box.font();
        bold.setBold(true);
        const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarControls;
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
    }

    QtPrompter &qtPrompter()
    {
        static QtPrompter qt;
        return qt;
    }

    Prompter *&current()
    {
        static Prompter *prompter = &qtPrompter();
        return prompter;
    }

    QMessageBox::Icon boxIcon(Message::Icon icon)
    {
        switch (icon) {
        case Message::Icon::Information:
            return QMessageBox::Information;
        case Message::Icon::Warning:
            return QMessageBox::Warning;
        case Message::Icon::Critical:
            return QMessageBox::Critical;
        case Message::Icon::Question:
            break;
        }
        return QMessageBox::Question;
    }

    QMessageBox::ButtonRole boxRole(Message::Role role)
    {
        switch (role) {
        case Message::Role::Accept:
            return QMessageBox::AcceptRole;
        case Message::Role::Reject:
            return QMessageBox::RejectRole;
        case Message::Role::Destructive:
            return QMessageBox::DestructiveRole;
        case Message::Role::Yes:
            return QMessageBox::YesRole;
        case Message::Role::No:
            break;
        }
        return QMessageBox::NoRole;
    }

    void standardBox(QWidget *parent, Message::Icon icon, const QString &title, const QString &text)
    {
        // As QMessageBox's static functions build it: their one button is the default one.
        QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
        box.setDefaultButton(QMessageBox::Ok);
        prompter().exec(box);
    }

} // namespace

int Prompter::exec(QDialog &dialog)
{
    if (auto *box = qobject_cast<QMessageBox *>(&dialog))
        fitTitle(*box);
    return run(dialog);
}

Prompter &prompter()
{
    return *current();
}

Prompter *setPrompter(Prompter *replacement)
{
    Prompter *previous = current();
    current() = replacement ? replacement : &qtPrompter();
    return previous;
}

int ask(const Message &message)
{
    QMessageBox box(boxIcon(message.icon), message.title, message.text,
        message.buttons.empty() ? QMessageBox::Ok : QMessageBox::NoButton, message.parent);
    if (message.buttons.empty())
        box.setDefaultButton(QMessageBox::Ok);
    std::vector<QPushButton *> buttons;
    for (const Message::Button &button : message.buttons)
        buttons.push_back(box.addButton(button.text, boxRole(button.role)));
    if (message.defaultButton >= 0)
        box.setDefaultButton(buttons.at(static_cast<std::size_t>(message.defaultButton)));
    if (message.escapeButton >= 0)
        box.setEscapeButton(buttons.at(static_cast<std::size_t>(message.escapeButton)));
    prompter().exec(box);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return static_cast<int>(i);
    return message.buttons.empty() && box.clickedButton() ? 0 : -1;
}

void warn(QWidget *parent, const QString &title, const QString &text)
{
    standardBox(parent, Message::Icon::Warning, title, text);
}

void inform(QWidget *parent, const QString &title, const QString &text)
{
    standardBox(parent, Message::Icon::Information, title, text);
}

QString chooseFile(const FileRequest &request)
{
    QFileDialog dialog(request.parent, request.title, request.directory, request.filter);
    if (!request.native)
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const bool save = request.mode == FileRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mode == FileRequest::Mode::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.selectFile.isEmpty())
        dialog.selectFile(request.selectFile);
    if (request.context && request.folder)
        startFileDialog(dialog, *request.context, *request.folder);
    if (prompter().exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (request.folder)
        rememberFileFolder(dialog, *request.folder);
    return dialog.selectedFiles().constFirst();
}

} // namespace zorv::ui
