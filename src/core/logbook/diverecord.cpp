#include "logbook/diverecord.h"

#include "common/bytes.h"

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
    w.bytes(reserved.data(), reserved.size());
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
    r.bytes(block.reserved.data(), block.reserved.size());
    return block;
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
