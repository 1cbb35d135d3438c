// What the main window shows of the logbook: the dive list lines and the dive page, as texts.
#pragma once

#include "logbook/logbook.h"

#include <string>
#include <vector>

namespace zorv::logbook {

class FieldCatalogue;

// The page's controls, by name everywhere. The values are the ids the page's controls
// have always had, kept as they were.
enum class PageControl {
    None = 0,
    File = 1037,
    DiveCount = 1038,
    MeanAirConsumption = 1040,
    TotalTime = 1041,
    Date = 1042,
    EntryTime = 1043,
    Place = 1044,
    Site = 1045,
    ComputerName = 1046,
    AltitudeClass = 1047,
    SurfaceInterval = 1048,
    Weather = 1049,
    AirTemperature = 1050,
    Suit = 1051,
    TankVolume = 1052,
    MaxDepth = 1053,
    AverageDepth = 1054,
    Duration = 1055,
    MinWaterTemperature = 1056,
    AirUsed = 1057,
    AirConsumption = 1058,
    DiveType = 1059,
    Activities = 1060,
    Warnings = 1061,
    Partners = 1062,
    DiveNumber = 1063,
    Comment = 1064,
    ProfileKind = 1065,
    TankPressure = 1067,
    Visibility = 1068,
    Weights = 1069,
    TankMaterial = 1070,
    Model = 1071,
    // The unit labels beside the values.
    MeanAirConsumptionUnit = 1360,
    AirConsumptionUnit = 1361,
    AirTemperatureUnit = 1362,
    TankVolumeUnit = 1363,
    MaxDepthUnit = 1364,
    AverageDepthUnit = 1365,
    MinWaterTemperatureUnit = 1366,
    AirUsedUnit = 1367,
    WeightsUnit = 1368,
    VisibilityUnit = 1380,
    TankPressureUnit = 1385,
};

// One line of the page: the value control, its label (empty for the computer name
// and the profile kind), the value text, and the unit label beside it, if any.
struct DivePageRow {
    PageControl controlId = PageControl::None;
    std::string label;
    std::string value;
    PageControl unitControlId = PageControl::None; // None when the row has no unit label
    std::string unit;

    bool operator==(const DivePageRow &) const = default;
};

struct DivePageOptions {
    Mode mode = Mode::Standard;
    // The "&Plombs" entry of the main window's data-field selection.
    bool weightsSelected = false;
};

// The header rows (file, dive count, mean consumption, total time) and then the
// fields of the dive at `position`, in the order of the form. An invalid position
// shows the blank record. Weights appear only in advanced mode when selected.
std::vector<DivePageRow> divePage(
    const Logbook &logbook, const FieldCatalogue &catalogue, int position, const DivePageOptions &options);

// "<kind>\t<number>\t<short date>\t<place>, <site>" (UTF-8), the site part left
// out when the dive has none; the kind is " ", "P" or "H".
std::string diveListLine(const Logbook &logbook, int position);

} // namespace zorv::logbook
