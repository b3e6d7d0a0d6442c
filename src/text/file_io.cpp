#include "text/file_io.h"

#include "text/cp932.h"
#include "text/format.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

bool writeAll(int fd, std::string_view data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

void tell(FileProblem* problem, FileProblem what) {
    if (problem != nullptr)
        *problem = what;
}

FileProblem problemOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileProblem::Missing;
    case ENXIO:
    case EISDIR:
        return FileProblem::NotRegularFile;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileProblem::Denied;
    case ENOSPC:
    case EDQUOT:
        return FileProblem::NoSpace;
    default:
        return FileProblem::Failed;
    }
}

// Opens with O_NONBLOCK so that a FIFO without a writer (or reader) or a
// device never blocks the open, then keeps the descriptor only for a
// regular file; reads and writes of a regular file ignore the flag.
int openRegular(const std::string& path, int flags, FileProblem& problem, struct stat& st) {
    int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        problem = problemOf(errno);
        return -1;
    }
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        problem = statted ? FileProblem::NotRegularFile : FileProblem::Failed;
        ::close(fd);
        return -1;
    }
    problem = FileProblem::None;
    return fd;
}

// The file a save replaces: the final target of a chain of symbolic links,
// so that the link stays and its target gets the new text. Nothing for a
// loop of links.
std::optional<std::string> saveTarget(const std::string& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec))
            return current.string();
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return std::nullopt;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return std::nullopt;
}

} // namespace

int openRegularFile(const std::string& path, FileProblem& problem, std::uint64_t& size) {
    struct stat st {};
    int fd = openRegular(path, O_RDONLY, problem, st);
    size = fd < 0 ? 0 : static_cast<std::uint64_t>(st.st_size);
    return fd;
}

std::optional<std::string> readWholeFile(const std::string& path, std::uint64_t limit,
                                         FileProblem* problem) {
    FileProblem why = FileProblem::None;
    std::uint64_t size = 0;
    int fd = openRegularFile(path, why, size);
    if (fd >= 0 && size > limit) {
        ::close(fd);
        fd = -1;
        why = FileProblem::TooLarge;
    }
    tell(problem, why);
    if (fd < 0)
        return std::nullopt;
    // Read up to the size the file had when opened; a file that grows
    // meanwhile is read as it was.
    std::string data(static_cast<size_t>(size), '\0');
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::read(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            tell(problem, FileProblem::Failed);
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(done);
    return data;
}

bool writeWholeFile(const std::string& path, std::string_view data, FileProblem* problem) {
    FileProblem why = FileProblem::None;
    struct stat st {};
    int fd = openRegular(path, O_WRONLY | O_CREAT, why, st);
    tell(problem, why);
    if (fd < 0)
        return false;
    bool ok = ::ftruncate(fd, 0) == 0 && writeAll(fd, data);
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        tell(problem, FileProblem::Failed);
    return ok;
}

namespace {

// The process's file-creation mask. Reading it means setting it, so it is
// read once (every save used to set it twice).
mode_t creationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// A new file beside `target` (a name within `folder`) named target + "." and
// six letters, created with `mode`; -1 when none could be made.
int createTemporaryBeside(int folder, const std::string& target, mode_t mode, std::string& temp) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<std::uint64_t> counter{0};
    static const std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t bits = (seed + counter.fetch_add(1)) * 0x9E3779B97F4A7C15ULL;
        temp = target + ".";
        for (int i = 0; i < 6; ++i, bits /= 62)
            temp += kLetters[bits % 62];
        const int fd =
            ::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes `data` to a temporary file beside the save target of `name` (a
// name within `folder`, whose path is `folderPath`: empty for AT_FDCWD and
// a whole path as `name`) and renames it over the target; `sync` first
// waits until the data is on the disk. A page (no `sync`) that is not
// there yet is written in its place.
bool writeBesideAndRename(int folder, const std::string& folderPath, const std::string& name,
                          std::string_view data, FileProblem* problem, bool sync) {
    tell(problem, FileProblem::Failed);
    // A page that is not there yet is written where it goes: there is no
    // old page to keep, and a failed write takes back what it began.
    if (!sync) {
        const int fd =
            ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            bool ok = writeAll(fd, data);
            ok = ::close(fd) == 0 && ok;
            if (!ok) {
                ::unlinkat(folder, name.c_str(), 0);
                return false;
            }
            tell(problem, FileProblem::None);
            return true;
        }
    }
    // The common case, a plain file or none, costs one lstat; a link is
    // followed to the file it names.
    struct stat old {};
    bool replacing = ::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    std::optional<std::string> target = name;
    if (replacing && S_ISLNK(old.st_mode)) {
        target = saveTarget(folderPath + name);
        if (!target)
            return false;
        folder = AT_FDCWD;
        replacing = ::stat(target->c_str(), &old) == 0;
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        tell(problem, FileProblem::NotRegularFile);
        return false;
    }
    // A replaced file keeps its rights, a new one gets the usual rights of a
    // saved document (the mask applies on creation).
    const mode_t mode = replacing ? old.st_mode & 07777 : 0666;
    std::string temp;
    int fd = createTemporaryBeside(folder, *target, mode, temp);
    if (fd < 0) {
        tell(problem, problemOf(errno));
        return false;
    }
    if (replacing && ((mode & ~creationMask()) != mode || (mode & ~mode_t{0777}) != 0))
        ::fchmod(fd, mode);
    bool ok = writeAll(fd, data) && (!sync || ::fsync(fd) == 0);
    int error = ok ? 0 : errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::renameat(folder, temp.c_str(), folder, target->c_str()) == 0) {
        tell(problem, FileProblem::None);
        return true;
    }
    tell(problem, problemOf(error != 0 ? error : errno));
    ::unlinkat(folder, temp.c_str(), 0);
    return false;
}

} // namespace

bool writeFileAtomic(const std::string& path, std::string_view data, FileProblem* problem) {
    return writeBesideAndRename(AT_FDCWD, {}, path, data, problem, true);
}

bool writePageFile(const std::string& path, std::string_view data) {
    return writeBesideAndRename(AT_FDCWD, {}, path, data, nullptr, false);
}

PageFolder::PageFolder(std::string folder)
    : folder_(std::move(folder)), fd_(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
}

PageFolder::~PageFolder() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool PageFolder::write(const std::string& name, std::string_view data) const {
    // A folder that could not be opened is left to the whole path, which
    // fails as it would.
    return fd_ < 0 ? writePageFile(folder_ + name, data)
                   : writeBesideAndRename(fd_, folder_, name, data, nullptr, false);
}

std::string fileProblemText(FileProblem problem, const std::string& path, const char* otherwise) {
    const char* text = problem == FileProblem::NotRegularFile ? "'%s'は通常のファイルではありません"
                       : problem == FileProblem::TooLarge ? "ファイル'%s'は大きすぎて読めません"
                                                          : otherwise;
    return format(text, pathForDisplay(path).c_str());
}

const char* fileProblemReason(FileProblem problem) {
    switch (problem) {
    case FileProblem::None:
        return "";
    case FileProblem::Missing:
        return "ファイルまたはフォルダがありません。";
    case FileProblem::NotRegularFile:
        return "通常のファイルではありません。";
    case FileProblem::TooLarge:
        return "ファイルが大きすぎます。";
    case FileProblem::Denied:
        return "書き込みや読み取りが許可されていない場所です（読み取り専用のフォルダなど）。";
    case FileProblem::NoSpace:
        return "ディスクの空きが足りません。";
    case FileProblem::Failed:
        break;
    }
    return "システムがファイルの操作を受け付けませんでした。";
}

std::string fileFailureText(const char* doing, FileProblem problem, const std::string& path,
                            const char* otherwise) {
    std::string text = std::string(doing) + "\r\n" + fileProblemText(problem, path, otherwise);
    if (problem != FileProblem::NotRegularFile && problem != FileProblem::TooLarge)
        text += std::string("\r\n") + fileProblemReason(problem);
    return text;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace zelkor
