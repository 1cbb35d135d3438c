// The rules behind the options dialog, the data-field selection and the defaults for new dives.
#pragma once

#include "common/result.h"
#include "common/translation.h"
#include "logbook/newdivedefaults.h"
#include "logbook/unitsystem.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::settings {

// The transfer code only knows how to reach these port numbers.
inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 8;

// The typed port when it is one we can use, otherwise the port we had.
int acceptComPort(int typed, int previous);

// What the options dialog edits, as the dialog shows it (UTF-8 texts).
struct OptionsForm {
    logbook::UnitSystem units = logbook::UnitSystem::Metric;
    std::string currency;
    bool advancedMode = true;
    bool rememberWindows = true;
    std::string browserFile;
    std::string externalAppFile;
    std::string externalAppMenuText;
    int comPort = 1;
    bool dumpMemory = false;
};

OptionsForm optionsForm(const Settings &settings);
// Writes the form back; a port outside 1..8 leaves the stored port alone.
void applyOptionsForm(const OptionsForm &form, Settings &settings);

// One entry of a file dialog's type list.
struct FileFilter {
    std::string label; // "Internet Browser (*.exe)"
    std::string pattern; // "*.exe"
};

// The two "Rechercher" buttons' type lists, in the "label|pattern|...||" form
// the settings have always used for them; translated where the dialog shows them.
inline constexpr const char *kBrowserFileFilter = N_("Navigateur web (*.exe)|*.exe|Tous les fichiers (*.*)|*.*||");
inline constexpr const char *kExternalAppFileFilter = N_("Programmes (*.exe)|*.exe|Tous les fichiers (*.*)|*.*||");

// Splits "label|pattern|label|pattern||"; an odd trailing label is dropped.
std::vector<FileFilter> parseFileFilter(std::string_view filter);
// The same list as a file dialog here takes it, "label (pattern)" each. "*.*"
// meant every file where the list comes from; here it would hide the files
// without a dot, which is most programs, so it becomes "*".
std::vector<std::string> fileDialogNameFilters(std::string_view filter);

// The fields of the main window's data-field selection, in the order of its
// check boxes and of Settings::dataFields.
enum class DataField {
    EntryTime,
    Place,
    Site,
    AltitudeClass,
    SurfaceInterval,
    Weather,
    AirTemperature,
    Suit,
    Model,
    TankVolume,
    TankPressure,
    TankMaterial,
    Visibility,
    Weights,
    MaxDepth,
    AverageDepth,
    Duration,
    MinWaterTemperature,
    AirUsed,
    AirConsumption,
    DiveType,
    Activities,
    Warnings,
    Partners,
    Comment,
};
inline constexpr int kDataFieldCount = 25;
static_assert(kDataFieldCount == static_cast<int>(std::tuple_size_v<decltype(Settings::dataFields)>));

// The check box text of a field ("&Plombs" for the weights); empty outside the list.
std::string_view dataFieldLabel(int index);

// A radio group of the dive type: its first bit, its second bit, or neither.
enum class TypeChoice {
    First,
    Second,
    Neither,
};

struct DiveTypeChoices {
    TypeChoice decompression = TypeChoice::Neither; // bits 2 and 3
    TypeChoice ascent = TypeChoice::Neither; // bits 4 and 5
    TypeChoice water = TypeChoice::Neither; // bits 6 and 7; neither is a chamber run

    bool operator==(const DiveTypeChoices &) const = default;
};

// A mask with both bits of a group set (hand-edited settings) reads as the first.
DiveTypeChoices diveTypeChoices(std::uint16_t mask);
std::uint16_t diveTypeMask(const DiveTypeChoices &choices);

// The defaults dialog's fields: list indexes, and texts as typed in the current units.
struct NewDiveDefaultsForm {
    bool use = false;
    int altitudeClass = 0;
    int suit = 0;
    std::string model; // UTF-8
    std::string tankVolume;
    int tankMaterial = 0;
    std::string weights;
    DiveTypeChoices diveTypes;

    bool operator==(const NewDiveDefaultsForm &) const = default;
};

// A value of 0 means "no default" and shows as an empty field.
NewDiveDefaultsForm newDiveDefaultsForm(const logbook::NewDiveDefaults &defaults, logbook::UnitSystem units);
// Parses the typed values as the dive fields would; what is empty, not a
// number, not above 0 or out of a list becomes "no default". A text left as
// the form showed it keeps the previous value: imperial units would otherwise
// lose a hundredth on every OK (12 l shows as 84 cft, which reads back 11.99 l).
logbook::NewDiveDefaults newDiveDefaults(
    const NewDiveDefaultsForm &form, logbook::UnitSystem units, const logbook::NewDiveDefaults &previous);
// Why the dialog cannot take the typed tank volume or weights ("18,5" and "18.5" read alike), naming
// the field; success when each is empty or reads as the dive field would.
common::Result checkNewDiveDefaultsForm(const NewDiveDefaultsForm &form, logbook::UnitSystem units);

// The altitude list of the defaults dialog: an empty entry, then the four ranges.
std::vector<std::string> altitudeClassEntries(logbook::UnitSystem units);

} // namespace zorv::settings
