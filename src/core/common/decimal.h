// Reading a number a person typed: a decimal comma or point, nothing else.
#pragma once

#include <optional>
#include <string_view>

namespace zorv::common {

// "18,5", "18.5", " -3 ", "+2", ",5" and "18." read as numbers; blanks may
// surround the number. Anything else is refused: letters or a unit after the
// number, two separators, thousands groups, exponents, "inf" and "nan", an
// empty text. The reading does not depend on the process's locale.
std::optional<double> parseDecimal(std::string_view text);

} // namespace zorv::common
