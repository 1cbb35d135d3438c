#include "imports/importer.h"

#include "common/atomicfile.h"
#include "common/strings.h"
#include "imports/citizenimport.h"
#include "imports/guardianimport.h"

#include <filesystem>
#include <new>
#include <system_error>

namespace zorv::imports {

using common::StringId;

const Importer &importer(Format format)
{
    static const GuardianImporter guardian;
    static const CitizenImporter citizen;
    switch (format) {
    case Format::Citizen:
        return citizen;
    case Format::Guardian:
        break;
    }
    return guardian;
}

common::ResultOr<ImportedDive> Importer::read(std::span<const std::uint8_t> bytes, const ImportSettings &settings) const
{
    const std::unique_ptr<ImportReader> r = reader(settings);
    r->feed(bytes);
    return r->finish();
}

common::ResultOr<ImportedDive> importFile(
    const Importer &importer, const std::string &path, const ImportSettings &settings)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return common::Result::failure(common::Status::NotFound, std::string(common::str(StringId::FileNotFound)));
    // A file that is there but cannot be read is refused rather than imported as an
    // empty dive; a pipe or a device is no export file, and reading one could wait forever.
    const auto refusal
        = common::Result::failure(common::Status::IoError, std::string(common::str(StringId::OpenError)));
    if (!std::filesystem::is_regular_file(path, error))
        return refusal;
    try {
        const std::unique_ptr<ImportReader> reader = importer.reader(settings);
        if (!common::readFileInPieces(path, [&](std::span<const std::uint8_t> piece) { reader->feed(piece); }))
            return refusal;
        return reader->finish();
    } catch (const std::bad_alloc &) {
        // The readers keep only what a dive holds; should memory still run out, the file is refused.
        return refusal;
    }
}

std::string_view cutMessage(const ImportedDive &dive)
{
    return dive.profileCut ? common::str(StringId::ProfileCutShort) : std::string_view {};
}

} // namespace zorv::imports
