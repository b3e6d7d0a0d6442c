#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace zelkor::jvfile {

// What identifies one version of a file: a rewritten file differs in at
// least one of these in practice (the index caches also check the bytes
// they rely on where that is cheap).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A regular file opened for reading, closed when this goes out of scope.
class ReadOnlyFile {
  public:
    // Fails, without waiting, for a missing, unreadable or non-regular file
    // (a folder, FIFO or device).
    bool open(const std::string& path);
    ~ReadOnlyFile();

    const FileStamp& stamp() const { return stamp_; }
    int descriptor() const { return fd_; }
    // Up to `length` bytes from `offset`; fewer at the end of the file.
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t length) const;
    // The same into `buffer` (at least `length` bytes): the count read.
    std::optional<std::size_t> readInto(std::uint64_t offset, char* buffer,
                                        std::size_t length) const;
    // The whole file.
    std::optional<std::string> readAll() const;

  private:
    int fd_ = -1;
    FileStamp stamp_;
};

// A regular file opened with stdio for the readers that scan it from its
// start; null for a missing, unreadable or non-regular file (a folder,
// FIFO or device), found without waiting.
struct StdioCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioCloser>;
StdioFile openRegularStdioFile(const std::string& path);

// Bumped by forgetJvFileIndexes(); an index built before is never reused.
std::uint64_t indexGeneration();
void bumpIndexGeneration();

// Indexes of a few files by path, valid while the file keeps its stamp.
// The lock makes it safe to use from more than one thread; an index itself
// is immutable once built and shared by pointer.
template <class Index> class IndexCache {
  public:
    std::shared_ptr<const Index> find(const std::string& path, const FileStamp& stamp) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = entries_.find(path);
        if (it == entries_.end() || !(it->second.stamp == stamp) ||
            it->second.generation != indexGeneration())
            return nullptr;
        return it->second.index;
    }

    void store(const std::string& path, const FileStamp& stamp,
               std::shared_ptr<const Index> index) {
        std::lock_guard<std::mutex> lock(mutex_);
        // A session reads one archive at a time; keep the cache small.
        if (entries_.size() >= kMaxEntries && entries_.find(path) == entries_.end())
            entries_.clear();
        entries_[path] = Entry{stamp, indexGeneration(), std::move(index)};
    }

  private:
    static constexpr std::size_t kMaxEntries = 8;
    struct Entry {
        FileStamp stamp;
        std::uint64_t generation = 0;
        std::shared_ptr<const Index> index;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

} // namespace zelkor::jvfile
