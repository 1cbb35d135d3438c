// Reading a UDDF 3.x file: our own exports back exactly, other programs' files leniently, and adding the dives.
#pragma once

#include "common/result.h"
#include "logbook/computerinfo.h"
#include "logbook/logbook.h"
#include "logbook/newdivedefaults.h"
#include "uddf/uddfexport.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorv::uddf {

struct ImportOptions {
    logbook::NewDiveDefaults defaults; // applied to every dive another program wrote
    std::uint8_t computerType = 177; // given to those dives: an import type, whose profile our decoder reads plainly
    const logbook::ComputerInfo *computers = nullptr; // decides how our own stored records read back
};

// The .log and .add images of a file we wrote whole: loading them gives back the logbook byte for byte.
struct ExactImages {
    std::vector<std::uint8_t> log;
    std::vector<std::uint8_t> add;
};

struct UddfContent {
    std::vector<logbook::DiveRecord> dives; // in file order
    std::optional<ExactImages> exact;
    std::vector<RegisterSource> registers; // from our wrapper
    std::vector<std::string> notes; // fields skipped, profiles capped, links unresolved (French)
};

// Reads a whole document. A file that is not UDDF, is no well-formed XML or breaks off is
// refused naming `name`; a field that does not parse is skipped with a note, never the dive.
common::ResultOr<UddfContent> readUddf(
    std::span<const std::uint8_t> bytes, const ImportOptions &options, const std::string &name);
// The same from a file, read as a stream.
common::ResultOr<UddfContent> readUddfFile(const std::filesystem::path &path, const ImportOptions &options);

struct ImportSummary {
    int added = 0;
    int duplicates = 0; // already in the logbook: same day, entry time within a minute, same depth
    int refused = 0; // past the logbook's limit
    std::vector<std::string> notes;
};

// Adds the dives in date order, numbered as every import numbers them. Into an empty
// logbook a file we wrote whole comes back exactly, header and all.
ImportSummary addToLogbook(logbook::Logbook &book, UddfContent content);

// Writes the registers our wrapper carried beside the logbook (the .inf and .trp as its
// companions, the others under their own names), but never over a file that exists.
void restoreRegisters(const UddfContent &content, const logbook::Logbook &book, std::vector<std::string> &notes);

// The summary as the user reads it, one line each (French).
std::vector<std::string> summaryLines(const ImportSummary &summary);

} // namespace zorv::uddf
