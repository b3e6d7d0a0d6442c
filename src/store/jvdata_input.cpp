#include "store/jvdata_input.h"

#include "platform/archive_names.h"
#include "platform/lzh_reader.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

constexpr size_t kChunkBytes = 1 << 20;

// Entries read from one archive at most: a delivery saved by JV-Link holds
// a few thousand files; far more is a flood.
constexpr int kMaxImportEntries = 100000;

// Counts whether any file fed so far was JV-Data, on top of the sink.
class InputRun {
  public:
    InputRun(JvDataInputSink& sink, ProgressSink& progress, std::uint64_t totalBytes)
        : sink_(sink), progress_(progress), total_(std::max<std::uint64_t>(totalBytes, 1)) {}

    JvDataInputSink& sink() { return sink_; }
    // The sink takes more and the user has not cancelled.
    bool keepGoing() const { return sink_.keepGoing() && !progress_.cancelled(); }
    // Whether a file since the last call held JV-Data.
    bool takeSawJvData() { return std::exchange(sawJvData_, false); }

    void advance(std::uint64_t bytes) {
        done_ += bytes;
        const int position = static_cast<int>(std::min<std::uint64_t>(done_ * 100 / total_, 100));
        if (position != shown_)
            progress_.setPosition(shown_ = position);
    }
    void fileDone(const jvdata::RecordFramer& framer) {
        sawJvData_ = sawJvData_ || framer.sawJvData();
        sink_.endFile(framer.sawJvData());
    }

  private:
    JvDataInputSink& sink_;
    ProgressSink& progress_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    int shown_ = -1;
    bool sawJvData_ = false;
};

enum class Kind { Plain, Archive };

Kind kindOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 262> head{};
    in.read(head.data(), head.size());
    const std::string_view bytes(head.data(), static_cast<size_t>(in.gcount()));
    if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06") ||
        bytes.starts_with("\x1f\x8b") || (bytes.size() >= 262 && bytes.substr(257, 5) == "ustar"))
        return Kind::Archive;
    return isLzhArchive(path) ? Kind::Archive : Kind::Plain;
}

Failure cannotOpen(const std::string& path) {
    return Failure{format("ファイル'%s'を開けませんでした。\r\n"
                          "ファイルがあるか、読めるかを確かめてください。",
                          pathForDisplay(path).c_str())};
}

Outcome readPlainFile(const std::string& path, InputRun& run) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return cannotOpen(path);
    run.sink().beginFile(pathForDisplay(path));
    jvdata::RecordFramer framer(run.sink());
    std::string chunk(kChunkBytes, '\0');
    while (run.keepGoing()) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<size_t>(in.gcount());
        if (got == 0)
            break;
        framer.feed(std::string_view(chunk).substr(0, got));
        run.advance(got);
    }
    if (in.bad())
        return cannotOpen(path);
    framer.finish();
    run.fileDone(framer);
    return {};
}

// An archive opened for reading with every format and filter the import
// takes; nothing else is tried.
class ArchiveStream {
  public:
    explicit ArchiveStream(const std::string& path) {
        if (la_ == nullptr || (archive_ = la_->read_new()) == nullptr)
            return;
        la_->support_format_zip(archive_);
        la_->support_format_lha(archive_);
        la_->support_format_tar(archive_);
        la_->support_format_raw(archive_); // a gzip file of records
        la_->support_filter_gzip(archive_);
        readNamesAsCp932(*la_, archive_);
        if (la_->open_filename(archive_, path.c_str(), 65536) != ARCHIVE_OK) {
            la_->read_free(archive_);
            archive_ = nullptr;
        }
    }
    ~ArchiveStream() {
        if (archive_ != nullptr)
            la_->read_free(archive_);
    }
    ArchiveStream(const ArchiveStream&) = delete;
    ArchiveStream& operator=(const ArchiveStream&) = delete;
    archive* get() const { return archive_; }
    // The library's functions; set whenever get() is.
    const LibarchiveApi& api() const { return *la_; }

  private:
    ArchiveNameLocale names_; // before the archive is made, after it is freed
    const LibarchiveApi* la_ = libarchive();
    archive* archive_ = nullptr;
};

enum class ArchiveResult { Read, Damaged, TooLarge, TooManyEntries };

ArchiveResult readArchiveEntries(const std::string& path, std::uint64_t size, InputRun& run) {
    ArchiveStream stream(path);
    if (stream.get() == nullptr)
        return ArchiveResult::Damaged;
    const std::uint64_t limit =
        std::min(kDefaultExtractLimit, size > kDefaultExtractLimit / kMaxExpansionRatio
                                           ? kDefaultExtractLimit
                                           : size * kMaxExpansionRatio);
    std::uint64_t total = 0;
    std::string chunk(kChunkBytes, '\0');
    const LibarchiveApi& la = stream.api();
    for (int entries = 0;; ++entries) {
        archive_entry* entry = nullptr;
        const int r = la.next_header(stream.get(), &entry);
        if (r == ARCHIVE_EOF)
            return ArchiveResult::Read;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
            return ArchiveResult::Damaged;
        if (entries >= kMaxImportEntries)
            return ArchiveResult::TooManyEntries;
        if (la.entry_filetype(entry) != AE_IFREG)
            continue;
        const bool sized = la.entry_size_is_set(entry) != 0;
        const auto declared =
            static_cast<std::uint64_t>(std::max<la_int64_t>(la.entry_size(entry), 0));
        run.sink().beginFile(pathForDisplay(path) + ":" + entryName(la, entry));
        jvdata::RecordFramer framer(run.sink());
        std::uint64_t length = 0;
        while (run.keepGoing()) {
            const la_ssize_t n = la.read_data(stream.get(), chunk.data(), chunk.size());
            if (n == 0)
                break;
            if (n < 0)
                return ArchiveResult::Damaged;
            length += static_cast<std::uint64_t>(n);
            total += static_cast<std::uint64_t>(n);
            if (sized && length > declared)
                return ArchiveResult::Damaged;
            if (total > limit)
                return ArchiveResult::TooLarge;
            framer.feed(std::string_view(chunk).substr(0, static_cast<size_t>(n)));
        }
        framer.finish();
        run.fileDone(framer);
        if (!run.keepGoing())
            return ArchiveResult::Read;
    }
}

Outcome readArchive(const std::string& path, std::uint64_t size, InputRun& run) {
    const std::string shown = pathForDisplay(path);
    switch (readArchiveEntries(path, size, run)) {
    case ArchiveResult::Read:
        run.advance(size);
        return {};
    case ArchiveResult::Damaged:
        break;
    case ArchiveResult::TooManyEntries:
        return Failure{format("書庫'%s'には%d個より多くのファイルがあるため、読みませんでした。\r\n"
                              "中のファイルを取り出してから取り込んでください。",
                              shown.c_str(), kMaxImportEntries)};
    case ArchiveResult::TooLarge:
        return Failure{format("書庫'%s'は展開すると大きすぎるため、読みませんでした。\r\n"
                              "中のファイルを取り出してから取り込んでください。",
                              shown.c_str())};
    }
    return Failure{format("書庫'%s'が壊れているため、読めませんでした。\r\n"
                          "書庫を作り直してから、もう一度取り込んでください。",
                          shown.c_str())};
}

Outcome readFile(const std::string& path, std::uint64_t size, InputRun& run) {
    return kindOf(path) == Kind::Archive ? readArchive(path, size, run) : readPlainFile(path, run);
}

struct Listed {
    std::string path;
    std::uint64_t size = 0;
};

// The regular files of `path`: itself, or those below the folder in name order.
std::vector<Listed> listFiles(const std::string& path) {
    std::error_code ec;
    std::vector<Listed> files;
    if (!fs::is_directory(path, ec)) {
        files.push_back({path, fs::file_size(path, ec)});
        return files;
    }
    for (fs::recursive_directory_iterator
             it(path, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError) && !it->is_symlink(sizeError))
            files.push_back({it->path().string(), it->file_size(sizeError)});
    }
    std::sort(files.begin(), files.end(),
              [](const Listed& a, const Listed& b) { return a.path < b.path; });
    return files;
}

} // namespace

Outcome readJvDataPaths(const std::vector<std::string>& paths, JvDataInputSink& sink,
                        ProgressSink& progress) {
    std::vector<std::vector<Listed>> listed;
    std::uint64_t total = 0;
    for (const std::string& path : paths) {
        // Only regular files and folders: a FIFO would block the reading
        // and a device never end it.
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (!fs::exists(status))
            return cannotOpen(path);
        if (!fs::is_regular_file(status) && !fs::is_directory(status))
            return Failure{fileProblemText(FileProblem::NotRegularFile, path, "%s")};
        listed.push_back(listFiles(path));
        for (const Listed& file : listed.back())
            total += file.size;
    }
    InputRun run(sink, progress, total);
    progress.setPosition(0);
    for (size_t i = 0; i < paths.size(); ++i) {
        for (const Listed& file : listed[i]) {
            progress.setText(pathForDisplay(file.path));
            if (Outcome read = readFile(file.path, file.size, run); !read)
                return read;
            if (!run.keepGoing())
                return Failure{kJvDataReadingStopped};
        }
        if (!run.takeSawJvData())
            return Failure{format("'%s'にはJV-Dataのレコードがありません。\r\n"
                                  "JV-Linkから受け取ったレコードを保存したファイルを"
                                  "選んでください。",
                                  pathForDisplay(paths[i]).c_str())};
    }
    progress.setPosition(100);
    return {};
}

} // namespace zelkor
