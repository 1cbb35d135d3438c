#include "logbook/fieldcatalogue.h"

#include "common/cformat.h"
#include "common/decimal.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogueinternal.h"
#include "logbook/logbook.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <type_traits>

namespace zorv::logbook {

using common::cformat;
using common::StringId;

using namespace fieldcatalogueinternal;

namespace {

    constexpr StringId kWeekdayIds[7] = { StringId::WeekdayMonday, StringId::WeekdayTuesday, StringId::WeekdayWednesday,
        StringId::WeekdayThursday, StringId::WeekdayFriday, StringId::WeekdaySaturday, StringId::WeekdaySunday };

    void appendJoined(std::string &out, std::string_view item)
    {
        if (item.empty())
            return;
        if (!out.empty())
            out += ", ";
        out += item;
    }

    template <std::size_t N> std::string displayText(const std::array<char, N> &buffer)
    {
        return storedToDisplay(fixedText(buffer));
    }

    const DiveRecord &blankRecord()
    {
        static const DiveRecord blank;
        return blank;
    }

} // namespace

namespace fieldcatalogueinternal {

    std::int16_t toStored(long long value)
    {
        if (value > kMissing - 1)
            return kMissing - 1;
        if (value < INT16_MIN)
            return INT16_MIN;
        return static_cast<std::int16_t>(value);
    }

} // namespace fieldcatalogueinternal

std::string formatDate(std::uint32_t dayNumber, DateForm form)
{
    if (!isShownAsDate(dayNumber))
        return {};
    const CalendarDate d = calendarDate(dayNumber);
    switch (form) {
    case DateForm::Long: {
        const std::string weekdayName(common::str(kWeekdayIds[weekday(dayNumber)]));
        const std::string monthName(common::monthName(d.month));
        return cformat("%2s, %02d.%3s.%04d", weekdayName.c_str(), d.day, monthName.c_str(), d.year);
    }
    case DateForm::Medium:
        return cformat("%02d.%02d.%04d", d.day, d.month, d.year);
    case DateForm::Short:
        return cformat("%02d.%02d.%02d", d.day, d.month, d.year % 100);
    }
    return {};
}

CalendarDate dateParts(std::uint32_t dayNumber)
{
    if (!isShownAsDate(dayNumber))
        return {};
    return calendarDate(dayNumber);
}

std::string computerName(std::uint8_t typeId, const ComputerInfo *computers)
{
    if (computers) {
        std::string name = computers->displayName(typeId);
        if (!name.empty())
            return name;
    }
    if (typeId == 0)
        return std::string(common::str(StringId::ManualDataComputer));
    return cformat(common::tr("Type %d"), typeId);
}

FieldCatalogue::FieldCatalogue(const Logbook &logbook)
    : m_logbook(&logbook)
{
}

FieldCatalogue::FieldCatalogue(UnitSystem units, const ComputerInfo *computers)
    : m_units(units)
    , m_computers(computers)
{
}

UnitSystem FieldCatalogue::unitSystem() const
{
    return m_logbook ? m_logbook->unitSystem() : m_units;
}

std::string FieldCatalogue::fromDive(Field field, int position, DateForm dateForm) const
{
    const DiveRecord *record = m_logbook ? m_logbook->dive(position) : nullptr;
    return fromRecord(field, record ? *record : blankRecord(), dateForm);
}

int FieldCatalogue::shownMaxDepth(const DiveRecord &record)
{
    if (record.maxDepth >= 0)
        return record.maxDepth;
    if (record.profileMaxDepth > 0)
        return toStored(toHundredths(record.profileMaxDepth));
    return record.maxDepth;
}

std::string FieldCatalogue::fromRecord(Field field, const DiveRecord &record, DateForm dateForm) const
{
    const bool metric = unitSystem() == UnitSystem::Metric;
    switch (field) {
    case Field::DiveNumber:
        return cformat("%d", record.diveNumber);
    case Field::Date:
        return formatDate(record.date, dateForm);
    case Field::EntryTime:
        return formatClock(record.entryTime);
    case Field::SurfaceInterval:
        // A dive that starts before the previous one ended has no interval to show.
        return record.surfaceInterval < 0 ? std::string {} : formatClock(record.surfaceInterval);
    case Field::Duration:
        return formatClock(record.duration);
    case Field::MaxDepth: {
        const int shown = shownMaxDepth(record);
        return metric ? formatOneDecimal(shown) : formatFeet(shown);
    }
    case Field::AverageDepth: {
        const float average = record.avgDepth > 0 ? record.avgDepth : record.profileAvgDepth;
        if (!(average > 0))
            return {};
        return metric ? cformat("%.1f", static_cast<double>(average)) : formatFeet(toStored(toHundredths(average)));
    }
    case Field::Visibility:
        return metric ? formatNoDecimal(record.extra.visibility) : formatFeet(record.extra.visibility);
    case Field::AirTemperature:
        return metric ? formatOneDecimal(record.airTemperature)
                      : formatFahrenheit(record.airTemperature, Precision::Whole);
    case Field::MinWaterTemperature:
        return metric ? formatOneDecimal(record.minWaterTemperature)
                      : formatFahrenheit(record.minWaterTemperature, Precision::OneDecimal);
    case Field::AirUsed:
        return metric ? formatNoDecimal(record.airUsed) : formatPsi(record.airUsed);
    case Field::TankPressure:
        return metric ? formatNoDecimal(record.extra.tankPressure) : formatPsi(record.extra.tankPressure);
    case Field::TankVolume:
        if (metric || record.tankVolume == kMissing)
            return formatOneDecimal(record.tankVolume);
        return cformat("%.0f", litresToCubicFeet(fromHundredths(record.tankVolume)));
    case Field::Weights:
        if (metric || record.extra.weights == kMissing)
            return formatOneDecimal(record.extra.weights);
        return cformat("%.1f", static_cast<double>(kgToLb(fromHundredths(record.extra.weights))));
    case Field::AirConsumption:
        return airConsumptionText(record.airConsumption);
    case Field::Place:
        return displayText(record.place);
    case Field::Site:
        return displayText(record.site);
    case Field::Partners:
        return displayText(record.partners);
    case Field::OtherActivities:
        return displayText(record.otherActivities);
    case Field::Model:
        return displayText(record.extra.model);
    case Field::Comment: {
        std::string stored(fixedText(record.comment));
        stored += fixedText(record.extra.commentMore);
        return storedToDisplay(stored);
    }
    case Field::Suit:
        return std::string(names::suit(record.suit));
    case Field::Weather:
        return std::string(names::weather(record.weather));
    case Field::TankMaterial:
        return std::string(names::tankMaterial(record.extra.tankMaterial));
    case Field::AltitudeClass:
        return std::string(names::altitudeClass(record.altitudeClass, unitSystem()));
    case Field::DiveTypeText:
        return diveTypeText(record);
    case Field::ActivitiesText:
        return activitiesText(record);
    case Field::WarningsText: {
        std::string text;
        for (int bit = 0; bit <= 6; ++bit)
            if (record.warnings & (1u << bit))
                appendJoined(text, names::warning(bit));
        return text;
    }
    case Field::ComputerName:
        return computerName(record.computerType, m_logbook ? m_logbook->computerInfo() : m_computers);
    case Field::ComputerNameForPrint: {
        std::string name = computerName(record.computerType, m_logbook ? m_logbook->computerInfo() : m_computers);
        // Hand entries and unknown types say nothing worth printing on a logbook page. The hand-entry name
        // no longer carries the word the test looks for, so type 0 is asked for by number too.
        if (record.computerType == 0 || name.find("Hand") != std::string::npos || name.find("Typ") != std::string::npos)
            return {};
        return name;
    }
    case Field::ProfileKindText:
        switch (profileKind(record)) {
        case ProfileKind::None:
            return std::string(common::str(StringId::ProfileKindNone));
        case ProfileKind::Computer:
            return std::string(common::str(StringId::ProfileKindRecorded));
        case ProfileKind::HandDrawn:
            return std::string(common::str(StringId::ProfileKindManual));
        }
        return {};
    }
    return {};
}

std::string FieldCatalogue::airConsumptionText(float litresPerMinute) const
{
    if (!(litresPerMinute > 0))
        return {};
    if (unitSystem() == UnitSystem::Metric)
        return cformat("%.1f", static_cast<double>(litresPerMinute));
    return cformat("%.2f", litresPerMinuteToCubicFeet(litresPerMinute));
}

std::string FieldCatalogue::meanAirConsumptionText() const
{
    return m_logbook ? airConsumptionText(m_logbook->meanAirConsumption()) : std::string();
}

std::string FieldCatalogue::diveTypeText(const DiveRecord &record) const
{
    std::string text;
    for (int bit = 0; bit < names::kDiveTypeCount; ++bit)
        if (record.diveType & (1u << bit))
            appendJoined(text, names::diveType(bit));
    if (!(record.diveType & (dive_type::kFreshWater | dive_type::kSeaWater)))
        appendJoined(text, names::chamberRun());
    return text;
}

std::string FieldCatalogue::activitiesText(const DiveRecord &record) const
{
    std::string text;
    for (int bit = 0; bit <= 14; ++bit)
        if (record.activities & (1u << bit))
            appendJoined(text, names::activity(bit));
    for (int bit = 0; bit <= 14; ++bit)
        if (record.extra.extraFlags & (1u << bit))
            appendJoined(text, names::extraFlag(bit));
    appendJoined(text, displayText(record.otherActivities));
    return text;
}

double FieldCatalogue::plotMaxDepth(const DiveRecord &record) const
{
    const double depth = record.profileMaxDepth;
    return unitSystem() == UnitSystem::Metric ? depth : metresToFeet(depth);
}

double FieldCatalogue::averageDepthValue(const DiveRecord &record) const
{
    const float average = record.avgDepth > 0 ? record.avgDepth : record.profileAvgDepth;
    if (!(average > 0))
        return 0;
    return unitSystem() == UnitSystem::Metric ? average : metresToFeet(average);
}

double FieldCatalogue::airConsumptionValue(const DiveRecord &record) const
{
    if (!(record.airConsumption > 0))
        return 0;
    const double value = record.airConsumption;
    return unitSystem() == UnitSystem::Metric ? value : litresPerMinuteToCubicFeet(value);
}

} // namespace zorv::logbook
