#include "imports/importer.h"

#include "common/atomicfile.h"
#include "common/strings.h"
#include "imports/citizenimport.h"
#include "imports/guardianimport.h"

#include <filesystem>
#include <system_error>

namespace zorv::imports {

using common::StringId;

namespace {

} // namespace

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

common::ResultOr<ImportedDive> importFile(
    const Importer &importer, const std::string &path, const ImportSettings &settings)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return common::Result::failure(common::Status::NotFound, std::string(common::str(StringId::FileNotFound)));
    // A file that is there but cannot be read is refused rather than imported as an empty dive.
    const common::ResultOr<std::string> bytes = common::readWholeFile(path);
    if (!bytes.ok())
        return common::Result::failure(common::Status::IoError, std::string(common::str(StringId::OpenError)));
    return importer.read(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(bytes->data()), bytes->size()), settings);
}

std::string_view cutMessage(const ImportedDive &dive)
{
    return dive.profileCut ? common::str(StringId::ProfileCutShort) : std::string_view {};
}

} // namespace zorv::imports
