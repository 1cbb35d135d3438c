// What the units of the statistics page families share: dive dates, samples, values and row names.
#pragma once

#include "common/translation.h"
#include "logbook/diverecord.h"
#include "stats/statisticspage.h"
#include "stats/stattable.h"

#include <array>
#include <optional>

namespace zorv::stats {

namespace pageinternal {

    // Row names, translated where they are shown.
    inline constexpr std::array<const char *, 6> kSuitRows { N_("Sans combi"), N_("Shorty"), N_("Humide 1p"),
        N_("Humide 2p"), N_("Semi-étanche"), N_("Étanche") };
    inline constexpr std::array<const char *, 6> kWeatherRows { N_("beau"), N_("nuageux"), N_("brouillard"),
        N_("pluie"), N_("tempête"), N_("neige") };
    inline constexpr std::array<const char *, 11> kDiveTypeRows { N_("Nitrox"), N_("Dans la courbe"), N_("déco"),
        N_("Rem. unique"), N_("Rem. multiples"), N_("Eau douce"), N_("Eau de mer"), N_("Chambre de déco"),
        N_("Plongée 1"), N_("Pl. successives"), N_("SCR") };
    inline constexpr std::array<const char *, 25> kActivityRows { N_("Plongée loisir"), N_("Plongée club"),
        N_("Qualification"), N_("Instruction"), N_("Pl. de nuit"), N_("Pl. caverne"), N_("Pl. sous glace"),
        N_("Pl. recherche"), N_("Pl. sur épaves"), N_("Pl. rivière"), N_("Pl. courant"), N_("Pl. photo"),
        N_("Pl. travail"), N_("Pl. solo"), N_("Chambre compr."), N_("Pl. séminaire"), N_("Pl. examen"), N_("Examen"),
        N_("Accomp. examen"), N_("Pl. check"), N_("Pl. bateau"), N_("Pl. rivage"), N_("Chef de palanquée"),
        N_("Accompagnateur"), N_("Autres") };

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
