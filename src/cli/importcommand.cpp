#include "importcommand.h"

#include "arguments.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "imports/importer.h"
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbookfile.h"
#include "qtglue/qtext.h"
#include "uddfcommand.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace zorv::cli {

namespace {

    void printPage(const logbook::Logbook &book, int position)
    {
        const logbook::FieldCatalogue catalogue(book);
        logbook::DivePageOptions options;
        options.mode = book.mode();
        options.weightsSelected = true;
        for (const auto &row : logbook::divePage(book, catalogue, position, options)) {
            std::cout << row.label << '\t' << row.value;
            if (row.unitControlId != logbook::PageControl::None)
                std::cout << '\t' << row.unit;
            std::cout << '\n';
        }
    }

} // namespace

void addImportOptions(QCommandLineParser &parser)
{
    parser.addOption({ QStringLiteral("imperial-source"),
        QString::fromUtf8(common::tr(
            "import : les nombres du fichier .wgm sont en unités impériales (au lieu du réglage Import/System).")) });
    parser.addOption({ QStringLiteral("type"),
        QString::fromUtf8(common::tr(
            "import : le numéro de type d'ordinateur donné à une plongée .wgm (au lieu du réglage Import/Typ).")),
        QStringLiteral("N") });
}

int commandImport(const QCommandLineParser &parser, Environment &env, const QString &format, const QString &path)
{
    if (format == QLatin1String("uddf"))
        return commandUddfImport(parser, env, path);
    imports::Format which = imports::Format::Guardian;
    if (format == QLatin1String("citizen"))
        which = imports::Format::Citizen;
    else if (format != QLatin1String("guardian"))
        return fail(common::cformat(common::tr("import lit les fichiers guardian, citizen ou uddf, pas « %s »"),
                        qtglue::fromQt(format).c_str()),
            kExitUsage);

    imports::ImportSettings settings;
    settings.defaults = env.settings.newDiveDefaults;
    settings.units = env.settings.importUnitSystem == 1 || parser.isSet(QStringLiteral("imperial-source"))
        ? imports::SourceUnits::Imperial
        : imports::SourceUnits::Metric;
    int type = env.settings.importTypeId;
    if (parser.isSet(QStringLiteral("type"))) {
        const auto parsed = wholeNumber(parser.value(QStringLiteral("type")), 0, 255);
        if (!parsed)
            return fail(common::tr("--type doit être un numéro de type d'ordinateur de 0 à 255"), kExitUsage);
        type = static_cast<int>(*parsed);
    }
    if (const auto typeId = settings::importComputerType(type))
        settings.computerType = *typeId;

    // The file first: a refused file must leave the logbook as it was.
    const auto imported = imports::importFile(imports::importer(which), localPath(path), settings);
    if (!imported.ok())
        return fail(shownPath(path) + ": " + imported.message());
    if (const std::string_view cut = imports::cutMessage(*imported); !cut.empty())
        std::cerr << "zorv-cli: " << common::tr("remarque : ") << cut << "\n";

    logbook::Logbook &book = env.logbook;
    const QString into = parser.value(QStringLiteral("into"));
    std::optional<HeldLogbook> held;
    if (!into.isEmpty()) {
        int code = 0;
        held = HeldLogbook::hold(localPath(into), env.force, code);
        if (!held)
            return code;
    }
    if (held && held->exists()) {
        const common::Result loaded = held->load(book);
        if (!loaded.ok())
            return fail(shownPath(into) + ": " + loaded.message());
    }
    if (!book.insertDive(imported->record))
        return fail(common::tr("le carnet contient déjà autant de plongées qu'il peut"));
    printPage(book, book.currentDive());
    if (into.isEmpty())
        return 0;
    const common::Result saved = held->save(book);
    if (!saved.ok())
        return fail(common::cformat(
            common::tr("impossible d'enregistrer %s : %s"), shownPath(into).c_str(), saved.message().c_str()));
    return 0;
}

} // namespace zorv::cli
