// Writes depth samples as a dive computer's raw profile block, for the sample generator and tests.
#pragma once

#include "logbook/diverecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zorv::logbook {

// How a computer lays out its profile block: plain computers have none of the
// extras; nitrox computers carry profileExtra; O2 computers carry profileExtra
// and a spare byte after each group of three samples.
enum class ProfileFamily {
    Plain,
    Nitrox,
    O2,
};

// The levels a computer reports once per group of three samples.
struct GroupLevels {
    std::uint8_t incrementA = 0; // 0 or 6
    std::uint8_t workload = 0; // 0..21 in steps of 3
    std::uint8_t levelC = 0; // 0..42 in steps of 6
};

struct ProfileScript {
    // Metres, positive, one per 20 s after the implicit first sample. Depths are
    // quantised to 0.15625 m and held between 0 and 159.21875 m.
    std::vector<float> depths;
    // Warning bits (low six bits) per sample; missing entries are 0.
    std::vector<std::uint8_t> warnings;
    // Levels per group of three samples; missing entries are 0.
    std::vector<GroupLevels> groups;
    std::uint8_t firstByte = 0x10;
    // A header with a word outside the hand-drawn marks, so the dive counts as a computer profile.
    std::array<std::uint16_t, 8> header { 20, 0, 0, 0, 0, 0, 0, 0 };
    std::uint16_t extraWord = 0;
};

// Fills profileLength, profileFirstByte, profileHeader, profileExtra and
// profileBytes of `record` for a computer of `family`, then decodes them so that
// the samples match. The last group is padded with surface samples, and the decoder
// adds two or three more at the end; samples that do not fit into profileBytes are
// dropped. An empty script removes the profile. No sample byte is 0xFF, since a
// computer ends a profile with that byte; the caller keeps the header words clear of it.
void encodeProfile(DiveRecord &record, const ProfileScript &script, ProfileFamily family);

// The depth a metre value comes back as after encoding and decoding.
float quantisedDepth(float metres);

} // namespace zorv::logbook
