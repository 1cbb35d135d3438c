// The logbook's own bytes of each dive, cut out of and put back into the .log and .add images.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zorv::uddf {

inline constexpr std::size_t kLogHeaderSize = 12;
inline constexpr std::size_t kAddHeaderSize = 12;
inline constexpr std::size_t kExtraSize = 550;
inline constexpr std::size_t kAddTrailerSize = 300;
inline constexpr std::uint16_t kLogVersion = 161;

// The words of a .log header besides the version and the count.
struct LogHeader {
    std::uint32_t headerLong = 0;
    std::uint16_t wordA = 0;
    std::uint16_t wordB = 0;
};

// The length of the record that starts `bytes`: fixed fields, five texts with a length
// byte each, then the profile block its length word announces. Nothing when the bytes
// end before the record does.
std::optional<std::size_t> logRecordLength(std::span<const std::uint8_t> bytes);

// Splits a .log image into its header and records; nothing when it is no whole .log.
struct SplitLog {
    LogHeader header;
    std::vector<std::span<const std::uint8_t>> records;
};
std::optional<SplitLog> splitLog(std::span<const std::uint8_t> log);

// The .log and .add images of `records` and `extras` (550 bytes each, as many as records).
std::vector<std::uint8_t> buildLogImage(const LogHeader &header, const std::vector<std::vector<std::uint8_t>> &records);
std::vector<std::uint8_t> buildAddImage(
    const std::vector<std::vector<std::uint8_t>> &extras, const std::array<std::uint8_t, kAddTrailerSize> &trailer);

// Bytes as lowercase hexadecimal and back; nothing for text that is not whole bytes of hex.
void appendHex(std::vector<char> &out, std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text);

} // namespace zorv::uddf
