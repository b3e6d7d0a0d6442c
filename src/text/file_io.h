#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Creates or truncates `path` and writes `data` in one piece.
bool writeWholeFile(const std::string& path, std::string_view data);

// Writes `data` to a temporary file beside `path` and renames it over
// `path`, so a failed save leaves the old file intact.
bool writeFileAtomic(const std::string& path, std::string_view data);

// A page written the same way without waiting for the disk: the old file
// stays whole until the new one replaces it, and rewriting a file the disk
// is still writing out costs no wait (truncating it would). A symbolic link
// is written through to its target; a target that is not a regular file is
// refused.
bool writePageFile(const std::string& path, std::string_view data);

bool fileExists(const std::string& path);

} // namespace zelkor
