#pragma once

#include "core/ports.h"
#include "jv/file_index.h"
#include "jv/horse_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// Registration number → offset of the first record with that key, in one
// flat table (open addressing): no string per key, one allocation, nothing
// to free key by key.
class JvHorseKeyTable {
  public:
    // Room for `keys` keys without growing.
    void reserve(std::size_t keys);
    // Keeps the first offset of a key.
    void insert(std::string_view key, std::uint64_t offset);
    // The offset of `key`, or nothing.
    std::optional<std::uint64_t> find(std::string_view key) const;
    std::size_t size() const { return used_; }

  private:
    struct Slot {
        std::uint64_t offsetPlusOne = 0; // 0: empty
        char key[kJvHorseKeyBytes];
    };
    std::size_t slotOf(std::string_view key) const;
    void grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

// Every key of the horse file into `keys` (emptied first), in one pass of
// whole-record blocks; false when the file cannot be read.
bool indexHorseKeys(const jvfile::ReadOnlyFile& file, JvHorseKeyTable& keys);

// A horse file for one job: opened once, its keys indexed in one pass on
// the first lookup, each horse then read where it lies. Reads as readHorse
// does, with its messages, the first record of a key winning.
class JvHorseFile {
  public:
    explicit JvHorseFile(std::string path);

    const std::string& path() const { return path_; }

    // Horse `horseId` into `record` with its values derived for a field of
    // `fieldStrengthTotal`, ages counted in `year`.
    bool read(JvHorseRecord& record, std::string_view horseId, long long fieldStrengthTotal,
              int year, UserPrompt& prompt);

  private:
    bool index();

    std::string path_;
    jvfile::ReadOnlyFile file_;
    bool opened_ = false;
    bool indexed_ = false;
    JvHorseKeyTable keys_;
    std::unique_ptr<char[]> record_; // the bytes of the record being read
};

} // namespace zelkor
