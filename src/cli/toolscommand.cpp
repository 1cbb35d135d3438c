#include "toolscommand.h"

#include "arguments.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "jsonexport.h"
#include "logbook/daynumber.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbookfile.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "qtglue/qtext.h"
#include "tools/divefill.h"
#include "tools/divesearch.h"
#include "tools/divetools.h"

#include <iostream>
#include <optional>
#include <string>

namespace zorv::cli {

namespace {

    const QString kFrom = QStringLiteral("from");
    const QString kTo = QStringLiteral("to");
    const QString kStart = QStringLiteral("start");
    const QString kJson = QStringLiteral("json");
    const QString kYear = QStringLiteral("year");
    const QString kHours = QStringLiteral("hours");
    const QString kAt = QStringLiteral("at");
    const QString kPlace = QStringLiteral("place");
    const QString kSite = QStringLiteral("site");
    const QString kPartner = QStringLiteral("partner");
    const QString kText = QStringLiteral("text");
    const QString kOther = QStringLiteral("other");
    const QString kDepthMin = QStringLiteral("depth-min");
    const QString kDepthMax = QStringLiteral("depth-max");
    const QString kAny = QStringLiteral("any");
    const QString kField = QStringLiteral("field");
    const QString kFind = QStringLiteral("find");
    const QString kWith = QStringLiteral("with");
    const QString kDryRun = QStringLiteral("dry-run");

    std::optional<int> number(const QString &text, int low = -32768, int high = 32767)
    {
        const auto value = wholeNumber(text, low, high);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }

    // Reads --NAME as a number into `out` when given; false (after the message) when it is not one.
    bool option(const QCommandLineParser &parser, const QString &name, int &out, int &code)
    {
        if (!parser.isSet(name))
            return true;
        const auto value = number(parser.value(name));
        if (!value) {
            code = fail(
                common::cformat(common::tr("--%s doit être un nombre"), qtglue::fromQt(name).c_str()), kExitUsage);
            return false;
        }
        out = *value;
        return true;
    }

    int save(Environment &env, const QString &logPath)
    {
        const common::Result saved = env.held
            ? env.held->save(env.logbook)
            : common::Result::failure(common::Status::Refused, common::tr("pas tenu pour l'écriture"));
        if (!saved)
            return fail(common::cformat(common::tr("impossible d'enregistrer %s : %s"), qtglue::fromQt(logPath).c_str(),
                            saved.message().c_str()),
                kExitFailure);
        return 0;
    }

    // Prints what changed and saves; a refusal is reported and nothing is written.
    int finish(Environment &env, const QString &logPath, const tools::ToolResult &result, const std::string &what)
    {
        if (!result)
            return fail(result.message(), kExitUsage);
        if (!result->message.empty())
            std::cout << result->message << "\n";
        std::cout << common::tr(what.c_str()) << result->changed << "\n";
        if (result->changed == 0 && result->inserted == 0 && result->removed == 0)
            return 0; // nothing to write
        return save(env, logPath);
    }

    // The last position carrying the dive number, as the dialogs find a dive by number.
    int positionOf(const logbook::Logbook &book, int diveNumber)
    {
        for (int p = book.diveCount(); p >= 1; --p)
            if (book.diveNumberAt(p) == diveNumber)
                return p;
        return 0;
    }

    bool contains(std::string_view text, std::string_view part)
    {
        return text.find(part) != std::string_view::npos;
    }

    // --text looks through every text a diver writes about a dive.
    bool textMatches(const logbook::DiveRecord &d, const std::string &stored)
    {
        using logbook::fixedText;
        return contains(fixedText(d.place), stored) || contains(fixedText(d.site), stored)
            || contains(fixedText(d.partners), stored) || contains(fixedText(d.otherActivities), stored)
            || contains(tools::fieldText(d, tools::ReplaceField::Comment), stored);
    }

    // The dives the find options choose; nullopt (after the message) on a bad option.
    std::optional<std::vector<int>> chosenDives(const Environment &env, const QCommandLineParser &parser, int &code)
    {
        tools::SearchCriteria c;
        c.place = qtglue::toStored(parser.value(kPlace));
        c.site = qtglue::toStored(parser.value(kSite));
        c.partner = qtglue::toStored(parser.value(kPartner));
        c.otherActivities = qtglue::toStored(parser.value(kOther));
        c.mode = parser.isSet(kAny) ? tools::CriteriaMode::Or : tools::CriteriaMode::And;
        const logbook::FieldCatalogue catalogue(env.logbook);
        for (const auto &[name, target] :
            { std::pair { kDepthMin, &c.depthFrom }, std::pair { kDepthMax, &c.depthTo } }) {
            if (!parser.isSet(name))
                continue;
            logbook::DiveRecord scratch;
            const QString text = parser.value(name);
            if (text.trimmed().isEmpty()
                || catalogue.toRecord(logbook::Field::MaxDepth, qtglue::fromQt(text), scratch)
                    != logbook::Parsed::Stored) {
                code = fail(common::cformat(common::tr("--%s doit être une profondeur"), qtglue::fromQt(name).c_str()),
                    kExitUsage);
                return std::nullopt;
            }
            *target = scratch.maxDepth;
        }
        if (parser.isSet(kYear)) {
            const auto year = number(parser.value(kYear), 1600, 9999);
            if (!year) {
                code = fail(common::tr("--year doit être une année"), kExitUsage);
                return std::nullopt;
            }
            c.dateFrom = logbook::dayNumber(1, 1, *year);
            c.dateTo = logbook::dayNumber(31, 12, *year);
        }
        const std::string text = qtglue::toStored(parser.value(kText));
        std::vector<int> found;
        if (c.anySet()) {
            found = tools::findDives(env.logbook, c);
        } else if (!text.empty()) {
            for (int p = 1; p <= env.logbook.diveCount(); ++p)
                found.push_back(p);
        } else {
            code = fail(common::tr("donnez au moins un critère : --place, --site, --partner, --other, --text, "
                                   "--depth-min, --depth-max ou --year"),
                kExitUsage);
            return std::nullopt;
        }
        if (!text.empty())
            std::erase_if(found, [&](int p) { return !textMatches(*env.logbook.dive(p), text); });
        return found;
    }

    std::optional<tools::ReplaceField> replaceField(const QString &name)
    {
        static const std::pair<const char *, tools::ReplaceField> kNames[] = {
            { "place", tools::ReplaceField::Place },
            { "site", tools::ReplaceField::Site },
            { "partners", tools::ReplaceField::Partners },
            { "comment", tools::ReplaceField::Comment },
            { "model", tools::ReplaceField::SuitModel },
        };
        for (const auto &[word, field] : kNames)
            if (name == QLatin1String(word))
                return field;
        return std::nullopt;
    }

    // A bit of a flag set by its shown word (case-insensitive) or its number.
    template <typename Words> std::optional<int> flagBit(const QString &value, int count, Words words)
    {
        if (const auto bit = number(value, 0, count - 1))
            return bit;
        for (int bit = 0; bit < count; ++bit)
            for (const std::string_view word : words(bit))
                if (!word.empty()
                    && QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()))
                            .compare(value, Qt::CaseInsensitive)
                        == 0)
                    return bit;
        return std::nullopt;
    }

    // Applies one NAME=VALUE of fill; false with the message in `error`.
    bool fillField(const logbook::Logbook &book, tools::FillTemplate &fill, const QString &item, std::string &error)
    {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            error = common::cformat(common::tr("--field attend NOM=VALEUR, pas « %s »"), qtglue::fromQt(item).c_str());
            return false;
        }
        const QString name = item.left(eq).trimmed();
        const QString value = item.mid(eq + 1);
        const std::string text = qtglue::fromQt(value);
        const logbook::FieldCatalogue catalogue(book);
        logbook::DiveRecord scratch;
        // The same rules as the edit dialog: a decimal comma or point, nothing cut, nothing clamped.
        auto parse = [&](logbook::Field field) {
            const std::string fieldName = qtglue::fromQt(name);
            if (value.trimmed().isEmpty()) {
                error = common::cformat(common::tr("%s : « » est vide, une valeur est nécessaire"), fieldName.c_str());
                return false;
            }
            switch (catalogue.toRecord(field, text, scratch)) {
            case logbook::Parsed::Stored:
                return true;
            case logbook::Parsed::OutOfRange:
                error = common::cformat(common::tr("%s : « %s » est hors des valeurs que le champ peut tenir"),
                    fieldName.c_str(), text.c_str());
                return false;
            case logbook::Parsed::NotANumber:
            case logbook::Parsed::NotTyped:
                break;
            }
            error = common::cformat(
                common::tr("%s : « %s » n'est pas un nombre (écrivez 18,5 ou 18.5)"), fieldName.c_str(), text.c_str());
            return false;
        };
        using namespace logbook;
        if (name == QLatin1String("place")) {
            fill.place = displayToStored(text);
        } else if (name == QLatin1String("site")) {
            fill.site = displayToStored(text);
        } else if (name == QLatin1String("model")) {
            fill.model = displayToStored(text);
        } else if (name == QLatin1String("weather")) {
            if (!parse(Field::Weather) || scratch.weather == 0)
                return error = common::cformat(common::tr("temps inconnu « %s »"), text.c_str()), false;
            fill.weather = scratch.weather;
        } else if (name == QLatin1String("suit")) {
            if (!parse(Field::Suit) || scratch.suit == 0)
                return error = common::cformat(common::tr("combinaison inconnue « %s »"), text.c_str()), false;
            fill.suit = scratch.suit;
        } else if (name == QLatin1String("tank-material")) {
            if (!parse(Field::TankMaterial) || scratch.extra.tankMaterial == 0)
                return error = common::cformat(common::tr("matériau de bouteille inconnu « %s »"), text.c_str()), false;
            fill.tankMaterial = scratch.extra.tankMaterial;
        } else if (name == QLatin1String("air-temperature")) {
            if (!parse(Field::AirTemperature))
                return false;
            fill.airTemperature = scratch.airTemperature;
        } else if (name == QLatin1String("tank-volume")) {
            if (!parse(Field::TankVolume))
                return false;
            fill.tankVolume = scratch.tankVolume;
        } else if (name == QLatin1String("weights")) {
            if (!parse(Field::Weights))
                return false;
            fill.weights = scratch.extra.weights;
        } else if (name == QLatin1String("dive-type")) {
            const auto bit = flagBit(value, names::kDiveTypeCount,
                [](int b) { return std::array<std::string_view, 1> { names::diveType(b) }; });
            if (!bit || *bit < 2)
                return error = common::cformat(common::tr("type de plongée inconnu « %s »"), text.c_str()), false;
            fill.diveTypeBits = static_cast<std::uint16_t>(fill.diveTypeBits | (1u << *bit));
        } else if (name == QLatin1String("activity")) {
            const auto bit = flagBit(value, names::kActivityCount,
                [](int b) { return std::array<std::string_view, 1> { names::activity(b) }; });
            if (!bit)
                return error = common::cformat(common::tr("activité inconnue « %s »"), text.c_str()), false;
            fill.activityBits = static_cast<std::uint16_t>(fill.activityBits | (1u << *bit));
        } else if (name == QLatin1String("second-activity")) {
            const auto bit = flagBit(value, names::kExtraFlagCount, [](int b) {
                return std::array<std::string_view, 2> { names::extraFlag(b),
                    b < names::kSecondActivityCount ? names::secondActivityShort(b) : std::string_view {} };
            });
            if (!bit)
                return error = common::cformat(common::tr("activité inconnue « %s »"), text.c_str()), false;
            fill.secondActivityBits = static_cast<std::uint16_t>(fill.secondActivityBits | (1u << *bit));
        } else {
            error
                = common::cformat(common::tr("champ inconnu « %s » ; fill prend place, site, weather, air-temperature, "
                                             "suit, tank-volume, dive-type, activity, second-activity, weights, "
                                             "tank-material, model"),
                    qtglue::fromQt(name).c_str());
            return false;
        }
        return true;
    }

} // namespace

void addToolOptions(QCommandLineParser &parser)
{
    // --from, --to, --start, --json and --year are other commands' options of the same meaning.
    parser.addOptions({
        { kHours, QString::fromUtf8(common::tr("timeshift : le décalage, +H[:MM] ou -H[:MM].")),
            QStringLiteral("DIFF") },
        { kAt, QString::fromUtf8(common::tr("split : la minute où séparer la plongée.")), QStringLiteral("MINUTES") },
        { kPlace, QString::fromUtf8(common::tr("find, select : le lieu, exactement.")), QStringLiteral("TEXT") },
        { kSite, QString::fromUtf8(common::tr("find, select : le site, exactement.")), QStringLiteral("TEXT") },
        { kPartner, QString::fromUtf8(common::tr("find, select : un partenaire (partie du texte des partenaires).")),
            QStringLiteral("TEXT") },
        { kOther, QString::fromUtf8(common::tr("find, select : partie des autres activités.")),
            QStringLiteral("TEXT") },
        { kText,
            QString::fromUtf8(common::tr(
                "find, select : partie du lieu, du site, des partenaires, des activités ou du commentaire.")),
            QStringLiteral("TEXT") },
        { kDepthMin, QString::fromUtf8(common::tr("find, select : la profondeur maximale la plus petite.")),
            QStringLiteral("M") },
        { kDepthMax, QString::fromUtf8(common::tr("find, select : la profondeur maximale la plus grande.")),
            QStringLiteral("M") },
        { kAny, QString::fromUtf8(common::tr("find, select : un seul critère suffit (le mode OU de la recherche).")) },
        { kField,
            QString::fromUtf8(
                common::tr("replace : le champ (place, site, partners, comment, model) ; fill : NOM=VALEUR.")),
            QStringLiteral("FIELD") },
        { kFind, QString::fromUtf8(common::tr("replace : le texte à chercher.")), QStringLiteral("TEXT") },
        { kWith, QString::fromUtf8(common::tr("replace : le texte mis à sa place.")), QStringLiteral("TEXT") },
        { kDryRun, QString::fromUtf8(common::tr("replace : lister les changements, ne rien écrire.")) },
    });
}

int commandRenumber(Environment &env, const QCommandLineParser &parser, const QString &logPath)
{
    logbook::Logbook &book = env.logbook;
    int code = 0;
    if (parser.isSet(kFrom) != parser.isSet(kTo))
        return fail(common::tr("renumber prend --from et --to ensemble"), kExitUsage);
    if (!parser.isSet(kFrom)) {
        int start = 1;
        if (!option(parser, kStart, start, code))
            return code;
        return finish(env, logPath, tools::renumberAll(book, start), N_("plongées renumérotées : "));
    }
    int from = 0;
    int to = 0;
    if (!option(parser, kFrom, from, code) || !option(parser, kTo, to, code))
        return code;
    int start = from;
    if (!option(parser, kStart, start, code))
        return code;
    return finish(env, logPath, tools::renumberRange(book, from, to, start), N_("plongées renumérotées : "));
}

int commandTimeShift(Environment &env, const QCommandLineParser &parser, const QString &logPath)
{
    if (!parser.isSet(kFrom) || !parser.isSet(kTo) || !parser.isSet(kHours))
        return fail(common::tr("timeshift demande --from N --to N --hours +-H[:MM]"), kExitUsage);
    int from = 0;
    int to = 0;
    int code = 0;
    if (!option(parser, kFrom, from, code) || !option(parser, kTo, to, code))
        return code;
    QString text = parser.value(kHours).trimmed();
    int sign = 1;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
        sign = text.startsWith(QLatin1Char('-')) ? -1 : 1;
        text.remove(0, 1);
    }
    // Hours on the command line, unlike the dialog's minutes: "--hours 2" is two hours.
    if (!text.contains(QLatin1Char(':')))
        text += QStringLiteral(":0");
    const std::optional<int> minutes = tools::parseTimeDifference(qtglue::fromQt(text));
    if (!minutes || *minutes > 32767)
        return fail(common::tr("--hours doit être +H[:MM] ou -H[:MM]"), kExitUsage);
    return finish(
        env, logPath, tools::shiftTimeZone(env.logbook, from, to, sign * *minutes), N_("plongées décalées : "));
}

int commandSplit(Environment &env, const QCommandLineParser &parser, const QString &logPath, const QString &diveNumber)
{
    const auto dive = number(diveNumber);
    const int position = dive ? positionOf(env.logbook, *dive) : 0;
    if (position == 0)
        return fail(
            common::cformat(common::tr("aucune plongée numéro %s"), qtglue::fromQt(diveNumber).c_str()), kExitUsage);
    const auto minute = parser.isSet(kAt) ? number(parser.value(kAt), 0, 32767) : std::nullopt;
    if (!minute)
        return fail(common::tr("split demande --at MINUTES"), kExitUsage);
    return finish(env, logPath, tools::splitDive(env.logbook, position, *minute), N_("plongées modifiées : "));
}

int commandMerge(Environment &env, const QString &logPath, const QString &diveNumber)
{
    const auto dive = number(diveNumber);
    const int position = dive ? positionOf(env.logbook, *dive) : 0;
    if (position == 0)
        return fail(
            common::cformat(common::tr("aucune plongée numéro %s"), qtglue::fromQt(diveNumber).c_str()), kExitUsage);
    return finish(env, logPath, tools::mergeWithNext(env.logbook, position), N_("plongées modifiées : "));
}

int commandFind(Environment &env, const QCommandLineParser &parser)
{
    int code = 0;
    const auto found = chosenDives(env, parser, code);
    if (!found)
        return code;
    if (!parser.isSet(kJson)) {
        std::string out;
        for (const int p : *found)
            out += tools::selectionLine(env.logbook, p) + "\n";
        std::cout << out << common::tr("Plongées adéquates: ") << found->size() << "\n";
        return 0;
    }
    std::string out = "[";
    for (const int p : *found) {
        const logbook::DiveRecord &d = *env.logbook.dive(p);
        const logbook::CalendarDate date = logbook::calendarDate(d.date);
        out += out.size() > 1 ? ",\n " : "";
        out += common::cformat("{\"position\": %d, \"number\": %d, \"date\": ", p, d.diveNumber);
        out += logbook::isShownAsDate(d.date)
            ? jsonString(common::cformat("%04d-%02d-%02d", date.year, date.month, date.day))
            : std::string("null");
        out += ", \"place\": " + jsonString(logbook::storedToDisplay(logbook::fixedText(d.place)));
        out += ", \"site\": " + jsonString(logbook::storedToDisplay(logbook::fixedText(d.site))) + "}";
    }
    std::cout << out << "]\n";
    return 0;
}

int commandReplace(Environment &env, const QCommandLineParser &parser, const QString &logPath)
{
    const auto field = replaceField(parser.value(kField));
    if (!field)
        return fail(common::tr("replace demande --field place, site, partners, comment ou model"), kExitUsage);
    if (!parser.isSet(kFind) || parser.value(kFind).isEmpty() || !parser.isSet(kWith))
        return fail(common::tr("replace demande --find TEXTE et --with TEXTE"), kExitUsage);
    const std::string find = qtglue::toStored(parser.value(kFind));
    const std::string with = qtglue::toStored(parser.value(kWith));
    std::string out;
    for (const tools::Replacement &r : tools::findReplacements(env.logbook, *field, find, with)) {
        const auto [before, after] = tools::replacementLines(env.logbook, r);
        out += before + "\n" + after + "\n";
    }
    std::cout << out;
    if (parser.isSet(kDryRun))
        return 0;
    return finish(env, logPath, tools::replaceAll(env.logbook, *field, find, with), N_("plongées modifiées : "));
}

int commandFill(Environment &env, const QCommandLineParser &parser, const QString &logPath)
{
    tools::FillTemplate fill;
    int code = 0;
    if (!option(parser, kFrom, fill.firstNumber, code) || !option(parser, kTo, fill.lastNumber, code))
        return code;
    const QStringList fields = parser.values(kField);
    if (fields.isEmpty())
        return fail(common::tr("fill demande au moins un --field NOM=VALEUR"), kExitUsage);
    for (const QString &item : fields) {
        std::string error;
        if (!fillField(env.logbook, fill, item, error))
            return fail(error, kExitUsage);
    }
    return finish(env, logPath, tools::fillDives(env.logbook, fill), N_("plongées remplies : "));
}

int commandSelect(Environment &env, const QCommandLineParser &parser, const QString &outPath)
{
    std::vector<int> chosen;
    if (parser.isSet(kFrom) || parser.isSet(kTo)) {
        const logbook::Logbook &book = env.logbook;
        const int n = book.diveCount();
        int from = n > 0 ? book.diveNumberAt(1) : 0;
        int to = n > 0 ? book.diveNumberAt(n) : 0;
        int code = 0;
        if (!option(parser, kFrom, from, code) || !option(parser, kTo, to, code))
            return code;
        for (int p = 1; p <= n; ++p)
            if (book.diveNumberAt(p) >= from && book.diveNumberAt(p) <= to)
                chosen.push_back(p);
    } else {
        int code = 0;
        auto found = chosenDives(env, parser, code);
        if (!found)
            return code;
        chosen = std::move(*found);
    }
    int held = 0;
    const auto out = HeldLogbook::hold(localPath(outPath), env.force, held);
    if (!out)
        return held;
    const common::Result saved = tools::saveSelection(env.logbook, localPath(outPath), chosen);
    if (!saved)
        return fail(common::cformat(common::tr("impossible d'enregistrer %s : %s"), qtglue::fromQt(outPath).c_str(),
                        saved.message().c_str()),
            saved.status() == common::Status::Refused ? kExitUsage : kExitFailure);
    std::cout << common::tr("plongées écrites : ") << chosen.size() << "\n";
    return 0;
}

} // namespace zorv::cli
