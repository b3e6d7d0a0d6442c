#include "archive/file_index.h"

#include "archive/race_card_file.h"
#include "text/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {
namespace jvfile {
namespace {

std::atomic<std::uint64_t> generation{0};

} // namespace

std::uint64_t indexGeneration() {
    return generation.load();
}
void bumpIndexGeneration() {
    generation.fetch_add(1);
}

bool ReadOnlyFile::open(const std::string& path) {
    FileProblem problem = FileProblem::None;
    std::uint64_t size = 0;
    int fd = openRegularFile(path, problem, size);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    fd_ = fd;
    stamp_.device = static_cast<std::uint64_t>(st.st_dev);
    stamp_.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp_.size = static_cast<std::uint64_t>(st.st_size);
    stamp_.modifiedSeconds = st.st_mtim.tv_sec;
    stamp_.modifiedNanoseconds = st.st_mtim.tv_nsec;
    stamp_.changedSeconds = st.st_ctim.tv_sec;
    stamp_.changedNanoseconds = st.st_ctim.tv_nsec;
    return true;
}

StdioFile openRegularStdioFile(const std::string& path) {
    FileProblem problem = FileProblem::None;
    std::uint64_t size = 0;
    int fd = openRegularFile(path, problem, size);
    if (fd < 0)
        return nullptr;
    StdioFile file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<std::size_t> ReadOnlyFile::readInto(std::uint64_t offset, char* buffer,
                                                  std::size_t length) const {
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::optional<std::string> ReadOnlyFile::readAt(std::uint64_t offset, std::size_t length) const {
    std::string data(length, '\0');
    std::optional<std::size_t> done = readInto(offset, data.data(), length);
    if (!done)
        return std::nullopt;
    data.resize(*done);
    return data;
}

std::optional<std::string> ReadOnlyFile::readAll() const {
    std::string data;
    char buffer[1 << 16];
    std::uint64_t offset = 0;
    // Up to the size the file had when opened: one that grows meanwhile is
    // read as it was.
    while (offset < stamp_.size) {
        const std::uint64_t want = std::min<std::uint64_t>(sizeof buffer, stamp_.size - offset);
        ssize_t n = ::pread(fd_, buffer, static_cast<size_t>(want), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            return data;
        data.append(buffer, static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return data;
}

} // namespace jvfile

void forgetJvFileIndexes() {
    jvfile::bumpIndexGeneration();
}

} // namespace zelkor
