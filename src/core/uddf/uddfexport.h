// Writing a logbook, its trips and certificates and the registers the user names as one UDDF 3.2 file.
#pragma once

#include "common/result.h"
#include "logbook/logbook.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::uddf {

// Our own elements inside a dive's <applicationdata><zorv>: the stored bytes that give
// back the logbook and its registers exactly.
inline constexpr const char *kZorvNamespace = "urn:x-zorv:logbook:1";
inline constexpr const char *kUddfNamespace = "http://www.streit.cc/uddf/3.2/";

enum class RegisterKind {
    Certificates, // the logbook's .inf
    Trips, // the logbook's .trp
    Equipment,
    Addresses,
    Teaching,
};

// A register as its file holds it: the bytes travel unchanged, the UDDF elements are read from them.
struct RegisterSource {
    RegisterKind kind = RegisterKind::Certificates;
    std::string fileName; // the name alone, where an import puts it back
    std::vector<std::uint8_t> bytes;
};

// The register at `path`; nothing when there is no such file, a refusal naming it when it is damaged.
common::ResultOr<std::optional<RegisterSource>> readRegisterSource(
    RegisterKind kind, const std::filesystem::path &path);

enum class Content {
    Full, // with our own data, for the way back
    Portable, // only what UDDF has elements for
};

struct ExportOptions {
    // The dives numbered first..last; every dive by default.
    int firstNumber = -32768;
    int lastNumber = 32767;
    Content content = Content::Full;
    // Told after each dive written; returning false cancels the export.
    std::function<bool(int done, int total)> progress;
};

struct ExportSummary {
    int dives = 0;
};

// Writes the UDDF document to `sink` piece by piece; a sink returning false stops it.
common::ResultOr<ExportSummary> writeUddf(const logbook::Logbook &logbook, std::span<const RegisterSource> registers,
    const ExportOptions &options, const std::function<bool(std::string_view)> &sink);

// Writes it to `target` as a stream, replacing the file only once it is whole.
common::ResultOr<ExportSummary> exportUddf(const logbook::Logbook &logbook, std::span<const RegisterSource> registers,
    const ExportOptions &options, const std::filesystem::path &target);

} // namespace zorv::uddf
