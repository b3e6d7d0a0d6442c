#pragma once

#include "archive/file_index.h"
#include "archive/horse_file.h"
#include "archive/past_horses.h"
#include "core/result.h"
#include "platform/huge_pages.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// Registration number → a value (a record's number or place), in one flat
// table (open addressing) of 16-byte slots: no string per key, one
// allocation, nothing to free key by key.
class JvHorseKeyTable {
  public:
    // Room for `keys` keys without growing.
    void reserve(std::size_t keys);
    // Keeps the first value of a key: false when the key was there (or is
    // no key).
    bool insert(std::string_view key, std::uint32_t value);
    // The value of `key`, or nothing.
    std::optional<std::uint32_t> find(std::string_view key) const;
    // Starts fetching the slot of a key (kJvHorseKeyBytes at `key`) that
    // is about to be looked up: a block's lookups then wait for memory once
    // together instead of one after another.
    void prefetch(const char* key) const {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[slotOf(std::string_view(key, kJvHorseKeyBytes))]);
    }
    std::size_t size() const { return used_; }
    // False when `key` (kJvHorseKeyBytes at `key`) is surely not in the
    // table, from a filter small enough to stay in the nearest cache.
    bool mayHold(const char* key) const {
        if (filter_.empty())
            return false;
        const std::uint64_t h = hashOf(key);
        const std::uint64_t bits = filterBits(h);
        return (filter_[(h >> 40) & (filter_.size() - 1)] & bits) == bits;
    }

  private:
    struct Slot {
        std::uint32_t value = 0;
        char key[kJvHorseKeyBytes];
        bool used = false;
    };
    static std::uint64_t hashOf(const char* key);
    static std::uint64_t filterBits(std::uint64_t h) {
        return (std::uint64_t{1} << (h & 63)) | (std::uint64_t{1} << ((h >> 6) & 63));
    }
    std::size_t slotOf(std::string_view key) const {
        return static_cast<std::size_t>(hashOf(key.data())) & (slots_.size() - 1);
    }
    std::size_t slotFor(std::string_view key) const;

    jvfile::LargeVector<Slot> slots_;
    std::vector<std::uint64_t> filter_; // two bits of each key's hash, four bits a slot
    std::size_t used_ = 0;
};

// Reads a horse file of whole records (see holdsWholeHorseRecords) up to
// the size it had when opened, as `cat` reads: in blocks of whole records,
// small enough to stay in the cache they are read into. Each block goes to
// `take` with the number of its first record; `take` returns false to end
// the pass there. False when a read fails or comes short (the file was cut
// meanwhile): no record is read from a shifted place.
bool readHorseBlocks(const jvfile::ReadOnlyFile& file,
                     const std::function<bool(std::string_view, std::uint64_t)>& take);

// Every key of the horse file into `keys` (emptied first) with its record's
// number (its offset over kJvHorseRecordBytes), in one pass of whole-record blocks; false when the
// file cannot be read or is not whole records.
bool indexHorseKeys(const jvfile::ReadOnlyFile& file, JvHorseKeyTable& keys);

// A horse file for one job: opened once, and read in one pass for the
// horses the job names beforehand (a race card's runners), whose used bytes
// are then kept, or only what the sheet takes of them while the job reads
// no more: a large card's records are never all held. A horse named later,
// or a whole read after reads for the sheet, costs another pass. Reads as
// readHorse does, with its failures, the first record of a key winning.
class JvHorseFile {
  public:
    explicit JvHorseFile(std::string path);

    const std::string& path() const { return path_; }

    // A horse the job will read: the next read takes it from the file with
    // every other horse named before it.
    void expect(std::string_view horseId);

    // Horse `horseId` into `record` with its values derived for a field of
    // `fieldStrengthTotal`, ages counted in `year`.
    Outcome read(JvHorseRecord& record, std::string_view horseId, long long fieldStrengthTotal,
                 int year);
    // The same with only what the race sheet takes (see parseHorseForSheet).
    Outcome readForSheet(JvHorseRecord& record, std::string_view horseId, int year);

  private:
    // What a pass keeps of each horse.
    enum class Keep { SheetFacts, Records };
    // The place of the horse's record in records_ or facts_ (kept as
    // `keep` asks).
    Result<std::uint32_t> placeOf(std::string_view horseId, Keep keep);
    bool readExpected();

    std::string path_;
    jvfile::ReadOnlyFile file_;
    bool opened_ = false;
    // Key → place in records_ or facts_, given when the key is expected.
    JvHorseKeyTable places_;
    // The keys by place, and the place after the last one read: a job
    // reads its horses in the order it named them, so the next place is
    // tried before the key table, whose slots lie far apart in memory.
    std::vector<std::array<char, kJvHorseKeyBytes>> keyOfPlace_;
    std::size_t nextPlace_ = 0;
    std::vector<bool> found_;                    // by place: its horse has been read
    std::size_t notRead_ = 0;                    // keys expected but not yet looked for
    jvfile::LargeVector<char> records_;          // kJvHorseUsedBytes per place
    jvfile::LargeVector<HorseSheetFacts> facts_; // in place of records_ for SheetFacts
    Keep keep_ = Keep::SheetFacts;
};

} // namespace zelkor
