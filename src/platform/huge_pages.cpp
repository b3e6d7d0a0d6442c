#include "platform/huge_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace zelkor::jvfile {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From this size on a huge page costs less than the small pages it
// replaces, even where half of it stays unused.
constexpr std::size_t kLargeFrom = std::size_t{256} << 10;

std::size_t wholeHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

void adviseWholeHugePages(std::uintptr_t from, std::uintptr_t to) {
    from = (from + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    to &= ~std::uintptr_t{kHugePage - 1};
    if (from < to)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

} // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes < kLargeFrom)
        return ::operator new(bytes);
    const std::size_t length = wholeHugePages(bytes);
    if (length < bytes || length + kHugePage < length)
        throw std::bad_alloc();
    // Mapped a page longer, so that a start on a huge page's boundary is in
    // it; what lies before and after is given back.
    void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto begin = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (begin + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > begin)
        ::munmap(mapped, aligned - begin);
    if (const std::size_t after = kHugePage - (aligned - begin); after > 0)
        ::munmap(reinterpret_cast<void*>(aligned + length), after);
    // Only advice: where huge pages are not to be had, 4 KB ones are used.
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void growHeapInHugePages(std::size_t bytes) {
    // The heap grows by the top pad beyond a request its free top cannot
    // hold; a block of 1 MB is such a request while the heap is young. The
    // heap is not given back while it is used this way.
    constexpr std::size_t kDefaultTopPad = 128u << 10;
    const auto before = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ::mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(bytes, 1u << 30)));
    // Kept in a volatile, so that the compiler keeps the pair of calls.
    void* volatile block = std::malloc(std::size_t{1} << 20);
    std::free(block);
    ::mallopt(M_TOP_PAD, static_cast<int>(kDefaultTopPad));
    const auto after = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    // Where the heap could not grow (its blocks then come from mappings),
    // nothing is advised. Its first 2 MB stay in small pages: a short job
    // uses a few of them, and clearing a huge page would cost it more.
    if (after > before + kHugePage)
        adviseWholeHugePages(before + kHugePage, after);
}

void freeLarge(void* data, std::size_t bytes) noexcept {
    if (data == nullptr)
        return;
    if (bytes < kLargeFrom)
        ::operator delete(data);
    else
        ::munmap(data, wholeHugePages(bytes));
}

} // namespace zelkor::jvfile
