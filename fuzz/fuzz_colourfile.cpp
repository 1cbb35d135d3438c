// Fuzzes the ".cst" colour file reader: any bytes lay over the colours without
// reading past them, and the colours it gives encode and decode to themselves.
#include "settings/colourfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv::settings;
    ProfileColours colours;
    decodeColourFile(std::span<const std::uint8_t>(data, size), colours);
    const auto encoded = encodeColourFile(colours);
    ProfileColours back;
    decodeColourFile(encoded, back);
    if (encodeColourFile(back) != encoded)
        std::abort();
    return 0;
}
