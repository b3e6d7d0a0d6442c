#include "jv/mapped_file.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace zelkor::jvfile {
namespace {

// The copy out of a mapping running on this thread: where it may jump back
// to, and the mapping it reads.
thread_local sigjmp_buf* copyJump = nullptr;
thread_local const char* copyFrom = nullptr;
thread_local const char* copyEnd = nullptr;
struct sigaction previousBusAction;

// A file cut short under its mapping raises SIGBUS on the first byte past
// its new end. In a copy out of the mapping that ends the copy as failed;
// any other SIGBUS goes back to the handling it had, and is raised again
// there.
void onBusError(int, siginfo_t* info, void*) {
    const char* at = static_cast<const char*>(info->si_addr);
    if (copyJump != nullptr && at >= copyFrom && at < copyEnd)
        siglongjmp(*copyJump, 1);
    ::sigaction(SIGBUS, &previousBusAction, nullptr);
    ::raise(SIGBUS);
}

void catchBusErrors() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        // Not blocked while handled: a jump out of the handler leaves it so.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousBusAction);
    });
}

// Fields to copy out of a mapping: `count` of `width` bytes, `stride`
// bytes apart from `first`, into `to`.
struct FieldCopy {
    const char* first;
    std::size_t stride;
    std::size_t count;
    std::size_t width;
    char* to;
    const char* mappingEnd;
};

// Copies the fields out of the mapping; false when the file lost bytes they
// lie in. Nothing here has to be destroyed, so the jump skips nothing, and
// nothing changes after the jump is set but the copied bytes.
bool copyOutOf(const char* mapping, const FieldCopy& job) {
    sigjmp_buf jump;
    copyFrom = mapping;
    copyEnd = job.mappingEnd;
    if (sigsetjmp(jump, 0) != 0) {
        copyJump = nullptr;
        return false;
    }
    copyJump = &jump;
    // The handler sees the jump set before the first byte is read, and
    // until the last is.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    // Fields a few strides ahead are fetched while these are copied: the
    // memory has no other pattern to guess from.
    constexpr std::size_t kAhead = 6;
    for (std::size_t i = 0; i < job.count; ++i) {
        const char* field = job.first + i * job.stride;
        if (job.stride * kAhead < static_cast<std::size_t>(job.mappingEnd - field))
            __builtin_prefetch(field + job.stride * kAhead);
        std::memcpy(job.to + i * job.width, field, job.width);
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    copyJump = nullptr;
    return true;
}

} // namespace

void adviseHugePages(const void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = 2u << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = (begin + bytes) & ~(kHugePage - 1);
    if (from < to)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

MappedFile::MappedFile(const ReadOnlyFile& file) : file_(file), size_(file.stamp().size) {
    if (size_ == 0 || size_ > SIZE_MAX)
        return;
    catchBusErrors();
    void* data = ::mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_SHARED,
                        file.descriptor(), 0);
    if (data != MAP_FAILED)
        data_ = static_cast<const char*>(data);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr)
        ::munmap(const_cast<char*>(data_), static_cast<std::size_t>(size_));
}

void MappedFile::release(std::uint64_t offset) {
    const std::uint64_t page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t end = std::min(offset, size_) / page * page;
    // A few MB at a time: a call per page would cost more than the pages.
    constexpr std::uint64_t kReleaseBytes = 4u << 20;
    if (data_ == nullptr || end <= released_ || (end - released_ < kReleaseBytes && offset < size_))
        return;
    ::madvise(const_cast<char*>(data_) + released_, static_cast<std::size_t>(end - released_),
              MADV_DONTNEED);
    released_ = end;
}

bool MappedFile::copy(std::uint64_t offset, char* to, std::size_t length) const {
    return copyEvery(offset, length, 1, length, to);
}

bool MappedFile::copyEvery(std::uint64_t offset, std::size_t stride, std::size_t count,
                           std::size_t width, char* to) const {
    if (count == 0)
        return true;
    const std::uint64_t span = std::uint64_t{stride} * (count - 1) + width;
    if (offset > size_ || span > size_ - offset)
        return false;
    if (data_ != nullptr)
        return copyOutOf(data_, {data_ + offset, stride, count, width, to, data_ + size_});
    span_.resize(static_cast<std::size_t>(span));
    if (file_.readInto(offset, span_.data(), span_.size()) != span_.size())
        return false;
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(to + i * width, span_.data() + i * stride, width);
    return true;
}

} // namespace zelkor::jvfile
