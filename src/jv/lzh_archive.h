#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelkor {

// Upper bound of what one extraction may write in total. A JRA-VAN archive
// unpacks to well under 100 MB; anything near this bound is hostile.
inline constexpr std::uint64_t kDefaultExtractLimit = std::uint64_t{1} << 30; // 1 GiB

// True when `path` is an LZH archive whose first entry can be read.
bool isLzhArchive(const std::string& path);

struct LzhExtraction {
    bool ok = false;
    // Names of the files written into the folder, in archive order.
    std::vector<std::string> written;
    // Entry names that were not extracted (unsafe names, directories, links).
    std::vector<std::string> skipped;
    // Why the extraction failed (English, for logs and tests); empty on success.
    std::string error;
};

// Extracts every regular file of the archive into `folder` (which must
// exist) under the last component of its stored name, replacing files of the
// same name. Nothing is ever written outside `folder`: names that are empty,
// "." or ".." are skipped, as are directories and links. A damaged archive
// (CRC error, truncated data) or one that would write more than `maxTotalBytes`
// fails, and the files written by this call are removed again.
LzhExtraction extractLzhArchive(const std::string& archivePath, const std::string& folder,
                                std::uint64_t maxTotalBytes = kDefaultExtractLimit);

// The name under which an entry stored as `storedName` is extracted: its last
// component after '/' or '\\'. Empty when the entry must be skipped.
std::string safeEntryName(const std::string& storedName);

} // namespace zelkor
