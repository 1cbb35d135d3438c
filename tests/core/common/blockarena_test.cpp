#include "common/blockarena.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using zorv::common::BlockArena;

// Blocks of every size class and beyond, written through and read back: a rounding
// or free-list fault would make two of them overlap.
TEST(BlockArena, BlocksNeverOverlapAndFreedOnesServeAgain)
{
    BlockArena &arena = BlockArena::instance();
    for (int round = 0; round < 2; ++round) {
        std::vector<std::pair<std::uint8_t *, std::size_t>> blocks;
        for (std::size_t size = 0; size <= 9000; size += size < 64 ? 1 : 61)
            blocks.emplace_back(static_cast<std::uint8_t *>(arena.allocate(size)), size);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            auto [block, size] = blocks[i];
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 8, 0u) << size;
            for (std::size_t b = 0; b < size; ++b)
                block[b] = static_cast<std::uint8_t>(i);
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            auto [block, size] = blocks[i];
            for (std::size_t b = 0; b < size; ++b)
                ASSERT_EQ(block[b], static_cast<std::uint8_t>(i)) << size;
        }
        // The second round takes its blocks from the free lists this one fills.
        for (auto [block, size] : blocks)
            arena.deallocate(block, size);
    }
}

} // namespace
