// zorv-cli: the logbook from the command line, for scripts, tests and benchmarks.
#include "arguments.h"
#include "common/cformat.h"
#include "common/clock.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "csvcommand.h"
#include "decodecommand.h"
#include "environment.h"
#include "importcommand.h"
#include "jsonexport.h"
#include "logbook/daynumber.h"
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "logbook/units.h"
#include "plancommand.h"
#include "printcommand.h"
#include "qtglue/qtext.h"
#include "registerscommand.h"
#include "renderprofilecommand.h"
#include "simulatecommand.h"
#include "statscommand.h"
#include "toolscommand.h"
#include "uddfcommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

using namespace zorv;
using cli::fail;
using cli::kExitFailure;
using cli::kExitUsage;
using cli::localPath;
using cli::shownPath;
using cli::wholeNumber;

namespace {

bool parseInt(const QString &text, long long low, long long high, long long &out)
{
    const auto value = wholeNumber(text, low, high);
    if (value)
        out = *value;
    return value.has_value();
}

// Loads LOG into the environment's logbook; a missing or refused file is an error here,
// since a command asked about that very file.
common::Result loadLogbook(cli::Environment &env, const QString &path)
{
    const std::string p = localPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec))
        return common::Result::failure(common::Status::NotFound,
            common::cformat(common::tr("impossible d'ouvrir %s : fichier introuvable"), shownPath(path).c_str()));
    env.files = env.held ? env.held->files() : common::LogbookPaths::resolve(p);
    const common::Result result
        = env.held ? env.held->load(env.logbook) : logbook::LogbookFile::load(env.logbook, env.files);
    if (!result.ok())
        return common::Result::failure(result.status(),
            shownPath(path) + ": "
                + (result.message().empty() ? std::string(common::tr("carnet illisible")) : result.message()));
    if (const std::string notice = env.held ? std::string() : logbook::LogbookFile::loadNotice(p); !notice.empty())
        std::cerr << "zorv-cli: " << common::tr("attention : ") << notice << "\n";
    return result;
}

int commandInfo(cli::Environment &env)
{
    const auto &book = env.logbook;
    logbook::FieldCatalogue catalogue(book);
    const int minutes = book.totalMinutes();
    std::string mean = catalogue.meanAirConsumptionText();
    if (!mean.empty())
        mean += " " + std::string(logbook::unitWord(logbook::Quantity::AirConsumption, book.unitSystem()));
    std::cout << common::tr("chemin : ") << common::escapeInvalidUtf8(book.path()) << "\n"
              << common::tr("plongées : ") << book.diveCount() << "\n"
              << common::tr("durée totale de plongée : ") << minutes / 60 << ":" << (minutes % 60 < 10 ? "0" : "")
              << minutes % 60 << "\n"
              << common::tr("consommation moyenne : ") << mean << "\n"
              << common::tr("numéro de la première plongée : ") << (book.diveCount() ? book.diveNumberAt(1) : 0) << "\n"
              << common::tr("numéro de la dernière plongée : ")
              << (book.diveCount() ? book.diveNumberAt(book.diveCount()) : 0) << "\n"
              << common::tr("version du format : ") << book.formatVersion() << "\n"
              << common::tr("numéro de l'ordinateur : ") << book.headerLong() << "\n";
    return 0;
}

int commandList(cli::Environment &env)
{
    std::string out;
    for (int i = 1; i <= env.logbook.diveCount(); ++i) {
        out += logbook::diveListLine(env.logbook, i);
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int commandShow(cli::Environment &env, const QString &positionText)
{
    long long position = 0;
    if (!parseInt(positionText, 1, env.logbook.diveCount(), position))
        return fail(common::cformat(common::tr("la position doit être un nombre de 1 à %d"), env.logbook.diveCount()),
            kExitUsage);
    logbook::FieldCatalogue catalogue(env.logbook);
    logbook::DivePageOptions options;
    options.mode = env.logbook.mode();
    // The data-field selection is never stored and starts with every field ticked.
    options.weightsSelected = true;
    for (const auto &row : logbook::divePage(env.logbook, catalogue, static_cast<int>(position), options)) {
        std::cout << row.label << '\t' << row.value;
        if (row.unitControlId != logbook::PageControl::None)
            std::cout << '\t' << row.unit;
        std::cout << '\n';
    }
    return 0;
}

int report(const common::Result &result, const QString &path)
{
    if (result.ok())
        return 0;
    return fail(common::cformat(
        common::tr("impossible d'enregistrer %s : %s"), shownPath(path).c_str(), result.message().c_str()));
}

// Saves the environment's logbook as the logbook OUT, holding OUT as every writer does.
int saveAs(cli::Environment &env, const QString &outPath)
{
    int code = 0;
    const auto held = cli::HeldLogbook::hold(localPath(outPath), env.force, code);
    if (!held)
        return code;
    return report(held->save(env.logbook), outPath);
}

const QString kDives = QStringLiteral("dives");
const QString kSeed = QStringLiteral("seed");
const QString kEnd = QStringLiteral("end");

// The last day generated dives may fall on: --end YYYY-MM-DD, else today by the program's clock.
std::optional<std::uint32_t> generatorEndDay(const QCommandLineParser &parser)
{
    if (!parser.isSet(kEnd)) {
        const common::LocalDateTime now = common::clock().localNow();
        return logbook::dayNumber(now.day, now.month, now.year);
    }
    const QDate date = QDate::fromString(parser.value(kEnd), Qt::ISODate);
    if (!date.isValid() || date.year() < 1901 || date.year() > 9999)
        return std::nullopt;
    return logbook::dayNumber(date.day(), date.month(), date.year());
}

int commandGenerate(const QCommandLineParser &parser, cli::Environment &env, const QString &outPath)
{
    long long count = 0;
    long long seedValue = 0;
    if (!parser.isSet(kDives) || !parseInt(parser.value(kDives), 1, 32767, count))
        return fail(common::tr("generate demande --dives N, N de 1 à 32767"), kExitUsage);
    if (!parseInt(parser.value(kSeed), 0, (1LL << 62), seedValue))
        return fail(common::tr("--seed doit être un nombre positif ou nul"), kExitUsage);
    const std::optional<std::uint32_t> endDay = generatorEndDay(parser);
    if (!endDay)
        return fail(common::tr("--end doit être une date écrite AAAA-MM-JJ"), kExitUsage);
    logbook::GeneratorOptions generatorOptions;
    generatorOptions.endDay = *endDay;
    generatorOptions.dives = static_cast<int>(count);
    generatorOptions.seed = static_cast<std::uint64_t>(seedValue);
    logbook::generateLogbook(env.logbook, generatorOptions);
    return saveAs(env, outPath);
}

// What a command needs made ready before it runs.
enum class Needs {
    OwnOptions, // parses the command line itself, before the common options are read
    Nothing,
    Settings, // the environment: settings and computer catalogue
    Logbook, // the environment with the logbook named by the first argument loaded
    LogbookToWrite, // the same, held for writing from its read to its commit
};

struct Call {
    const QCommandLineParser &parser;
    const QStringList &args; // the command's name, then its arguments
    cli::Environment *env; // null for Needs::Nothing and Needs::OwnOptions
};

// Every command once: this table drives the dispatch, the --help text and (checked by a
// test) the list in the README.
struct Command {
    std::string_view name;
    std::string_view usage; // what follows the name; options in brackets; may hold a line break
    const char *summary; // French, translated when shown; may hold a line break
    int arguments;
    Needs needs;
    int (*run)(const Call &);
};

const Command kCommands[] = {
    { "info", "LOG", N_("résumé : plongées, durée totale, consommation moyenne"), 1, Needs::Logbook,
        [](const Call &c) { return commandInfo(*c.env); } },
    { "list", "LOG", N_("la liste des plongées, une ligne par plongée"), 1, Needs::Logbook,
        [](const Call &c) { return commandList(*c.env); } },
    { "show", "LOG POSITION", N_("la page d'une plongée (1 = la première)"), 2, Needs::Logbook,
        [](const Call &c) { return commandShow(*c.env, c.args[2]); } },
    { "json", "LOG", N_("tous les champs enregistrés, en JSON"), 1, Needs::Logbook,
        [](const Call &c) {
            cli::writeJson(std::cout, c.env->logbook);
            return 0;
        } },
    { "resave", "LOG OUT", N_("charger et enregistrer à nouveau"), 2, Needs::Logbook,
        [](const Call &c) { return saveAs(*c.env, c.args[2]); } },
    { "render-profile", "LOG POSITION OUT.png [--width W --height H --cursor SAMPLE]",
        N_("l'image du profil d'une plongée, pour la partager"), 3, Needs::Logbook,
        [](const Call &c) { return cli::commandRenderProfile(*c.env, c.parser, c.args[2], c.args[3]); } },
    { "decode", "IMAGE [--into LOG] [--now TIME]",
        N_("l'image mémoire d'un ordinateur de plongée et ses nouvelles plongées ;\navec --into, les ajoute à LOG et "
           "enregistre"),
        1, Needs::Settings, [](const Call &c) { return cli::commandDecode(c.parser, *c.env, c.args[1]); } },
    { "import", "guardian|citizen|uddf FILE [--into LOG] [--imperial-source] [--type N]",
        N_("une plongée exportée par un autre programme, en page de plongée (uddf : les plongées du fichier) ;\navec "
           "--into, ajoutée à LOG et enregistrée"),
        2, Needs::Settings, [](const Call &c) { return cli::commandImport(c.parser, *c.env, c.args[1], c.args[2]); } },
    { "simulate", "--port DEVICE IMAGE [--pause-at N --pause-ms M]",
        N_("joue un ordinateur de plongée sur une ligne série, pour essayer un transfert"), 1, Needs::Nothing,
        [](const Call &c) { return cli::commandSimulate(c.parser, c.args[1]); } },
    { "make-dumps", "DIR", N_("écrit les images mémoire d'exemple (examples/dumps)"), 1, Needs::Nothing,
        [](const Call &c) { return cli::commandMakeDumps(c.args[1]); } },
    { "generate", "--dives N [--seed S] [--end YYYY-MM-DD] OUT",
        N_("un carnet synthétique qui finit aujourd'hui ou à --end"), 1, Needs::Settings,
        [](const Call &c) { return commandGenerate(c.parser, *c.env, c.args[1]); } },
    { "csv", "LOG OUT.csv [--fields NAME,...|all] [--from N] [--to N] [--tab] [--positive] [--hms] [--profile N]",
        N_("l'export pour tableur des plongées numérotées N..N"), 2, Needs::Logbook,
        [](const Call &c) { return cli::commandCsv(*c.env, c.parser, c.args[2]); } },
    { "stats", "LOG PAGE [--year Y --percent --avg-depth --value V --aggregate A --today D --json]",
        N_("une page de statistiques : year, month, depth, duration, temperature, suit,\nweather, divetype, activity, "
           "consumption-year, consumption-month"),
        2, Needs::Logbook, [](const Call &c) { return cli::commandStats(*c.env, c.parser, c.args[2]); } },
    { "sites", "LOG [--year Y --json]", N_("plongées par lieu et par site"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFrequencies(*c.env, c.parser, false); } },
    { "partners", "LOG [--year Y --json]", N_("plongées par partenaire et par lieu"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFrequencies(*c.env, c.parser, true); } },
    { "print",
        "LOG OUT.pdf [--mode pages|list|cover] [--option complete|blank|profile] [--from N]\n"
        "[--to N] [--no-separator] [--paper a4|letter]",
        N_("les pages imprimées, en PDF"), 2, Needs::Logbook,
        [](const Call &c) { return cli::commandPrint(*c.env, c.parser, c.args[2]); } },
    // Its options share names with other commands' (--profile) but not their meaning.
    { "plan",
        "--depth METRES --time MINUTES [--mountain] [--group LETTER --interval MINUTES]\n"
        "[--rate L_PER_MIN --tank LITRES --pressure BAR] [--json] [--profile]",
        N_("une plongée planifiée avec les tables DECO 92"), 0, Needs::OwnOptions,
        [](const Call &c) { return cli::commandPlan(c.args); } },
    { "equipment", "FILE [--due] [--today YYYY-MM-DD] [--json]", N_("l'inventaire du matériel"), 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "addresses", "FILE [--json]", N_("le carnet d'adresses"), 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "teaching", "FILE [--json]", N_("le suivi instructeur, avec ses totaux d'heures"), 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "trips", "LOG [--json]", N_("les voyages rangés à côté d'un carnet (.trp)"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "certificates", "LOG [--json]", N_("les brevets rangés à côté d'un carnet (.inf)"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "forecast", "LOG [--target N] [--start MM.YYYY] [--current-month] [--today YYYY-MM-DD] [--json]",
        N_("le jour où le carnet atteint N plongées"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "renumber", "LOG [--start N] [--from N --to N]",
        N_("renumérote toutes les plongées à partir de N (1 par défaut),\nou les plongées numérotées --from..--to à "
           "partir de --start"),
        1, Needs::LogbookToWrite, [](const Call &c) { return cli::commandRenumber(*c.env, c.parser, c.args[1]); } },
    { "timeshift", "LOG --from N --to N --hours +-H[:MM]", N_("décale la date et l'heure des plongées numérotées N..N"),
        1, Needs::LogbookToWrite, [](const Call &c) { return cli::commandTimeShift(*c.env, c.parser, c.args[1]); } },
    { "split", "LOG DIVE_NUMBER --at MINUTES", N_("sépare une plongée en deux là où le plongeur est en surface"), 2,
        Needs::LogbookToWrite,
        [](const Call &c) { return cli::commandSplit(*c.env, c.parser, c.args[1], c.args[2]); } },
    { "merge", "LOG DIVE_NUMBER", N_("fusionne une plongée avec la suivante"), 2, Needs::LogbookToWrite,
        [](const Call &c) { return cli::commandMerge(*c.env, c.args[1], c.args[2]); } },
    { "find",
        "LOG [--place TEXT --site TEXT --partner TEXT --other TEXT --text TEXT\n"
        "--depth-min M --depth-max M --year Y --any] [--json]",
        N_("les plongées qui remplissent tous les critères (l'un d'eux avec --any)"), 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFind(*c.env, c.parser); } },
    { "replace", "LOG --field NAME --find TEXT --with TEXT [--dry-run]",
        N_("remplace un texte dans le lieu, le site, les partenaires, le commentaire ou le modèle"), 1,
        Needs::LogbookToWrite, [](const Call &c) { return cli::commandReplace(*c.env, c.parser, c.args[1]); } },
    { "fill", "LOG --from N --to N --field NAME=VALUE...", N_("donne des valeurs aux plongées numérotées N..N"), 1,
        Needs::LogbookToWrite, [](const Call &c) { return cli::commandFill(*c.env, c.parser, c.args[1]); } },
    { "uddf",
        "LOG OUT.uddf [--from N --to N] [--equipment FILE.dat] [--addresses FILE.adr] [--teaching FILE.abn]\n"
        "[--portable]",
        N_("les plongées numérotées N..N avec les voyages, les brevets et les registres nommés, en UDDF"), 2,
        Needs::Logbook, [](const Call &c) { return cli::commandUddfExport(*c.env, c.parser, c.args[2]); } },
    { "select", "LOG OUT.log (--from N --to N | the find criteria)",
        N_("écrit les plongées choisies dans un nouveau carnet"), 2, Needs::Logbook,
        [](const Call &c) { return cli::commandSelect(*c.env, c.parser, c.args[2]); } },
};

// The argument that names an output file, for the commands that write one beside
// reading a logbook: it may name none of the logbook's own files.
struct OutputArgument {
    std::string_view command;
    int argument;
};
const OutputArgument kOutputs[]
    = { { "resave", 2 }, { "render-profile", 3 }, { "csv", 2 }, { "print", 2 }, { "select", 2 }, { "uddf", 2 } };

const Command *findCommand(const QString &name)
{
    for (const Command &command : kCommands)
        if (qtglue::fromQt(name) == command.name)
            return &command;
    return nullptr;
}

// The commands as --help lists them: usage, then the summary from a fixed column.
QString commandHelp()
{
    constexpr std::size_t kSummaryColumn = 38;
    const std::string indent(kSummaryColumn, ' ');
    std::string text = std::string(common::tr("Commandes :")) + "\n";
    for (const Command &command : kCommands) {
        std::string head = "  " + std::string(command.name);
        if (!command.usage.empty())
            head += " ";
        for (const char c : command.usage) {
            if (c != '\n') {
                head += c;
                continue;
            }
            text += head + '\n';
            head = "      ";
        }
        text += head;
        text += head.size() < kSummaryColumn ? std::string(kSummaryColumn - head.size(), ' ') : "\n" + indent;
        for (const char c : std::string_view(common::tr(command.summary)))
            text += c == '\n' ? "\n" + indent : std::string(1, c);
        text += '\n';
    }
    text.pop_back(); // Qt puts its own blank line after the description
    return QString::fromStdString(text);
}

// Qt's parser writes its own words ("Usage", "Options", the help and version options): in
// French when the program speaks French, in Qt's English otherwise.
void installQtTranslation(QCoreApplication &application)
{
    if (common::textLanguage() != "fr")
        return;
    auto *translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

static int runCommand(int argc, char **argv)
{
    const auto app = cli::createApplication(argc, argv);
    // What is left after Qt took its own options, decoded so that file names keep their bytes.
    const QStringList arguments = cli::decodeArguments(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorv-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORV_VERSION));
    common::setUpTranslations(localPath(QCoreApplication::applicationDirPath()));
    installQtTranslation(*app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(common::tr("Lit et écrit les carnets de plongée Zorv."))
        + QStringLiteral("\n\n") + commandHelp());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption imperial(
        QStringLiteral("imperial"), QString::fromUtf8(common::tr("Valeurs en unités impériales.")));
    const QCommandLineOption standard(QStringLiteral("standard"),
        QString::fromUtf8(common::tr("Mode standard : sans les données supplémentaires (.add).")));
    const QCommandLineOption settingsDir(QStringLiteral("settings"),
        QString::fromUtf8(common::tr("Lire Zorv.ini et Ctyp.ini dans DIR.")), QStringLiteral("DIR"));
    const QCommandLineOption dives(
        kDives, QString::fromUtf8(common::tr("generate : nombre de plongées (1-32767).")), QStringLiteral("N"));
    const QCommandLineOption seed(kSeed, QString::fromUtf8(common::tr("generate : graine aléatoire (1 par défaut).")),
        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption force(QStringLiteral("force"),
        QString::fromUtf8(
            common::tr("Écrire un carnet même pendant qu'un Zorv en cours le modifie (sinon code de sortie 4).")));
    const QCommandLineOption end(kEnd,
        QString::fromUtf8(
            common::tr("generate : le dernier jour où une plongée peut tomber (aujourd'hui par défaut).")),
        QStringLiteral("YYYY-MM-DD"));
    parser.addOptions({ imperial, standard, settingsDir, force, dives, seed, end });
    cli::addSimulateOptions(parser);
    cli::addDecodeOptions(parser);
    cli::addRenderProfileOptions(parser);
    cli::addCsvOptions(parser);
    cli::addStatsOptions(parser);
    cli::addPrintOptions(parser);
    cli::addImportOptions(parser);
    cli::addRegisterOptions(parser);
    cli::addToolOptions(parser);
    cli::addUddfOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("command"), QString::fromUtf8(common::tr("une des commandes ci-dessus")));
    parser.addPositionalArgument(
        QStringLiteral("args"), QString::fromUtf8(common::tr("arguments de la commande")), QStringLiteral("[args...]"));

    if (arguments.size() > 1) {
        const Command *own = findCommand(arguments[1]);
        if (own && own->needs == Needs::OwnOptions)
            return own->run({ parser, arguments, nullptr });
    }
    if (!parser.parse(arguments))
        return fail(qtglue::fromQt(parser.errorText()), kExitUsage);
    if (parser.isSet(QStringLiteral("help"))) {
        std::cout << qtglue::fromQt(parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::cout << "zorv-cli " ZORV_VERSION "\n";
        return 0;
    }

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(common::tr("aucune commande ; voir --help"), kExitUsage);
    const Command *command = findCommand(args.first());
    if (!command)
        return fail(
            common::cformat(common::tr("commande inconnue « %s » ; voir --help"), qtglue::fromQt(args.first()).c_str()),
            kExitUsage);
    if (args.size() - 1 != command->arguments)
        return fail(common::cformat(common::tr("%s attend %d argument(s) ; voir --help"),
                        std::string(command->name).c_str(), command->arguments),
            kExitUsage);
    if (command->needs == Needs::Nothing)
        return command->run({ parser, args, nullptr });

    cli::EnvironmentOptions options;
    options.programDir = localPath(QCoreApplication::applicationDirPath());
    if (parser.isSet(settingsDir)) {
        const QString dir = parser.value(settingsDir);
        std::error_code error;
        if (!std::filesystem::is_directory(localPath(dir), error))
            return fail(common::cformat(common::tr("le dossier de réglages %s n'existe pas"), shownPath(dir).c_str()),
                kExitUsage);
        options.settingsDir = localPath(dir);
    }
    options.imperial = parser.isSet(imperial);
    options.standard = parser.isSet(standard);
    options.force = parser.isSet(force);
    cli::Environment env(options);
    // A dry run of replace writes nothing, so it neither waits for writers nor minds an editor.
    const bool writes = command->needs == Needs::LogbookToWrite
        && !(command->name == "replace" && parser.isSet(QStringLiteral("dry-run")));
    if (writes) {
        int code = 0;
        env.held = cli::HeldLogbook::hold(localPath(args[1]), options.force, code);
        if (!env.held)
            return code;
    }
    if (command->needs == Needs::Logbook || command->needs == Needs::LogbookToWrite) {
        if (const common::Result loaded = loadLogbook(env, args[1]); !loaded)
            return fail(loaded.message());
    }
    for (const OutputArgument &output : kOutputs) {
        if (output.command == command->name) {
            if (const int refused
                = cli::refuseOwnFile(env.files, localPath(args[output.argument]), shownPath(args[output.argument])))
                return refused;
        }
    }
    return command->run({ parser, args, &env });
}

int main(int argc, char **argv)
{
    // No input may end a command in an abort: memory running out is refused with a message.
    try {
        return runCommand(argc, argv);
    } catch (const std::bad_alloc &) {
        return fail(common::tr("pas assez de mémoire pour cette commande"));
    }
}
