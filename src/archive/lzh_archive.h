#pragma once

#include "core/result.h"
#include "platform/lzh_reader.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelkor {

// The four files a JRA-VAN archive brings, as the program names them.
inline constexpr const char* kRaceCardFileName = "JracDen1.dat";
inline constexpr const char* kHorseFileName = "JracUmaj.dat";
inline constexpr const char* kTrainerFileName = "JracChok.dat";
inline constexpr const char* kJockeyFileName = "JracKisi.dat";
inline constexpr std::array<const char*, 4> kJvArchiveFileNames = {
    kRaceCardFileName, kHorseFileName, kTrainerFileName, kJockeyFileName};

// What an extraction put into the folder and what it passed over.
struct LzhExtraction {
    // Names of the files written into the folder, in archive order.
    std::vector<std::string> written;
    // Entry names that were not extracted (other files, unsafe names,
    // directories, links).
    std::vector<std::string> skipped;
};

// Extracts the JRA-VAN files of the archive (kJvArchiveFileNames, matched by the
// last component of the stored name without regard to case) into `folder`
// (which must exist) under the names the program uses, replacing files of
// the same name. Every other entry is skipped, and so are directories and
// links, so nothing else lands in the folder. A damaged archive (CRC error,
// truncated data, an entry larger than it declares or than the archive can
// hold), one of more than kMaxArchiveEntries entries and one that would
// write more than `maxTotalBytes` fail, and the files written by this call
// are removed again. The failure says why in English, for logs and tests;
// the intake tells the user its own message.
Result<LzhExtraction> extractLzhArchive(const std::string& archivePath, const std::string& folder,
                                        std::uint64_t maxTotalBytes = kDefaultExtractLimit);

} // namespace zelkor
