// The texts of the About box and of the compatibility notice shown at start-up.
#pragma once

#include "common/translation.h"

#include <string>
#include <string_view>

namespace zorv::app {

// The notice's caption and its check box, as the settings dialog names them.
// Both go through the catalogue where they are shown.
inline constexpr const char *kNoticeTitle = N_("Attention");
inline constexpr const char *kNoticeShowAtStartUp = N_("Montrer cette fenêtre au démarrage");

// What the notice says: which files the program shares with older versions and what to keep in mind.
std::string compatibilityNotice();

// The About box: the version, the licence and the files the program reads. Plain text, lines split by '\n'.
std::string aboutText(std::string_view version);

} // namespace zorv::app
