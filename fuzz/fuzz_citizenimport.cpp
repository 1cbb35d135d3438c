// Fuzzes the reader of the Citizen .wgm files: refused with a message, or a dive whose profile stays inside the record.
#include "imports/importer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Input: the file's bytes; bit 1 of the second byte (inside a skipped field) reads the numbers as imperial.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv::imports;
    ImportSettings settings;
    settings.units = size > 1 && (data[1] & 2) ? SourceUnits::Imperial : SourceUnits::Metric;
    const auto result = importer(Format::Citizen).read({ data, size }, settings);
    const bool marked = size > 0 && (data[0] == 'M' || data[0] == 'F');
    // Unmarked files are always refused; marked ones may still hold impossible values.
    if ((result.ok() && !marked) || (!result.ok() && result.message().empty()))
        std::abort();
    if (!result.ok())
        return 0;
    const auto &r = result->record;
    if (r.sampleCount > zorv::logbook::kMaxSamples || r.profileExtra != 0 || r.profileLength < 17
        || r.profileLength - 17 > zorv::logbook::kProfileBytesCapacity)
        std::abort();
    return 0;
}
