#include "archive/horse_lookup.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>

namespace zelkor {
namespace {

// Records per read: blocks of whole records, so no record straddles two
// reads, of about 360 KB: small enough to stay in the cache they are read
// into, large enough that the reads' system calls (a microsecond each on a
// virtual machine) cost little beside the copying.
constexpr std::size_t kBlockRecords = 128;

} // namespace

void JvHorseKeyTable::reserve(std::size_t keys) {
    // At most half full, a power of two for the mask.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, keys * 2));
    if (wanted <= slots_.size())
        return;
    jvfile::LargeVector<Slot> old = std::move(slots_);
    slots_ = {};
    slots_.resize(wanted);
    filter_.assign(wanted / 16, 0);
    used_ = 0;
    for (const Slot& slot : old)
        if (slot.used)
            insert(std::string_view(slot.key, kJvHorseKeyBytes), slot.value);
}

std::uint64_t JvHorseKeyTable::hashOf(const char* key) {
    // Registration numbers are digits: mix all ten bytes.
    std::uint64_t head = 0;
    std::uint16_t tail = 0;
    std::memcpy(&head, key, 8);
    std::memcpy(&tail, key + 8, 2);
    // A product carries a byte's change only upwards: two rounds of
    // multiplying and folding the high half down reach every slot bit
    // from every byte (one round left the seventh and eighth digits, which
    // count up in a run of registrations, only the top bits: long chains).
    std::uint64_t h = head * 0x9E3779B97F4A7C15ULL + tail;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ULL;
    h ^= h >> 32;
    return h;
}

std::size_t JvHorseKeyTable::slotFor(std::string_view key) const {
    // The key's slot, or the free slot where it would go.
    for (std::size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
        const Slot& slot = slots_[i];
        if (!slot.used || std::memcmp(slot.key, key.data(), kJvHorseKeyBytes) == 0)
            return i;
    }
}

bool JvHorseKeyTable::insert(std::string_view key, std::uint32_t value) {
    if (key.size() != kJvHorseKeyBytes)
        return false;
    if ((used_ + 1) * 2 > slots_.size())
        reserve(used_ + 1 > 8 ? (used_ + 1) * 2 : 8);
    Slot& slot = slots_[slotFor(key)];
    if (slot.used)
        return false;
    slot.used = true;
    slot.value = value;
    const std::uint64_t h = hashOf(key.data());
    filter_[(h >> 40) & (filter_.size() - 1)] |= filterBits(h);
    std::memcpy(slot.key, key.data(), kJvHorseKeyBytes);
    ++used_;
    return true;
}

std::optional<std::uint32_t> JvHorseKeyTable::find(std::string_view key) const {
    if (key.size() != kJvHorseKeyBytes || slots_.empty())
        return std::nullopt;
    const Slot& slot = slots_[slotFor(key)];
    return slot.used ? std::optional<std::uint32_t>(slot.value) : std::nullopt;
}

bool readHorseBlocks(const jvfile::ReadOnlyFile& file,
                     const std::function<bool(std::string_view, std::uint64_t)>& take) {
    constexpr std::size_t kBlockBytes = kJvHorseRecordBytes * kBlockRecords;
    // Written by the reads only.
    auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    const std::uint64_t size = file.stamp().size;
    for (std::uint64_t offset = 0; offset < size; offset += kBlockBytes) {
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockBytes, size - offset));
        if (file.readInto(offset, block.get(), length) != length)
            return false;
        if (!take(std::string_view(block.get(), length), offset / kJvHorseRecordBytes))
            return true;
    }
    return true;
}

bool indexHorseKeys(const jvfile::ReadOnlyFile& file, JvHorseKeyTable& keys) {
    // A file of part records (LF line ends, a cut end) would be read shifted.
    if (!holdsWholeHorseRecords(file.stamp().size) ||
        file.stamp().size / kJvHorseRecordBytes >= std::numeric_limits<std::uint32_t>::max())
        return false;
    keys = JvHorseKeyTable();
    keys.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(file.stamp().size / kJvHorseRecordBytes + 1, 1u << 22)));
    return readHorseBlocks(file, [&](std::string_view block, std::uint64_t first) {
        for (std::size_t pos = 0; pos < block.size(); pos += kJvHorseRecordBytes)
            keys.insert(block.substr(pos, kJvHorseKeyBytes),
                        static_cast<std::uint32_t>(first + pos / kJvHorseRecordBytes));
        return true;
    });
}

JvHorseFile::JvHorseFile(std::string path) : path_(std::move(path)) {}

void JvHorseFile::expect(std::string_view horseId) {
    // Places in the order the horses are named, which is the order a job
    // reads them in: the reads then walk the kept horses from front to back.
    if (!places_.insert(horseId, static_cast<std::uint32_t>(found_.size())))
        return;
    std::memcpy(keyOfPlace_.emplace_back().data(), horseId.data(), kJvHorseKeyBytes);
    found_.push_back(false);
    ++notRead_;
}

bool JvHorseFile::readExpected() {
    const std::uint64_t size = file_.stamp().size;
    // A file of part records (LF line ends, a cut end) would be read shifted.
    if (!holdsWholeHorseRecords(size))
        return false;
    // Written by the copies only.
    if (keep_ == Keep::Records)
        records_.resize(found_.size() * kJvHorseUsedBytes);
    else
        facts_.resize(found_.size());
    // Read in blocks: a pass through a mapping of the file would copy
    // nothing, but waits on memory for every record's key and costs up to
    // five times as long. A file cut short meanwhile ends the pass, with
    // the horses found before.
    auto missing = static_cast<std::size_t>(std::count(found_.begin(), found_.end(), false));
    if (missing > 0)
        readHorseBlocks(file_, [&](std::string_view block, std::uint64_t) {
            // Most keys are not expected: the filter tells them without
            // a look into the table, whose slots lie far apart in memory.
            for (std::size_t pos = 0; pos < block.size(); pos += kJvHorseRecordBytes) {
                if (!places_.mayHold(block.data() + pos))
                    continue;
                const std::optional<std::uint32_t> place =
                    places_.find(block.substr(pos, kJvHorseKeyBytes));
                // The first record of a key wins.
                if (!place || found_[*place])
                    continue;
                const std::string_view used = block.substr(pos, kJvHorseUsedBytes);
                if (keep_ == Keep::SheetFacts)
                    facts_[*place] = sheetFactsOf(used);
                else
                    std::memcpy(records_.data() + std::size_t{*place} * kJvHorseUsedBytes,
                                used.data(), used.size());
                found_[*place] = true;
                --missing;
            }
            // The pass ends with the last horse expected.
            return missing > 0;
        });
    notRead_ = 0;
    return true;
}

Result<std::uint32_t> JvHorseFile::placeOf(std::string_view horseId, Keep keep) {
    if (!opened_ && !(opened_ = file_.open(path_)))
        return horseFileNotOpened(path_);
    // Whole records are kept from the first whole read on: every horse
    // expected is read again in that form.
    if (keep == Keep::Records && keep_ == Keep::SheetFacts) {
        keep_ = Keep::Records;
        facts_ = {};
        found_.assign(found_.size(), false);
        notRead_ = found_.size();
    }
    // A job names its horses beforehand, so the key is found at the first
    // look as a rule.
    std::optional<std::uint32_t> place;
    if (nextPlace_ < keyOfPlace_.size() &&
        std::string_view(keyOfPlace_[nextPlace_].data(), kJvHorseKeyBytes) == horseId)
        place = static_cast<std::uint32_t>(nextPlace_);
    else
        place = places_.find(horseId);
    if (!place) {
        expect(horseId);
        place = places_.find(horseId);
    }
    if (place)
        nextPlace_ = std::size_t{*place} + 1;
    if (notRead_ > 0 && !readExpected())
        return horseNotRead();
    if (!place || !found_[*place])
        return horseNotRead();
    return *place;
}

Outcome JvHorseFile::read(JvHorseRecord& record, std::string_view horseId,
                          long long fieldStrengthTotal, int year) {
    const Result<std::uint32_t> place = placeOf(horseId, Keep::Records);
    if (!place)
        return Failure{place.message()};
    parseHorseRecord(record,
                     std::string_view(records_.data() + std::size_t{*place} * kJvHorseUsedBytes,
                                      kJvHorseUsedBytes),
                     fieldStrengthTotal, year);
    return {};
}

Outcome JvHorseFile::readForSheet(JvHorseRecord& record, std::string_view horseId, int year) {
    const Result<std::uint32_t> place = placeOf(horseId, keep_);
    if (!place)
        return Failure{place.message()};
    if (keep_ == Keep::SheetFacts)
        fillHorseForSheet(record, facts_[*place], year);
    else
        parseHorseForSheet(
            record,
            std::string_view(records_.data() + std::size_t{*place} * kJvHorseUsedBytes,
                             kJvHorseUsedBytes),
            year);
    return {};
}

} // namespace zelkor
