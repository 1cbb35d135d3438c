// The logbook as JSON: every stored field of the header and of each dive.
#pragma once

#include "logbook/logbook.h"

#include <ostream>
#include <string>
#include <string_view>

namespace zorv::cli {

void writeJson(std::ostream &out, const logbook::Logbook &logbook);

// A UTF-8 text as a JSON string, quotes included; control characters as \u escapes.
std::string jsonString(std::string_view utf8Text);

} // namespace zorv::cli
