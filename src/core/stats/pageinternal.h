// What the units of the statistics page families share: dive dates, samples, values and row names.
#pragma once

#include "logbook/diverecord.h"
#include "stats/statisticspage.h"
#include "stats/stattable.h"

#include <array>
#include <optional>

namespace zorv::stats {

namespace pageinternal {

    inline constexpr std::array<const char *, 6> kSuitRows { "Sans Combi", "Shorty", "Humide 1p", "Humide 2p.",
        "Semi-étanche", "Etanche" };
    inline constexpr std::array<const char *, 6> kWeatherRows { "beau", "nuageux", "brouillard", "pluie", "tempête",
        "neige" };
    inline constexpr std::array<const char *, 11> kDiveTypeRows { "Nitrox", "Dans la courbe", "déco", "Rem. unique",
        "Rem. multiples", "Eau douce", "Eau de mer", "Chambre -déco", "Plongée 1", "Pl. succesives", "SCR" };
    inline constexpr std::array<const char *, 25> kActivityRows { "Plongée-loisir", "Plongée club", "Qualification",
        "Instruction", "Pl. de nuit", "Pl. caverne", "Pl. sous glace", "Pl. recherche", "Pl. sur épaves", "Pl. rivière",
        "Pl. courant", "Pl. photo", "Pl. travail", "Pl. solo", "Chambre compr.", "Pl. séminaire", "Pl. examen",
        "Examen", "Accomp. examen", "Pl. check", "Pl. bateau", "Pl. rivage", "Chef de palanquée", "Accompagnateur",
        "Autres" };

    struct YearMonth {
        int year = 0;
        int month = 0;
    };

    std::optional<YearMonth> dateOf(const logbook::DiveRecord &dive);
    bool isFresh(const logbook::DiveRecord &dive);
    bool isSea(const logbook::DiveRecord &dive);
    // One dive's sample: the value in Total and in each column the dive belongs to.
    StatBin sampleOf(const logbook::DiveRecord &dive, float value, bool withChamber = true);
    std::optional<float> categoryValue(ValueKind kind, const logbook::DiveRecord &dive, logbook::UnitSystem units);
    int binCountOf(PageKind kind);
    float countScale(const StatTable &table);

} // namespace pageinternal

} // namespace zorv::stats
