// What a command of zorv-cli works in: the settings, the computer catalogue and one logbook.
#pragma once

#include "app/startsettings.h"
#include "arguments.h"
#include "common/editlock.h"
#include "common/fileset.h"
#include "logbook/logbook.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace zorv::cli {

// The exit status of every command: 1 a file could not be read or written, 2 a bad argument or a
// refusal (nothing was changed), 3 some dives did not fit into the logbook, 4 the logbook is open
// for editing in a running program (nothing was changed; --force writes anyway).
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotAllAdded = 3;
inline constexpr int kExitLocked = 4;

// Writes "zorv-cli: message" to the error stream and gives back `code` for the command to return.
int fail(const std::string &message, int code = kExitFailure);

struct EnvironmentOptions {
    std::optional<std::filesystem::path> settingsDir; // --settings; else the program's own rule
    std::filesystem::path programDir;
    bool imperial = false; // --imperial
    bool standard = false; // --standard
    bool force = false; // --force: write a logbook even while a running program edits it
};

// A logbook a command writes, held from its read to its commit: its files named once,
// the writer lock that makes a second writer wait, and the stamp the commit compares.
class HeldLogbook {
public:
    // Waits for the writer lock and refuses a logbook that a live program edits unless
    // `force`; nothing (after the message, with the exit status in `code`) when it cannot.
    static std::optional<HeldLogbook> hold(const std::string &path, bool force, int &code);

    const common::LogbookPaths &files() const { return m_files; }
    bool exists() const;
    // Loads the logbook when it exists; NotFound when it does not. The stamp the commit
    // compares is taken after the read, which may have finished an interrupted save.
    common::Result load(logbook::Logbook &book);
    // Saves, unless the file changed on disk since it was held: then nothing is written.
    common::Result save(logbook::Logbook &book) const;

private:
    common::LogbookPaths m_files;
    common::WriterLock m_lock;
    common::FileStamp m_stamp;
};

// An output path that names the input logbook or one of its companions is refused
// before anything is written: 0 when `out` is free, else the exit status after the message.
int refuseOwnFile(const common::LogbookPaths &input, const std::string &out, const std::string &shown);

// The settings are read through the desktop program's loader, never written: the
// command-line tool leaves the desktop program's preferences alone.
class Environment : public app::StartSettings {
public:
    // The loader's warnings go to the error stream.
    explicit Environment(const EnvironmentOptions &options);

    logbook::Logbook logbook;
    bool force = false;
    // The files of the logbook the command was given, once loaded.
    common::LogbookPaths files;
    // The logbook, held for a command that changes it in place.
    std::optional<HeldLogbook> held;
};

} // namespace zorv::cli
