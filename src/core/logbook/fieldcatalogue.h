// The one place that turns dive values into text and typed text back into dive values.
#pragma once

#include "logbook/computerinfo.h"
#include "logbook/daynumber.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zorv::logbook {

class Logbook;

// One value per field that some view shows or takes as text.
enum class Field {
    DiveNumber,
    Date,
    EntryTime,
    SurfaceInterval,
    Duration,
    MaxDepth,
    AverageDepth,
    Visibility,
    AirTemperature,
    MinWaterTemperature,
    AirUsed,
    TankPressure,
    TankVolume,
    Weights,
    AirConsumption,
    Place,
    Site,
    Partners,
    OtherActivities,
    Model,
    Comment, // comment and commentMore as one text
    Suit,
    Weather,
    TankMaterial,
    AltitudeClass,
    DiveTypeText,
    ActivitiesText,
    WarningsText,
    ComputerName,
    ComputerNameForPrint,
    ProfileKindText,
};

// Long: "Ve, 05.Mars.2004"; Medium: "05.03.2004"; Short: "05.03.04".
enum class DateForm {
    Long,
    Medium,
    Short,
};

// The empty text unless the day number is shown as a date.
std::string formatDate(std::uint32_t dayNumber, DateForm form);
// Day, month, year; all 0 for no date.
CalendarDate dateParts(std::uint32_t dayNumber);
// "d.m.y", two-digit years below 20 in the 2000s, others in the 1900s; kNoDate
// for an empty text or a zero day or month. Days past a month's end count on
// into the next month, months past 12 into the next year.
std::uint32_t parseDate(std::string_view text);

// Whole minutes from "h:m" or plain minutes; kMissing for an empty text or 0.
std::int16_t parseMinutes(std::string_view text);

// The name of a dive computer type: the catalogue's (with the user's override)
// when it has one, "Donnée manuelles" for type 0, else "Typ: <id>".
std::string computerName(std::uint8_t typeId, const ComputerInfo *computers);

class FieldCatalogue {
public:
    // Follows the logbook's unit system and computer catalogue at each call.
    explicit FieldCatalogue(const Logbook &logbook);
    // For records in hand; fromDive then formats the blank record.
    explicit FieldCatalogue(UnitSystem units, const ComputerInfo *computers = nullptr);

    UnitSystem unitSystem() const;

    // An invalid position formats the blank record.
    std::string fromDive(Field field, int position, DateForm dateForm = DateForm::Long) const;
    std::string fromRecord(Field field, const DiveRecord &record, DateForm dateForm = DateForm::Long) const;

    // Parses typed UTF-8 text into the field. Numbers are read from the start of
    // the text, so text that is not a number stores 0; only the empty text stores
    // the missing value. Values beyond the 16-bit field are cut to its range
    // (32766 at most, so that they never read back as missing). Suit, weather,
    // tank material and altitude class take the displayed word of an entry (the
    // empty text clears the field; an unknown word leaves it). Returns false,
    // leaving the record alone, for the fields that are computed or chosen from
    // check boxes rather than typed.
    bool toRecord(Field field, std::string_view text, DiveRecord &record) const;

    // The logbook's mean air consumption as shown beside the totals.
    std::string meanAirConsumptionText() const;

    // Bare values in display units for the plots: the profile's maximum depth,
    // the average depth shown for the dive and the air consumption (0 when none).
    double plotMaxDepth(const DiveRecord &record) const;
    double averageDepthValue(const DiveRecord &record) const;
    double airConsumptionValue(const DiveRecord &record) const;

    // The maximum depth in centimetres as the dive page shows it: the profile's
    // maximum stands in for a negative stored depth.
    static int shownMaxDepth(const DiveRecord &record);

private:
    std::string airConsumptionText(float litresPerMinute) const;
    std::string diveTypeText(const DiveRecord &record) const;
    std::string activitiesText(const DiveRecord &record) const;

    const Logbook *m_logbook = nullptr;
    UnitSystem m_units = UnitSystem::Metric;
    const ComputerInfo *m_computers = nullptr;
};

} // namespace zorv::logbook
