// What the register files share: fixed text fields, reading that refuses damaged files, and the atomic save.
#pragma once

#include "common/bytes.h"
#include "common/result.h"
#include "common/stringid.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::registers {

// A zero-terminated text in a fixed buffer of `size` bytes (terminator included):
// the bytes up to the first zero, at most size - 1 of them.
std::string readText(common::ByteReader &in, std::size_t size);
// Writes at most size - 1 bytes of the text and pads the buffer with zeros.
void writeText(common::ByteWriter &out, std::string_view text, std::size_t size);
float readFloat(common::ByteReader &in);
void writeFloat(common::ByteWriter &out, float value);

// The bytes of a register file. A file that does not exist (or an empty path) is
// an empty register and reads as no bytes with exists == false.
struct RegisterBytes {
    bool exists = false;
    std::vector<std::uint8_t> data;
};
common::ResultOr<RegisterBytes> readRegisterFile(const std::filesystem::path &path);

// The refusals, each naming the file, in the words the user reads. A refused file
// is never written over: the caller forgets its path.
common::Result damagedFile(const std::filesystem::path &path);
common::Result unknownVersion(const std::filesystem::path &path, int version);

// Every register is written through the atomic save.
common::Result saveRegisterFile(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes);

// The file a register dialog works on and whether it has unsaved changes.
struct RegisterState {
    std::string path; // empty: the next save asks for a name
    bool modified = false;

    // The text beside "Fichier": the path, with " *" while there are changes.
    std::string fileLabel() const { return modified ? path + " *" : path; }
};

// Amounts as the dialogs show them, "%.2f", and as the user types them: a decimal
// comma counts as a point, and text that is not a number is 0.
std::string moneyText(float value);
float parseMoney(std::string_view text);
// A whole number typed in a field; 0 when the text is not one, clamped to the field's range.
long long parseWhole(std::string_view text, long long low, long long high);

// A list column: its title in the string table and its built-in width in dialog pixels.
struct ColumnSpec {
    common::StringId titleId;
    int width;
};

// Stored texts: addresses, certificates and the forecast journal keep the DOS
// set of the logbook, the other registers the Windows set they were typed in.
enum class Charset {
    Oem,
    Windows,
};
std::string toDisplay(std::string_view stored, Charset charset);
std::string toStored(std::string_view utf8, Charset charset);

} // namespace zorv::registers
