#pragma once

// Archives written byte for byte as archivers write them, every entry stored
// uncompressed, names as given (CP932 or UTF-8 bytes).

#include <cstdint>
#include <string>
#include <vector>

namespace zelkor::test {

struct StoredFile {
    std::string name;
    std::string data;
};

// One LZH entry (-lh0-, level-1 header); `declared` overrides the original
// length the header states. An archive is its entries and a final NUL.
std::string lzhStoredEntry(const std::string& name, const std::string& data,
                           std::uint32_t declared = 0xffffffff);
// A zip whose names carry the UTF-8 flag when `utf8Names`.
std::string zipArchive(const std::vector<StoredFile>& files, bool utf8Names);
// A ustar archive.
std::string tarArchive(const std::vector<StoredFile>& files);

} // namespace zelkor::test
