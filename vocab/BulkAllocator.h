#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vocab {

// Allocator for the store's few large arrays (file bytes, keys, records).
// Growing a container leaves new elements default-initialised, so bytes that
// a read overwrites at once are not zeroed first; and a block of several
// megabytes is asked to live on huge pages, which spares the page faults of a
// million-entry load most of their cost.
template <class T> class BulkAllocator {
public:
    using value_type = T;

    BulkAllocator() = default;
    template <class U> BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        const std::size_t bytes = n * sizeof(T);
        void* p = nullptr;
#if defined(_WIN32)
        // No aligned_alloc whose blocks free() takes, and no huge-page advice.
        p = std::malloc(bytes == 0 ? 1 : bytes);
#else
        if (bytes >= kHugeThreshold) {
            const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
            p = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
            if (p) {
                madvise(p, rounded, MADV_HUGEPAGE); // only advice: ignored where unsupported
            }
#endif
        } else {
            p = std::malloc(bytes == 0 ? 1 : bytes);
        }
#endif
        if (!p) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(p);
    }

    void deallocate(T* p, std::size_t) noexcept {
        std::free(p);
    }

    template <class U> void construct(U* p) noexcept(noexcept(::new (static_cast<void*>(p)) U)) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const BulkAllocator&, const BulkAllocator&) {
        return true;
    }

private:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    static constexpr std::size_t kHugeThreshold = std::size_t{4} << 20;
};

// The store's byte buffers.
using Bytes = std::vector<char, BulkAllocator<char>>;

} // namespace vocab
