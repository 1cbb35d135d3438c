// The system's reasons for a failed file operation, in the program's French.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zorv::common {

// "permission refusée" for EACCES, and so on; the C library would answer in
// the desktop's language, or in English under the C locale the program runs in.
std::string systemErrorText(int err);

// "Impossible d'enregistrer « carnet.log » : permission refusée": what failed,
// the file's name and the reason.
std::string fileErrorText(std::string_view what, const std::filesystem::path &file, int err);

// The failure of a file operation: its status from `err` (missing, refused or other) and fileErrorText.
Result fileFailure(std::string_view what, const std::filesystem::path &file, int err);

} // namespace zorv::common
