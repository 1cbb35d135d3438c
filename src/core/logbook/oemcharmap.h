// Texts are stored in the DOS OEM set; the user sees them in Windows-1252, and Qt gets UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zorv::logbook {

// Stored (OEM) bytes -> Windows-1252 bytes and back, through the 32 pairs of the
// logbook format. Bytes outside the table pass unchanged.
std::string oemToAnsi(std::string_view stored);
std::string ansiToOem(std::string_view ansi);

// The edges: stored form <-> UTF-8 display form.
std::string storedToDisplay(std::string_view stored);
std::string displayToStored(std::string_view utf8);

} // namespace zorv::logbook
