// Keyboard mnemonics of menu and dialog texts ("&Fichier"), and the check that one menu or dialog uses each once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::app {

// The lower-case letter after the text's single '&' ("&&" is a literal ampersand), or nothing.
// Accented capitals of Latin-1 fold to their small letters, as Alt+key matches either.
std::optional<char32_t> mnemonicOf(std::string_view utf8);

struct MnemonicClash {
    char32_t key;
    std::vector<std::string> texts;
};

// The keys that more than one of `texts` claims, each with the texts that claim it, in first-seen order.
std::vector<MnemonicClash> mnemonicClashes(const std::vector<std::string> &texts);

} // namespace zorv::app
