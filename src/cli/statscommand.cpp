#include "statscommand.h"

#include "common/cformat.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "jsonexport.h"
#include "qtglue/qtext.h"
#include "stats/frequencylist.h"
#include "stats/statisticspage.h"

#include <QDate>
#include <array>
#include <iostream>
#include <string>

namespace zorv::cli {

namespace {

    int usage(const std::string &message)
    {
        return fail(message, kExitUsage);
    }

    struct PageName {
        const char *name;
        stats::PageKind kind;
    };
    constexpr std::array<PageName, stats::kPageCount> kPages { {
        { "year", stats::PageKind::Year },
        { "month", stats::PageKind::Month },
        { "depth", stats::PageKind::Depth },
        { "duration", stats::PageKind::Duration },
        { "temperature", stats::PageKind::Temperature },
        { "suit", stats::PageKind::Suit },
        { "weather", stats::PageKind::Weather },
        { "divetype", stats::PageKind::DiveType },
        { "activity", stats::PageKind::Activity },
        { "consumption-year", stats::PageKind::ConsumptionYear },
        { "consumption-month", stats::PageKind::ConsumptionMonth },
    } };

    std::string number(double v)
    {
        std::string text = common::cformat("%.6g", v);
        return text == "-0" ? "0" : text;
    }

    std::string cell(const std::optional<float> &v, int decimals)
    {
        return v ? common::cformat("%.*f", decimals, static_cast<double>(*v)) : std::string();
    }

    std::string padLeft(const std::string &text, std::size_t width)
    {
        // Width in characters, not bytes: labels carry accents.
        std::size_t chars = 0;
        for (char c : text)
            chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return chars >= width ? text : std::string(width - chars, ' ') + text;
    }

    std::string padRight(const std::string &text, std::size_t width)
    {
        std::size_t chars = 0;
        for (char c : text)
            chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return chars >= width ? text : text + std::string(width - chars, ' ');
    }

    const QCommandLineOption &yearOption()
    {
        static const QCommandLineOption o(QStringLiteral("year"),
            QString::fromUtf8(common::tr("stats, sites, partners : seulement les plongées de l'année Y.")),
            QStringLiteral("Y"));
        return o;
    }
    const QCommandLineOption &percentOption()
    {
        static const QCommandLineOption o(QStringLiteral("percent"),
            QString::fromUtf8(common::tr("stats : pourcentages au lieu de nombres de plongées.")));
        return o;
    }
    const QCommandLineOption &avgDepthOption()
    {
        static const QCommandLineOption o(
            QStringLiteral("avg-depth"), QString::fromUtf8(common::tr("stats depth : classer la profondeur moyenne.")));
        return o;
    }
    const QCommandLineOption &valueOption()
    {
        static const QCommandLineOption o(QStringLiteral("value"),
            QString::fromUtf8(common::tr("stats : profondeur, durée ou consommation moyenne par catégorie.")),
            QStringLiteral("depth|duration|consumption"));
        return o;
    }
    const QCommandLineOption &aggregateOption()
    {
        static const QCommandLineOption o(QStringLiteral("aggregate"),
            QString::fromUtf8(common::tr("stats : avg, min ou max de la valeur.")), QStringLiteral("avg|min|max"));
        return o;
    }
    const QCommandLineOption &todayOption()
    {
        static const QCommandLineOption o(QStringLiteral("today"),
            QString::fromUtf8(
                common::tr("stats, equipment, forecast : la date du jour (par défaut : celle du système).")),
            QStringLiteral("YYYY-MM-DD"));
        return o;
    }
    const QCommandLineOption &jsonOption()
    {
        static const QCommandLineOption o(QStringLiteral("json"),
            QString::fromUtf8(common::tr("stats, sites, partners et les registres : sortie JSON.")));
        return o;
    }

    bool parseYear(const QCommandLineParser &parser, int &year)
    {
        bool ok = false;
        year = parser.value(yearOption()).toInt(&ok);
        return ok && year >= 1600 && year <= 9999;
    }

    std::string ansiToUtf8(const std::string &ansi)
    {
        return common::cp1252ToUtf8(ansi);
    }

} // namespace

void addStatsOptions(QCommandLineParser &parser)
{
    parser.addOptions({ yearOption(), percentOption(), avgDepthOption(), valueOption(), aggregateOption(),
        todayOption(), jsonOption() });
}

int commandStats(Environment &env, const QCommandLineParser &parser, const QString &pageName)
{
    const PageName *found = nullptr;
    for (const PageName &p : kPages)
        if (pageName == QLatin1String(p.name))
            found = &p;
    if (!found)
        return usage(common::cformat(common::tr("page de statistiques inconnue « %s » ; une de year, month, depth, "
                                                "duration, temperature, suit, weather, divetype, activity, "
                                                "consumption-year, consumption-month"),
            qtglue::fromQt(pageName).c_str()));
    stats::StatisticsPage page(found->kind);

    common::LocalDateTime today = common::clock().localNow();
    if (parser.isSet(todayOption())) {
        const QDate date = QDate::fromString(parser.value(todayOption()), Qt::ISODate);
        if (!date.isValid())
            return usage(common::tr("--today doit être une date écrite AAAA-MM-JJ"));
        today = { date.year(), date.month(), date.day(), 12, 0, 0 };
    }
    if (parser.isSet(percentOption()))
        page.options.valueKind = stats::ValueKind::Percent;
    if (parser.isSet(avgDepthOption()))
        page.options.depth = stats::DepthSource::Average;
    if (parser.isSet(valueOption())) {
        const QString v = parser.value(valueOption());
        if (v == QLatin1String("depth"))
            page.options.valueKind = stats::ValueKind::Depth;
        else if (v == QLatin1String("duration"))
            page.options.valueKind = stats::ValueKind::Duration;
        else if (v == QLatin1String("consumption"))
            page.options.valueKind = stats::ValueKind::Consumption;
        else
            return usage(common::tr("--value prend depth, duration ou consumption"));
        if (!stats::isCategoryPage(found->kind))
            return usage(common::tr("--value ne vaut que pour suit, weather, divetype et activity"));
    }
    if (parser.isSet(aggregateOption())) {
        const QString a = parser.value(aggregateOption());
        if (a == QLatin1String("avg"))
            page.options.aggregate = stats::Aggregate::Average;
        else if (a == QLatin1String("min"))
            page.options.aggregate = stats::Aggregate::Minimum;
        else if (a == QLatin1String("max"))
            page.options.aggregate = stats::Aggregate::Maximum;
        else
            return usage(common::tr("--aggregate prend avg, min ou max"));
    }
    if (parser.isSet(yearOption()) && !stats::hasYearOption(found->kind))
        return usage(
            common::cformat(common::tr("--year ne vaut pas pour la page %s"), qtglue::fromQt(pageName).c_str()));

    // The first computation finds the range of years a year must lie in.
    page.compute(env.logbook, today);
    if (parser.isSet(yearOption())) {
        int year = 0;
        if (!parseYear(parser, year) || !page.setSelectedYear(year))
            return usage(common::cformat(
                common::tr("--year doit être entre %d et %d"), page.firstDiveYear(), page.currentYear()));
        page.options.yearMode = stats::YearMode::OneYear;
        page.compute(env.logbook, today);
    }

    const auto rows = page.rows();
    const auto average = page.averageRow();
    const bool classes = stats::isClassPage(found->kind);
    if (parser.isSet(jsonOption())) {
        std::string out = "{\"page\": " + jsonString(stats::pageTexts(found->kind).caption)
            + ", \"scale\": " + number(page.scale()) + ", \"rows\": [";
        auto values = [](const std::array<std::optional<float>, 4> &v) {
            std::string s = "[";
            for (std::size_t c = 0; c < 4; ++c)
                s += (c ? ", " : "") + (v[c] ? number(*v[c]) : std::string("null"));
            return s + "]";
        };
        for (std::size_t i = 0; i < rows.size(); ++i)
            out += std::string(i ? ", " : "") + "{\"label\": " + jsonString(rows[i].label)
                + ", \"values\": " + values(rows[i].values) + "}";
        out += "]";
        if (average)
            out += ", \"average\": " + values(average->values);
        if (classes) {
            out += ", \"summary\": [";
            for (std::size_t c = 0; c < 4; ++c) {
                const auto &s = page.summaries()[c];
                out += std::string(c ? ", " : "") + "{\"sum\": " + number(s.sum) + ", \"average\": " + number(s.average)
                    + ", \"min\": " + number(s.min) + ", \"max\": " + number(s.max)
                    + ", \"count\": " + std::to_string(s.count) + "}";
            }
            out += "]";
        }
        std::cout << out << "}\n";
        return 0;
    }

    std::string out = std::string(stats::pageTexts(found->kind).caption) + "\n";
    if (stats::hasYearOption(found->kind))
        out += page.options.yearMode == stats::YearMode::OneYear
            ? common::cformat(common::tr("Année: %d\n"), page.options.selectedYear)
            : std::string(common::tr("Total")) + "\n";
    out += common::cformat(common::tr("Échelle: %.0f\n"), static_cast<double>(page.scale()));
    out += padRight("", 18) + padLeft(common::tr("Total"), 10) + padLeft(common::tr("Eau dce"), 10)
        + padLeft(common::tr("Eau mer"), 10) + padLeft(common::tr("Ch.-déco"), 10) + "\n";
    auto line = [&](const stats::PageRow &row) {
        std::string text = padRight(row.label, 18);
        for (const auto &v : row.values)
            text += padLeft(cell(v, row.decimals), 10);
        return text + "\n";
    };
    for (const auto &row : rows)
        out += line(row);
    if (average)
        out += line(*average);
    if (classes) {
        const bool duration = found->kind == stats::PageKind::Duration;
        const char *names[] = { "Somme:", "Moyenne:", "Min.:", "Max.:" };
        for (int which = 0; which < 4; ++which) {
            if (which == 0 && found->kind == stats::PageKind::Temperature)
                continue;
            std::string text = padRight(names[which], 18);
            for (const auto &s : page.summaries()) {
                const float v = which == 0 ? s.sum : which == 1 ? s.average : which == 2 ? s.min : s.max;
                const int decimals = which == 1 ? 2 : duration ? 0 : 1;
                text += padLeft(common::cformat("%.*f", decimals, static_cast<double>(v)), 10);
            }
            out += text + "\n";
        }
    }
    std::cout << out;
    return 0;
}

int commandFrequencies(Environment &env, const QCommandLineParser &parser, bool partners)
{
    int year = 0;
    if (parser.isSet(yearOption()) && !parseYear(parser, year))
        return usage(common::tr("--year attend une année"));
    for (const QCommandLineOption *o :
        { &percentOption(), &avgDepthOption(), &valueOption(), &aggregateOption(), &todayOption() })
        if (parser.isSet(*o))
            return usage(common::cformat(common::tr("--%s ne vaut pas pour %s"),
                qtglue::fromQt(o->names().first()).c_str(), partners ? "partners" : "sites"));
    stats::FrequencyList list(partners ? stats::FrequencyKind::Partners : stats::FrequencyKind::Sites);
    list.compute(env.logbook, year);
    if (parser.isSet(jsonOption())) {
        std::string out = "[";
        bool first = true;
        for (const auto &e : list.entries()) {
            out += std::string(first ? "" : ", ") + "{\"name\": " + jsonString(ansiToUtf8(e.name))
                + ", \"count\": " + std::to_string(e.count) + ", \"sub\": [";
            first = false;
            for (std::size_t i = 0; i < e.subEntries.size(); ++i)
                out += std::string(i ? ", " : "") + "{\"name\": " + jsonString(ansiToUtf8(e.subEntries[i].name))
                    + ", \"count\": " + std::to_string(e.subEntries[i].count) + "}";
            out += "]}";
        }
        std::cout << out << "]\n";
        return 0;
    }
    std::string out;
    for (const auto &e : list.entries()) {
        out += ansiToUtf8(e.name) + "\t" + std::to_string(e.count) + "\n";
        for (const auto &s : e.subEntries)
            out += "\t" + ansiToUtf8(s.name) + "\t" + std::to_string(s.count) + "\n";
    }
    std::cout << out;
    return 0;
}

} // namespace zorv::cli
