// What a command of zorv-cli works in: the settings, the computer catalogue and one logbook.
#pragma once

#include "arguments.h"
#include "computers/computercatalogue.h"
#include "logbook/logbook.h"
#include "settings/inifile.h"
#include "settings/settings.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace zorv::cli {

// The exit status of every command: 1 a file could not be read or written, 2 a bad argument or a
// refusal (nothing was changed), 3 some dives did not fit into the logbook.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotAllAdded = 3;

// Writes "zorv-cli: message" to the error stream and gives back `code` for the command to return.
int fail(const std::string &message, int code = kExitFailure);

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
    computers::ComputerCatalogue catalogue;
    logbook::Logbook logbook;
};

} // namespace zorv::cli
