#include "logbook/generator.h"

#include "logbook/daynumber.h"
#include "logbook/oemcharmap.h"
#include "logbook/profileencoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace zorv::logbook {

namespace {

    // SplitMix64: tiny, fast and the same on every platform, unlike the standard
    // distributions whose output differs between library versions.
    class Random {
    public:
        explicit Random(std::uint64_t seed)
            : m_state(seed)
        {
        }
        std::uint64_t next()
        {
            std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            return z ^ (z >> 31);
        }
        int range(int low, int high) // inclusive
        {
            return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
        }
        double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
        bool chance(double p) { return unit() < p; }
        template <typename T, std::size_t N> const T &pick(const std::array<T, N> &items)
        {
            return items[static_cast<std::size_t>(range(0, static_cast<int>(N) - 1))];
        }

    private:
        std::uint64_t m_state;
    };

    struct Place {
        const char *name;
        bool fresh;
        int waterTempLow; // tenths of a degree, at depth
        int waterTempHigh;
        std::array<const char *, 4> sites;
    };

    constexpr std::array<Place, 8> kPlaces = { {
        { "Lac Léman", true, 50, 120, { "Les Pierrettes", "Saint-Gingolph", "Meillerie", "La Tour-de-Peilz" } },
        { "Lac de Neuchâtel", true, 50, 110, { "Chez-le-Bart", "Saint-Aubin", "Port de Hauterive", "" } },
        { "Méditerranée", false, 140, 220, { "Les Mèdes", "Île Verte", "Sec de la Pointe", "Épave du Donator" } },
        { "Mer Rouge", false, 230, 280, { "Ras Mohammed", "Thistlegorm", "Jackson Reef", "Abu Nuhas" } },
        { "Bretagne", false, 110, 170, { "Les Pierres Noires", "Épave de l'Amoco", "Île de Sein", "" } },
        { "Bodensee", true, 40, 100, { "Überlingen Teufelstisch", "Wallhausen", "Rorschach", "" } },
        { "Maldives", false, 270, 290, { "Manta Point", "Banana Reef", "Fish Head", "Kuda Giri" } },
        { "Lac d'Annecy", true, 60, 120, { "Roc de Chère", "Angon", "La Tournette", "" } },
    } };

    constexpr std::array<const char *, 10> kPartners = {
        "Anne Müller",
        "Jean-Luc Favre",
        "Sébastien Roux",
        "Chloé Dubois",
        "Marc Gerber",
        "Élodie Perret",
        "Thomas Brändli",
        "Inès Garcia",
        "Noémie Keller",
        "François Blanc",
    };

    constexpr std::array<const char *, 12> kComments = {
        "Belle visibilité, plusieurs perches et un brochet énorme sous le ponton.",
        "Courant assez fort au retour, palier de sécurité fait en pleine eau.",
        "Épave superbe, on a pu entrer dans la cale arrière. Lampe indispensable.",
        "Eau trouble en surface, très claire à partir de 12 m. Température agréable.",
        "Plongée de nuit : poulpes, seiches et un congre dans les rochers.",
        "Exercices de remontée assistée avec l'élève, tout s'est bien passé.",
        "Raie pastenague posée sur le sable, tortue vue au palier.",
        "Froid ! Détendeur qui a givré un instant à 30 m, à surveiller.",
        "Tombant magnifique couvert de gorgones, un mérou curieux nous a suivis.",
        "Mise à l'eau depuis le bateau, mer un peu formée, navigation au compas.",
        "Photo : essai du nouveau caisson, flash mal réglé au début.",
        "Baptême de Noémie, très à l'aise. Retour par le tombant nord.",
    };

    constexpr std::array<const char *, 5> kModels
        = { "Semi-étanche 7 mm", "Humide 5 mm", "Étanche néoprène", "Shorty 3 mm", "Trilaminé" };

    struct Computer {
        std::uint8_t type;
        ProfileFamily family;
    };
    // Built-in types of a plain, an air-integrated, a nitrox and an O2 computer.
    constexpr std::array<Computer, 4> kComputers = { {
        { 30, ProfileFamily::Plain },
        { 68, ProfileFamily::Plain },
        { 244, ProfileFamily::Nitrox },
        { 164, ProfileFamily::O2 },
    } };

    // The latest start of a day dive after another one, in minutes: it ends before 22:30.
    constexpr int kLastDayEntry = 21 * 60;

    template <std::size_t N> void setText(std::array<char, N> &field, const std::string &utf8, std::size_t capacity)
    {
        setFixedText(field, displayToStored(utf8), capacity);
    }

    // A recreational profile: descent, a bottom phase drifting shallower, a slow
    // ascent and a safety stop, sampled every 20 seconds.
    std::vector<float> makeProfile(Random &rng, double maxDepth, int minutes)
    {
        const int samples = std::clamp(minutes * 3, 6, kMaxSamples - 6);
        std::vector<float> depths;
        depths.reserve(static_cast<std::size_t>(samples));
        const int descent = std::max(2, static_cast<int>(maxDepth / 6.0)); // about 18 m/min
        const int stopStart = samples - 10;
        for (int i = 0; i < samples; ++i) {
            double d;
            if (i < descent) {
                d = maxDepth * (i + 1) / descent;
            } else if (i < stopStart - 6) {
                const double progress = static_cast<double>(i - descent) / std::max(1, stopStart - 6 - descent);
                d = maxDepth * (1.0 - 0.55 * progress) + rng.range(-6, 6) * 0.15625;
            } else if (i < stopStart) {
                const double from = maxDepth * 0.45;
                d = from + (5.0 - from) * (i - (stopStart - 6) + 1) / 6.0;
            } else if (i < samples - 2) {
                d = 5.0 + rng.range(-2, 2) * 0.15625;
            } else {
                d = 5.0 * (samples - i - 1) / 2.0;
            }
            depths.push_back(static_cast<float>(std::clamp(d, 0.0, 150.0)));
        }
        return depths;
    }

} // namespace

void generateLogbook(Logbook &logbook, const GeneratorOptions &options)
{
    logbook.reset();
    Random rng(options.seed);
    std::uint32_t day
        = dayNumber(static_cast<int>(rng.range(3, 28)), static_cast<int>(rng.range(3, 5)), options.startYear);
    std::uint32_t clock = 0x00100000u + static_cast<std::uint32_t>(rng.range(0, 0xFFFF));
    const Place *place = &kPlaces[0];
    int diveOfDay = 0;
    bool nightDiveDone = false;
    // A sample spans a few years; a large logbook is an instructor's, diving most days.
    const double years = std::clamp(options.dives / 60.0, 3.0, 25.0);
    const double meanGap = years * 365.0 / std::max(1.0, options.dives / 1.8);
    const int tripGap = std::max(3, static_cast<int>(2.0 * (meanGap - 1.4) / 0.3));
    int lastEnd = 0;
    std::vector<DiveRecord> dives;
    dives.reserve(static_cast<std::size_t>(std::max(0, options.dives)));

    for (int n = 0; n < options.dives; ++n) {
        // A trip or a weekend: one to three dives a day, a few days in a row,
        // each dive at least an hour after the one before it ended. A day with
        // no room left before the evening ends; so does a day after a night dive.
        bool newDay = diveOfDay == 0 || diveOfDay == 3 || nightDiveDone || rng.chance(0.45);
        int entry = 0;
        if (!newDay) {
            entry = lastEnd + rng.range(60, 180);
            newDay = entry > kLastDayEntry;
        }
        if (newDay) {
            const bool newTrip = rng.chance(0.3);
            day += static_cast<std::uint32_t>(newTrip && meanGap > 2.0 ? rng.range(3, tripGap) : rng.range(1, 2));
            if (newTrip || n == 0)
                place = &rng.pick(kPlaces);
            diveOfDay = 0;
            entry = rng.range(8 * 60, 11 * 60);
            nightDiveDone = rng.chance(0.08);
            if (nightDiveDone)
                entry = rng.range(19 * 60 + 30, 21 * 60); // the only dive of that day
        }
        DiveRecord r;
        r.date = day;
        r.entryTime = static_cast<std::int16_t>(entry);
        if (diveOfDay > 0)
            r.surfaceInterval = static_cast<std::int16_t>(entry - lastEnd);

        setText(r.place, place->name, kPlaceLength);
        const char *site = place->sites[static_cast<std::size_t>(rng.range(0, 3))];
        setText(r.site, site, kSiteLength);

        const double maxDepth = rng.range(60, 420) * 0.1;
        const int minutes = std::max(12, static_cast<int>(rng.range(35, 70) - maxDepth * 0.6));
        lastEnd = entry + minutes;

        r.altitudeClass = place->fresh && rng.chance(0.3) ? 2 : 1;
        r.weather = static_cast<std::uint8_t>(rng.range(1, 5));
        r.airTemperature = static_cast<std::int16_t>(rng.range(80, 320) * 10);
        r.suit = static_cast<std::uint8_t>(place->waterTempHigh < 150 ? rng.range(5, 6) : rng.range(2, 4));
        r.tankVolume = static_cast<std::int16_t>(rng.pick(std::array<int, 4> { 1000, 1200, 1500, 1800 }));
        r.minWaterTemperature = static_cast<std::int16_t>(rng.range(place->waterTempLow, place->waterTempHigh) * 10);
        r.airUsed = static_cast<std::int16_t>(rng.range(90, 170) * 100);
        r.diveType = dive_type::kNoDeco | dive_type::kSingleAscent
            | (place->fresh ? dive_type::kFreshWater : dive_type::kSeaWater);
        r.activities = static_cast<std::uint16_t>(1u << rng.range(0, 1));
        if (entry >= 19 * 60)
            r.activities |= 1u << 4;
        if (rng.chance(0.15))
            r.activities |= 1u << 11;
        if (std::string_view(site).find("pave") != std::string_view::npos || std::string_view(site) == "Thistlegorm")
            r.activities |= 1u << 8;

        const auto first = static_cast<std::size_t>(rng.range(0, 9));
        std::string partners = kPartners[first];
        if (rng.chance(0.4)) {
            // A buddy is named once: a second draw of the same name takes the next one in the list.
            auto second = static_cast<std::size_t>(rng.range(0, 9));
            if (second == first)
                second = (first + 1) % kPartners.size();
            partners += std::string(", ") + kPartners[second];
        }
        setText(r.partners, partners, kPartnersLength);
        if (rng.chance(0.1))
            setText(r.otherActivities, "Biologie", kOtherActivitiesLength);

        std::string comment = rng.pick(kComments);
        if (rng.chance(0.15)) {
            // Long logbook entries spill into the supplementary block.
            while (comment.size() < 300)
                comment += std::string(" ") + rng.pick(kComments);
        }
        const std::string storedComment = displayToStored(comment);
        setFixedText(r.comment, std::string_view(storedComment).substr(0, kCommentLength));
        if (storedComment.size() > kCommentLength)
            setFixedText(r.extra.commentMore, std::string_view(storedComment).substr(kCommentLength));

        r.extra.weights = static_cast<std::int16_t>(rng.range(2, 14) * 100);
        r.extra.visibility = static_cast<std::int16_t>(rng.range(2, 30) * 100);
        r.extra.tankMaterial = static_cast<std::uint16_t>(rng.range(1, 2));
        r.extra.tankPressure = static_cast<std::int16_t>(rng.range(190, 300) * 100);
        r.extra.extraFlags = rng.chance(0.5) ? extra_flags::kBoat : extra_flags::kShore;
        if (rng.chance(0.2))
            r.extra.extraFlags |= extra_flags::kDiveLeader;
        setText(r.extra.model, rng.pick(kModels), kModelLength);

        if (rng.chance(0.85)) {
            const Computer &computer
                = kComputers[static_cast<std::size_t>(place->fresh ? rng.range(0, 1) : rng.range(0, 3))];
            if (computer.family == ProfileFamily::Nitrox || computer.family == ProfileFamily::O2)
                r.diveType |= dive_type::kNitrox;
            r.computerType = computer.type;
            clock += static_cast<std::uint32_t>(rng.range(2, 30)) * 86400u * 2u;
            r.computerLong = clock;
            ProfileScript script;
            script.depths = makeProfile(rng, maxDepth, minutes);
            const std::size_t groups = script.depths.size() / 3 + 1;
            script.groups.resize(groups);
            for (std::size_t g = 0; g < groups; ++g) {
                // Nitrogen loading climbs during the bottom phase, workload follows finning effort.
                const double t = static_cast<double>(g) / static_cast<double>(groups);
                script.groups[g].levelC
                    = static_cast<std::uint8_t>(6 * std::min(7, static_cast<int>(t * maxDepth / 6.0)));
                script.groups[g].workload
                    = static_cast<std::uint8_t>(3 * rng.range(0, std::min(7, 1 + static_cast<int>(maxDepth / 10))));
            }
            if (rng.chance(0.1)) {
                script.warnings.assign(script.depths.size(), 0);
                script.warnings[script.depths.size() - 4] = 1; // ascent too fast near the end
                r.warnings = 1;
            }
            encodeProfile(r, script, computer.family);
            r.maxDepth = static_cast<std::int16_t>(std::lround(r.profileMaxDepth * 100.0f));
            r.duration = static_cast<std::int16_t>(minutes);
        } else {
            r.maxDepth = static_cast<std::int16_t>(maxDepth * 100.0);
            r.duration = static_cast<std::int16_t>(minutes);
            if (rng.chance(0.5))
                r.avgDepth = static_cast<float>(maxDepth * 0.6);
            Logbook::computeAirConsumption(r);
        }
        r.diveNumber = static_cast<std::int16_t>(n + 1);
        dives.push_back(r);
        ++diveOfDay;
    }
    // A logbook from the future would be left out of the statistics and the forecast.
    if (options.endDay != 0 && !dives.empty() && dives.back().date > options.endDay) {
        const std::uint32_t shift = dives.back().date - options.endDay;
        for (DiveRecord &d : dives)
            d.date -= shift;
    }
    logbook.adoptDives(std::move(dives));
}

} // namespace zorv::logbook
