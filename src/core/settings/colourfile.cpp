#include "settings/colourfile.h"

#include "common/translation.h"

#include <fstream>

namespace zorv::settings {

using canvas::Rgb;

std::array<std::uint8_t, kColourFileSize> encodeColourFile(const ProfileColours &colours)
{
    std::array<std::uint8_t, kColourFileSize> bytes {};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb colour = colours.colours[i];
        bytes[i * 4] = static_cast<std::uint8_t>(colour & 0xFF);
        bytes[i * 4 + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
        bytes[i * 4 + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    }
    return bytes;
}

void decodeColourFile(std::span<const std::uint8_t> bytes, ProfileColours &colours)
{
    const std::size_t count = bytes.size() < kColourFileSize ? bytes.size() : kColourFileSize;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t byteInColour = i % 4;
        if (byteInColour == 3)
            continue;
        Rgb &colour = colours.colours[i / 4];
        const unsigned shift = static_cast<unsigned>(byteInColour * 8);
        colour = (colour & ~(Rgb { 0xFF } << shift)) | (Rgb { bytes[i] } << shift);
    }
    for (Rgb &colour : colours.colours)
        colour &= 0x00FFFFFF;
}

common::ResultOr<ProfileColours> loadColourFile(const std::filesystem::path &path, ProfileColours colours)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return common::Result::failure(common::Status::NotFound, common::tr("Impossible d'ouvrir ") + path.string());
    std::array<char, kColourFileSize> buffer {};
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    // A folder opens like a file here and only fails on reading.
    if (in.bad() || (got == 0 && !in.eof()))
        return common::Result::failure(common::Status::IoError, common::tr("Impossible de lire ") + path.string());
    std::array<std::uint8_t, kColourFileSize> bytes {};
    for (std::size_t i = 0; i < got; ++i)
        bytes[i] = static_cast<std::uint8_t>(buffer[i]);
    decodeColourFile(std::span<const std::uint8_t>(bytes.data(), got), colours);
    return colours;
}

common::Result saveColourFile(const std::filesystem::path &path, const ProfileColours &colours)
{
    const auto bytes = encodeColourFile(colours);
    return common::saveFileAtomically(path, std::span<const std::uint8_t>(bytes));
}

} // namespace zorv::settings
