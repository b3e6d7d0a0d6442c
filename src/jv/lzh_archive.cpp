#include "jv/lzh_archive.h"

#include "text/file_io.h"
#include "text/sjis.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// What the LZH header at `offset` declares beyond what the library tells.
// Every header level keeps the method at bytes 2..6 and the packed size at
// 7..10, and none is shorter than 21 bytes before its data. Nothing when
// the bytes there are not such a header (a self-extracting archive's
// program part).
struct HeaderPeek {
    std::string method; // "-lh5-"
    std::uint64_t packedSize = 0;
};
std::optional<HeaderPeek> peekHeader(int fd, std::int64_t offset) {
    std::array<unsigned char, 11> h{};
    if (offset < 0 || ::pread(fd, h.data(), h.size(), static_cast<off_t>(offset)) !=
                          static_cast<ssize_t>(h.size()))
        return std::nullopt;
    if (h[2] != '-' || h[3] != 'l' || h[6] != '-')
        return std::nullopt;
    return HeaderPeek{std::string(h.begin() + 2, h.begin() + 7),
                      std::uint64_t{h[7]} | std::uint64_t{h[8]} << 8 | std::uint64_t{h[9]} << 16 |
                          std::uint64_t{h[10]} << 24};
}
constexpr std::uint64_t kMinHeaderBytes = 21;

// Whether file `fd` could be an LZH archive as the library reads one: a
// header at its start, or a Windows program (a self-extracting archive,
// searched by the library). Anything else the library refuses too, so a
// race card is told from an archive without loading the library.
bool mayBeLzh(int fd) {
    std::array<char, 2> start{};
    return peekHeader(fd, 0) ||
           (::pread(fd, start.data(), start.size(), 0) == 2 && start[0] == 'M' && start[1] == 'Z');
}

// An archive opened for reading as LZH only: no other format and no
// compression filter is tried on what the user picked.
class ArchiveReader {
  public:
    explicit ArchiveReader(const std::string& path) {
        // Opened once, as a regular file: a FIFO or device is no archive.
        FileProblem problem = FileProblem::None;
        fd_ = openRegularFile(path, problem, size_);
        if (fd_ < 0 || !mayBeLzh(fd_))
            return;
        archive_ = archive_read_new();
        if (archive_ == nullptr)
            return;
        if (archive_read_support_format_lha(archive_) != ARCHIVE_OK ||
            archive_read_open_fd(archive_, fd_, 65536) != ARCHIVE_OK) {
            archive_read_free(archive_);
            archive_ = nullptr;
        }
    }
    ~ArchiveReader() {
        if (archive_ != nullptr)
            archive_read_free(archive_);
        if (fd_ >= 0)
            ::close(fd_);
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    archive* get() const { return archive_; }
    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }

    // The next entry; null at the end of the archive or when its header is
    // damaged (`damaged` tells which). A warning (a name the library cannot
    // convert) still gives the entry.
    archive_entry* next(bool& damaged) {
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(archive_, &entry);
        damaged = r != ARCHIVE_OK && r != ARCHIVE_WARN && r != ARCHIVE_EOF;
        return r == ARCHIVE_OK || r == ARCHIVE_WARN ? entry : nullptr;
    }

  private:
    archive* archive_ = nullptr;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The methods the library decodes: stored, the three sliding-window
// methods, and directories.
constexpr std::string_view kDecodedMethods[] = {"-lh0-", "-lh5-", "-lh6-", "-lh7-", "-lhd-"};

// The program's name for a stored name, or empty when it is none of the
// four files.
std::string jvFileNameFor(const std::string& storedName) {
    const std::string base = safeEntryName(storedName);
    for (const char* name : kJvArchiveFileNames) {
        const std::string_view wanted(name);
        if (base.size() == wanted.size() && startsWithIgnoringAsciiCase(base, wanted))
            return name;
    }
    return {};
}

enum class EntryResult { Written, Damaged, TooLarge, WriteFailed };

// Decodes the current entry into `target` through a temporary file beside
// it, so a failed entry never leaves a half-written file under its name.
// The entry may not produce more than it declares (`declared`), nor push
// `total` past `limit`; either stops the decoding at once.
EntryResult writeEntry(archive* reader, std::uint64_t declared, const fs::path& target,
                       std::uint64_t& total, std::uint64_t limit) {
    fs::path temp = target;
    temp += ".part";
    std::error_code ec;
    fs::remove(temp, ec); // never write through a link left at that name

    EntryResult result = EntryResult::Written;
    std::uint64_t length = 0;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return EntryResult::WriteFailed;
        std::array<char, 65536> buffer{};
        for (;;) {
            // A CRC error or data cut short comes back as a negative count.
            const la_ssize_t n = archive_read_data(reader, buffer.data(), buffer.size());
            if (n == 0)
                break;
            if (n < 0) {
                result = EntryResult::Damaged;
                break;
            }
            const auto size = static_cast<std::uint64_t>(n);
            length += size;
            total += size;
            if (length > declared) {
                result = EntryResult::Damaged;
                break;
            }
            if (total > limit) {
                result = EntryResult::TooLarge;
                break;
            }
            out.write(buffer.data(), n);
            if (!out) {
                result = EntryResult::WriteFailed;
                break;
            }
        }
        out.close();
        if (result == EntryResult::Written && !out)
            result = EntryResult::WriteFailed;
    }
    if (result == EntryResult::Written && length != declared)
        result = EntryResult::Damaged;
    if (result == EntryResult::Written) {
        fs::rename(temp, target, ec);
        if (ec)
            result = EntryResult::WriteFailed;
    }
    if (result != EntryResult::Written)
        fs::remove(temp, ec);
    return result;
}

// Why the current entry cannot be decoded within the archive's bounds
// before any of it is written; empty when it may be.
std::string entryBoundError(const ArchiveReader& archive, archive_entry* entry, std::uint64_t total,
                            std::uint64_t limit) {
    if (!archive_entry_size_is_set(entry) || archive_entry_size(entry) < 0)
        return "an entry without a size";
    const auto declared = static_cast<std::uint64_t>(archive_entry_size(entry));
    if (declared > limit - std::min(total, limit))
        return "the archive unpacks to more than the allowed size";
    const std::int64_t offset = archive_read_header_position(archive.get());
    if (auto header = peekHeader(archive.fd(), offset)) {
        const std::uint64_t left = archive.size() - std::min<std::uint64_t>(offset, archive.size());
        if (header->packedSize + kMinHeaderBytes > left)
            return "an entry larger than the rest of the archive";
    }
    return {};
}

} // namespace

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
    ArchiveReader archive(path);
    if (archive.get() == nullptr)
        return false;
    bool damaged = false;
    if (archive.next(damaged) == nullptr)
        return false;
    // The library reads headers of methods it cannot decode; such an
    // archive is not one it can unpack.
    auto header = peekHeader(archive.fd(), archive_read_header_position(archive.get()));
    if (!header)
        return true;
    return std::find(std::begin(kDecodedMethods), std::end(kDecodedMethods), header->method) !=
           std::end(kDecodedMethods);
}

LzhExtraction extractLzhArchive(const std::string& archivePath, const std::string& folder,
                                std::uint64_t maxTotalBytes) {
    LzhExtraction result;
    ArchiveReader archive(archivePath);
    if (archive.get() == nullptr) {
        result.error = "cannot open the archive";
        return result;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        result.error = "the target folder does not exist";
        return result;
    }
    const fs::path base(folder);
    // Whatever the archive declares, it cannot hold more than the ratio allows.
    const std::uint64_t limit =
        std::min(maxTotalBytes, archive.size() > maxTotalBytes / kMaxExpansionRatio
                                    ? maxTotalBytes
                                    : archive.size() * kMaxExpansionRatio);
    std::uint64_t total = 0;
    int entries = 0;
    bool damaged = false;

    while (archive_entry* entry = archive.next(damaged)) {
        if (++entries > kMaxArchiveEntries) {
            result.error = "too many entries";
            break;
        }
        const char* pathname = archive_entry_pathname(entry);
        const std::string stored = pathname != nullptr ? pathname : "";
        const std::string name =
            archive_entry_filetype(entry) == AE_IFREG ? jvFileNameFor(stored) : std::string();
        if (name.empty()) {
            result.skipped.push_back(stored);
            continue;
        }
        result.error = entryBoundError(archive, entry, total, limit);
        if (!result.error.empty())
            break;
        const EntryResult r =
            writeEntry(archive.get(), static_cast<std::uint64_t>(archive_entry_size(entry)),
                       base / name, total, limit);
        if (r == EntryResult::Damaged) {
            result.error = "damaged entry " + stored;
            break;
        }
        if (r == EntryResult::TooLarge) {
            result.error = "the archive unpacks to more than the allowed size";
            break;
        }
        if (r == EntryResult::WriteFailed) {
            result.error = "cannot write " + name;
            break;
        }
        if (std::find(result.written.begin(), result.written.end(), name) == result.written.end())
            result.written.push_back(name);
    }
    if (result.error.empty() && damaged)
        result.error = "damaged archive";
    if (result.error.empty() && entries == 0)
        result.error = "no entry could be read";

    if (!result.error.empty()) {
        for (const std::string& name : result.written)
            fs::remove(base / name, ec);
        result.written.clear();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace zelkor
