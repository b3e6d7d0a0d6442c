#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// Why a file could not be read or written.
enum class FileProblem {
    None,
    Missing,        // no such file
    NotRegularFile, // a folder, FIFO, device or socket
    TooLarge,       // larger than the limit of its kind
    Denied,         // no right to it, or a read-only disk
    NoSpace,        // the disk or the user's quota is full
    Failed,         // any other failure of the system
};

// Limits of the files read whole, far above what the program writes.
inline constexpr std::uint64_t kSettingsFileLimit = 64 * 1024;
inline constexpr std::uint64_t kPredictionFileLimit = 1024 * 1024;
inline constexpr std::uint64_t kAnyFileLimit = std::uint64_t{1} << 30;

// Opens `path` for reading when it is a regular file, never waiting on a
// FIFO or a device. Returns the descriptor (the caller closes it), or -1
// with `problem` set; `size` gets the file's size.
int openRegularFile(const std::string& path, FileProblem& problem, std::uint64_t& size);

// The whole regular file `path`, read up to its own size, or nothing when
// it is missing, not a regular file, larger than `limit` bytes or cannot be
// read; `problem` (when given) says which.
std::optional<std::string> readWholeFile(const std::string& path,
                                         std::uint64_t limit = kAnyFileLimit,
                                         FileProblem* problem = nullptr);

// Writes `data` into `path`, created or truncated in place (through a
// symbolic link). Fails without waiting for a FIFO or device, leaving it
// alone.
bool writeWholeFile(const std::string& path, std::string_view data, FileProblem* problem = nullptr);

// Writes `data` to a temporary file beside the target and renames it over
// the target, so a failed save leaves the old file intact. A symbolic link
// is followed to its target and stays a link; a target that exists and is
// not a regular file is refused.
bool writeFileAtomic(const std::string& path, std::string_view data,
                     FileProblem* problem = nullptr);

// The message telling why `path` could not be used (CP932): its own for a
// file that is no regular file or is too large, else `otherwise`, the
// message of the kind of file with one "%s" for the path.
std::string fileProblemText(FileProblem problem, const std::string& path, const char* otherwise);

// Why, in a sentence for a message (CP932); empty for None.
const char* fileProblemReason(FileProblem problem);

// A failure message in three lines: what was being done (`doing`), the
// fileProblemText of `path`, and the reason when that text does not give
// it already.
std::string fileFailureText(const char* doing, FileProblem problem, const std::string& path,
                            const char* otherwise);

// A page written as writeFileAtomic writes without waiting for the disk:
// the old file stays whole until the new one replaces it, and rewriting a
// file the disk is still writing out costs no wait (truncating it would).
bool writePageFile(const std::string& path, std::string_view data);

// The folder of a set of pages, opened once: each page is written as
// writePageFile writes it, but found from the folder rather than by its
// whole path, which the system would otherwise walk several times a page.
class PageFolder {
  public:
    // `folder` ends in a separator; it is made before.
    explicit PageFolder(std::string folder);
    ~PageFolder();
    PageFolder(const PageFolder&) = delete;
    PageFolder& operator=(const PageFolder&) = delete;

    // Writes the page `name` (a file name) into the folder.
    bool write(const std::string& name, std::string_view data) const;

  private:
    std::string folder_;
    int fd_; // -1 when the folder could not be opened
};

bool fileExists(const std::string& path);

} // namespace zelkor
