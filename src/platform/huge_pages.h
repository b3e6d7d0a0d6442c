#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace zelkor::jvfile {

// Memory for a large array: from 256 KB on, whole 2 MB pages of its own,
// advised for huge pages. Each 4 KB page of fresh memory costs a page
// fault when first written (on a virtual machine as much as copying a
// few hundred KB), a huge page one fault per 512 of them. Smaller sizes
// come from the ordinary heap. Throws std::bad_alloc.
void* allocateLarge(std::size_t bytes);
void freeLarge(void* data, std::size_t bytes) noexcept;

// Grows the heap by `bytes` at once and advises huge pages under them, for
// a process that runs one job and ends: the many small blocks of a job's
// results then fault in 2 MB at a time too. Nothing is touched, so memory
// is still taken only as it is written; the heap grows on in 4 KB pages
// beyond that.
void growHeapInHugePages(std::size_t bytes);

// A vector's allocator of such memory. Elements made without a value are
// default-initialised, as `new T` makes them: bytes and other plain
// values are not zeroed first when only the writes after fill them.
template <class T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T* data, std::size_t n) noexcept { freeLarge(data, n * sizeof(T)); }

    template <class U> void construct(U* at) noexcept(noexcept(U())) {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args> void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

template <class T> using LargeVector = std::vector<T, LargeAllocator<T>>;

} // namespace zelkor::jvfile
