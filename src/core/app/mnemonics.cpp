#include "app/mnemonics.h"

#include <algorithm>

namespace zorv::app {

namespace {

    // One UTF-8 code point from `text` at `pos`; a broken sequence yields its first byte.
    char32_t decodeAt(std::string_view text, std::size_t pos)
    {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        const unsigned char lead = byte(pos);
        if (lead < 0x80)
            return lead;
        int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length == 1 || pos + static_cast<std::size_t>(length) > text.size())
            return lead;
        char32_t value = lead & (0x3F >> (length - 1));
        for (int i = 1; i < length; ++i) {
            const unsigned char next = byte(pos + static_cast<std::size_t>(i));
            if ((next & 0xC0) != 0x80)
                return lead;
            value = (value << 6) | (next & 0x3F);
        }
        return value;
    }

    char32_t fold(char32_t c)
    {
        if (c >= U'A' && c <= U'Z')
            return c + (U'a' - U'A');
        // Latin-1 capitals À..Þ except the multiplication sign.
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            return c + 0x20;
        return c;
    }

} // namespace

std::optional<char32_t> mnemonicOf(std::string_view utf8)
{
    for (std::size_t pos = 0; pos + 1 < utf8.size(); ++pos) {
        if (utf8[pos] != '&')
            continue;
        if (utf8[pos + 1] == '&') {
            ++pos;
            continue;
        }
        const char32_t c = decodeAt(utf8, pos + 1);
        // A lone '&' before a blank or a tab is shown as it stands and claims no key.
        if (c == U' ' || c == U'\t')
            return std::nullopt;
        return fold(c);
    }
    return std::nullopt;
}

std::vector<MnemonicClash> mnemonicClashes(const std::vector<std::string> &texts)
{
    std::vector<MnemonicClash> all;
    for (const std::string &text : texts) {
        const auto key = mnemonicOf(text);
        if (!key)
            continue;
        auto it = std::find_if(all.begin(), all.end(), [&](const MnemonicClash &c) { return c.key == *key; });
        if (it == all.end())
            all.push_back({ *key, { text } });
        else
            it->texts.push_back(text);
    }
    std::erase_if(all, [](const MnemonicClash &c) { return c.texts.size() < 2; });
    return all;
}

} // namespace zorv::app
