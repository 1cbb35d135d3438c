// Reading one dive out of a file another program wrote: the interface every import format implements.
#pragma once

#include "common/result.h"
#include "logbook/diverecord.h"
#include "logbook/newdivedefaults.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace zorv::imports {

// Whether the numbers of a file without a unit mark are metric or imperial.
enum class SourceUnits {
    Metric,
    Imperial,
};

struct ImportSettings {
    logbook::NewDiveDefaults defaults; // applied to the blank record first
    SourceUnits units = SourceUnits::Metric; // "Import"/"System"
    std::uint8_t computerType = 177; // "Import"/"Typ", for formats that do not name their computer
};

struct ImportedDive {
    logbook::DiveRecord record;
    // The file's profile ran past what a record holds; the record keeps its beginning.
    bool profileCut = false;
};

// Takes one file's bytes piece by piece, so that a file of any size is read in
// bounded memory: what a dive cannot hold is not kept.
class ImportReader {
public:
    virtual ~ImportReader() = default;
    virtual void feed(std::span<const std::uint8_t> bytes) = 0;
    // One dive from all the bytes fed, or the reason there is none.
    virtual common::ResultOr<ImportedDive> finish() = 0;
};

class Importer {
public:
    virtual ~Importer() = default;

    virtual std::unique_ptr<ImportReader> reader(const ImportSettings &settings) const = 0;
    // One dive from the bytes of a whole file, or the reason there is none.
    common::ResultOr<ImportedDive> read(std::span<const std::uint8_t> bytes, const ImportSettings &settings) const;

    // The open dialog's filter, in the "Text (*.ext)|*.ext|" form, and the extension it adds.
    virtual std::string_view fileFilter() const = 0;
    virtual std::string_view defaultExtension() const = 0;
};

enum class Format {
    Guardian,
    Citizen,
};

const Importer &importer(Format format);

// Reads the file at `path` in pieces and hands them to the importer. A file that does
// not exist or cannot be read is refused with the message the user is shown.
common::ResultOr<ImportedDive> importFile(
    const Importer &importer, const std::string &path, const ImportSettings &settings);

// What to tell the user about a cut profile; empty when nothing was cut.
std::string_view cutMessage(const ImportedDive &dive);

} // namespace zorv::imports
