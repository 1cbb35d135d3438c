#include "common/blockarena.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace zorv::common {

namespace {

#if defined(__SANITIZE_ADDRESS__)
    constexpr bool kBypass = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    constexpr bool kBypass = true;
#else
    constexpr bool kBypass = false;
#endif
#else
    constexpr bool kBypass = false;
#endif

} // namespace

BlockArena &BlockArena::instance()
{
    // Never destroyed: blocks may still be returned while other statics are torn down.
    static BlockArena *arena = new BlockArena;
    return *arena;
}

void *BlockArena::allocate(std::size_t bytes)
{
    if (kBypass || bytes > kLargest)
        return ::operator new(bytes);
    const std::size_t size = bytes == 0 ? kGrain : (bytes + kGrain - 1) / kGrain * kGrain;
    const std::lock_guard<std::mutex> guard(m_mutex);
    FreeBlock *&head = m_free[size / kGrain];
    if (head != nullptr) {
        FreeBlock *block = head;
        head = block->next;
        return block;
    }
    if (static_cast<std::size_t>(m_end - m_next) < size) {
        // The rest of the old chunk, less than one block, is left unused.
        void *chunk = std::aligned_alloc(kChunk, kChunk);
        if (chunk == nullptr)
            throw std::bad_alloc();
        ::madvise(chunk, kChunk, MADV_HUGEPAGE); // only advice: failure leaves ordinary pages
        m_next = static_cast<std::byte *>(chunk);
        m_end = m_next + kChunk;
    }
    void *block = m_next;
    m_next += size;
    return block;
}

void BlockArena::deallocate(void *block, std::size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    if (kBypass || bytes > kLargest) {
        ::operator delete(block);
        return;
    }
    const std::size_t size = bytes == 0 ? kGrain : (bytes + kGrain - 1) / kGrain * kGrain;
    const std::lock_guard<std::mutex> guard(m_mutex);
    FreeBlock *&head = m_free[size / kGrain];
    head = ::new (block) FreeBlock { head };
}

} // namespace zorv::common
