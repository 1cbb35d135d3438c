// The one place that turns dive values into text and typed text back into dive values.
#pragma once

#include "common/result.h"
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
// when it has one, "Données manuelles" for type 0, else "Type <id>".
std::string computerName(std::uint8_t typeId, const ComputerInfo *computers);

// What became of a typed text.
enum class Parsed {
    Stored,
    NotANumber, // refused; the record is unchanged
    OutOfRange, // refused; the record is unchanged
    NotTyped, // the field is computed or chosen from boxes, never typed
};

// The sentence telling the user why a typed value was refused, naming the field
// by the label the user sees; empty for a stored value.
std::string refusalMessage(Parsed outcome, std::string_view fieldLabel, std::string_view text);

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

    // Parses typed UTF-8 text into the field. A number may use a decimal comma
    // or point and nothing else; the empty (or blank) text stores the missing
    // value. A number that the field cannot hold (beyond its 16-bit range, or
    // below zero for depths, volumes, pressures and weights) is refused, as is
    // text that is not a number: the record is then left alone. Tank pressures
    // above 320 bar are kept as 320 bar. Suit, weather, tank material and
    // altitude class take the displayed word of an entry (the empty text clears
    // the field; an unknown word leaves it).
    [[nodiscard]] Parsed toRecord(Field field, std::string_view text, DiveRecord &record) const;
    // toRecord for a form: a refusal comes back with its message naming the field by `label`.
    common::Result readTyped(Field field, std::string_view text, std::string_view label, DiveRecord &record) const;

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
