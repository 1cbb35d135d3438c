// Fuzzes the reader of the Guardian text export: any bytes give a dive whose profile stays inside the record.
#include "imports/importer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkProfile(const zorv::imports::ImportedDive &dive)
{
    const auto &r = dive.record;
    if (r.sampleCount > zorv::logbook::kMaxSamples || r.profileExtra != 0)
        std::abort();
    if (r.profileLength < 17 || r.profileLength - 17 > zorv::logbook::kProfileBytesCapacity)
        std::abort();
}

} // namespace

// Input: the file's bytes. The first byte, when there is one, also picks the settings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv::imports;
    ImportSettings settings;
    settings.defaults.apply = size > 0 && (data[0] & 1);
    settings.defaults.altitudeClass = 3;
    const auto result = importer(Format::Guardian).read({ data, size }, settings);
    if (!result.ok())
        std::abort(); // every text is a dive, however empty
    checkProfile(*result);
    if (result->record.altitudeClass < 1 || result->record.altitudeClass > 4)
        std::abort();
    return 0;
}
