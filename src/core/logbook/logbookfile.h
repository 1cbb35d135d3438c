// Reading and writing a logbook's file set: the .log file of dives and its .add companion.
#pragma once

#include "common/fileset.h"
#include "common/result.h"
#include "logbook/logbook.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zorv::logbook {

// The file set of a logbook. Loading replaces the whole logbook; a file that is
// refused leaves it empty and without a path, so that no later save can write
// the empty logbook over the user's file. Saving never destroys the files on
// disk: each is replaced atomically, and a failure leaves the old set in place.
class LogbookFile {
public:
    // Loads .log content and the .add content (empty when there is no .add file).
    // `path` is the .log file the bytes came from.
    static common::Result load(Logbook &logbook, std::span<const std::uint8_t> logBytes,
        std::span<const std::uint8_t> addBytes, const std::string &path);

    // Loads the .log file at `path` and its .add companion. A missing .log file
    // changes nothing and reports NotFound; one that cannot be read, IoError or AccessDenied.
    static common::Result loadFromPath(Logbook &logbook, const std::string &path);
    // The same for a path resolved once by the caller, who hands the same value to save().
    static common::Result load(Logbook &logbook, const common::LogbookPaths &set);

    // Resets the logbook and loads its own file again.
    static common::Result reload(Logbook &logbook);

    // Writes the file set under `path`; the .add file only in advanced mode, so a
    // standard-mode save leaves an existing one as it was. The first save over a
    // file that held more than its header counted keeps that file set as
    // "<name>.log.bak" and "<name>.add.bak" first.
    static common::Result save(Logbook &logbook, const std::string &path);
    static common::Result save(Logbook &logbook, const common::LogbookPaths &set);

    // What the user must be told about the file at `path` once it is loaded: that
    // it held more than its header counted and will be kept as a backup before the
    // first save, that an interrupted save was refused or could not be finished, that
    // its .add was found beside its link. Empty for a file that needs no word.
    static std::string loadNotice(const std::string &path);

    // Writes the dives whose position `selected` accepts as a new file set. The
    // logbook itself is not changed.
    static common::Result saveSelection(
        const Logbook &logbook, const std::string &path, const std::function<bool(int position)> &selected);

    // The bytes save() would write, for the command-line tool and tests.
    static std::vector<std::uint8_t> logBytes(const Logbook &logbook);
    static std::vector<std::uint8_t> addBytes(const Logbook &logbook);

private:
    // A load reads the .log and the .add a piece at a time into a ParsedLog, so a
    // large logbook never holds either file whole beside its dives, and the logbook
    // is only touched once both files have been read.
    struct ParsedLog;
    static void finishLoad(Logbook &logbook, ParsedLog &parsed, const std::string &path);
};

} // namespace zorv::logbook
