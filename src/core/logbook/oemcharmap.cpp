#include "logbook/oemcharmap.h"

#include "common/textcodec.h"

#include <array>
#include <cstdint>
#include <utility>

namespace zorv::logbook {

namespace {

    // (stored, displayed). The order matters: both directions take the first pair
    // that matches, which is why a typed 0xEF is stored as 0x8B and not looked up
    // further down.
    constexpr std::array<std::pair<std::uint8_t, std::uint8_t>, 32> kPairs = { {
        { 0x8E, 0xC4 },
        { 0x99, 0xD6 },
        { 0x9A, 0xDC },
        { 0x84, 0xE4 },
        { 0x94, 0xF6 },
        { 0x81, 0xFC },
        { 0xE1, 0xDF },
        { 0xA0, 0xE1 },
        { 0x85, 0xE0 },
        { 0x83, 0xE2 },
        { 0x82, 0xE9 },
        { 0x8A, 0xE8 },
        { 0x88, 0xEA },
        { 0x89, 0xEB },
        { 0x90, 0xC9 },
        { 0xA2, 0xF3 },
        { 0x95, 0xF2 },
        { 0x93, 0xF4 },
        { 0xA3, 0xFA },
        { 0x97, 0xF9 },
        { 0x96, 0xFB },
        { 0xA1, 0xED },
        { 0x8D, 0xEC },
        { 0x8C, 0xEE },
        { 0x8B, 0xEF },
        { 0xA4, 0xF1 },
        { 0xA5, 0xD1 },
        { 0x87, 0xE7 },
        { 0x80, 0xC7 },
        { 0x27, 0xB4 },
        { 0xEF, 0x60 },
        { 0xA7, 0xB0 },
    } };

    using ByteTable = std::array<std::uint8_t, 256>;

    ByteTable buildTable(bool toDisplay)
    {
        ByteTable table {};
        std::array<bool, 256> taken {};
        for (std::size_t b = 0; b < table.size(); ++b)
            table[b] = static_cast<std::uint8_t>(b);
        for (const auto &[stored, displayed] : kPairs) {
            const std::uint8_t from = toDisplay ? stored : displayed;
            const std::uint8_t to = toDisplay ? displayed : stored;
            if (!taken[from]) {
                taken[from] = true;
                table[from] = to;
            }
        }
        return table;
    }

    std::string mapBytes(std::string_view text, const ByteTable &table)
    {
        std::string out(text.size(), '\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            out[i] = static_cast<char>(table[static_cast<std::uint8_t>(text[i])]);
        return out;
    }

} // namespace

std::string oemToAnsi(std::string_view stored)
{
    static const ByteTable table = buildTable(true);
    return mapBytes(stored, table);
}

std::string ansiToOem(std::string_view ansi)
{
    static const ByteTable table = buildTable(false);
    return mapBytes(ansi, table);
}

std::string storedToDisplay(std::string_view stored)
{
    return common::cp1252ToUtf8(oemToAnsi(stored));
}

std::string displayToStored(std::string_view utf8)
{
    return ansiToOem(common::utf8ToCp1252(utf8));
}

} // namespace zorv::logbook
