// The archive intake's unpacking: whatever the archive holds, at most the
// four JRA-VAN files land in the folder, and a failed extraction leaves it
// empty.

#include "archive/lzh_archive.h"
#include "fuzz_support.h"

#include <algorithm>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    namespace fs = std::filesystem;
    const std::string archive = fuzz::scratchFile("in.lzh", fuzz::bytesOf(data, size));
    const std::string folder = fuzz::scratchFolder() + "JRA-VAN/";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);

    isLzhArchive(archive);
    const Result<LzhExtraction> r = extractLzhArchive(archive, folder);
    std::vector<std::string> present;
    std::uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        ZELKOR_FUZZ_CHECK(entry.is_regular_file() && !entry.is_symlink());
        present.push_back(entry.path().filename().string());
        total += entry.file_size();
    }
    std::sort(present.begin(), present.end());
    // A failed extraction writes nothing.
    std::vector<std::string> written = r ? r->written : std::vector<std::string>();
    std::sort(written.begin(), written.end());
    ZELKOR_FUZZ_CHECK(present == written);
    ZELKOR_FUZZ_CHECK(r.ok() == r.message().empty());
    for (const std::string& name : present)
        ZELKOR_FUZZ_CHECK(std::find(kJvArchiveFileNames.begin(), kJvArchiveFileNames.end(), name) !=
                          kJvArchiveFileNames.end());
    ZELKOR_FUZZ_CHECK(total <= size * kMaxExpansionRatio);
    return 0;
}
