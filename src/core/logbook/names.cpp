#include "logbook/names.h"

#include "common/strings.h"

#include <array>
#include <cstddef>

namespace zorv::logbook::names {

namespace {

    struct Word {
        int id; // 0: no entry in the string table
        std::string_view german;
    };

    template <std::size_t N> std::string_view lookup(const std::array<Word, N> &table, int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= N)
            return {};
        const Word &word = table[static_cast<std::size_t>(index)];
        if (word.id != 0 && common::hasStr(word.id))
            return common::str(word.id);
        return word.german;
    }

    constexpr std::array<Word, kTankMaterialCount> kTankMaterials { {
        { 0, "" },
        { 62528, "Stahl" },
        { 62529, "Aluminium" },
    } };

    constexpr std::array<Word, kSuitCount> kSuits { {
        { 0, "" },
        { 62530, "kein Anzug" },
        { 62531, "Shorty" },
        { 62532, "Kombi" },
        { 62533, "Nassanzug" },
        { 62534, "Halbtrocken" },
        { 62535, "Trockenanzug" },
    } };

    constexpr std::array<Word, kWeatherCount> kWeathers { {
        { 0, "" },
        { 62536, "klar" },
        { 62537, "bewölkt" },
        { 62538, "Nebel" },
        { 62539, "Regen" },
        { 62540, "Sturm" },
        { 62541, "Schnee" },
    } };

    constexpr std::array<Word, kAltitudeClassCount> kAltitudesMetric { {
        { 0, "" },
        { 62456, "0 m ... 900 m" },
        { 62457, "900 m ... 1750 m" },
        { 62458, "1750 m ... 2700 m" },
        { 62459, "2400 m ... 4000 m" },
    } };

    constexpr std::array<Word, kAltitudeClassCount> kAltitudesImperial { {
        { 0, "" },
        { 62460, "0 ft ... 3000 ft" },
        { 62461, "3000 ft ... 5700 ft" },
        { 62462, "5700 ft ... 8800 ft" },
        { 62463, "8800 ft ... 13300 ft" },
    } };

    constexpr std::array<Word, kDiveTypeCount> kDiveTypes { {
        { 0, "" },
        { 0, "" },
        { 62542, "Nullzeit" },
        { 62543, "Dekompression" },
        { 62544, "Einzelaufstieg" },
        { 62545, "Mehrfachaufstieg" },
        { 62546, "Süsswasser" },
        { 62547, "Meerwasser" },
        { 62548, "Nitrox" },
        { 0, "SCR" },
    } };

    constexpr std::array<Word, kActivityCount> kActivities { {
        { 62549, "Plausch-TG" },
        { 62550, "Club-TG" },
        { 62551, "Ausbildung" },
        { 62552, "Instruktion" },
        { 62553, "Nacht-TG" },
        { 62554, "Höhlen-TG" },
        { 62555, "Eis-TG" },
        { 62556, "Such-TG" },
        { 62557, "Wrack-TG" },
        { 62558, "Fluss-TG" },
        { 62559, "Strömungs-TG" },
        { 62560, "Foto-TG" },
        { 62561, "Andere" },
        { 0, "" },
        { 0, "" },
        { 0, "" },
    } };

    constexpr std::array<Word, kSecondActivityCount> kSecondLong { {
        { 62566, "Arbeits-TG" },
        { 62567, "Solo-TG" },
        { 62568, "Druckkammerfahrt" },
        { 62569, "Seminar-TG" },
        { 62570, "Prüfungs-TG" },
        { 62571, "Prüfungsabnahme" },
        { 62572, "Prüfungsbegleitung" },
        { 62573, "Check-TG" },
    } };

    constexpr std::array<Word, kSecondActivityCount> kSecondShort { {
        { 62578, "Arbeit" },
        { 62579, "Solo" },
        { 62580, "Druckk" },
        { 62581, "Seminar" },
        { 62582, "PrüfTG" },
        { 62583, "PrüfAbn" },
        { 62584, "PrüfBegl" },
        { 62585, "Check" },
    } };

    constexpr std::array<Word, kExtraFlagCount> kExtraFlags { {
        { 62566, "Arbeits-TG" },
        { 62567, "Solo-TG" },
        { 62568, "Druckkammerfahrt" },
        { 62569, "Seminar-TG" },
        { 62570, "Prüfungs-TG" },
        { 62571, "Prüfungsabnahme" },
        { 62572, "Prüfungsbegleitung" },
        { 62573, "Check-TG" },
        { 62574, "Boots-TG" },
        { 62575, "Land-TG" },
        { 62576, "TG-Führung" },
        { 62577, "TG-Begleitung" },
        { 0, "" },
        { 0, "" },
        { 0, "" },
        { 0, "" },
    } };

    constexpr std::array<Word, kWarningCount> kWarnings { {
        { 62562, "AUFSTIEG" },
        { 0, "" },
        { 0, "" },
        { 62563, "DEKOMPRESSION" },
        { 62564, "LEISTUNG" },
        { 62565, "SOS" },
        { 0, "" },
        { 0, "" },
    } };

} // namespace

std::string_view tankMaterial(int index)
{
    return lookup(kTankMaterials, index);
}

std::string_view suit(int index)
{
    return lookup(kSuits, index);
}

std::string_view weather(int index)
{
    return lookup(kWeathers, index);
}

std::string_view altitudeClass(int index, UnitSystem units)
{
    return lookup(units == UnitSystem::Metric ? kAltitudesMetric : kAltitudesImperial, index);
}

std::string_view diveType(int bit)
{
    return lookup(kDiveTypes, bit);
}

std::string_view activity(int bit)
{
    return lookup(kActivities, bit);
}

std::string_view secondActivityLong(int index)
{
    return lookup(kSecondLong, index);
}

std::string_view secondActivityShort(int index)
{
    return lookup(kSecondShort, index);
}

std::string_view extraFlag(int bit)
{
    return lookup(kExtraFlags, bit);
}

std::string_view warning(int bit)
{
    return lookup(kWarnings, bit);
}

std::string_view chamberRun()
{
    return common::str(62587);
}

} // namespace zorv::logbook::names
