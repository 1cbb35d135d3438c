#include "logbook/names.h"

#include "common/strings.h"

#include <array>
#include <cstddef>
#include <optional>

namespace zorv::logbook::names {

using common::StringId;

namespace {

    struct Word {
        std::optional<StringId> id; // none: no entry in the string table
        std::string_view german;
    };

    template <std::size_t N> std::string_view lookup(const std::array<Word, N> &table, int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= N)
            return {};
        const Word &word = table[static_cast<std::size_t>(index)];
        if (word.id && common::hasStr(*word.id))
            return common::str(*word.id);
        return word.german;
    }

    template <std::size_t N> std::string_view lookupSource(const std::array<Word, N> &table, int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= N)
            return {};
        const Word &word = table[static_cast<std::size_t>(index)];
        if (word.id && common::hasStr(*word.id))
            return common::sourceStr(*word.id);
        return word.german;
    }

    constexpr std::array<Word, kTankMaterialCount> kTankMaterials { {
        { std::nullopt, "" },
        { StringId::TankSteel, "Stahl" },
        { StringId::TankAluminium, "Aluminium" },
    } };

    constexpr std::array<Word, kSuitCount> kSuits { {
        { std::nullopt, "" },
        { StringId::SuitNone, "kein Anzug" },
        { StringId::SuitShorty, "Shorty" },
        { StringId::SuitWetOnePiece, "Kombi" },
        { StringId::SuitWetTwoPiece, "Nassanzug" },
        { StringId::SuitSemiDry, "Halbtrocken" },
        { StringId::SuitDry, "Trockenanzug" },
    } };

    constexpr std::array<Word, kWeatherCount> kWeathers { {
        { std::nullopt, "" },
        { StringId::WeatherClear, "klar" },
        { StringId::WeatherCloudy, "bewölkt" },
        { StringId::WeatherFog, "Nebel" },
        { StringId::WeatherRain, "Regen" },
        { StringId::WeatherStorm, "Sturm" },
        { StringId::WeatherSnow, "Schnee" },
    } };

    constexpr std::array<Word, kAltitudeClassCount> kAltitudesMetric { {
        { std::nullopt, "" },
        { StringId::AltitudeMetric1, "0 m ... 900 m" },
        { StringId::AltitudeMetric2, "900 m ... 1750 m" },
        { StringId::AltitudeMetric3, "1750 m ... 2700 m" },
        { StringId::AltitudeMetric4, "2400 m ... 4000 m" },
    } };

    constexpr std::array<Word, kAltitudeClassCount> kAltitudesImperial { {
        { std::nullopt, "" },
        { StringId::AltitudeImperial1, "0 ft ... 3000 ft" },
        { StringId::AltitudeImperial2, "3000 ft ... 5700 ft" },
        { StringId::AltitudeImperial3, "5700 ft ... 8800 ft" },
        { StringId::AltitudeImperial4, "8800 ft ... 13300 ft" },
    } };

    constexpr std::array<Word, kDiveTypeCount> kDiveTypes { {
        { std::nullopt, "" },
        { std::nullopt, "" },
        { StringId::DiveTypeNoDeco, "Nullzeit" },
        { StringId::DiveTypeDeco, "Dekompression" },
        { StringId::DiveTypeSingleAscent, "Einzelaufstieg" },
        { StringId::DiveTypeMultipleAscents, "Mehrfachaufstieg" },
        { StringId::DiveTypeFreshWater, "Süsswasser" },
        { StringId::DiveTypeSeaWater, "Meerwasser" },
        { StringId::DiveTypeNitrox, "Nitrox" },
        { std::nullopt, "SCR" },
    } };

    constexpr std::array<Word, kActivityCount> kActivities { {
        { StringId::ActivityLeisure, "Plausch-TG" },
        { StringId::ActivityClub, "Club-TG" },
        { StringId::ActivityQualification, "Ausbildung" },
        { StringId::ActivityInstruction, "Instruktion" },
        { StringId::ActivityNight, "Nacht-TG" },
        { StringId::ActivityCave, "Höhlen-TG" },
        { StringId::ActivityIce, "Eis-TG" },
        { StringId::ActivitySearch, "Such-TG" },
        { StringId::ActivityWreck, "Wrack-TG" },
        { StringId::ActivityRiver, "Fluss-TG" },
        { StringId::ActivityCurrent, "Strömungs-TG" },
        { StringId::ActivityPhoto, "Foto-TG" },
        { StringId::ActivityOther, "Andere" },
        { std::nullopt, "" },
        { std::nullopt, "" },
        { std::nullopt, "" },
    } };

    constexpr std::array<Word, kSecondActivityCount> kSecondShort { {
        { StringId::SecondWorkShort, "Arbeit" },
        { StringId::SecondSoloShort, "Solo" },
        { StringId::SecondChamberShort, "Druckk" },
        { StringId::SecondSeminarShort, "Seminar" },
        { StringId::SecondExamDiveShort, "PrüfTG" },
        { StringId::SecondExamShort, "PrüfAbn" },
        { StringId::SecondExamEscortShort, "PrüfBegl" },
        { StringId::SecondCheckDiveShort, "Check" },
    } };

    // The first flags are the second activities, under their long names.
    constexpr std::array<Word, kExtraFlagCount> kExtraFlags { {
        { StringId::SecondWork, "Arbeits-TG" },
        { StringId::SecondSolo, "Solo-TG" },
        { StringId::SecondChamber, "Druckkammerfahrt" },
        { StringId::SecondSeminar, "Seminar-TG" },
        { StringId::SecondExamDive, "Prüfungs-TG" },
        { StringId::SecondExam, "Prüfungsabnahme" },
        { StringId::SecondExamEscort, "Prüfungsbegleitung" },
        { StringId::SecondCheckDive, "Check-TG" },
        { StringId::SecondBoat, "Boots-TG" },
        { StringId::SecondShore, "Land-TG" },
        { StringId::SecondDiveLeader, "TG-Führung" },
        { StringId::SecondEscort, "TG-Begleitung" },
        { std::nullopt, "" },
        { std::nullopt, "" },
        { std::nullopt, "" },
        { std::nullopt, "" },
    } };

    constexpr std::array<Word, kWarningCount> kWarnings { {
        { StringId::WarningAscent, "AUFSTIEG" },
        { std::nullopt, "" },
        { std::nullopt, "" },
        { StringId::WarningDecompression, "DEKOMPRESSION" },
        { StringId::WarningWorkload, "LEISTUNG" },
        { StringId::WarningSos, "SOS" },
        { std::nullopt, "" },
        { std::nullopt, "" },
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
    return index < kSecondActivityCount ? lookup(kExtraFlags, index) : std::string_view {};
}

std::string_view secondActivityShort(int index)
{
    return lookup(kSecondShort, index);
}

std::string_view storedSecondActivityLong(int index)
{
    return index < kSecondActivityCount ? lookupSource(kExtraFlags, index) : std::string_view {};
}

std::string_view storedSecondActivityShort(int index)
{
    return lookupSource(kSecondShort, index);
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
    return common::str(StringId::ChamberRun);
}

} // namespace zorv::logbook::names
