#include "jv/file_index.h"

#include "jv/race_card.h"

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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
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
    StdioFile file(std::fopen(path.c_str(), "rb"));
    struct stat st {};
    if (file && (::fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)))
        file.reset();
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
    for (;;) {
        ssize_t n = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(offset));
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
}

} // namespace jvfile

void forgetJvFileIndexes() {
    jvfile::bumpIndexGeneration();
}

} // namespace zelkor
