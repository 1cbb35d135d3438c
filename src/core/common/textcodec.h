// Windows-1252 <-> UTF-8, used where texts leave or enter the core.
#pragma once

#include <string>
#include <string_view>

namespace zorv::common {

// Every byte has a code point: the five bytes Windows-1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) map to the C1 controls of the same value, so the
// round trip bytes -> UTF-8 -> bytes is exact and byte-for-byte comparisons
// keep their meaning in either form.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters with no Windows-1252 byte become '?'. Malformed UTF-8 sequences
// are taken byte by byte as Latin-1, so nothing a user typed is silently lost.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace zorv::common
