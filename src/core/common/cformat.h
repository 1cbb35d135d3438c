// printf-style formatting and number scanning that ignore the user's locale.
#pragma once

#include <string>

namespace zorv::common {

// Formats like snprintf, but always in the C locale: a French desktop must
// still get "12.3" where the logbook format says "%.1f".
std::string cformat(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

// sscanf in the C locale; returns the number of items converted.
int cscan(const std::string &text, const char *fmt, ...) __attribute__((format(scanf, 2, 3)));

} // namespace zorv::common
