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

bool fileExists(const std::string& path);

} // namespace zelkor
