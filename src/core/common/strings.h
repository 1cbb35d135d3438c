// The program's string table: every message, label and word the user sees, by id, in UTF-8.
#pragma once

#include "common/stringid.h"

#include <string_view>

namespace zorv::common {

// The text of a string id in the language chosen at start (see translation.h), or an empty view
// for an id the table does not have.
std::string_view str(StringId id);

bool hasStr(StringId id);

// The French text as written, never translated: for the few texts a file stores and reads back by
// name (the second activities of a standard-mode dive), which must read the same in every language.
std::string_view sourceStr(StringId id);

// The short name of a month, 1 to 12 ("Jan" .. "Dec"); empty outside that range.
std::string_view monthName(int month);

} // namespace zorv::common
