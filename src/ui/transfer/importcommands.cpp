#include "ui/transfer/importcommands.h"

#include "ui/common/appcontext.h"
#include "ui/common/filefolders.h"
#include "ui/common/qtext.h"
#include "ui/tools/diveeditdialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace zorv::ui {

namespace {

    // "Name (*.ext)|*.ext|" as the file dialog wants it: the name part.
    QString nameFilter(std::string_view filter)
    {
        return toQt(filter.substr(0, filter.find('|')));
    }

} // namespace

imports::ImportSettings importSettings(const AppContext &context)
{
    imports::ImportSettings s;
    s.defaults = context.settings.newDiveDefaults;
    s.units = context.settings.importUnitSystem == 1 ? imports::SourceUnits::Imperial : imports::SourceUnits::Metric;
    const int type = context.settings.importTypeId;
    if (type >= 0 && type <= 255)
        s.computerType = static_cast<std::uint8_t>(type);
    return s;
}

bool importDive(AppContext &context, imports::Format format, QWidget *parent)
{
    const imports::Importer &importer = imports::importer(format);
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed, so that a missing file gets the program's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter(importer.fileFilter()));
    dialog.setDefaultSuffix(toQt(importer.defaultExtension()));
    startFileDialog(dialog, context, FileFolder::Import);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    rememberFileFolder(dialog, FileFolder::Import);
    return importDiveFrom(context, format, dialog.selectedFiles().constFirst(), parent);
}

bool importDiveFrom(AppContext &context, imports::Format format, const QString &path, QWidget *parent)
{
    const auto result = imports::importFile(
        imports::importer(format), QFile::encodeName(path).toStdString(), importSettings(context));
    if (!result.ok()) {
        // The refusal names the file, so that the user knows which one was not taken.
        QMessageBox::warning(
            parent, qstr(StringId::AppTitle), toQt(result.message()) + QLatin1Char('\n') + QFileInfo(path).fileName());
        return false;
    }
    if (const std::string_view cut = imports::cutMessage(*result); !cut.empty())
        QMessageBox::information(parent, qstr(StringId::AppTitle), toQt(cut));
    return newDiveFrom(context, result->record, parent);
}

} // namespace zorv::ui
