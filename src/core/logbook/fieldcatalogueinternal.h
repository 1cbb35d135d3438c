// What the field catalogue's formatting and parsing units share.
#pragma once

#include <cstdint>

namespace zorv::logbook::fieldcatalogueinternal {

// Values beyond the 16-bit field are cut, never wrapped, and never to 32767.
std::int16_t toStored(long long value);

} // namespace zorv::logbook::fieldcatalogueinternal
