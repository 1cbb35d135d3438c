#include "logbook/profileencoder.h"

#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zorv::logbook {

namespace {

    constexpr float kDepthQuantum = 0.15625f;
    // The high depth byte must stay below 0xFF, the computer's end-of-profile byte.
    constexpr int kMaxDepthCode = 254 * 4 + 3;
    // Bit 1 of the warnings has no name; it is the one given up when a sample would
    // otherwise be written as 0xFF.
    constexpr std::uint8_t kSpareWarningBit = 0x02;

    int depthCode(float metres)
    {
        if (!(metres > 0.0f))
            return 0;
        const long code = std::lround(static_cast<double>(metres) / kDepthQuantum);
        return static_cast<int>(std::min<long>(code, kMaxDepthCode));
    }

    template <typename T> T valueAt(const std::vector<T> &values, std::size_t index)
    {
        return index < values.size() ? values[index] : T {};
    }

    std::uint8_t extraByte(const GroupLevels &levels)
    {
        const int c = std::min(levels.levelC / 6, 7);
        const int a = levels.incrementA != 0 ? 1 : 0;
        const int b = std::min(levels.workload / 3, 7);
        return static_cast<std::uint8_t>(c | (a << 3) | (b << 4));
    }

    void clearProfile(DiveRecord &record)
    {
        record.profileLength = 0;
        record.profileFirstByte = 0;
        record.profileHeader.fill(0);
        record.profileExtra = 0;
        record.profileBytes.clear();
        record.samples.clear();
        record.sampleCount = 0;
        record.profileMaxDepth = 0.0f;
        record.profileAvgDepth = 0.0f;
        record.airConsumption = 0.0f;
    }

} // namespace

float quantisedDepth(float metres)
{
    return static_cast<float>(depthCode(metres)) * kDepthQuantum;
}

void encodeProfile(DiveRecord &record, const ProfileScript &script, ProfileFamily family)
{
    clearProfile(record);
    if (script.depths.empty())
        return;

    const bool o2 = family == ProfileFamily::O2;
    const bool extraWord = family != ProfileFamily::Plain;
    const std::size_t start = o2 ? 6 : 5;
    const std::size_t groupSize = o2 ? 8 : 7;
    const std::size_t wanted = (script.depths.size() + 2) / 3;
    const std::size_t fitting = (static_cast<std::size_t>(kProfileBytesCapacity) - start) / groupSize;
    const std::size_t groups = std::min(wanted, fitting);

    std::size_t pos = start;
    record.profileBytes.resize(start + groups * groupSize);
    for (std::size_t g = 0; g < groups; ++g) {
        for (std::size_t j = 3 * g; j < 3 * g + 3; ++j) {
            const int code = depthCode(valueAt(script.depths, j));
            auto warnings = static_cast<std::uint8_t>(valueAt(script.warnings, j) & 0x3F);
            if ((code & 3) == 3 && warnings == 0x3F)
                warnings &= static_cast<std::uint8_t>(~kSpareWarningBit);
            record.profileBytes[pos++] = static_cast<std::uint8_t>(code >> 2);
            record.profileBytes[pos++] = static_cast<std::uint8_t>(((code & 3) << 6) | warnings);
        }
        record.profileBytes[pos++] = extraByte(valueAt(script.groups, g));
        if (o2)
            record.profileBytes[pos++] = 0;
    }

    record.profileFirstByte = script.firstByte;
    record.profileHeader = script.header;
    record.profileExtra = extraWord ? script.extraWord : 0;
    record.profileLength = static_cast<std::uint16_t>(pos + (extraWord ? 19 : 17));
    trimProfileBytes(record);
    decodeProfile(record, o2);
}

} // namespace zorv::logbook
