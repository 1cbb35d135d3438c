// zorv-cli: the logbook from the command line, for scripts, tests and benchmarks.
#include "common/clock.h"
#include "common/textcodec.h"
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
#include <charconv>
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

namespace {

bool parseInt(const QString &text, long long low, long long high, long long &out)
{
    const std::string s = qtglue::fromQt(text);
    auto result = std::from_chars(s.data(), s.data() + s.size(), out);
    return result.ec == std::errc() && result.ptr == s.data() + s.size() && out >= low && out <= high;
}

// Loads LOG into the environment's logbook; a missing or refused file is an error here,
// since a command asked about that very file.
common::Result loadLogbook(cli::Environment &env, const QString &path)
{
    const std::string p = localPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec))
        return common::Result::failure(common::Status::NotFound, "cannot open " + shownPath(path) + ": no such file");
    env.files = env.held ? env.held->files() : common::LogbookPaths::resolve(p);
    const common::Result result
        = env.held ? env.held->load(env.logbook) : logbook::LogbookFile::load(env.logbook, env.files);
    if (!result.ok())
        return common::Result::failure(result.status(),
            shownPath(path) + ": "
                + (result.message().empty() ? std::string("cannot read the logbook") : result.message()));
    if (const std::string notice = env.held ? std::string() : logbook::LogbookFile::loadNotice(p); !notice.empty())
        std::cerr << "zorv-cli: warning: " << notice << "\n";
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
    std::cout << "path: " << common::escapeInvalidUtf8(book.path()) << "\n"
              << "dives: " << book.diveCount() << "\n"
              << "total dive time: " << minutes / 60 << ":" << (minutes % 60 < 10 ? "0" : "") << minutes % 60 << "\n"
              << "mean air consumption: " << mean << "\n"
              << "first dive number: " << (book.diveCount() ? book.diveNumberAt(1) : 0) << "\n"
              << "last dive number: " << (book.diveCount() ? book.diveNumberAt(book.diveCount()) : 0) << "\n"
              << "format version: " << book.formatVersion() << "\n"
              << "header long: " << book.headerLong() << "\n";
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
        return fail("position must be a number from 1 to " + std::to_string(env.logbook.diveCount()), kExitUsage);
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
    return fail("cannot save " + shownPath(path) + ": " + result.message());
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
        return fail("generate needs --dives N with N from 1 to 32767", kExitUsage);
    if (!parseInt(parser.value(kSeed), 0, (1LL << 62), seedValue))
        return fail("--seed must be a non-negative number", kExitUsage);
    const std::optional<std::uint32_t> endDay = generatorEndDay(parser);
    if (!endDay)
        return fail("--end must be a date written YYYY-MM-DD", kExitUsage);
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
    std::string_view summary; // may hold a line break
    int arguments;
    Needs needs;
    int (*run)(const Call &);
};

const Command kCommands[] = {
    { "info", "LOG", "summary: dives, total time, mean air consumption", 1, Needs::Logbook,
        [](const Call &c) { return commandInfo(*c.env); } },
    { "list", "LOG", "the dive list, one line per dive", 1, Needs::Logbook,
        [](const Call &c) { return commandList(*c.env); } },
    { "show", "LOG POSITION", "the dive page of one dive (1 = first)", 2, Needs::Logbook,
        [](const Call &c) { return commandShow(*c.env, c.args[2]); } },
    { "json", "LOG", "every stored field as JSON", 1, Needs::Logbook,
        [](const Call &c) {
            cli::writeJson(std::cout, c.env->logbook);
            return 0;
        } },
    { "resave", "LOG OUT", "load and save again", 2, Needs::Logbook,
        [](const Call &c) { return saveAs(*c.env, c.args[2]); } },
    { "render-profile", "LOG POSITION OUT.png [--width W --height H --cursor SAMPLE]",
        "the profile window's picture of a dive, to share it", 3, Needs::Logbook,
        [](const Call &c) { return cli::commandRenderProfile(*c.env, c.parser, c.args[2], c.args[3]); } },
    { "decode", "IMAGE [--into LOG] [--now TIME]",
        "a dive computer's memory image and its new dives;\nwith --into, add them to LOG and save", 1, Needs::Settings,
        [](const Call &c) { return cli::commandDecode(c.parser, *c.env, c.args[1]); } },
    { "import", "guardian|citizen|uddf FILE [--into LOG] [--imperial-source] [--type N]",
        "one dive from another program's export, shown as a dive page (uddf: the file's dives listed);\n"
        "with --into, added to LOG and saved",
        2, Needs::Settings, [](const Call &c) { return cli::commandImport(c.parser, *c.env, c.args[1], c.args[2]); } },
    { "simulate", "--port DEVICE IMAGE [--pause-at N --pause-ms M]",
        "play a dive computer on a serial line, to try a transfer", 1, Needs::Nothing,
        [](const Call &c) { return cli::commandSimulate(c.parser, c.args[1]); } },
    { "make-dumps", "DIR", "write the example memory images (examples/dumps)", 1, Needs::Nothing,
        [](const Call &c) { return cli::commandMakeDumps(c.args[1]); } },
    { "generate", "--dives N [--seed S] [--end YYYY-MM-DD] OUT", "a synthetic logbook ending by today or --end", 1,
        Needs::Settings, [](const Call &c) { return commandGenerate(c.parser, *c.env, c.args[1]); } },
    { "csv", "LOG OUT.csv [--fields NAME,...|all] [--from N] [--to N] [--tab] [--positive] [--hms] [--profile N]",
        "the spreadsheet export of the dives numbered N..N", 2, Needs::Logbook,
        [](const Call &c) { return cli::commandCsv(*c.env, c.parser, c.args[2]); } },
    { "stats", "LOG PAGE [--year Y --percent --avg-depth --value V --aggregate A --today D --json]",
        "a statistics page: year, month, depth, duration, temperature, suit,\nweather, divetype, activity, "
        "consumption-year, consumption-month",
        2, Needs::Logbook, [](const Call &c) { return cli::commandStats(*c.env, c.parser, c.args[2]); } },
    { "sites", "LOG [--year Y --json]", "dives per place and site", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFrequencies(*c.env, c.parser, false); } },
    { "partners", "LOG [--year Y --json]", "dives per partner and place", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFrequencies(*c.env, c.parser, true); } },
    { "print",
        "LOG OUT.pdf [--mode pages|list|cover] [--option complete|blank|profile] [--from N]\n"
        "[--to N] [--no-separator] [--paper a4|letter]",
        "the printed pages as a PDF", 2, Needs::Logbook,
        [](const Call &c) { return cli::commandPrint(*c.env, c.parser, c.args[2]); } },
    // Its options share names with other commands' (--profile) but not their meaning.
    { "plan",
        "--depth METRES --time MINUTES [--mountain] [--group LETTER --interval MINUTES]\n"
        "[--rate L_PER_MIN --tank LITRES --pressure BAR] [--json] [--profile]",
        "a dive planned from the DECO 92 tables", 0, Needs::OwnOptions,
        [](const Call &c) { return cli::commandPlan(c.args); } },
    { "equipment", "FILE [--due] [--today YYYY-MM-DD] [--json]", "the equipment register", 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "addresses", "FILE [--json]", "the address register", 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "teaching", "FILE [--json]", "the instructor record, with its hour totals", 1, Needs::Settings,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "trips", "LOG [--json]", "the trips kept beside a logbook (.trp)", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "certificates", "LOG [--json]", "the certificates kept beside a logbook (.inf)", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "forecast", "LOG [--target N] [--start MM.YYYY] [--current-month] [--today YYYY-MM-DD] [--json]",
        "the day the logbook reaches N dives", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandRegister(c.parser, *c.env, c.args[0], c.args[1]); } },
    { "renumber", "LOG [--start N] [--from N --to N]",
        "renumber every dive from N (default 1),\nor the dives numbered --from..--to from --start on", 1,
        Needs::LogbookToWrite, [](const Call &c) { return cli::commandRenumber(*c.env, c.parser, c.args[1]); } },
    { "timeshift", "LOG --from N --to N --hours +-H[:MM]", "move date and time of the dives numbered N..N", 1,
        Needs::LogbookToWrite, [](const Call &c) { return cli::commandTimeShift(*c.env, c.parser, c.args[1]); } },
    { "split", "LOG DIVE_NUMBER --at MINUTES", "split a dive in two where the diver is at the surface", 2,
        Needs::LogbookToWrite,
        [](const Call &c) { return cli::commandSplit(*c.env, c.parser, c.args[1], c.args[2]); } },
    { "merge", "LOG DIVE_NUMBER", "merge a dive with the next one", 2, Needs::LogbookToWrite,
        [](const Call &c) { return cli::commandMerge(*c.env, c.args[1], c.args[2]); } },
    { "find",
        "LOG [--place TEXT --site TEXT --partner TEXT --other TEXT --text TEXT\n"
        "--depth-min M --depth-max M --year Y --any] [--json]",
        "the dives meeting every criterion (one of them with --any)", 1, Needs::Logbook,
        [](const Call &c) { return cli::commandFind(*c.env, c.parser); } },
    { "replace", "LOG --field NAME --find TEXT --with TEXT [--dry-run]",
        "replace a text in place, site, partners, comment or model", 1, Needs::LogbookToWrite,
        [](const Call &c) { return cli::commandReplace(*c.env, c.parser, c.args[1]); } },
    { "fill", "LOG --from N --to N --field NAME=VALUE...", "set values in the dives numbered N..N", 1,
        Needs::LogbookToWrite, [](const Call &c) { return cli::commandFill(*c.env, c.parser, c.args[1]); } },
    { "uddf",
        "LOG OUT.uddf [--from N --to N] [--equipment FILE.dat] [--addresses FILE.adr] [--teaching FILE.abn]\n"
        "[--portable]",
        "the dives numbered N..N with the trips, certificates and named registers as UDDF", 2, Needs::Logbook,
        [](const Call &c) { return cli::commandUddfExport(*c.env, c.parser, c.args[2]); } },
    { "select", "LOG OUT.log (--from N --to N | the find criteria)", "write the chosen dives as a new logbook", 2,
        Needs::Logbook, [](const Call &c) { return cli::commandSelect(*c.env, c.parser, c.args[2]); } },
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
    std::string text = "Commands:\n";
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
        for (const char c : command.summary)
            text += c == '\n' ? "\n" + indent : std::string(1, c);
        text += '\n';
    }
    text.pop_back(); // Qt puts its own blank line after the description
    return QString::fromStdString(text);
}

} // namespace

static int runCommand(int argc, char **argv)
{
    const auto app = cli::createApplication(argc, argv);
    // What is left after Qt took its own options, decoded so that file names keep their bytes.
    const QStringList arguments = cli::decodeArguments(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorv-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reads and writes Zorv logbooks.\n\n") + commandHelp());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption imperial(QStringLiteral("imperial"), QStringLiteral("Show values in imperial units."));
    const QCommandLineOption standard(
        QStringLiteral("standard"), QStringLiteral("Standard mode: no supplementary (.add) data."));
    const QCommandLineOption settingsDir(
        QStringLiteral("settings"), QStringLiteral("Read Zorv.ini and Ctyp.ini from DIR."), QStringLiteral("DIR"));
    const QCommandLineOption force(QStringLiteral("force"),
        QStringLiteral("Write a logbook even while a running Zorv edits it (else exit status 4)."));
    const QCommandLineOption dives(kDives, QStringLiteral("generate: number of dives (1-32767)."), QStringLiteral("N"));
    const QCommandLineOption seed(
        kSeed, QStringLiteral("generate: random seed (default 1)."), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption end(kEnd, QStringLiteral("generate: the last day a dive may fall on (default today)."),
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
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("one of the commands above"));
    parser.addPositionalArgument(
        QStringLiteral("args"), QStringLiteral("arguments of the command"), QStringLiteral("[args...]"));

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
        return fail("no command given; try --help", kExitUsage);
    const Command *command = findCommand(args.first());
    if (!command)
        return fail("unknown command '" + qtglue::fromQt(args.first()) + "'; try --help", kExitUsage);
    if (args.size() - 1 != command->arguments)
        return fail(
            std::string(command->name) + " takes " + std::to_string(command->arguments) + " argument(s); try --help",
            kExitUsage);
    if (command->needs == Needs::Nothing)
        return command->run({ parser, args, nullptr });

    cli::EnvironmentOptions options;
    options.programDir = localPath(QCoreApplication::applicationDirPath());
    if (parser.isSet(settingsDir)) {
        const QString dir = parser.value(settingsDir);
        std::error_code error;
        if (!std::filesystem::is_directory(localPath(dir), error))
            return fail("settings folder " + shownPath(dir) + " does not exist", kExitUsage);
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
        return fail("not enough memory for this command");
    }
}
