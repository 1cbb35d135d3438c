// The tips of the day: reading tips.txt one tip at a time and remembering where the next one starts.
#pragma once

#include "settings/inifile.h"
#include "settings/settings.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zorv::app {

inline constexpr const char *kTipsFileName = "tips.txt";

// One tip per line. Lines that start with a blank, a tab or ';' and empty lines
// are not tips, which lets the file carry comments. After the last tip the
// reader starts again at the top.
class TipReader {
public:
    // `bytes` is the whole file (UTF-8; Windows-1252 is accepted from older
    // files) and `timeStamp` its modification time as text. A time stamp that
    // differs from the remembered one means a new file: the tips start again
    // from the first line and the new stamp is remembered.
    TipReader(std::string bytes, const std::string &timeStamp, settings::TipState &state);

    // The next tip (UTF-8), or nothing when the file holds no tip at all.
    std::optional<std::string> next();

    // Byte offset of the tip after the last one returned, kept as "FilePos".
    int position() const { return m_position; }

private:
    std::string m_bytes;
    int m_position = 0;
};

// What the tips dialog shows: the tip, or the message that replaces it.
struct TipOfTheDay {
    std::string text; // UTF-8
    bool found = false; // false: `text` is the message about the missing or empty file
};

// Reads the next tip from the file and advances "FilePos"/"TimeStamp" in `state`.
TipOfTheDay readTipOfTheDay(const std::filesystem::path &tipsFile, settings::TipState &state);

// The tips file to show: "tips.<language>.txt" when the program speaks a translated language and
// ships tips in it, else "tips.txt"; looked for beside the program, then in the installation's
// share/zorv. Beside the program when neither folder has one, so the dialog names that file.
std::filesystem::path tipsFileFor(const std::filesystem::path &programDir, const std::string &language);

// The file's modification time as the "TimeStamp" text; empty when the file is missing.
std::string fileTimeStamp(const std::filesystem::path &file);

} // namespace zorv::app
