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

// The list file most registers share: u16 version, u16 count, then `count` records of
// `recordSize` bytes each. An empty file is an empty list.
template <class T, class ReadRecord>
common::ResultOr<std::vector<T>> parseRecordList(std::span<const std::uint8_t> bytes, const std::filesystem::path &name,
    std::uint16_t version, std::size_t recordSize, ReadRecord readRecord)
{
    std::vector<T> records;
    if (bytes.empty())
        return records; // an empty file holds nothing a save could lose
    common::ByteReader in(bytes);
    const std::uint16_t storedVersion = in.u16();
    const std::uint16_t count = in.u16();
    if (in.failed())
        return damagedFile(name);
    if (storedVersion != version)
        return unknownVersion(name, storedVersion);
    if (in.remaining() < std::size_t { count } * recordSize)
        return damagedFile(name);
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.push_back(readRecord(in));
    return records;
}

template <class T, class WriteRecord>
std::vector<std::uint8_t> recordListBytes(
    const std::vector<T> &records, std::uint16_t version, std::size_t recordSize, WriteRecord writeRecord)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + records.size() * recordSize);
    common::ByteWriter out(bytes);
    out.u16(version);
    out.u16(static_cast<std::uint16_t>(records.size()));
    for (const T &record : records)
        writeRecord(out, record);
    return bytes;
}

// Reads a register file and hands its bytes to `parse(bytes, path)`.
template <class Parse>
auto loadRegister(const std::filesystem::path &path, Parse parse)
    -> decltype(parse(std::span<const std::uint8_t> {}, path))
{
    auto bytes = readRegisterFile(path);
    if (!bytes)
        return bytes.result();
    return parse(bytes->data, path);
}

// Saves `toBytes(records)`, refusing with `tooMany` a list its 16-bit count cannot hold.
template <class T, class ToBytes>
common::Result saveRecordList(
    const std::filesystem::path &path, const std::vector<T> &records, std::string tooMany, ToBytes toBytes)
{
    if (records.size() > 0xFFFF)
        return common::Result::failure(common::Status::Refused, std::move(tooMany));
    return saveRegisterFile(path, toBytes(records));
}

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
// A whole number the user typed in the field `label`: "2", "2,0" and "2.0" alike, a blank field is 0.
// A fraction ("2,5"), a text that is no number or a number outside [low, high] is refused with a
// message naming the field, rather than cut to what fits.
common::ResultOr<long long> readWhole(std::string_view text, std::string_view label, long long low, long long high);

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
