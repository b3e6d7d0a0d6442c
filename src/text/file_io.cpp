#include "text/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool writeAll(int fd, std::string_view data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0)
            return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fileno(f.get()), &st) != 0 || S_ISDIR(st.st_mode))
        return std::nullopt;
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        data.append(buffer, n);
    if (std::ferror(f.get()))
        return std::nullopt;
    return data;
}

bool writeWholeFile(const std::string& path, std::string_view data) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data);
    return ::close(fd) == 0 && ok;
}

namespace {

// Writes `data` to a temporary file beside `path` and renames it over
// `path`; `sync` first waits until the data is on the disk.
bool writeBesideAndRename(const std::string& path, std::string_view data, bool sync) {
    // A name of this process that no other file has; created with the usual
    // rights (the umask applies).
    static std::atomic<unsigned> serial{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data) && (!sync || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temp.c_str());
    return false;
}

} // namespace

bool writeFileAtomic(const std::string& path, std::string_view data) {
    return writeBesideAndRename(path, data, true);
}

bool writePageFile(const std::string& path, std::string_view data) {
    // A link is written through to its target; anything but a regular file
    // (a folder, a device) is left alone.
    std::string target = path;
    struct stat st {};
    const bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
        if (!resolved || ::stat(resolved.get(), &st) != 0)
            return false;
        target = resolved.get();
    }
    if (exists && !S_ISREG(st.st_mode))
        return false;
    return writeBesideAndRename(target, data, false);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace zelkor
