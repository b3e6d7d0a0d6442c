#include "jv/horse_lookup.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zelkor {

void JvHorseKeyTable::reserve(std::size_t keys) {
    // At most half full, a power of two for the mask.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, keys * 2));
    if (wanted <= slots_.size())
        return;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(wanted, Slot{});
    used_ = 0;
    for (const Slot& slot : old)
        if (slot.offsetPlusOne != 0)
            insert(std::string_view(slot.key, kJvHorseKeyBytes), slot.offsetPlusOne - 1);
}

std::size_t JvHorseKeyTable::slotOf(std::string_view key) const {
    // Registration numbers are digits: mix all ten bytes.
    std::uint64_t head = 0;
    std::uint16_t tail = 0;
    std::memcpy(&head, key.data(), 8);
    std::memcpy(&tail, key.data() + 8, 2);
    std::uint64_t h = (head ^ (std::uint64_t{tail} << 29)) * 0x9E3779B97F4A7C15ULL;
    h ^= h >> 31;
    return static_cast<std::size_t>(h) & (slots_.size() - 1);
}

void JvHorseKeyTable::insert(std::string_view key, std::uint64_t offset) {
    if (key.size() != kJvHorseKeyBytes)
        return;
    if ((used_ + 1) * 2 > slots_.size())
        reserve(used_ + 1 > 8 ? (used_ + 1) * 2 : 8);
    for (std::size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
        Slot& slot = slots_[i];
        if (slot.offsetPlusOne == 0) {
            slot.offsetPlusOne = offset + 1;
            std::memcpy(slot.key, key.data(), kJvHorseKeyBytes);
            ++used_;
            return;
        }
        if (std::memcmp(slot.key, key.data(), kJvHorseKeyBytes) == 0)
            return;
    }
}

std::optional<std::uint64_t> JvHorseKeyTable::find(std::string_view key) const {
    if (key.size() != kJvHorseKeyBytes || slots_.empty())
        return std::nullopt;
    for (std::size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
        const Slot& slot = slots_[i];
        if (slot.offsetPlusOne == 0)
            return std::nullopt;
        if (std::memcmp(slot.key, key.data(), kJvHorseKeyBytes) == 0)
            return slot.offsetPlusOne - 1;
    }
}

JvHorseFile::JvHorseFile(std::string path) : path_(std::move(path)) {}

bool indexHorseKeys(const jvfile::ReadOnlyFile& file, JvHorseKeyTable& keys) {
    // Blocks of whole records, so no key straddles two reads; the buffer is
    // written by the reads only.
    constexpr std::size_t kBlockBytes = kJvHorseRecordBytes * 256;
    auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    keys = JvHorseKeyTable();
    // The stamp's size only sizes the table; the reads below decide.
    keys.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(file.stamp().size / kJvHorseRecordBytes + 1, 1u << 22)));
    for (std::uint64_t offset = 0;; offset += kBlockBytes) {
        std::optional<std::size_t> n = file.readInto(offset, block.get(), kBlockBytes);
        if (!n)
            return false;
        for (std::size_t pos = 0; pos + kJvHorseKeyBytes <= *n; pos += kJvHorseRecordBytes)
            keys.insert(std::string_view(block.get() + pos, kJvHorseKeyBytes), offset + pos);
        if (*n < kBlockBytes)
            return true;
    }
}

bool JvHorseFile::index() {
    indexed_ = indexHorseKeys(file_, keys_);
    return indexed_;
}

bool JvHorseFile::read(JvHorseRecord& record, std::string_view horseId,
                       long long fieldStrengthTotal, int year, UserPrompt& prompt) {
    if (!opened_ && !(opened_ = file_.open(path_))) {
        showHorseFileNotOpened(prompt, path_);
        return false;
    }
    if (!record_)
        record_ = std::make_unique_for_overwrite<char[]>(kJvHorseUsedBytes);
    // A file rewritten during the job shows as a record whose key differs;
    // the keys are then indexed again once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if ((!indexed_ || attempt > 0) && !index())
            break;
        std::optional<std::uint64_t> offset = keys_.find(horseId);
        if (!offset)
            break;
        std::optional<std::size_t> n = file_.readInto(*offset, record_.get(), kJvHorseUsedBytes);
        const std::string_view bytes(record_.get(), n.value_or(0));
        if (!n || !bytes.starts_with(horseId))
            continue;
        parseHorseRecord(record, bytes, fieldStrengthTotal, year);
        return true;
    }
    showHorseNotRead(prompt);
    return false;
}

} // namespace zelkor
