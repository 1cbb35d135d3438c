#include "ui/transfer/importcommands.h"

#include "ui/common/appcontext.h"
#include "ui/common/filefolders.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/tools/diveeditdialog.h"

#include <QFile>
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
    if (const auto type = settings::importComputerType(context.settings.importTypeId))
        s.computerType = *type;
    return s;
}

bool importDive(AppContext &context, imports::Format format, QWidget *parent)
{
    const imports::Importer &importer = imports::importer(format);
    FileRequest request;
    request.parent = parent;
    request.mode = FileRequest::Mode::OpenAny;
    request.filter = nameFilter(importer.fileFilter());
    request.defaultSuffix = toQt(importer.defaultExtension());
    request.context = &context;
    request.folder = FileFolder::Import;
    const QString path = chooseFile(request);
    return !path.isEmpty() && importDiveFrom(context, format, path, parent);
}

bool importDiveFrom(AppContext &context, imports::Format format, const QString &path, QWidget *parent)
{
    const auto result = imports::importFile(
        imports::importer(format), QFile::encodeName(path).toStdString(), importSettings(context));
    if (!result.ok()) {
        // The refusal names the file, so that the user knows which one was not taken.
        ui::warn(
            parent, qstr(StringId::AppTitle), toQt(result.message()) + QLatin1Char('\n') + QFileInfo(path).fileName());
        return false;
    }
    if (const std::string_view cut = imports::cutMessage(*result); !cut.empty())
        ui::inform(parent, qstr(StringId::AppTitle), toQt(cut));
    return newDiveFrom(context, result->record, parent);
}

} // namespace zorv::ui
