#include "csvcommand.h"

#include "arguments.h"
#include "common/atomicfile.h"
#include "reports/csvexport.h"

#include <QFile>
#include <QStringList>
#include <iostream>
#include <string>

namespace zorv::cli {

namespace {

    bool parseNumber(const QString &text, int &out)
    {
        const auto value = wholeNumber(text, -32768, 32767);
        if (value)
            out = static_cast<int>(*value);
        return value.has_value();
    }

    const QString kFields = QStringLiteral("fields");
    const QString kFrom = QStringLiteral("from");
    const QString kTo = QStringLiteral("to");
    const QString kTab = QStringLiteral("tab");
    const QString kPositive = QStringLiteral("positive");
    const QString kHms = QStringLiteral("hms");
    const QString kProfile = QStringLiteral("profile");

} // namespace

void addCsvOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        { kFields, QStringLiteral("csv: the columns, as NAME,NAME... or all (default all)."), QStringLiteral("NAMES") },
        { kFrom, QStringLiteral("csv, print: first dive number of the range (default the first)."),
            QStringLiteral("N") },
        { kTo, QStringLiteral("csv, print: last dive number of the range (default the last)."), QStringLiteral("N") },
        { kTab, QStringLiteral("csv: separate fields by tabs instead of semicolons.") },
        { kPositive, QStringLiteral("csv: profile depths positive below the surface.") },
        { kHms, QStringLiteral("csv: profile times as h:mm:ss instead of seconds.") },
        { kProfile, QStringLiteral("csv: the fields and profile of the dive numbered N."), QStringLiteral("N") },
    });
}

int commandCsv(Environment &env, const QCommandLineParser &parser, const QString &outPath)
{
    const logbook::Logbook &book = env.logbook;
    reports::CsvChoices choices;
    const QString names = parser.isSet(kFields) ? parser.value(kFields) : QStringLiteral("all");
    if (names == QLatin1String("all")) {
        choices.fieldSet = ((1u << reports::kCsvFieldCount) - 1) & ~reports::csvBit(reports::CsvField::Profile);
    } else {
        for (const QString &name : names.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int bit = reports::csvFieldByName(name.trimmed().toStdString());
            if (bit < 0 || bit == static_cast<int>(reports::CsvField::Profile))
                return fail("unknown field '" + name.toStdString() + "'", kExitUsage);
            choices.fieldSet |= 1u << bit;
        }
    }
    choices.separator = parser.isSet(kTab) ? reports::CsvSeparator::Tab : reports::CsvSeparator::Semicolon;
    choices.sign = parser.isSet(kPositive) ? reports::CsvDepthSign::Positive : reports::CsvDepthSign::Negative;
    choices.timeFormat
        = parser.isSet(kHms) ? reports::CsvTimeFormat::HoursMinutesSeconds : reports::CsvTimeFormat::Seconds;

    const int count = book.diveCount();
    int from = count > 0 ? book.diveNumberAt(1) : 0;
    int to = count > 0 ? book.diveNumberAt(count) : 0;
    for (const auto &[option, target] : { std::pair { kFrom, &from }, std::pair { kTo, &to } }) {
        if (parser.isSet(option) && !parseNumber(parser.value(option), *target))
            return fail("--" + option.toStdString() + " must be a dive number", kExitUsage);
    }
    if (parser.isSet(kProfile)) {
        // The dialog exports the profile of the dive named as the last of the range.
        if (!parseNumber(parser.value(kProfile), to))
            return fail("--profile must be a dive number", kExitUsage);
        choices.fieldSet |= reports::csvBit(reports::CsvField::Profile);
    }

    const auto text = reports::exportCsv(book, from, to, choices);
    if (!text.ok())
        return fail(text.message(), kExitUsage);
    const auto saved = common::saveFileAtomically(localPath(outPath), text.value());
    if (!saved)
        return fail("cannot write " + outPath.toStdString() + ": " + saved.message(), kExitFailure);
    return 0;
}

} // namespace zorv::cli
