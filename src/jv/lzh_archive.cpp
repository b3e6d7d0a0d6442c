#include "jv/lzh_archive.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

extern "C" {
#include <lhasa.h>
}

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// An opened archive: the input stream and the reader on it, freed together.
class ArchiveReader {
  public:
    explicit ArchiveReader(const std::string& path) {
        std::error_code ec;
        if (!fs::is_regular_file(path, ec))
            return;
        std::string name = path; // lhasa takes a non-const name
        stream_ = lha_input_stream_from(name.data());
        if (stream_ == nullptr)
            return;
        reader_ = lha_reader_new(stream_);
        if (reader_ != nullptr)
            lha_reader_set_dir_policy(reader_, LHA_READER_DIR_PLAIN);
    }
    ~ArchiveReader() {
        if (reader_ != nullptr)
            lha_reader_free(reader_);
        if (stream_ != nullptr)
            lha_input_stream_free(stream_);
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    LHAReader* get() const { return reader_; }

  private:
    LHAInputStream* stream_ = nullptr;
    LHAReader* reader_ = nullptr;
};

// The CRC-16 the LZH format stores for every entry (reflected polynomial
// 0xA001, initial value 0), computed over the data as it is written.
class Crc16 {
  public:
    void add(const unsigned char* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            crc_ = static_cast<std::uint16_t>((crc_ >> 8) ^ table()[(crc_ ^ data[i]) & 0xff]);
    }
    std::uint16_t value() const { return crc_; }

  private:
    static const std::array<std::uint16_t, 256>& table() {
        static const std::array<std::uint16_t, 256> t = [] {
            std::array<std::uint16_t, 256> r{};
            for (unsigned n = 0; n < 256; ++n) {
                unsigned c = n;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
                r[n] = static_cast<std::uint16_t>(c);
            }
            return r;
        }();
        return t;
    }
    std::uint16_t crc_ = 0;
};

bool isDirectoryOrLink(const LHAFileHeader& header) {
    return header.filename == nullptr || header.symlink_target != nullptr ||
           std::strcmp(header.compress_method, LHA_COMPRESS_TYPE_DIR) == 0;
}

std::string storedNameOf(const LHAFileHeader& header) {
    std::string name;
    if (header.path != nullptr)
        name = header.path;
    if (header.filename != nullptr)
        name += header.filename;
    return name;
}

enum class EntryResult { Written, Damaged, TooLarge, WriteFailed };

// Decodes the current entry into `target` through a temporary file beside
// it, so a failed entry never leaves a half-written file under its name.
EntryResult writeEntry(LHAReader* reader, const LHAFileHeader& header, const fs::path& target,
                       std::uint64_t& total, std::uint64_t limit) {
    fs::path temp = target;
    temp += ".part";
    std::error_code ec;
    fs::remove(temp, ec); // never write through a link left at that name

    EntryResult result = EntryResult::Written;
    std::uint64_t length = 0;
    Crc16 crc;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return EntryResult::WriteFailed;
        std::array<unsigned char, 65536> buffer{};
        for (;;) {
            size_t n = lha_reader_read(reader, buffer.data(), buffer.size());
            if (n == 0)
                break;
            length += n;
            total += n;
            if (total > limit) {
                result = EntryResult::TooLarge;
                break;
            }
            crc.add(buffer.data(), n);
            out.write(reinterpret_cast<const char*>(buffer.data()),
                      static_cast<std::streamsize>(n));
            if (!out) {
                result = EntryResult::WriteFailed;
                break;
            }
        }
        out.close();
        if (result == EntryResult::Written && !out)
            result = EntryResult::WriteFailed;
    }
    if (result == EntryResult::Written && (length != header.length || crc.value() != header.crc))
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
    LHAFileHeader* header = lha_reader_next_file(archive.get());
    if (header == nullptr)
        return false;
    return isDirectoryOrLink(*header) || lha_decoder_for_name(header->compress_method) != nullptr;
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
    std::uint64_t total = 0;
    bool sawEntry = false;

    while (LHAFileHeader* header = lha_reader_next_file(archive.get())) {
        sawEntry = true;
        std::string stored = storedNameOf(*header);
        std::string name = isDirectoryOrLink(*header) ? std::string() : safeEntryName(stored);
        if (name.empty()) {
            result.skipped.push_back(stored);
            continue;
        }
        if (lha_decoder_for_name(header->compress_method) == nullptr) {
            result.error = "unknown compression method in " + stored;
            break;
        }
        if (header->length > maxTotalBytes - std::min(total, maxTotalBytes)) {
            result.error = "the archive unpacks to more than the allowed size";
            break;
        }
        EntryResult r = writeEntry(archive.get(), *header, base / name, total, maxTotalBytes);
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
    if (result.error.empty() && !sawEntry)
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
