// zorv-cli: the logbook from the command line, for scripts, tests and benchmarks.
#include "csvcommand.h"
#include "decodecommand.h"
#include "environment.h"
#include "jsonexport.h"
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "logbook/units.h"
#include "plancommand.h"
#include "printcommand.h"
#include "renderprofilecommand.h"
#include "simulatecommand.h"
#include "statscommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

using namespace zorv;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

std::string utf8(const QString &s)
{
    return s.toUtf8().toStdString();
}

// The system's own path encoding, for file names that came from the command line.
std::string localPath(const QString &s)
{
    return QFile::encodeName(s).toStdString();
}

int fail(const std::string &message, int code = kExitFailure)
{
    std::cerr << "zorv-cli: " << message << "\n";
    return code;
}

bool parseInt(const QString &text, long long low, long long high, long long &out)
{
    const std::string s = utf8(text);
    auto result = std::from_chars(s.data(), s.data() + s.size(), out);
    return result.ec == std::errc() && result.ptr == s.data() + s.size() && out >= low && out <= high;
}

// Loads LOG into the environment's logbook; a missing or refused file is an error here,
// since a command asked about that very file.
common::Result loadLogbook(cli::Environment &env, const QString &path)
{
    const std::string p = localPath(path);
    if (!QFileInfo(path).isFile())
        return common::Result::failure(common::Status::NotFound, "cannot open " + utf8(path) + ": no such file");
    const common::Result result = logbook::LogbookFile::loadFromPath(env.logbook, p);
    if (!result.ok())
        return common::Result::failure(result.status(),
            utf8(path) + ": " + (result.message().empty() ? std::string("cannot read the logbook") : result.message()));
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
    std::cout << "path: " << book.path() << "\n"
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
        if (row.unitControlId != 0)
            std::cout << '\t' << row.unit;
        std::cout << '\n';
    }
    return 0;
}

int report(const common::Result &result, const QString &path)
{
    if (result.ok())
        return 0;
    return fail("cannot save " + utf8(path) + ": " + result.message());
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = cli::createApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorv-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads and writes Zorv logbooks.\n\n"
                       "Commands:\n"
                       "  info LOG               summary of the logbook\n"
                       "  list LOG               the dive list, one line per dive\n"
                       "  show LOG POSITION      the dive page of the dive at POSITION (1 = first)\n"
                       "  json LOG               every stored field as JSON\n"
                       "  resave LOG OUT         load LOG and save it as OUT\n"
                       "  render-profile LOG POSITION OUT.png [--width W --height H --cursor SAMPLE]\n"
                       "                         the profile window's picture of a dive\n"
                       "  simulate --port DEVICE IMAGE [--pause-at N --pause-ms M]   play a dive computer\n"
                       "  decode IMAGE [--into LOG] [--now TIME]   a dive computer's memory image and its new dives\n"
                       "  csv LOG OUT.csv [--fields NAME,...|all] [--from N] [--to N] [--tab] [--positive] [--hms]\n"
                       "      [--profile N]      the spreadsheet export of the dives numbered N..N\n"
                       "  print LOG OUT.pdf [--mode pages|list|cover] [--option complete|blank|profile] [--from N]\n"
                       "      [--to N] [--no-separator] [--paper a4|letter]   the printed pages as a PDF\n"
                       "  make-dumps DIR         write the example memory images into DIR\n"
                       "  generate --dives N [--seed S] OUT   write a synthetic logbook\n"
                       "  stats LOG PAGE [--year Y --percent --avg-depth --value V --aggregate A --today D --json]\n"
                       "                         a statistics page: year, month, depth, duration, temperature, suit,\n"
                       "                         weather, divetype, activity, consumption-year, consumption-month\n"
                       "  sites LOG [--year Y --json]      dives per place and site\n"
                       "  partners LOG [--year Y --json]   dives per partner and place\n"

                       "  plan --depth METRES --time MINUTES [--mountain] [--group LETTER --interval MINUTES]\n"
                       "       [--rate L_PER_MIN --tank LITRES --pressure BAR] [--json] [--profile]\n"
                       "                         a dive planned from the DECO 92 tables"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption imperial(QStringLiteral("imperial"), QStringLiteral("Show values in imperial units."));
    const QCommandLineOption standard(
        QStringLiteral("standard"), QStringLiteral("Standard mode: no supplementary (.add) data."));
    const QCommandLineOption settingsDir(
        QStringLiteral("settings"), QStringLiteral("Read Zorv.ini and Ctyp.ini from DIR."), QStringLiteral("DIR"));
    const QCommandLineOption dives(
        QStringLiteral("dives"), QStringLiteral("generate: number of dives (1-32767)."), QStringLiteral("N"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("generate: random seed (default 1)."),
        QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({ imperial, standard, settingsDir, dives, seed });
    cli::addSimulateOptions(parser);
    cli::addDecodeOptions(parser);
    cli::addRenderProfileOptions(parser);
    cli::addCsvOptions(parser);
    cli::addStatsOptions(parser);
    cli::addPrintOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("command"), QStringLiteral("info, list, show, json, resave or generate"));
    parser.addPositionalArgument(
        QStringLiteral("args"), QStringLiteral("arguments of the command"), QStringLiteral("[args...]"));

    // The planner has options of its own whose names other commands use differently (--profile), so it parses alone.
    if (const QStringList arguments = QCoreApplication::arguments();
        arguments.size() > 1 && arguments[1] == QLatin1String("plan"))
        return cli::commandPlan(arguments);

    if (!parser.parse(QCoreApplication::arguments()))
        return fail(utf8(parser.errorText()), kExitUsage);
    if (parser.isSet(QStringLiteral("help"))) {
        std::cout << utf8(parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::cout << "zorv-cli 0.1.0\n";
        return 0;
    }

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail("no command given; try --help", kExitUsage);
    const QString command = args.first();

    struct Arity {
        const char *name;
        int count;
    };
    static const Arity arities[] = { { "info", 1 }, { "list", 1 }, { "show", 2 }, { "json", 1 }, { "resave", 2 },
        { "generate", 1 }, { "simulate", 1 }, { "decode", 1 }, { "make-dumps", 1 }, { "render-profile", 3 },
        { "csv", 2 }, { "stats", 2 }, { "sites", 1 }, { "partners", 1 }, { "plan", 0 }, { "print", 2 } };
    int expected = -1;
    for (const auto &a : arities)
        if (command == QLatin1String(a.name))
            expected = a.count;
    if (expected < 0)
        return fail("unknown command '" + utf8(command) + "'; try --help", kExitUsage);
    if (args.size() - 1 != expected)
        return fail(utf8(command) + " takes " + std::to_string(expected) + " argument(s); try --help", kExitUsage);

    if (command == QLatin1String("simulate"))
        return cli::commandSimulate(parser, args[1]);
    if (command == QLatin1String("make-dumps"))
        return cli::commandMakeDumps(args[1]);

    cli::EnvironmentOptions options;
    options.programDir = localPath(QCoreApplication::applicationDirPath());
    if (parser.isSet(settingsDir)) {
        const QString dir = parser.value(settingsDir);
        if (!QFileInfo(dir).isDir())
            return fail("settings folder " + utf8(dir) + " does not exist", kExitUsage);
        options.settingsDir = localPath(dir);
    }
    options.imperial = parser.isSet(imperial);
    options.standard = parser.isSet(standard);
    cli::Environment env(options);
    if (command == QLatin1String("decode"))
        return cli::commandDecode(parser, env, args[1]);

    if (command == QLatin1String("generate")) {
        long long count = 0;
        long long seedValue = 0;
        if (!parser.isSet(dives) || !parseInt(parser.value(dives), 1, 32767, count))
            return fail("generate needs --dives N with N from 1 to 32767", kExitUsage);
        if (!parseInt(parser.value(seed), 0, (1LL << 62), seedValue))
            return fail("--seed must be a non-negative number", kExitUsage);
        logbook::GeneratorOptions generatorOptions;
        generatorOptions.dives = static_cast<int>(count);
        generatorOptions.seed = static_cast<std::uint64_t>(seedValue);
        logbook::generateLogbook(env.logbook, generatorOptions);
        return report(logbook::LogbookFile::save(env.logbook, localPath(args[1])), args[1]);
    }

    if (const common::Result loaded = loadLogbook(env, args[1]); !loaded)
        return fail(loaded.message());

    if (command == QLatin1String("info"))
        return commandInfo(env);
    if (command == QLatin1String("list"))
        return commandList(env);
    if (command == QLatin1String("show"))
        return commandShow(env, args[2]);
    if (command == QLatin1String("render-profile"))
        return cli::commandRenderProfile(env, parser, args[2], args[3]);
    if (command == QLatin1String("print"))
        return cli::commandPrint(env, parser, args[2]);
    if (command == QLatin1String("csv"))
        return cli::commandCsv(env, parser, args[2]);
    if (command == QLatin1String("stats"))
        return cli::commandStats(env, parser, args[2]);
    if (command == QLatin1String("sites") || command == QLatin1String("partners"))
        return cli::commandFrequencies(env, parser, command == QLatin1String("partners"));
    if (command == QLatin1String("json")) {
        cli::writeJson(std::cout, env.logbook);
        return 0;
    }
    // resave
    return report(logbook::LogbookFile::save(env.logbook, localPath(args[2])), args[2]);
}
