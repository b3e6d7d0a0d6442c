#include "archive/past_horses.h"

#include "archive/archive_layouts.h"
#include "archive/file_index.h"
#include "archive/horse_lookup.h"
#include "race/code_tables.h"
#include "race/fixed_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zelkor {
namespace {

using archivelayout::Field;
using jvrecord::readNumber;

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

// The number in field `F` (1..4 bytes wide). A field of digits
// only, as nearly every field is, is read in one word: loaded with the
// bytes before it, made '0's, checked to be all digits and combined by two
// multiplications instead of a branch per byte. Anything else is read by
// the general parse.
template <Field F> inline std::int16_t fieldNumber(std::string_view block) {
    constexpr size_t Width = F.width;
    static_assert(Width >= 1 && Width <= 4);
    const size_t end = F.offset + Width;
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
    return static_cast<std::int16_t>(readNumber(block, F));
}

// Bytes `first` to `last` of an eight-byte window.
constexpr std::uint64_t windowBytes(size_t first, size_t last) {
    return (last == 7 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * (last + 1))) - 1) &
           ~((std::uint64_t{1} << (8 * first)) - 1);
}

// Eight bytes of a run block from field `First` on that hold it and the
// `Rest`, read as one word the way fieldNumber reads four: the bytes no
// field covers count as '0's. When the block is short or a field byte is
// not a digit, each field is read by fieldNumber instead.
template <Field First, Field... Rest> class DigitWindow {
    static constexpr size_t kBase = First.offset;
    template <Field F> static constexpr std::uint64_t bytesOf() {
        static_assert(F.offset >= kBase && F.offset + F.width <= kBase + 8);
        return windowBytes(F.offset - kBase, F.offset - kBase + F.width - 1);
    }

  public:
    explicit DigitWindow(std::string_view block) : block_(block) {
        constexpr std::uint64_t fields = (bytesOf<First>() | ... | bytesOf<Rest>());
        if (kBase + 8 > block.size())
            return;
        const std::uint64_t word = (wordAt<std::uint64_t>(block.data() + kBase) & fields) |
                                   (0x3030303030303030u & ~fields);
        ok_ = ((word & 0xf0f0f0f0f0f0f0f0u) |
               ((word + 0x0606060606060606u) & 0xf0f0f0f0f0f0f0f0u) >> 4) == 0x3333333333333333u;
        const std::uint64_t digits = word - 0x3030303030303030u;
        pairs_ = digits * 10 + (digits >> 8); // bytes 2k and 2k + 1 in byte 2k
        // Bytes 4k to 4k + 3 in bits 32k + 16 on: the pairs' lower bytes
        // weighed 100 and 1.
        quads_ = (pairs_ & 0x00ff00ff00ff00ffu) * (1 + (std::uint64_t{100} << 16));
    }

    // The number of field `F`, one of the window's: a pair on an even
    // byte, or the end of a group of four.
    template <Field F> std::int16_t number() const {
        constexpr size_t kByte = F.offset - kBase;
        static_assert(((F.offset == First.offset) || ... || (F.offset == Rest.offset)));
        static_assert((F.width == 2 && kByte % 2 == 0) ||
                      ((F.width == 3 || F.width == 4) && (kByte + F.width) % 4 == 0 && kByte < 8));
        if (!ok_)
            return fieldNumber<F>(block_);
        if constexpr (F.width == 2)
            return static_cast<std::int16_t>(pairs_ >> (8 * kByte) & 0xff);
        else
            return static_cast<std::int16_t>(quads_ >> (8 * (kByte + F.width - 4) + 16) & 0xffff);
    }

  private:
    std::string_view block_;
    bool ok_ = false;
    std::uint64_t pairs_ = 0;
    std::uint64_t quads_ = 0;
};

} // namespace

bool parseRunBlock(JvPastRun& run, std::string_view block) {
    namespace f = archivelayout::run;
    // Bytes a short record lacks read as blanks.
    auto byteAt = [&](size_t offset) { return offset < block.size() ? block[offset] : ' '; };
    if (byteAt(0) == ' ' && byteAt(1) == ' ' && byteAt(2) == ' ' && byteAt(3) == ' ')
        return false;
    // At most four places wide: every value fits the 16 bits it is kept in.
    const DigitWindow<f::kYear, f::kMonthDay> date(block);
    run.year = date.number<f::kYear>();
    run.monthDay = date.number<f::kMonthDay>();
    run.courseCode = {byteAt(f::kCourse.offset), byteAt(f::kCourse.offset + 1)};
    const DigitWindow<f::kMeeting, f::kMeetingDay, f::kRaceNo> meeting(block);
    run.meeting = meeting.number<f::kMeeting>();
    run.meetingDay = meeting.number<f::kMeetingDay>();
    run.raceNumber = meeting.number<f::kRaceNo>();
    run.gradeCode = byteAt(f::kGrade.offset);
    run.conditionCode = fieldNumber<f::kCondition>(block);
    const DigitWindow<f::kDistance, f::kTrack> course(block);
    run.distanceMetres = course.number<f::kDistance>();
    run.trackCode = course.number<f::kTrack>();
    const DigitWindow<f::kFieldSize, f::kHorseNo> numbers(block);
    run.fieldSize = numbers.number<f::kFieldSize>();
    run.horseNumber = numbers.number<f::kHorseNo>();
    run.weightCarried = fieldNumber<f::kWeightCarried>(block);
    run.abnormal = fieldNumber<f::kAbnormal>(block);
    constexpr Field kCorner1 = f::kCorner.field(0, f::kCornerWidth);
    constexpr Field kCorner2 = f::kCorner.field(1, f::kCornerWidth);
    constexpr Field kCorner3 = f::kCorner.field(2, f::kCornerWidth);
    constexpr Field kCorner4 = f::kCorner.field(3, f::kCornerWidth);
    const DigitWindow<kCorner1, kCorner2, kCorner3, kCorner4> corners(block);
    run.corners[0] = static_cast<std::int8_t>(corners.number<kCorner1>());
    run.corners[1] = static_cast<std::int8_t>(corners.number<kCorner2>());
    run.corners[2] = static_cast<std::int8_t>(corners.number<kCorner3>());
    run.corners[3] = static_cast<std::int8_t>(corners.number<kCorner4>());
    run.time = fieldNumber<f::kTime>(block);
    const DigitWindow<f::kFinish, f::kPopularity> placing(block);
    run.finish = placing.number<f::kFinish>();
    run.popularity = placing.number<f::kPopularity>();
    run.timeDiff = fieldNumber<f::kTimeDiff>(block);
    run.read = true;
    return true;
}

namespace {

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
    horse.birthYear = readNumber(record, archivelayout::horse::kBirthYear);
    horse.sexCode = readNumber(record, archivelayout::horse::kSex);
    for (JvPastRun& run : horse.runs) {
        const size_t offset =
            kJvPastRunsOffset + kJvPastRunBytes * static_cast<size_t>(horse.runCount);
        const std::string_view block =
            offset < record.size() ? record.substr(offset, kJvPastRunBytes) : std::string_view();
        if (!parseRunBlock(run, block))
            break;
        ++horse.runCount;
    }
    return horse;
}

Outcome readPastHorses(const std::string& horseFilePath, PastHorses& horses) {
    jvfile::ReadOnlyFile file;
    if (!file.open(horseFilePath))
        return horseFileNotOpened(horseFilePath);
    const std::uint64_t size = file.stamp().size;
    if (!holdsWholeHorseRecords(size))
        return horseNotRead();
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
        }))
        return horseNotRead();
    return {};
}

} // namespace zelkor
