#include "jv/past_horses.h"

#include "jv/code_tables.h"
#include "jv/file_index.h"
#include "jv/fixed_record.h"
#include "jv/horse_lookup.h"
#include "jv/mapped_file.h"

#include <algorithm>

namespace zelkor {
namespace {

using jvrecord::readLeadingDigits;

// Reads run slot `slot`'s block at the offsets the horse file reader uses;
// false at the end mark.
bool parseRunFacts(PastRunFacts& run, std::string_view block) {
    // Bytes a short record lacks read as blanks.
    auto byteAt = [&](size_t offset) { return offset < block.size() ? block[offset] : ' '; };
    if (byteAt(0) == ' ' && byteAt(1) == ' ' && byteAt(2) == ' ' && byteAt(3) == ' ')
        return false;
    // At most four places wide: every value fits the 16 bits it is kept in.
    auto number = [&](size_t offset, size_t width) {
        return static_cast<std::int16_t>(readLeadingDigits(block, offset, width));
    };
    run.year = number(0, 4);
    run.monthDay = number(4, 4);
    run.courseCode = {byteAt(8), byteAt(9)};
    run.meeting = number(10, 2);
    run.meetingDay = number(12, 2);
    run.raceNumber = number(14, 2);
    run.gradeCode = byteAt(22);
    run.conditionCode = number(29, 3);
    run.distanceMetres = number(56, 4);
    run.trackCode = number(60, 2);
    run.fieldSize = number(74, 2);
    run.horseNumber = number(80, 2);
    run.weightCarried = number(84, 3);
    run.abnormal = number(115, 1);
    for (size_t i = 0; i < run.corners.size(); ++i)
        run.corners[i] = number(122 + 2 * i, 2);
    run.time = number(136, 4);
    run.finish = number(145, 2);
    run.popularity = number(147, 2);
    run.timeDiff = number(212, 3);
    return true;
}

// Leaves out every horse whose key an earlier record has, keeping file
// order: a key the table of keys seen already holds adds nothing to it.
void dropRepeatedKeys(std::vector<PastHorse>& horses) {
    JvHorseKeyTable seen;
    seen.reserve(horses.size());
    size_t kept = 0;
    for (size_t h = 0; h < horses.size(); ++h) {
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

void fillJvPastRun(JvPastRun& run, const PastRunFacts& facts) {
    run.year = facts.year;
    run.monthDay = facts.monthDay;
    run.courseCode.assign(facts.course());
    run.meeting = facts.meeting;
    run.meetingDay = facts.meetingDay;
    run.raceNumber = facts.raceNumber;
    run.gradeCode.assign(1, facts.gradeCode);
    run.conditionCode = facts.conditionCode;
    run.distanceMetres = facts.distanceMetres;
    run.trackCode = facts.trackCode;
    run.fieldSize = facts.fieldSize;
    run.horseNumber = facts.horseNumber;
    run.weightCarried = facts.weightCarried;
    run.abnormal = facts.abnormal;
    std::copy(facts.corners.begin(), facts.corners.end(), run.corners.begin());
    run.time = facts.time;
    run.finish = facts.finish;
    run.popularity = facts.popularity;
    run.timeDiff = facts.timeDiff;
    completePastRun(run);
}

bool readPastHorses(const std::string& horseFilePath, std::vector<PastHorse>& horses,
                    UserPrompt& prompt) {
    jvfile::ReadOnlyFile file;
    if (!file.open(horseFilePath)) {
        showHorseFileNotOpened(prompt, horseFilePath);
        return false;
    }
    const std::uint64_t size = file.stamp().size;
    if (!holdsWholeHorseRecords(size)) {
        showHorseNotRead(prompt);
        return false;
    }
    horses.clear();
    horses.reserve(static_cast<size_t>(size / kJvHorseRecordBytes));
    jvfile::adviseHugePages(horses.data(), horses.capacity() * sizeof(PastHorse));
    // A block small enough to stay in the cache it is copied into.
    constexpr size_t kRecordsPerBlock = 32;
    std::vector<char> block(kJvHorseRecordBytes * kRecordsPerBlock);
    for (std::uint64_t offset = 0; offset < size;) {
        const size_t length =
            static_cast<size_t>(std::min<std::uint64_t>(size - offset, block.size()));
        // A file cut short while it is read is not read on from a shifted place.
        if (file.readInto(offset, block.data(), length) != length) {
            showHorseNotRead(prompt);
            return false;
        }
        const std::string_view bytes(block.data(), length);
        for (size_t pos = 0; pos + kJvHorseRecordBytes <= bytes.size(); pos += kJvHorseRecordBytes)
            horses.push_back(parsePastHorse(bytes.substr(pos, kJvHorseUsedBytes)));
        offset += length;
    }
    dropRepeatedKeys(horses);
    return true;
}

} // namespace zelkor
