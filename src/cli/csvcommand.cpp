#include "csvcommand.h"

#include "arguments.h"
#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/translation.h"
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
        { kFields, QString::fromUtf8(common::tr("csv : les colonnes, NOM,NOM... ou all (all par défaut).")),
            QStringLiteral("NAMES") },
        { kFrom,
            QString::fromUtf8(
                common::tr("csv, print : numéro de la première plongée de la plage (par défaut la première).")),
            QStringLiteral("N") },
        { kTo,
            QString::fromUtf8(
                common::tr("csv, print : numéro de la dernière plongée de la plage (par défaut la dernière).")),
            QStringLiteral("N") },
        { kTab, QString::fromUtf8(common::tr("csv : champs séparés par des tabulations au lieu de points-virgules.")) },
        { kPositive, QString::fromUtf8(common::tr("csv : profondeurs du profil positives sous la surface.")) },
        { kHms, QString::fromUtf8(common::tr("csv : temps du profil en h:mm:ss au lieu de secondes.")) },
        { kProfile, QString::fromUtf8(common::tr("csv : les champs et le profil de la plongée numéro N.")),
            QStringLiteral("N") },
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
                return fail(
                    common::cformat(common::tr("champ inconnu « %s »"), name.toStdString().c_str()), kExitUsage);
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
            return fail(
                common::cformat(common::tr("--%s doit être un numéro de plongée"), option.toStdString().c_str()),
                kExitUsage);
    }
    if (parser.isSet(kProfile)) {
        // The dialog exports the profile of the dive named as the last of the range.
        if (!parseNumber(parser.value(kProfile), to))
            return fail(common::cformat(common::tr("--%s doit être un numéro de plongée"), "profile"), kExitUsage);
        choices.fieldSet |= reports::csvBit(reports::CsvField::Profile);
    }

    const auto text = reports::exportCsv(book, from, to, choices);
    if (!text.ok())
        return fail(text.message(), kExitUsage);
    const auto saved = common::saveFileAtomically(localPath(outPath), text.value());
    if (!saved)
        return fail(common::cformat(common::tr("impossible d'écrire %s : %s"), outPath.toStdString().c_str(),
                        saved.message().c_str()),
            kExitFailure);
    return 0;
}

} // namespace zorv::cli
