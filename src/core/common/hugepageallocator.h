// An allocator for the few very large arrays of the program, backed by huge pages where the kernel offers them.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace zorv::common {

// The dive array of 10,000 dives is about 12 MB, and a save builds some 13 MB of
// file bytes. With 4 KB pages, merely touching such memory the first time costs
// thousands of page faults, which on the development machine took longer than
// reading the dives. Asking for transparent huge pages cuts that to a few dozen.
// Small arrays go through the ordinary allocator.
template <typename T> class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <typename U> HugePageAllocator(const HugePageAllocator<U> &) noexcept { }

    T *allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage)
            return static_cast<T *>(::operator new(bytes));
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void *p = std::aligned_alloc(kHugePage, rounded);
        if (!p)
            throw std::bad_alloc();
        ::madvise(p, rounded, MADV_HUGEPAGE); // only advice: failure leaves ordinary pages
        return static_cast<T *>(p);
    }

    void deallocate(T *p, std::size_t n) noexcept
    {
        if (n * sizeof(T) < kHugePage)
            ::operator delete(p);
        else
            std::free(p);
    }

    template <typename U> bool operator==(const HugePageAllocator<U> &) const noexcept { return true; }

private:
    static constexpr std::size_t kHugePage = 2u << 20;
};

} // namespace zorv::common
