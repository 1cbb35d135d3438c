// The ".cst" colour file: the eight profile colours, to share a colour scheme between installations.
#pragma once

#include "common/atomicfile.h"
#include "settings/settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace zorv::settings {

// Exactly 32 bytes and no header: the profile colours in role order, each four
// bytes little-endian (red, green, blue, a zero byte).
inline constexpr std::size_t kColourFileSize = 32;

std::array<std::uint8_t, kColourFileSize> encodeColourFile(const ProfileColours &colours);

// Lays `bytes` over the colours from the start. Older copies of the program
// read whatever the file held, so a short file changes only the bytes it has
// and anything past 32 bytes is ignored. The fourth byte of each colour is
// not taken over: a colour is always plain red, green and blue.
void decodeColourFile(std::span<const std::uint8_t> bytes, ProfileColours &colours);

// `colours` with what the file holds laid over it (a short file changes only the bytes it has);
// a failure when the file cannot be opened or read.
common::ResultOr<ProfileColours> loadColourFile(const std::filesystem::path &path, ProfileColours colours);

common::Result saveColourFile(const std::filesystem::path &path, const ProfileColours &colours);

} // namespace zorv::settings
