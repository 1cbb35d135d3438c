// Fuzzes the reader of the Guardian text export: any bytes are refused with a message or give a dive whose
// profile stays inside the record, and the same whether the bytes come whole or in pieces.
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
    // Fed in pieces of 7 bytes, lines and UTF-8 sequences are split between pieces.
    const auto reader = importer(Format::Guardian).reader(settings);
    for (std::size_t at = 0; at < size; at += 7)
        reader->feed({ data + at, size - at < 7 ? size - at : 7 });
    const auto pieces = reader->finish();
    if (pieces.ok() != result.ok() || pieces.message() != result.message())
        std::abort();
    if (!result.ok()) {
        if (result.message().empty())
            std::abort();
        return 0;
    }
    if (pieces->record.date != result->record.date || pieces->record.partners != result->record.partners
        || pieces->record.sampleCount != result->record.sampleCount)
        std::abort();
    checkProfile(*result);
    if (result->record.altitudeClass < 1 || result->record.altitudeClass > 4)
        std::abort();
    return 0;
}
