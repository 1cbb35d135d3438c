#include "uddfcommand.h"

#include "arguments.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbookfile.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"
#include "qtglue/qtext.h"
#include "uddf/uddfimport.h"

#include <QFileInfo>
#include <iostream>

namespace zorv::cli {

namespace {

    const QString kEquipment = QStringLiteral("equipment");
    const QString kAddresses = QStringLiteral("addresses");
    const QString kTeaching = QStringLiteral("teaching");
    const QString kPortable = QStringLiteral("portable");

    bool parseDiveNumber(const QString &text, int &out)
    {
        const auto value = wholeNumber(text, -32768, 32767);
        if (value)
            out = static_cast<int>(*value);
        return value.has_value();
    }

    // One line per dive: number, date, time, depth, duration, place and site.
    void printDive(const logbook::DiveRecord &d)
    {
        const std::string depth
            = d.maxDepth == logbook::kMissing ? std::string() : logbook::formatOneDecimal(d.maxDepth) + " m";
        std::cout << d.diveNumber << '\t' << logbook::formatDate(d.date, logbook::DateForm::Medium) << '\t'
                  << logbook::formatClock(d.entryTime) << '\t' << depth << '\t'
                  << (d.duration == logbook::kMissing ? std::string() : std::to_string(d.duration) + " min") << '\t'
                  << logbook::storedToDisplay(logbook::fixedText(d.place)) << '\t'
                  << logbook::storedToDisplay(logbook::fixedText(d.site)) << '\n';
    }

} // namespace

void addUddfOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        { kEquipment, QString::fromUtf8(common::tr("uddf : le registre du matériel à exporter avec le carnet.")),
            QStringLiteral("FILE") },
        { kAddresses, QString::fromUtf8(common::tr("uddf : le registre d'adresses à exporter avec le carnet.")),
            QStringLiteral("FILE") },
        { kTeaching, QString::fromUtf8(common::tr("uddf : le suivi de qualification à exporter avec le carnet.")),
            QStringLiteral("FILE") },
        { kPortable,
            QString::fromUtf8(
                common::tr("uddf : seulement ce que UDDF sait décrire, sans les données propres à Zorv.")) },
    });
}

int commandUddfExport(Environment &env, const QCommandLineParser &parser, const QString &outPath)
{
    const logbook::Logbook &book = env.logbook;
    uddf::ExportOptions options;
    for (const auto &[option, target] : { std::pair { QStringLiteral("from"), &options.firstNumber },
             std::pair { QStringLiteral("to"), &options.lastNumber } }) {
        if (parser.isSet(option) && !parseDiveNumber(parser.value(option), *target))
            return fail(
                common::cformat(common::tr("--%s doit être un numéro de plongée"), qtglue::fromQt(option).c_str()),
                kExitUsage);
    }
    options.content = parser.isSet(kPortable) ? uddf::Content::Portable : uddf::Content::Full;

    std::vector<uddf::RegisterSource> registers;
    auto take = [&](uddf::RegisterKind kind, const std::string &path, bool named) {
        const auto source = uddf::readRegisterSource(kind, path);
        if (!source)
            return fail(source.message());
        if (*source)
            registers.push_back(std::move(**source));
        else if (named)
            return fail(common::cformat(common::tr("impossible d'ouvrir %s : fichier introuvable"), path.c_str()));
        return 0;
    };
    if (int rc = take(uddf::RegisterKind::Certificates, book.infPath(), false); rc != 0)
        return rc;
    if (int rc = take(uddf::RegisterKind::Trips, book.trpPath(), false); rc != 0)
        return rc;
    for (const auto &[option, kind] : { std::pair { kEquipment, uddf::RegisterKind::Equipment },
             std::pair { kAddresses, uddf::RegisterKind::Addresses },
             std::pair { kTeaching, uddf::RegisterKind::Teaching } }) {
        if (parser.isSet(option))
            if (int rc = take(kind, localPath(parser.value(option)), true); rc != 0)
                return rc;
    }

    const auto written = uddf::exportUddf(book, registers, options, localPath(outPath));
    if (!written)
        return fail(common::cformat(
            common::tr("impossible d'écrire %s : %s"), qtglue::fromQt(outPath).c_str(), written.message().c_str()));
    std::cout << common::tr("plongées écrites : ") << written->dives << "\n";
    return 0;
}

int commandUddfImport(const QCommandLineParser &parser, Environment &env, const QString &path)
{
    logbook::Logbook &book = env.logbook;
    uddf::ImportOptions options;
    options.defaults = env.settings.newDiveDefaults;
    if (const auto type = settings::importComputerType(env.settings.importTypeId))
        options.computerType = *type;
    options.computers = book.computerInfo();

    // The file first: a refused file leaves the logbook as it was.
    auto content = uddf::readUddfFile(localPath(path), options);
    if (!content)
        return fail(content.message());

    const QString into = parser.value(QStringLiteral("into"));
    if (into.isEmpty()) {
        for (const logbook::DiveRecord &d : content->dives)
            printDive(d);
        for (const std::string &note : content->notes)
            std::cout << note << "\n";
        return 0;
    }
    if (QFileInfo::exists(into)) {
        const common::Result loaded = logbook::LogbookFile::loadFromPath(book, localPath(into));
        if (!loaded.ok())
            return fail(qtglue::fromQt(into) + ": " + loaded.message());
    } else {
        book.setPath(localPath(into));
    }
    std::vector<std::string> registerNotes;
    if (book.diveCount() == 0)
        uddf::restoreRegisters(*content, book, registerNotes);
    uddf::ImportSummary summary = uddf::addToLogbook(book, std::move(*content));
    summary.notes.insert(summary.notes.end(), registerNotes.begin(), registerNotes.end());
    if (summary.added > 0) {
        const common::Result saved = logbook::LogbookFile::save(book, localPath(into));
        if (!saved.ok())
            return fail(common::cformat(
                common::tr("impossible d'enregistrer %s : %s"), qtglue::fromQt(into).c_str(), saved.message().c_str()));
    }
    for (const std::string &line : uddf::summaryLines(summary))
        std::cout << line << "\n";
    return summary.refused > 0 ? kExitNotAllAdded : 0;
}

} // namespace zorv::cli
