#include "plancommand.h"

#include "arguments.h"
#include "common/cformat.h"
#include "environment.h"
#include "profile/planner.h"

#include <QCommandLineParser>
#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

namespace zorv::cli {

namespace {

    const QString kDepth = QStringLiteral("depth");
    const QString kTime = QStringLiteral("time");
    const QString kMountain = QStringLiteral("mountain");
    const QString kGroup = QStringLiteral("group");
    const QString kInterval = QStringLiteral("interval");
    const QString kRate = QStringLiteral("rate");
    const QString kTank = QStringLiteral("tank");
    const QString kPressure = QStringLiteral("pressure");
    const QString kJson = QStringLiteral("json");
    const QString kProfile = QStringLiteral("profile");

    int refuse(const QString &option, const std::string &what)
    {
        std::cerr << "zorv-cli: plan: --" << option.toStdString() << " " << what << "\n";
        return kExitUsage;
    }

    // A finite non-negative number; the locale plays no part.
    std::optional<double> decimal(const QString &text)
    {
        const std::string s = text.toStdString();
        double value = 0;
        const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
        if (s.empty() || result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value)
            || value < 0)
            return std::nullopt;
        return value;
    }

    std::optional<int> whole(const QString &text, int high)
    {
        const auto value = wholeNumber(text, 0, high);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }

    void printJson(const profile::PlannerState &s, const profile::PlannedProfile &planned, bool withProfile)
    {
        const std::pair<const char *, int> fields[]
            = { { "totalTime", s.totalTime }, { "ascentTime", s.ascentTime }, { "pureAscentTime", s.pureAscentTime },
                  { "residualTime", s.residualTime }, { "noDecoLimit", s.noDecoLimit }, { "noFlyHours", s.noFlyHours },
                  { "stop15", s.stop15 }, { "stop12", s.stop12 }, { "stop9", s.stop9 }, { "stop6", s.stop6 },
                  { "stop3", s.stop3 }, { "remainingPressure", s.remainingPressure },
                  { "pressureLoss", s.pressureLoss }, { "airNeeded", s.airNeeded }, { "resultValid", s.resultValid } };
        std::string out = "{\"resultGroup\": \"" + (s.resultValid ? s.resultGroup : std::string()) + "\"";
        for (const auto &[name, value] : fields)
            out += common::cformat(
                ", \"%s\": %d", name, s.resultValid || std::string(name) == "resultValid" ? value : 0);
        if (withProfile) {
            out += ", \"profile\": [";
            const int points = s.resultValid ? planned.pointCount() : 0;
            for (int i = 0; i < points; ++i) {
                const auto at = static_cast<std::size_t>(i);
                out += common::cformat(
                    "%s[%.2f, %d]", i ? ", " : "", -planned.depths[at] + 0.0, planned.markers[at] & 1);
            }
            out += "]";
        }
        std::cout << out << "}\n";
    }

} // namespace

int commandPlan(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        { kDepth, QStringLiteral("plan: maximum depth in metres."), QStringLiteral("METRES") },
        { kTime, QStringLiteral("plan: bottom time in minutes."), QStringLiteral("MINUTES") },
        { kMountain, QStringLiteral("plan: the mountain-lake table (701-1500 m).") },
        { kGroup, QStringLiteral("plan: pressure group of the previous dive."), QStringLiteral("LETTER") },
        { kInterval, QStringLiteral("plan: surface interval since it, minutes."), QStringLiteral("MINUTES") },
        { kRate, QStringLiteral("plan: breathing rate, litres per minute."), QStringLiteral("L_PER_MIN") },
        { kTank, QStringLiteral("plan: tank volume in litres."), QStringLiteral("LITRES") },
        { kPressure, QStringLiteral("plan: filling pressure in bar."), QStringLiteral("BAR") },
        { kJson, QStringLiteral("plan: one JSON object instead of text.") },
        { kProfile, QStringLiteral("plan: add the planned points (depth, deco marker).") },
    });
    if (!parser.parse(arguments)) {
        std::cerr << "zorv-cli: plan: " << parser.errorText().toStdString() << "\n";
        return kExitUsage;
    }
    if (parser.positionalArguments().size() != 1) {
        std::cerr << "zorv-cli: plan takes options only; try --help\n";
        return kExitUsage;
    }

    profile::PlannerState state;
    state.tankLitres = 0;
    state.fillPressure = 0;
    state.breathingRate = 0;

    if (!parser.isSet(kDepth))
        return refuse(kDepth, "is missing");
    const std::optional<double> depth = decimal(parser.value(kDepth));
    if (!depth || *depth == 0 || *depth > 1000)
        return refuse(kDepth, "must be a depth in metres above 0");
    state.depth = *depth;
    if (!parser.isSet(kTime))
        return refuse(kTime, "is missing");
    const std::optional<int> time = whole(parser.value(kTime), 10000);
    if (!time || *time == 0)
        return refuse(kTime, "must be a whole number of minutes above 0");
    state.bottomTime = *time;
    state.altitude = parser.isSet(kMountain) ? 1 : 0;

    if (parser.isSet(kGroup)) {
        const QString letter = parser.value(kGroup).toUpper();
        if (letter.size() != 1 || !letter[0].isLetter() || letter[0].unicode() > 'Z')
            return refuse(kGroup, "must be one letter");
        state.repetitive = 1;
        state.group = letter.toStdString();
    }
    if (parser.isSet(kInterval)) {
        const std::optional<int> interval = whole(parser.value(kInterval), 100000);
        if (!interval)
            return refuse(kInterval, "must be a whole number of minutes, 0 or more");
        state.interval = *interval;
    }
    if (parser.isSet(kRate)) {
        const std::optional<double> rate = decimal(parser.value(kRate));
        if (!rate || *rate > 1000)
            return refuse(kRate, "must be litres per minute, 0 or more");
        state.breathingRate = *rate;
    }
    if (parser.isSet(kTank)) {
        const std::optional<double> tank = decimal(parser.value(kTank));
        if (!tank || *tank > 1000)
            return refuse(kTank, "must be litres, 0 or more");
        state.tankLitres = *tank;
    }
    if (parser.isSet(kPressure)) {
        const std::optional<int> pressure = whole(parser.value(kPressure), 1000);
        if (!pressure)
            return refuse(kPressure, "must be whole bar, 0 or more");
        state.fillPressure = *pressure;
    }

    profile::PlannedProfile planned;
    (void)profile::calculate(state, planned);
    if (parser.isSet(kJson)) {
        printJson(state, planned, parser.isSet(kProfile));
        return 0;
    }
    std::cout << state.resultText << "\n";
    if (parser.isSet(kProfile) && state.resultValid) {
        for (int i = 0; i < planned.pointCount(); ++i) {
            const auto at = static_cast<std::size_t>(i);
            std::cout << common::cformat("%.2f\t%d\n", -planned.depths[at] + 0.0, planned.markers[at] & 1);
        }
    }
    return 0;
}

} // namespace zorv::cli
