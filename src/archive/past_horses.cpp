#include "archive/past_horses.h"

#include "archive/file_index.h"
#include "archive/horse_lookup.h"
#include "race/code_tables.h"
#include "race/fixed_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zelkor {
namespace {

using jvrecord::readLeadingDigits;

// The bytes at `bytes` as a number whose lowest byte is the first.
template <typename Word> Word wordAt(const char* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = sizeof word == 8
                   ? static_cast<Word>(__builtin_bswap64(word))
                   : static_cast<Word>(__builtin_bswap32(static_cast<std::uint32_t>(word)));
    return word;
}

// The number in the `Width` (1..4) bytes at `offset`. A field of digits
// only, as nearly every field is, is read in one word: loaded with the
// bytes before it, made '0's, checked to be all digits and combined by two
// multiplications instead of a branch per byte. Anything else is read by
// the general parse.
template <size_t Width> inline std::int16_t fieldNumber(std::string_view block, size_t offset) {
    static_assert(Width >= 1 && Width <= 4);
    const size_t end = offset + Width;
    if (end >= 4 && end <= block.size()) {
        // The four bytes ending with the field, those before it made '0's.
        const std::uint32_t word = wordAt<std::uint32_t>(block.data() + end - 4);
        constexpr std::uint32_t kBefore =
            Width == 4 ? 0 : (std::uint32_t{1} << (8 * (4 - Width))) - 1;
        const std::uint32_t field = (word & ~kBefore) | (0x30303030u & kBefore);
        // Every byte 0x30..0x39: its high half is 3 and adding 6 keeps it so.
        if (((field & 0xf0f0f0f0u) | ((field + 0x06060606u) & 0xf0f0f0f0u) >> 4) == 0x33333333u) {
            const std::uint32_t digits = field - 0x30303030u;        // first digit lowest
            const std::uint32_t pairs = digits * 10 + (digits >> 8); // tens in bytes 0 and 2
            return static_cast<std::int16_t>((pairs & 0xff) * 100 + (pairs >> 16 & 0xff));
        }
    }
    return static_cast<std::int16_t>(readLeadingDigits(block, offset, Width));
}

// Bytes `first` to `last` of an eight-byte window.
constexpr std::uint64_t windowBytes(size_t first, size_t last) {
    return (last == 7 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * (last + 1))) - 1) &
           ~((std::uint64_t{1} << (8 * first)) - 1);
}

// Eight bytes of a run block that hold several fields, read as one word
// the way fieldNumber reads four: the bytes `fields` leaves out count as
// '0's. When the block is short or a field byte is not a digit, each
// field is read by fieldNumber instead.
class DigitWindow {
  public:
    DigitWindow(std::string_view block, size_t offset, std::uint64_t fields)
        : block_(block), offset_(offset) {
        if (offset + 8 > block.size())
            return;
        const std::uint64_t word = (wordAt<std::uint64_t>(block.data() + offset) & fields) |
                                   (0x3030303030303030u & ~fields);
        ok_ = ((word & 0xf0f0f0f0f0f0f0f0u) |
               ((word + 0x0606060606060606u) & 0xf0f0f0f0f0f0f0f0u) >> 4) == 0x3333333333333333u;
        const std::uint64_t digits = word - 0x3030303030303030u;
        pairs_ = digits * 10 + (digits >> 8); // bytes 2k and 2k + 1 in byte 2k
        // Bytes 4k to 4k + 3 in bits 32k + 16 on: the pairs' lower bytes
        // weighed 100 and 1.
        quads_ = (pairs_ & 0x00ff00ff00ff00ffu) * (1 + (std::uint64_t{100} << 16));
    }

    // The number of the `Width` bytes from window byte `Byte`: a pair on
    // an even byte, or the end of a group of four.
    template <size_t Width, size_t Byte> std::int16_t number() const {
        static_assert((Width == 2 && Byte % 2 == 0) ||
                      ((Width == 3 || Width == 4) && (Byte + Width) % 4 == 0 && Byte < 8));
        if (!ok_)
            return fieldNumber<Width>(block_, offset_ + Byte);
        if constexpr (Width == 2)
            return static_cast<std::int16_t>(pairs_ >> (8 * Byte) & 0xff);
        else
            return static_cast<std::int16_t>(quads_ >> (8 * (Byte + Width - 4) + 16) & 0xffff);
    }

  private:
    std::string_view block_;
    size_t offset_;
    bool ok_ = false;
    std::uint64_t pairs_ = 0;
    std::uint64_t quads_ = 0;
};

// Reads run slot `slot`'s block at the offsets the horse file reader uses;
// false at the end mark.
bool parseRunFacts(PastRunFacts& run, std::string_view block) {
    // Bytes a short record lacks read as blanks.
    auto byteAt = [&](size_t offset) { return offset < block.size() ? block[offset] : ' '; };
    if (byteAt(0) == ' ' && byteAt(1) == ' ' && byteAt(2) == ' ' && byteAt(3) == ' ')
        return false;
    // At most four places wide: every value fits the 16 bits it is kept in.
    const DigitWindow date(block, 0, windowBytes(0, 7));
    run.year = date.number<4, 0>();
    run.monthDay = date.number<4, 4>();
    run.courseCode = {byteAt(8), byteAt(9)};
    const DigitWindow meeting(block, 8, windowBytes(2, 7));
    run.meeting = meeting.number<2, 2>();
    run.meetingDay = meeting.number<2, 4>();
    run.raceNumber = meeting.number<2, 6>();
    run.gradeCode = byteAt(22);
    run.conditionCode = fieldNumber<3>(block, 29);
    const DigitWindow course(block, 56, windowBytes(0, 5));
    run.distanceMetres = course.number<4, 0>();
    run.trackCode = course.number<2, 4>();
    const DigitWindow numbers(block, 74, windowBytes(0, 1) | windowBytes(6, 7));
    run.fieldSize = numbers.number<2, 0>();
    run.horseNumber = numbers.number<2, 6>();
    run.weightCarried = fieldNumber<3>(block, 84);
    run.abnormal = fieldNumber<1>(block, 115);
    const DigitWindow corners(block, 122, windowBytes(0, 7));
    run.corners[0] = static_cast<std::int8_t>(corners.number<2, 0>());
    run.corners[1] = static_cast<std::int8_t>(corners.number<2, 2>());
    run.corners[2] = static_cast<std::int8_t>(corners.number<2, 4>());
    run.corners[3] = static_cast<std::int8_t>(corners.number<2, 6>());
    run.time = fieldNumber<4>(block, 136);
    const DigitWindow placing(block, 145, windowBytes(0, 3));
    run.finish = placing.number<2, 0>();
    run.popularity = placing.number<2, 2>();
    run.timeDiff = fieldNumber<3>(block, 212);
    return true;
}

// Leaves out every horse from `first` on whose key an earlier record has,
// keeping file order: a key the table of keys seen already holds adds
// nothing to it. The table is large, so the slots of the horses are
// fetched together before they are probed one by one.
void dropRepeatedKeys(PastHorses& horses, size_t first, JvHorseKeyTable& seen) {
    for (size_t h = first; h < horses.size(); ++h)
        seen.prefetch(horses[h].id.data());
    size_t kept = first;
    for (size_t h = first; h < horses.size(); ++h) {
        if (!seen.insert(std::string_view(horses[h].id.data(), horses[h].id.size()), 0))
            continue;
        // Nothing moves before the first repeated key.
        if (kept != h)
            horses[kept] = horses[h];
        ++kept;
    }
    horses.resize(kept);
}

} // namespace

PastHorse parsePastHorse(std::string_view record) {
    PastHorse horse;
    for (size_t i = 0; i < horse.id.size(); ++i)
        horse.id[i] = i < record.size() ? record[i] : ' ';
    horse.birthYear = readLeadingDigits(record, 64, 4);
    horse.sexCode = readLeadingDigits(record, 73, 1);
    for (PastRunFacts& run : horse.runs) {
        const size_t offset =
            kJvPastRunsOffset + kJvPastRunBytes * static_cast<size_t>(horse.runCount);
        const std::string_view block =
            offset < record.size() ? record.substr(offset, kJvPastRunBytes) : std::string_view();
        if (!parseRunFacts(run, block))
            break;
        ++horse.runCount;
    }
    return horse;
}

Outcome readPastHorses(const std::string& horseFilePath, PastHorses& horses,
                       UserPrompt& userPrompt) {
    RememberingPrompt prompt(userPrompt);
    jvfile::ReadOnlyFile file;
    if (!file.open(horseFilePath)) {
        showHorseFileNotOpened(prompt, horseFilePath);
        return prompt.failure({});
    }
    const std::uint64_t size = file.stamp().size;
    if (!holdsWholeHorseRecords(size)) {
        showHorseNotRead(prompt);
        return prompt.failure({});
    }
    horses.clear();
    horses.reserve(static_cast<size_t>(size / kJvHorseRecordBytes));
    JvHorseKeyTable seen;
    seen.reserve(horses.capacity());
    if (!readHorseBlocks(file, [&](std::string_view block, std::uint64_t) {
            const size_t first = horses.size();
            for (size_t pos = 0; pos < block.size(); pos += kJvHorseRecordBytes)
                horses.push_back(parsePastHorse(block.substr(pos, kJvHorseUsedBytes)));
            dropRepeatedKeys(horses, first, seen);
            return true;
        })) {
        showHorseNotRead(prompt);
        return prompt.failure({});
    }
    return {};
}

} // namespace zelkor
