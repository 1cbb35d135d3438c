// What a command of zorv-cli works in: the settings, the computer catalogue and one logbook.
#pragma once

#include "logbook/logbook.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "transfer/computercatalogue.h"

#include <filesystem>
#include <optional>

namespace zorv::cli {

struct EnvironmentOptions {
    std::optional<std::filesystem::path> settingsDir; // --settings; else the program's own rule
    std::filesystem::path programDir;
    bool imperial = false; // --imperial
    bool standard = false; // --standard
};

// The settings are read, never written: the command-line tool leaves the
// desktop program's preferences alone.
class Environment {
public:
    explicit Environment(const EnvironmentOptions &options);
    Environment(const Environment &) = delete;
    Environment &operator=(const Environment &) = delete;

    settings::IniFile mainIni;
    settings::IniFile catalogueIni;
    settings::Settings settings;
    transfer::ComputerCatalogue catalogue;
    logbook::Logbook logbook;
};

} // namespace zorv::cli
