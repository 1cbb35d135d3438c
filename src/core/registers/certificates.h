// The certificates register: the diver's certificates, courses and seminars with dates and costs, in the logbook's .inf
// file.
#pragma once

#include "registers/registerfile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zorv::registers {

// Texts are stored in the DOS set of the logbook.
struct Certificate {
    std::string category; // 16
    std::string description; // 61
    std::uint32_t date = 0; // DayNumber
    std::string instructor; // 31
    float cost = 0.0f;
    std::string remarks; // 61

    bool operator==(const Certificate &) const = default;
};

struct CertificateRegister {
    std::string diverName; // 61
    std::string club; // 61
    std::vector<Certificate> certificates;
    // Read from the old fixed layout: the next save keeps that file as "<name>.inf.bak" first.
    bool fromLegacyLayout = false;

    bool operator==(const CertificateRegister &) const = default;
};

namespace certificates {
    inline constexpr std::size_t kName = 61;
    inline constexpr std::size_t kCategory = 16;
    inline constexpr std::size_t kDescription = 61;
    inline constexpr std::size_t kInstructor = 31;
    inline constexpr std::size_t kRemarks = 61;
    inline constexpr std::size_t kRecordSize = 177;
    inline constexpr std::uint16_t kVersion = 100;
    // The old layout: the version word, then a fixed block of 1396 bytes.
    inline constexpr std::size_t kLegacyBlock = 1396;
    inline constexpr int kLegacyEntries = 34;
    inline constexpr std::size_t kLegacyEntrySize = 28;
    inline constexpr std::size_t kLegacyDescription = 20;
} // namespace certificates

/* Register file (.inf), little-endian, each field on its own:
     0  u16  version 100
     2  u16  number of records N
     4  diver name 61, club 61
   126  N records of 177 bytes: category 16, description 61, date u32,
        instructor 31, cost f32, remarks 61.
   The old fixed layout is any other version followed by exactly 1396 bytes:
   34 entries of 28 bytes (description 20, date u32, cost f32; an entry with
   neither description nor date is unused), diver name 61, club 61, and 322
   reserved bytes. It is converted in memory; only a save writes the new form.
   A file of another version and size is refused. */
common::ResultOr<CertificateRegister> parseCertificates(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> certificateBytes(const CertificateRegister &reg);
common::ResultOr<CertificateRegister> loadCertificates(const std::filesystem::path &path);
// Writes the register; when it came from the old layout, the old file is first
// kept beside it as "<name>.inf.bak", and the flag is cleared once saved.
common::Result saveCertificates(const std::filesystem::path &path, CertificateRegister &reg);
std::filesystem::path legacyBackupPath(const std::filesystem::path &path);

// The diver's name and club as printed pages show them under their title, in UTF-8. A register
// that is missing, or cannot be read, gives empty lines: a print is no place to report it.
struct DiverLines {
    std::string name;
    std::string club;
};
DiverLines diverLines(const std::filesystem::path &infPath);

inline constexpr int kCertificateColumnCount = 3;
extern const std::array<ColumnSpec, kCertificateColumnCount> kCertificateColumns;
std::string certificateCell(const Certificate &certificate, int column);

// "200.50 DM": the sum of all costs in single precision, with the currency text.
float certificateCostTotal(const std::vector<Certificate> &certificates);
std::string certificateCostText(const std::vector<Certificate> &certificates, const std::string &currency);

// By date, undated last, then by category and description.
void sortCertificates(std::vector<Certificate> &certificates);

} // namespace zorv::registers
