#include "imports/importedprofile.h"

#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace zorv::imports {

namespace {

    constexpr std::uint16_t kHeaderBase = 2926;
    constexpr std::uint8_t kWarningBit = 0x20;
    // The first byte and the eight header words, counted in profileLength before the raw bytes.
    constexpr int kFixedBytes = 17;

    void writeSample(std::vector<std::uint8_t> &bytes, std::size_t position, int decimetres)
    {
        const double metres = std::clamp(static_cast<double>(static_cast<float>(decimetres) * 0.1f), 0.0, 1.0e6);
        const auto u = static_cast<unsigned long>(std::trunc(metres * 6.4));
        bytes[position] = static_cast<std::uint8_t>((u >> 2) & 0xFF);
        bytes[position + 1] = static_cast<std::uint8_t>(((u & 1) ? 0x40 : 0) | ((u & 2) ? 0x80 : 0) | kWarningBit);
    }

} // namespace

std::int16_t toField(long long value)
{
    return static_cast<std::int16_t>(
        std::clamp<long long>(value, std::numeric_limits<std::int16_t>::min(), logbook::kMissing - 1));
}

long long truncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(std::trunc(std::clamp(value, -1.0e9, 1.0e9)));
}

bool fillImportedProfile(logbook::DiveRecord &record, const std::vector<int> &points, int minutes)
{
    for (std::size_t i = 0; i < record.profileHeader.size(); ++i)
        record.profileHeader[i] = static_cast<std::uint16_t>(kHeaderBase + i);

    // Point i is sample i + 1 (sample 0 is the descent mark). The block holds
    // `minutes` + 1 groups of three, as far as the area reaches.
    const int groups = std::clamp(minutes + 1, 0, kMaxRawGroups);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kRawLeadBytes + kRawGroupBytes * groups), 0);
    bytes[3] = 0x40;
    bytes[4] = 0x90;
    for (int g = 0; g < groups; ++g) {
        const auto position = static_cast<std::size_t>(kRawLeadBytes + g * kRawGroupBytes);
        for (int s = 0; s < 3; ++s) {
            const auto point = static_cast<std::size_t>(3 * g + s);
            writeSample(bytes, position + 2 * static_cast<std::size_t>(s), point < points.size() ? points[point] : 0);
        }
        bytes[position + 6] = kWarningBit;
    }

    // The declared length covers `minutes` groups, and only that much is saved:
    // the bytes behind it are left out of the record, and the samples are decoded
    // from what remains, so that the dive shown before saving is the dive read back.
    const int declared = std::clamp(minutes, 0, kMaxRawGroups);
    const auto kept = static_cast<std::size_t>(kRawGroupBytes * declared);
    record.profileFirstByte = 0;
    record.profileLength = static_cast<std::uint16_t>(kept + kFixedBytes);
    const std::size_t stored
        = std::min({ kept, bytes.size(), static_cast<std::size_t>(logbook::kProfileBytesCapacity) });
    record.profileBytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(stored));
    logbook::trimProfileBytes(record);
    logbook::decodeProfile(record, false);

    // Cut: a point that was not zero ended up past the decoded samples.
    for (std::size_t i = static_cast<std::size_t>(std::max(record.sampleCount - 1, 0)); i < points.size(); ++i)
        if (points[i] != 0)
            return true;
    return false;
}

} // namespace zorv::imports
