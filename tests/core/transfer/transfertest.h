// Helpers shared by the transfer tests: a pinned clock and the count of dives an image decodes to.
#pragma once

#include "common/clock.h"
#include "transfer/memoryimage.h"

#include <span>

namespace zorv::transfer::test {

constexpr int kRefused = -1;

// The number of dives decoded, or kRefused.
inline int loadedCount(MemoryImage &memory, std::span<const std::uint8_t> captured)
{
    return memory.load(captured) ? memory.diveCount() : kRefused;
}

// Holds the program's clock at `seconds` for as long as it lives.
struct PinnedClock {
    explicit PinnedClock(std::int64_t seconds)
        : clock(seconds)
    {
        common::setClock(&clock);
    }
    ~PinnedClock() { common::setClock(nullptr); }
    PinnedClock(const PinnedClock &) = delete;
    PinnedClock &operator=(const PinnedClock &) = delete;

    common::FixedClock clock;
};

} // namespace zorv::transfer::test
