#include "uddf/rawrecords.h"

#include "common/bytes.h"

#include <string_view>

namespace zorv::uddf {

std::optional<std::size_t> logRecordLength(std::span<const std::uint8_t> bytes)
{
    common::ByteReader in(bytes);
    auto text = [&in] { in.skip(in.u8()); };
    in.skip(8); // mark, date, entry time
    text(); // place
    text(); // site
    in.skip(21); // altitude class .. activities
    text(); // other activities
    text(); // partners
    text(); // comment
    in.skip(16); // warnings .. reserved bytes
    const std::uint16_t profile = in.u16();
    in.skip(profile);
    if (in.failed())
        return std::nullopt;
    return in.position();
}

std::optional<SplitLog> splitLog(std::span<const std::uint8_t> log)
{
    common::ByteReader in(log);
    SplitLog split;
    const std::uint16_t version = in.u16();
    split.header.headerLong = in.u32();
    const std::int16_t count = in.i16();
    split.header.wordA = in.u16();
    split.header.wordB = in.u16();
    if (in.failed() || version != kLogVersion || count < 0)
        return std::nullopt;
    std::size_t at = kLogHeaderSize;
    split.records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto length = logRecordLength(log.subspan(at));
        if (!length)
            return std::nullopt;
        split.records.push_back(log.subspan(at, *length));
        at += *length;
    }
    return split;
}

std::vector<std::uint8_t> buildLogImage(const LogHeader &header, const std::vector<std::vector<std::uint8_t>> &records)
{
    std::size_t size = kLogHeaderSize;
    for (const auto &record : records)
        size += record.size();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    common::ByteWriter out(bytes);
    out.u16(kLogVersion);
    out.u32(header.headerLong);
    out.u16(static_cast<std::uint16_t>(records.size()));
    out.u16(header.wordA);
    out.u16(header.wordB);
    for (const auto &record : records)
        out.bytes(record.data(), record.size());
    return bytes;
}

std::vector<std::uint8_t> buildAddImage(
    const std::vector<std::vector<std::uint8_t>> &extras, const std::array<std::uint8_t, kAddTrailerSize> &trailer)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kAddHeaderSize + extras.size() * (kExtraSize + kAddTrailerSize));
    common::ByteWriter out(bytes);
    out.u32(594);
    out.u32(110);
    out.u32(static_cast<std::uint32_t>(extras.size()));
    for (const auto &extra : extras) {
        out.bytes(extra.data(), extra.size());
        out.zeros(kExtraSize - std::min(kExtraSize, extra.size()));
        out.bytes(trailer.data(), trailer.size());
    }
    return bytes;
}

void appendHex(std::vector<char> &out, std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const std::uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
}

std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text)
{
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    while (
        !text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = digit(text[2 * i]);
        const int low = digit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

} // namespace zorv::uddf
