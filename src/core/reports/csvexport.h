// Writing dives to a text file for a spreadsheet: a table of dives, or one dive with its depth profile.
#pragma once

#include "common/result.h"
#include "logbook/unitsystem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::logbook {
class Logbook;
struct DiveRecord;
} // namespace zorv::logbook

namespace zorv::reports {

// Bits of the field set, as the settings file keeps them ("Excel"/"Felder").
enum class CsvField : std::uint8_t {
    DiveNumber = 0,
    Date = 1,
    EntryTime = 2,
    Place = 3,
    Site = 4,
    MaxDepth = 5,
    AverageDepth = 6,
    Duration = 7,
    AirConsumption = 8,
    AltitudeClass = 9,
    Weather = 10,
    Suit = 11,
    DiveType = 12,
    Activities = 13,
    Partners = 14,
    TankVolume = 15,
    AirUsed = 16,
    WaterTemperature = 17,
    AirTemperature = 18,
    Profile = 19, // not a column: asks for the single-dive profile export
    Model = 20,
    Visibility = 21,
    TankPressure = 22,
    Weights = 23,
    TankMaterial = 24,
    Comment = 25,
};
inline constexpr int kCsvFieldCount = 26;

constexpr std::uint32_t csvBit(CsvField field)
{
    return 1u << static_cast<unsigned>(field);
}

// A field's check-box label in the export dialog, and the name scripts use for it.
struct CsvFieldInfo {
    CsvField field;
    std::string_view checkBox;
    std::string_view scriptName;
};
const std::vector<CsvFieldInfo> &csvFields(); // in bit order
// Bit for a script name such as "maxDepth"; -1 when there is none.
int csvFieldByName(std::string_view name);

enum class CsvSeparator {
    Semicolon = 0,
    Tab = 1,
};
enum class CsvDepthSign {
    Negative = 0, // as stored: below the surface negative
    Positive = 1,
};
enum class CsvTimeFormat {
    Seconds = 0,
    HoursMinutesSeconds = 1,
};

struct CsvChoices {
    std::uint32_t fieldSet = 0;
    CsvSeparator separator = CsvSeparator::Semicolon;
    CsvDepthSign sign = CsvDepthSign::Negative;
    CsvTimeFormat timeFormat = CsvTimeFormat::Seconds;

    // The settings file's integers; any separator but 1 is a semicolon.
    static CsvChoices fromSettings(int fields, int separator, int sign, int timeFormat);
};

// Replaces the first "." by ",".
std::string decimalComma(std::string text);
// Replaces every ";" by "," and every tab, line feed and carriage return by a blank.
std::string cleanComment(std::string text);

// The table of the dives numbered fromNumber..toNumber, in logbook order; the header line only
// when no dive lies in the range.
std::string csvDiveTable(const logbook::Logbook &logbook, int fromNumber, int toNumber, const CsvChoices &choices);
// The chosen fields of one dive, one per line, then its profile sample by sample.
std::string csvDiveProfile(const logbook::Logbook &logbook, const logbook::DiveRecord &dive, const CsvChoices &choices);

// The whole export as the dialog runs it: the range checked against the logbook's first and last
// dive numbers, an empty field set refused, then the table or, with the profile bit, the profile of
// the dive numbered toNumber. The text is UTF-8 with a byte-order mark, so that spreadsheet programs
// read the accents right; lines end in "\n".
common::ResultOr<std::string> exportCsv(
    const logbook::Logbook &logbook, int fromNumber, int toNumber, const CsvChoices &choices);

} // namespace zorv::reports
