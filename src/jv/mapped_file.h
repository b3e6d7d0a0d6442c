#pragma once

#include "jv/file_index.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelkor::jvfile {

// Reads of a regular file for a pass over most of it that looks at little
// of each record: through a read-only mapping, so that the bytes never
// looked at are never copied, or through reads where the file cannot be
// mapped. A file cut short meanwhile is never read past its new end: the
// copy fails (where touching the mapping there would raise SIGBUS).
class MappedFile {
  public:
    // The file's first file.stamp().size bytes; `file` must outlive this.
    explicit MappedFile(const ReadOnlyFile& file);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::uint64_t size() const { return size_; }

    // `length` bytes from `offset` into `to`; false when they are not all
    // in the file (any more).
    bool copy(std::uint64_t offset, char* to, std::size_t length) const;
    // `count` fields of `width` bytes, the first at `offset` and each
    // `stride` bytes after the one before, one after another into `to`.
    bool copyEvery(std::uint64_t offset, std::size_t stride, std::size_t count, std::size_t width,
                   char* to) const;

    // Done with the bytes before `offset`: their pages leave this process's
    // memory (they stay cached for the file) a few MB at a time, so a pass
    // over a large file holds a little of it at a time.
    void release(std::uint64_t offset);

  private:
    const ReadOnlyFile& file_;
    std::uint64_t size_ = 0;
    const char* data_ = nullptr;     // null when not mapped
    mutable std::vector<char> span_; // the bytes read where not mapped
    std::uint64_t released_ = 0;
};

// Asks for huge pages under a large array about to be filled (the horses
// of a file, the runs of all of them): a few dozen page faults instead of
// thousands. Only advice: nothing changes where it is not taken.
void adviseHugePages(const void* data, std::size_t bytes);

} // namespace zelkor::jvfile
