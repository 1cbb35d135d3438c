// The translation catalogue: the program's French texts and their translations through GNU gettext.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zorv::common {

// Marks a text for the catalogue without translating it, where it sits in a table read later.
#define N_(text) text

// The catalogue's domain: po/<language>.po compiles to <localedir>/<language>/LC_MESSAGES/zorv.mo.
inline constexpr const char *kTextDomain = "zorv";

// Picks the language of the texts and opens the catalogue; called once at start, after Qt has
// set the locale (Qt resets every category from the environment). Only LC_MESSAGES follows the
// environment here: numbers and dates keep the formats the files fix.
// The catalogue is looked for beside the program (installed as <prefix>/bin, or in the build
// tree) before the installation's locale folder; `localeDir`, when given, is used instead.
void setUpTranslations(const std::filesystem::path &programDir, const std::filesystem::path &localeDir = {});

// The language the texts are shown in: the catalogue's "Language" ("en"), or "fr" when the
// program speaks its own French.
std::string textLanguage();

// The translation of a French text, or the text itself; the pointer lives as long as the program.
const char *tr(const char *french);

// The translation of a text whose key is "context\004French"; `frenchOffset` is where the French starts.
std::string_view trInContext(const char *key, std::size_t frenchOffset);

} // namespace zorv::common
