// The logbook as JSON: every stored field of the header and of each dive.
#pragma once

#include "logbook/logbook.h"

#include <ostream>

namespace zorv::cli {

void writeJson(std::ostream &out, const logbook::Logbook &logbook);

} // namespace zorv::cli
