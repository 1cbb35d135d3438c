// Small arrays that live as long as the dives holding them, carved from huge pages.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>

namespace zorv::common {

// Every dive of a logbook holds two small arrays (its samples and its raw profile),
// tens of thousands of them in a large logbook. From the ordinary heap each 4 KB
// page of them costs a page fault when first touched, and those faults were most
// of the time of loading 10,000 dives. The arena hands out blocks from 2 MB chunks
// on transparent huge pages instead, and keeps freed blocks in one list per size
// for the next block of that size. Its chunks are kept until the process ends.
// Under AddressSanitizer every block comes from operator new, so that overruns
// are still caught.
class BlockArena {
public:
    static BlockArena &instance();

    void *allocate(std::size_t bytes);
    void deallocate(void *block, std::size_t bytes) noexcept;

private:
    static constexpr std::size_t kGrain = 8;
    // Larger blocks are rare and go to operator new.
    static constexpr std::size_t kLargest = 8192;
    static constexpr std::size_t kChunk = std::size_t { 2 } << 20;

    struct FreeBlock {
        FreeBlock *next;
    };

    std::mutex m_mutex;
    std::array<FreeBlock *, kLargest / kGrain + 1> m_free {};
    std::byte *m_next = nullptr;
    std::byte *m_end = nullptr;
};

// A std::allocator stand-in drawing from BlockArena; T must need at most kGrain alignment.
template <typename T> class ArenaAllocator {
public:
    using value_type = T;
    static_assert(alignof(T) <= 8);

    ArenaAllocator() = default;
    template <typename U> ArenaAllocator(const ArenaAllocator<U> &) noexcept { }

    T *allocate(std::size_t n) { return static_cast<T *>(BlockArena::instance().allocate(n * sizeof(T))); }
    void deallocate(T *p, std::size_t n) noexcept { BlockArena::instance().deallocate(p, n * sizeof(T)); }

    template <typename U> bool operator==(const ArenaAllocator<U> &) const noexcept { return true; }
};

} // namespace zorv::common
