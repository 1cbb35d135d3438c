// A private-profile (ini) file: read, change in memory, save whole through the atomic writer.
#pragma once

#include "common/atomicfile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::settings {

// The file keeps the Windows private-profile rules the settings have always
// been written with: "[section]" lines, "key=value" lines, names matched
// without regard to case (Latin-1 letters included, so "SÜßWASSER" finds
// "Süßwasser"), the first of duplicate sections or keys wins, names and values
// are trimmed, an absent key yields the caller's default (an empty one too
// when read as a number), and comment lines and unknown keys are kept as they
// stand.
//
// Unlike the Windows calls, writes only change the copy in memory; save()
// puts the whole file on disk at once. The program saves at exit, which is
// when the settings were always written, and a crash before that loses the
// run's changes instead of leaving a half-written file.
//
// The API speaks UTF-8. On disk the file is Windows-1252, so that files from
// older installations read unchanged; a file that starts with a UTF-8 byte
// order mark is read as UTF-8, and a file that must hold a character
// Windows-1252 lacks (a path in Cyrillic, say) is saved as UTF-8 with the
// mark rather than losing that character to '?'.
class IniFile {
public:
    enum class Encoding {
        Windows1252,
        Utf8,
    };

    IniFile() = default;
    // Reads the file at once; a missing or unreadable file gives an empty
    // profile that save() creates.
    explicit IniFile(std::filesystem::path path);

    // Replaces the contents with the file's; empty contents and the reason when it could not be read.
    common::Result load(const std::filesystem::path &path);
    // Replaces the contents with these file bytes; any bytes are accepted.
    void parse(std::string_view bytes);
    // The bytes save() would write.
    std::string serialise() const;
    // Writes the file if anything changed since it was loaded or saved.
    common::Result save();

    const std::filesystem::path &path() const { return m_path; }
    void setPath(std::filesystem::path path) { m_path = std::move(path); }
    bool isModified() const { return m_modified; }
    Encoding encoding() const { return m_encoding; }

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;
    // The leading decimal number of the value (sign allowed, wrapping at 32
    // bits like the Windows call); the default when there is none.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Creates the section and key on first write, otherwise replaces the value
    // where it stands. Line breaks in a value become spaces: they would start
    // new keys in the file.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, int value);
    bool deleteKey(std::string_view section, std::string_view key);
    // Removes the section with its keys and comments.
    bool deleteSection(std::string_view section);
    void clear();

    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

private:
    enum class Kind {
        Other, // comment, blank line, or text that is neither section nor key
        Section,
        Key,
    };
    struct Line {
        Kind kind = Kind::Other;
        std::string text; // the line as written, without its line break
        std::string name; // trimmed section or key name
        std::string folded; // name in the form names are compared in
        std::string value; // trimmed value of a key
    };

    static Line parseLine(std::string text);
    std::size_t findSection(std::string_view folded) const;
    std::size_t sectionEnd(std::size_t sectionLine) const;
    std::size_t findKey(std::string_view section, std::string_view key) const;

    std::filesystem::path m_path;
    std::vector<Line> m_lines;
    std::string m_eol = "\n";
    Encoding m_encoding = Encoding::Windows1252;
    bool m_modified = false;
};

// Name comparison form: ASCII and the Windows-1252 letters with case folded to lower case.
std::string foldName(std::string_view utf8);

} // namespace zorv::settings
