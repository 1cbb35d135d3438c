// The settings both programs read at start: Zorv.ini, Ctyp.ini, the settings record and the computer catalogue.
#pragma once

#include "computers/computercatalogue.h"
#include "logbook/logbook.h"
#include "settings/inifile.h"
#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zorv::app {

// What a start-up load found, for the caller to show in its own way.
struct SettingsLoadReport {
    std::filesystem::path dir;
    bool settingsFileRead = false; // Zorv.ini was there and read
    bool catalogueFileRead = false; // Ctyp.ini was there and read
    // A settings file that was not read (no regular file, far too large): the defaults hold.
    std::vector<std::string> warnings;
};

// The catalogue reads its name overrides from `mainIni` and the logbook reads the catalogue:
// neither may move, so the object is made once and filled in place.
struct StartSettings {
    StartSettings() = default;
    StartSettings(const StartSettings &) = delete;
    StartSettings &operator=(const StartSettings &) = delete;

    settings::IniFile mainIni; // Zorv.ini
    settings::IniFile catalogueIni; // Ctyp.ini
    settings::Settings settings;
    computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();

    // Removes stray temporaries of a crashed save in `dir`, reads both files (missing ones are
    // the normal first run) and completes the catalogue with its name overrides.
    SettingsLoadReport load(const std::filesystem::path &dir, settings::ScreenSize screen);
    // Pushes what the logbook depends on: the catalogue, units, mode and new-dive defaults.
    void applyTo(logbook::Logbook &book) const;
};

} // namespace zorv::app
