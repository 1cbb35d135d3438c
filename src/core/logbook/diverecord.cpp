#include "logbook/diverecord.h"

#include "common/bytes.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace zorv::logbook {

void ExtraBlock::serialize(std::uint8_t *out) const
{
    std::vector<std::uint8_t> image;
    image.reserve(kSize);
    common::ByteWriter w(image);
    for (char c : commentMore)
        w.u8(static_cast<std::uint8_t>(c));
    w.i16(weights);
    w.i16(visibility);
    w.i16(avgDepthCm);
    w.u16(tankMaterial);
    w.u16(extraFlags);
    w.i16(tankPressure);
    for (char c : model)
        w.u8(static_cast<std::uint8_t>(c));
    const std::size_t stored = std::min(reserved.size(), kReservedSize);
    w.bytes(reserved.data(), stored);
    for (std::size_t i = stored; i < kReservedSize; ++i)
        w.u8(0);
    std::copy(image.begin(), image.end(), out);
}

ExtraBlock ExtraBlock::deserialize(const std::uint8_t *in)
{
    common::ByteReader r(std::span<const std::uint8_t>(in, kSize));
    ExtraBlock block;
    for (char &c : block.commentMore)
        c = static_cast<char>(r.u8());
    block.weights = r.i16();
    block.visibility = r.i16();
    block.avgDepthCm = r.i16();
    block.tankMaterial = r.u16();
    block.extraFlags = r.u16();
    block.tankPressure = r.i16();
    for (char &c : block.model)
        c = static_cast<char>(r.u8());
    std::array<std::uint8_t, kReservedSize> reserved;
    r.bytes(reserved.data(), reserved.size());
    std::size_t used = reserved.size();
    while (used > 0 && reserved[used - 1] == 0)
        --used;
    block.reserved.assign(reserved.begin(), reserved.begin() + static_cast<std::ptrdiff_t>(used));
    return block;
}

void setProfileByte(DiveRecord &dive, std::size_t index, std::uint8_t value)
{
    if (index >= static_cast<std::size_t>(kProfileBytesCapacity))
        return;
    if (index >= dive.profileBytes.size()) {
        if (value == 0)
            return;
        dive.profileBytes.resize(index + 1);
    }
    dive.profileBytes[index] = value;
}

void trimProfileBytes(DiveRecord &dive)
{
    auto &bytes = dive.profileBytes;
    while (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
}

std::vector<std::uint8_t> paddedProfileBytes(const DiveRecord &dive, std::size_t count)
{
    std::vector<std::uint8_t> out(count);
    std::copy_n(dive.profileBytes.begin(), std::min(count, dive.profileBytes.size()), out.begin());
    return out;
}

ProfileKind profileKind(const DiveRecord &dive)
{
    if (dive.profileLength == 0)
        return ProfileKind::None;
    // The hand profile editor writes 2927 + i into header word i; a computer never
    // produces that run, and older hand profiles left some words at zero.
    for (std::size_t i = 0; i < dive.profileHeader.size(); ++i) {
        const std::uint16_t word = dive.profileHeader[i];
        if (word != 0 && word != kHandProfileHeaderBase + i)
            return ProfileKind::Computer;
    }
    return ProfileKind::HandDrawn;
}

} // namespace zorv::logbook
