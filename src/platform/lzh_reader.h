#pragma once

#include "platform/archive_names.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zelkor {

// LZH archives read through libarchive (loaded at its first call), and the
// bounds every archive reading keeps, whatever the archive holds.

// Upper bound of what one extraction may write in total. A JRA-VAN archive
// unpacks to well under 100 MB; anything near this bound is hostile.
inline constexpr std::uint64_t kDefaultExtractLimit = std::uint64_t{1} << 30; // 1 GiB

// An archive may unpack to at most this many times its own size. Race data
// packs about 1:7; a declared or produced size beyond the ratio is a bomb.
inline constexpr std::uint64_t kMaxExpansionRatio = 200;

// Entries read from one archive at most. A JRA-VAN archive holds four files;
// thousands of entries are a flood, not race data.
inline constexpr int kMaxArchiveEntries = 256;

// True when `path` is an LZH archive whose first entry can be read.
bool isLzhArchive(const std::string& path);

// What the LZH header at `offset` of file `fd` declares beyond what the
// library tells: the method ("-lh5-") and the packed size. Every header
// level keeps the method at bytes 2..6 and the packed size at 7..10, and
// none is shorter than kMinLzhHeaderBytes before its data. Nothing when the
// bytes there are not such a header (a self-extracting archive's program
// part).
struct LzhHeaderPeek {
    std::string method;
    std::uint64_t packedSize = 0;
};
std::optional<LzhHeaderPeek> peekLzhHeader(int fd, std::int64_t offset);
inline constexpr std::uint64_t kMinLzhHeaderBytes = 21;

// An archive opened for reading as LZH only: no other format and no
// compression filter is tried on what the user picked. get() is null when
// the file is no regular file or no LZH archive.
class LzhReader {
  public:
    explicit LzhReader(const std::string& path);
    ~LzhReader();
    LzhReader(const LzhReader&) = delete;
    LzhReader& operator=(const LzhReader&) = delete;

    archive* get() const { return archive_; }
    // The library's functions for the archive; set whenever get() is.
    const LibarchiveApi* api() const { return la_; }
    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }

    // The next entry; null at the end of the archive or when its header is
    // damaged (`damaged` tells which). A warning (a name the library cannot
    // convert) still gives the entry.
    archive_entry* next(bool& damaged);

  private:
    ArchiveNameLocale names_;           // before the archive is made, after it is freed
    const LibarchiveApi* la_ = nullptr; // loaded only for a file that may be LZH
    archive* archive_ = nullptr;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The name under which an entry stored as `storedName` is extracted: its last
// component after '/' or '\\'. Empty when the entry must be skipped.
std::string safeEntryName(const std::string& storedName);

} // namespace zelkor
