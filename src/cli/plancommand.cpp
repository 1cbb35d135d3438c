#include "plancommand.h"

#include "arguments.h"
#include "common/cformat.h"
#include "common/translation.h"
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

    // `format` names the option with its %s.
    int refuse(const QString &option, const char *format)
    {
        std::cerr << "zorv-cli: plan: " << common::cformat(format, option.toStdString().c_str()) << "\n";
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
        { kDepth, QString::fromUtf8(common::tr("plan : profondeur maximale en mètres.")), QStringLiteral("METRES") },
        { kTime, QString::fromUtf8(common::tr("plan : temps au fond en minutes.")), QStringLiteral("MINUTES") },
        { kMountain, QString::fromUtf8(common::tr("plan : la table des lacs de montagne (701-1500 m).")) },
        { kGroup, QString::fromUtf8(common::tr("plan : groupe de pression de la plongée précédente.")),
            QStringLiteral("LETTER") },
        { kInterval, QString::fromUtf8(common::tr("plan : intervalle de surface depuis celle-ci, en minutes.")),
            QStringLiteral("MINUTES") },
        { kRate, QString::fromUtf8(common::tr("plan : consommation, en litres par minute.")),
            QStringLiteral("L_PER_MIN") },
        { kTank, QString::fromUtf8(common::tr("plan : volume de la bouteille en litres.")), QStringLiteral("LITRES") },
        { kPressure, QString::fromUtf8(common::tr("plan : pression de gonflage en bar.")), QStringLiteral("BAR") },
        { kJson, QString::fromUtf8(common::tr("plan : un objet JSON au lieu du texte.")) },
        { kProfile,
            QString::fromUtf8(common::tr("plan : ajouter les points planifiés (profondeur, marque de palier).")) },
    });
    if (!parser.parse(arguments)) {
        std::cerr << "zorv-cli: plan: " << parser.errorText().toStdString() << "\n";
        return kExitUsage;
    }
    if (parser.positionalArguments().size() != 1) {
        std::cerr << "zorv-cli: " << common::tr("plan ne prend que des options ; voir --help") << "\n";
        return kExitUsage;
    }

    profile::PlannerState state;
    state.tankLitres = 0;
    state.fillPressure = 0;
    state.breathingRate = 0;

    if (!parser.isSet(kDepth))
        return refuse(kDepth, common::tr("--%s manque"));
    const std::optional<double> depth = decimal(parser.value(kDepth));
    if (!depth || *depth == 0 || *depth > 1000)
        return refuse(kDepth, common::tr("--%s doit être une profondeur en mètres au-dessus de 0"));
    state.depth = *depth;
    if (!parser.isSet(kTime))
        return refuse(kTime, common::tr("--%s manque"));
    const std::optional<int> time = whole(parser.value(kTime), 10000);
    if (!time || *time == 0)
        return refuse(kTime, common::tr("--%s doit être un nombre entier de minutes au-dessus de 0"));
    state.bottomTime = *time;
    state.altitude = parser.isSet(kMountain) ? 1 : 0;

    if (parser.isSet(kGroup)) {
        const QString letter = parser.value(kGroup).toUpper();
        if (letter.size() != 1 || !letter[0].isLetter() || letter[0].unicode() > 'Z')
            return refuse(kGroup, common::tr("--%s doit être une lettre"));
        state.repetitive = 1;
        state.group = letter.toStdString();
    }
    if (parser.isSet(kInterval)) {
        const std::optional<int> interval = whole(parser.value(kInterval), 100000);
        if (!interval)
            return refuse(kInterval, common::tr("--%s doit être un nombre entier de minutes, 0 ou plus"));
        state.interval = *interval;
    }
    if (parser.isSet(kRate)) {
        const std::optional<double> rate = decimal(parser.value(kRate));
        if (!rate || *rate > 1000)
            return refuse(kRate, common::tr("--%s doit être en litres par minute, 0 ou plus"));
        state.breathingRate = *rate;
    }
    if (parser.isSet(kTank)) {
        const std::optional<double> tank = decimal(parser.value(kTank));
        if (!tank || *tank > 1000)
            return refuse(kTank, common::tr("--%s doit être en litres, 0 ou plus"));
        state.tankLitres = *tank;
    }
    if (parser.isSet(kPressure)) {
        const std::optional<int> pressure = whole(parser.value(kPressure), 1000);
        if (!pressure)
            return refuse(kPressure, common::tr("--%s doit être un nombre entier de bar, 0 ou plus"));
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
