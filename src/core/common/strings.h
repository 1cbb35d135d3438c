// The program's string table: every message, label and word the user sees, by id, in UTF-8.
#pragma once

#include <string_view>

namespace zorv::common {

// The text of a string id, or an empty view for an id the table does not have.
std::string_view str(int id);

bool hasStr(int id);

} // namespace zorv::common
