// Dives for the profile tests: a flat profile at one depth, numbered 42.
#pragma once

#include "logbook/diverecord.h"

#include <cstddef>
#include <cstdint>

namespace zorv::test {

inline logbook::DiveRecord diveOf(int samples, float metres)
{
    logbook::DiveRecord d;
    d.profileLength = 10;
    d.sampleCount = static_cast<std::uint16_t>(samples);
    d.samples.resize(d.sampleCount);
    for (int i = 0; i < samples; ++i)
        d.samples[static_cast<std::size_t>(i)].depth = -metres;
    d.profileMaxDepth = metres;
    d.diveNumber = 42;
    return d;
}

} // namespace zorv::test
