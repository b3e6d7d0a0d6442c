#include "platform/lzh_reader.h"

#include "platform/archive_names.h"
#include "text/file_io.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <iterator>
#include <string_view>
#include <unistd.h>

namespace zelkor {
namespace {

// Whether file `fd` could be an LZH archive as the library reads one: a
// header at its start, or a Windows program (a self-extracting archive,
// searched by the library). Anything else the library refuses too, so a
// race card is told from an archive without loading the library.
bool mayBeLzh(int fd) {
    std::array<char, 2> start{};
    return peekLzhHeader(fd, 0) ||
           (::pread(fd, start.data(), start.size(), 0) == 2 && start[0] == 'M' && start[1] == 'Z');
}

// The methods the library decodes: stored, the three sliding-window
// methods, and directories.
constexpr std::string_view kDecodedMethods[] = {"-lh0-", "-lh5-", "-lh6-", "-lh7-", "-lhd-"};

} // namespace

std::optional<LzhHeaderPeek> peekLzhHeader(int fd, std::int64_t offset) {
    std::array<unsigned char, 11> h{};
    if (offset < 0 || ::pread(fd, h.data(), h.size(), static_cast<off_t>(offset)) !=
                          static_cast<ssize_t>(h.size()))
        return std::nullopt;
    if (h[2] != '-' || h[3] != 'l' || h[6] != '-')
        return std::nullopt;
    return LzhHeaderPeek{std::string(h.begin() + 2, h.begin() + 7),
                         std::uint64_t{h[7]} | std::uint64_t{h[8]} << 8 |
                             std::uint64_t{h[9]} << 16 | std::uint64_t{h[10]} << 24};
}

LzhReader::LzhReader(const std::string& path) {
    // Opened once, as a regular file: a FIFO or device is no archive.
    FileProblem problem = FileProblem::None;
    fd_ = openRegularFile(path, problem, size_);
    if (fd_ < 0 || !mayBeLzh(fd_) || (la_ = libarchive()) == nullptr)
        return;
    archive_ = la_->read_new();
    if (archive_ == nullptr)
        return;
    const bool lha = la_->support_format_lha(archive_) == ARCHIVE_OK;
    if (lha)
        readNamesAsCp932(*la_, archive_);
    if (!lha || la_->open_fd(archive_, fd_, 65536) != ARCHIVE_OK) {
        la_->read_free(archive_);
        archive_ = nullptr;
    }
}

LzhReader::~LzhReader() {
    if (archive_ != nullptr)
        la_->read_free(archive_);
    if (fd_ >= 0)
        ::close(fd_);
}

archive_entry* LzhReader::next(bool& damaged) {
    archive_entry* entry = nullptr;
    const int r = archive_ != nullptr ? la_->next_header(archive_, &entry) : ARCHIVE_FATAL;
    damaged = r != ARCHIVE_OK && r != ARCHIVE_WARN && r != ARCHIVE_EOF;
    return r == ARCHIVE_OK || r == ARCHIVE_WARN ? entry : nullptr;
}

std::string safeEntryName(const std::string& storedName) {
    // Every '\\' counts as a separator, even the second byte of a Shift-JIS
    // character: such a name comes out shortened but never leaves the folder.
    size_t cut = storedName.find_last_of("/\\");
    std::string name = cut == std::string::npos ? storedName : storedName.substr(cut + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    // A drive or stream prefix ("C:x", "x:y") would escape the folder on Windows.
    if (name.find(':') != std::string::npos)
        return {};
    return name;
}

bool isLzhArchive(const std::string& path) {
    LzhReader archive(path);
    if (archive.get() == nullptr)
        return false;
    bool damaged = false;
    if (archive.next(damaged) == nullptr)
        return false;
    // The library reads headers of methods it cannot decode; such an
    // archive is not one it can unpack.
    auto header = peekLzhHeader(archive.fd(), archive.api()->header_position(archive.get()));
    if (!header)
        return true;
    return std::find(std::begin(kDecodedMethods), std::end(kDecodedMethods), header->method) !=
           std::end(kDecodedMethods);
}

} // namespace zelkor
