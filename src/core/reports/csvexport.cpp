#include "reports/csvexport.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/units.h"

#include <array>

namespace zorv::reports {

using common::StringId;
using logbook::DiveRecord;
using logbook::Field;
using logbook::FieldCatalogue;

namespace {

    struct Column {
        CsvField bit;
        common::StringId titleId; // the column title
        Field field; // how the catalogue formats the value
        bool decimalComma;
    };

    // The file's column order, which is not the bit order.
    constexpr std::array kColumns = std::to_array<Column>({
        { CsvField::DiveNumber, common::StringId::ColumnNumber, Field::DiveNumber, false },
        { CsvField::Date, common::StringId::ColumnDate, Field::Date, false },
        { CsvField::EntryTime, common::StringId::ColumnTime, Field::EntryTime, false },
        { CsvField::Place, common::StringId::ColumnPlace, Field::Place, false },
        { CsvField::Site, common::StringId::ColumnSite, Field::Site, false },
        { CsvField::MaxDepth, common::StringId::ColumnMaxDepth, Field::MaxDepth, true },
        { CsvField::AverageDepth, common::StringId::ColumnMeanDepth, Field::AverageDepth, true },
        { CsvField::Duration, common::StringId::ColumnDuration, Field::Duration, false },
        { CsvField::AirConsumption, common::StringId::ColumnMeanConsumption, Field::AirConsumption, true },
        { CsvField::AltitudeClass, common::StringId::ColumnAltitudeClass, Field::AltitudeClass, false },
        { CsvField::Weather, common::StringId::ColumnWeather, Field::Weather, false },
        { CsvField::Visibility, common::StringId::ColumnVisibility, Field::Visibility, true },
        { CsvField::Suit, common::StringId::EquipmentSuit, Field::Suit, false },
        { CsvField::Model, common::StringId::ColumnSuitModel, Field::Model, false },
        { CsvField::Weights, common::StringId::ColumnWeights, Field::Weights, true },
        { CsvField::DiveType, common::StringId::ColumnDiveType, Field::DiveTypeText, false },
        { CsvField::Activities, common::StringId::ColumnActivity, Field::ActivitiesText, false },
        { CsvField::Partners, common::StringId::ColumnPartner, Field::Partners, false },
        { CsvField::TankVolume, common::StringId::EquipmentTank, Field::TankVolume, true },
        { CsvField::TankMaterial, common::StringId::ColumnTankMaterial, Field::TankMaterial, false },
        { CsvField::TankPressure, common::StringId::ColumnTankPressure, Field::TankPressure, false },
        { CsvField::AirUsed, common::StringId::ColumnAirConsumption, Field::AirUsed, false },
        { CsvField::WaterTemperature, common::StringId::ColumnWaterTemperature, Field::MinWaterTemperature, true },
        { CsvField::AirTemperature, common::StringId::ColumnAirTemperature, Field::AirTemperature, true },
        { CsvField::Comment, common::StringId::ColumnComment, Field::Comment, false },
    });

    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

    char separatorChar(const CsvChoices &choices)
    {
        return choices.separator == CsvSeparator::Tab ? '\t' : ';';
    }

    bool chosen(const CsvChoices &choices, CsvField field)
    {
        return (choices.fieldSet & csvBit(field)) != 0;
    }

    // A text holding the separator, a quote or a line break would shift every later column of its row;
    // spreadsheets read such a field when it is quoted, its quotes doubled. Other texts go out as they are.
    void appendField(std::string &out, std::string_view value, char separator)
    {
        if (value.find_first_of(std::string { separator, '"', '\n', '\r' }) == std::string_view::npos) {
            out += value;
        } else {
            out += '"';
            for (const char c : value) {
                if (c == '"')
                    out += '"';
                out += c;
            }
            out += '"';
        }
        out += separator;
    }

    std::string columnValue(const FieldCatalogue &catalogue, const Column &column, const DiveRecord &dive)
    {
        std::string value = catalogue.fromRecord(column.field, dive, logbook::DateForm::Short);
        if (column.bit == CsvField::Comment)
            return cleanComment(std::move(value));
        if (column.decimalComma)
            return decimalComma(std::move(value));
        return value;
    }

    std::string profileTime(int seconds, CsvTimeFormat format)
    {
        if (format == CsvTimeFormat::Seconds)
            return common::cformat("%d", seconds);
        return common::cformat("%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    }

} // namespace

const std::vector<CsvFieldInfo> &csvFields()
{
    static const std::vector<CsvFieldInfo> fields {
        { CsvField::DiveNumber, "Numéro de plongée", "diveNumber" },
        { CsvField::Date, "Date", "date" },
        { CsvField::EntryTime, "Heure", "entryTime" },
        { CsvField::Place, "Lieu", "place" },
        { CsvField::Site, "Site", "site" },
        { CsvField::MaxDepth, "Prof. maxi.", "maxDepth" },
        { CsvField::AverageDepth, "Profondeur moyenne", "avgDepth" },
        { CsvField::Duration, "D&urée", "duration" },
        { CsvField::AirConsumption, "Cons.Moy", "airConsumption" },
        { CsvField::AltitudeClass, "Niveau d'altitude", "altitudeClass" },
        { CsvField::Weather, "Temps", "weather" },
        { CsvField::Suit, "Combinaison", "suit" },
        { CsvField::DiveType, "Type de plongée", "diveType" },
        { CsvField::Activities, "Activités", "activities" },
        { CsvField::Partners, "Partenaire", "partners" },
        { CsvField::TankVolume, "Cont. bouteille", "tankVolume" },
        { CsvField::AirUsed, "Cons. air", "airUsed" },
        { CsvField::WaterTemperature, "Temp. eau", "minWaterTemperature" },
        { CsvField::AirTemperature, "Temp. air", "airTemperature" },
        { CsvField::Profile, "Profil", "profile" },
        { CsvField::Model, "Modèle", "model" },
        { CsvField::Visibility, "Visibilité", "visibility" },
        { CsvField::TankPressure, "Pression-bouteille", "tankPressure" },
        { CsvField::Weights, "Plombs", "weights" },
        { CsvField::TankMaterial, "Mat. bouteille", "tankMaterial" },
        { CsvField::Comment, "Commentaire", "comment" },
    };
    return fields;
}

int csvFieldByName(std::string_view name)
{
    for (const CsvFieldInfo &info : csvFields()) {
        if (info.scriptName == name)
            return static_cast<int>(info.field);
    }
    return -1;
}

CsvChoices CsvChoices::fromSettings(int fields, int separator, int sign, int timeFormat)
{
    CsvChoices choices;
    choices.fieldSet = static_cast<std::uint32_t>(fields) & ((1u << kCsvFieldCount) - 1);
    choices.separator = separator == 1 ? CsvSeparator::Tab : CsvSeparator::Semicolon;
    choices.sign = sign == 1 ? CsvDepthSign::Positive : CsvDepthSign::Negative;
    choices.timeFormat = timeFormat == 1 ? CsvTimeFormat::HoursMinutesSeconds : CsvTimeFormat::Seconds;
    return choices;
}

std::string decimalComma(std::string text)
{
    if (const auto dot = text.find('.'); dot != std::string::npos)
        text[dot] = ',';
    return text;
}

std::string cleanComment(std::string text)
{
    for (char &c : text) {
        if (c == ';')
            c = ',';
        else if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string csvDiveTable(const logbook::Logbook &logbook, int fromNumber, int toNumber, const CsvChoices &choices)
{
    const char separator = separatorChar(choices);
    const FieldCatalogue catalogue(logbook);
    std::string out;
    for (const Column &column : kColumns) {
        if (chosen(choices, column.bit)) {
            out += common::str(column.titleId);
            out += separator;
        }
    }
    out += '\n';
    for (int position = 1; position <= logbook.diveCount(); ++position) {
        const DiveRecord *dive = logbook.dive(position);
        if (dive->diveNumber < fromNumber || dive->diveNumber > toNumber)
            continue;
        for (const Column &column : kColumns) {
            if (chosen(choices, column.bit))
                appendField(out, columnValue(catalogue, column, *dive), separator);
        }
        out += '\n';
    }
    return out;
}

std::string csvDiveProfile(const logbook::Logbook &logbook, const DiveRecord &dive, const CsvChoices &choices)
{
    const char separator = separatorChar(choices);
    const FieldCatalogue catalogue(logbook);
    std::string out;
    for (const Column &column : kColumns) {
        if (!chosen(choices, column.bit))
            continue;
        appendField(out, common::str(column.titleId), separator);
        std::string value = columnValue(catalogue, column, dive);
        // The value ends the line, so only a separator inside it needs quoting.
        appendField(out, value, separator);
        out.pop_back();
        out += '\n';
    }
    // The time column says what its values are: seconds, or the time since the start as h:mm:ss.
    const char *timeTitle = choices.timeFormat == CsvTimeFormat::Seconds ? N_("Seconde") : N_("Temps écoulé");
    out += common::cformat(
        "%s%c%s%c%s\n", common::tr("Profil"), separator, common::tr(timeTitle), separator, common::tr("Profondeur"));
    const bool imperial = logbook.unitSystem() == logbook::UnitSystem::Imperial;
    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double depth = samples[i].depth;
        if (choices.sign == CsvDepthSign::Positive)
            depth *= -1.0;
        if (imperial)
            depth = logbook::metresToFeet(depth);
        out += separator;
        out += profileTime(i * logbook::kSampleSeconds, choices.timeFormat);
        out += separator;
        out += decimalComma(common::cformat("%.1f", depth));
        out += '\n';
    }
    return out;
}

common::ResultOr<std::string> exportCsv(
    const logbook::Logbook &logbook, int fromNumber, int toNumber, const CsvChoices &choices)
{
    using common::Result;
    using common::Status;
    const int count = logbook.diveCount();
    if (count == 0 || fromNumber < logbook.dive(1)->diveNumber || toNumber > logbook.dive(count)->diveNumber)
        return Result::failure(Status::Refused, std::string(common::str(StringId::DiveNumberOutOfRange)));
    if (choices.fieldSet == 0)
        return Result::failure(Status::Refused, std::string(common::str(StringId::CsvNoFields)));

    std::string out(kByteOrderMark);
    if (chosen(choices, CsvField::Profile)) {
        const DiveRecord *found = nullptr;
        for (int position = 1; position <= count && !found; ++position) {
            if (logbook.dive(position)->diveNumber == toNumber)
                found = logbook.dive(position);
        }
        if (!found)
            return Result::failure(Status::NotFound, std::string(common::str(StringId::DiveNotFound)));
        out += csvDiveProfile(logbook, *found, choices);
    } else {
        out += csvDiveTable(logbook, fromNumber, toNumber, choices);
    }
    return out;
}

} // namespace zorv::reports
