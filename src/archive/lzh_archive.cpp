#include "archive/lzh_archive.h"

#include "platform/lzh_reader.h"
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
EntryResult writeEntry(const LzhReader& archive, std::uint64_t declared, const fs::path& target,
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
            const la_ssize_t n =
                archive.api()->read_data(archive.get(), buffer.data(), buffer.size());
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
std::string entryBoundError(const LzhReader& archive, archive_entry* entry, std::uint64_t total,
                            std::uint64_t limit) {
    const LibarchiveApi& la = *archive.api();
    if (!la.entry_size_is_set(entry) || la.entry_size(entry) < 0)
        return "an entry without a size";
    const auto declared = static_cast<std::uint64_t>(la.entry_size(entry));
    if (declared > limit - std::min(total, limit))
        return "the archive unpacks to more than the allowed size";
    const std::int64_t offset = la.header_position(archive.get());
    if (auto header = peekLzhHeader(archive.fd(), offset)) {
        const std::uint64_t left = archive.size() - std::min<std::uint64_t>(offset, archive.size());
        if (header->packedSize + kMinLzhHeaderBytes > left)
            return "an entry larger than the rest of the archive";
    }
    return {};
}

} // namespace

Result<LzhExtraction> extractLzhArchive(const std::string& archivePath, const std::string& folder,
                                        std::uint64_t maxTotalBytes) {
    LzhReader archive(archivePath);
    if (archive.get() == nullptr)
        return Failure{"cannot open the archive"};
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return Failure{"the target folder does not exist"};
    const fs::path base(folder);
    // Whatever the archive declares, it cannot hold more than the ratio allows.
    const std::uint64_t limit =
        std::min(maxTotalBytes, archive.size() > maxTotalBytes / kMaxExpansionRatio
                                    ? maxTotalBytes
                                    : archive.size() * kMaxExpansionRatio);
    LzhExtraction result;
    std::string error;
    std::uint64_t total = 0;
    int entries = 0;
    bool damaged = false;
    const LibarchiveApi& la = *archive.api();

    while (archive_entry* entry = archive.next(damaged)) {
        if (++entries > kMaxArchiveEntries) {
            error = "too many entries";
            break;
        }
        const std::string stored = entryName(la, entry);
        const std::string name =
            la.entry_filetype(entry) == AE_IFREG ? jvFileNameFor(stored) : std::string();
        if (name.empty()) {
            result.skipped.push_back(stored);
            continue;
        }
        error = entryBoundError(archive, entry, total, limit);
        if (!error.empty())
            break;
        const EntryResult r = writeEntry(archive, static_cast<std::uint64_t>(la.entry_size(entry)),
                                         base / name, total, limit);
        if (r == EntryResult::Damaged) {
            error = "damaged entry " + stored;
            break;
        }
        if (r == EntryResult::TooLarge) {
            error = "the archive unpacks to more than the allowed size";
            break;
        }
        if (r == EntryResult::WriteFailed) {
            error = "cannot write " + name;
            break;
        }
        if (std::find(result.written.begin(), result.written.end(), name) == result.written.end())
            result.written.push_back(name);
    }
    if (error.empty() && damaged)
        error = "damaged archive";
    if (error.empty() && entries == 0)
        error = "no entry could be read";

    if (!error.empty()) {
        for (const std::string& name : result.written)
            fs::remove(base / name, ec);
        return Failure{std::move(error)};
    }
    return result;
}

} // namespace zelkor
