// What a command of zorv-cli works in: the settings, the computer catalogue and one logbook.
#pragma once

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

// Keeps the command line's own bytes for localPath(); called first thing in main().
void rememberRawArguments(int argc, char **argv);

// The file system's bytes for a path given on the command line. Qt decodes the
// arguments as UTF-8, which turns a name in another encoding ("caf\xe9.log") into
// U+FFFD, so a different file would be read and written: a path that came from the
// command line is taken byte for byte as it was typed.
std::string localPath(const QString &path);

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
