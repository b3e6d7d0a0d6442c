#include "archive/horse_file.h"

#include "archive/file_index.h"
#include "archive/horse_lookup.h"
#include "archive/past_horses.h"
#include "core/program_folder.h"
#include "race/code_tables.h"
#include "race/fixed_record.h"
#include "text/format.h"
#include "text/sjis.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unordered_set>

namespace zelkor {
namespace {

using namespace jvrecord;

// Breeder and owner fields hold a family and a given name (or two parts of
// a company name) separated by a full-width space; they are joined by one
// half-width blank.
std::string compactName(std::string_view field) {
    if (field.starts_with(kFullWidthSpace))
        return cutBeforeFullWidthSpace(field.substr(std::min<size_t>(4, field.size())));
    size_t space = findSjis(field, kFullWidthSpace);
    if (space == std::string_view::npos)
        return std::string(field);
    return std::string(field.substr(0, space)) + " " +
           cutBeforeFullWidthSpace(field.substr(space + kFullWidthSpace.size()));
}

// Reads run slot `slot` from its 215-byte block; false at the end mark.
bool parsePastRun(JvPastRun& run, std::string_view block) {
    if (readText(block, 0, 4) == "    ")
        return false;
    readDecimal(block, 0, 4, run.year);
    run.monthDay = readLeadingDigits(block, 4, 4);
    run.courseCode = readText(block, 8, 2);
    readDecimal(block, 10, 2, run.meeting);
    readDecimal(block, 12, 2, run.meetingDay);
    readDecimal(block, 14, 2, run.raceNumber);
    run.shortName = readName(block, 16, 6);
    run.gradeCode = readText(block, 22, 1);
    readDecimal(block, 29, 3, run.conditionCode);
    run.raceName = readName(block, 32, 24);
    readDecimal(block, 56, 4, run.distanceMetres);
    readDecimal(block, 60, 2, run.trackCode);
    readDecimal(block, 74, 2, run.fieldSize);
    readDecimal(block, 78, 1, run.trackConditionCode);
    readDecimal(block, 79, 1, run.weatherCode);
    readDecimal(block, 80, 2, run.horseNumber);
    readDecimal(block, 82, 1, run.bracket);
    readDecimal(block, 84, 3, run.weightCarried);
    run.jockeyName = readName(block, 93, 8);
    readDecimal(block, 115, 1, run.abnormal);
    readDecimal(block, 116, 3, run.bodyWeight);
    for (size_t i = 0; i < run.corners.size(); ++i)
        readDecimal(block, 122 + 2 * i, 2, run.corners[i]);
    readDecimal(block, 133, 3, run.lastThreeFurlongs);
    readDecimal(block, 136, 4, run.time);
    run.marginCode = readText(block, 140, 3);
    readDecimal(block, 145, 2, run.finish);
    readDecimal(block, 147, 2, run.popularity);
    run.otherHorseName = readName(block, 191, 18);
    readDecimal(block, 212, 3, run.timeDiff);
    completePastRun(run);
    decodePastRunTexts(run);
    return true;
}

// The finishing counts by set, distance band and place.
void readBandCounts(std::string_view record, JvBandCounts& counts) {
    for (size_t set = 0; set < 2; ++set)
        for (size_t band = 0; band < 3; ++band)
            for (size_t place = 0; place < 4; ++place)
                readDecimal(record, 817 + 36 * set + 12 * band + 3 * place, 3,
                            counts[set][band][place]);
}

} // namespace

void parseHorseRecord(JvHorseRecord& horse, std::string_view record, long long fieldStrengthTotal,
                      int year) {
    horse.reset();
    horse.name = readCut(record, 28, 36);
    readDecimal(record, 64, 4, horse.birthYear);
    horse.birthMonthDay = readLeadingDigits(record, 68, 4);
    readDecimal(record, 72, 1, horse.breedCode);
    readDecimal(record, 73, 1, horse.sexCode);
    readDecimal(record, 74, 2, horse.coatCode);
    readDecimal(record, 76, 2, horse.markCode);
    horse.sire = readCut(record, 78, 36);
    horse.dam = readCut(record, 135, 36);
    horse.damSire = readCut(record, 192, 36);
    horse.damDam = readCut(record, 249, 36);
    horse.birthplace = readCut(record, 405, 24);
    horse.breeder = compactName(readName(record, 429, 40));
    horse.owner = compactName(readName(record, 475, 40));
    readDecimal(record, 573, 7, horse.earnings);
    readDecimal(record, 587, 7, horse.prizeTotal);
    readBandCounts(record, horse.bandCounts);

    decodeHorseTexts(horse);
    // The runs after the end mark stay new (empty) runs. A block cut short
    // by the record's end reads blanks past it, as every field does.
    for (size_t slot = 0; slot < horse.pastRuns.size(); ++slot) {
        const size_t offset = kJvPastRunsOffset + kJvPastRunBytes * slot;
        const std::string_view block =
            offset < record.size() ? record.substr(offset, kJvPastRunBytes) : std::string_view();
        if (!parsePastRun(horse.pastRuns[slot], block))
            break;
    }
    deriveHorseValues(horse, horse.pastRuns, horse.bandCounts, fieldStrengthTotal, year);
}

HorseSheetFacts sheetFactsOf(std::string_view record) {
    HorseSheetFacts facts;
    facts.horse = parsePastHorse(record);
    const std::string_view name = record.substr(std::min<size_t>(28, record.size()));
    std::fill(facts.name.begin(), facts.name.end(), ' ');
    std::copy_n(name.begin(), std::min(name.size(), facts.name.size()), facts.name.begin());
    readBandCounts(record, facts.bandCounts);
    return facts;
}

void fillHorseForSheet(JvHorseRecord& horse, const HorseSheetFacts& facts, int year) {
    horse.reset();
    horse.name = readCut(std::string_view(facts.name.data(), facts.name.size()), 0, 36);
    horse.birthYear = facts.horse.birthYear;
    horse.sexCode = facts.horse.sexCode;
    horse.bandCounts = facts.bandCounts;
    for (size_t slot = 0; slot < static_cast<size_t>(facts.horse.runCount); ++slot)
        fillJvPastRun(horse.pastRuns[slot], facts.horse.runs[slot]);
    deriveHorseValues(horse, horse.pastRuns, horse.bandCounts, 0, year);
}

void parseHorseForSheet(JvHorseRecord& horse, std::string_view record, int year) {
    fillHorseForSheet(horse, sheetFactsOf(record), year);
}

namespace {

jvfile::IndexCache<JvHorseKeyTable>& horseIndexes() {
    static jvfile::IndexCache<JvHorseKeyTable> cache;
    return cache;
}

std::shared_ptr<const JvHorseKeyTable>
horseIndexOf(const std::string& path, const jvfile::ReadOnlyFile& file, bool rebuild) {
    if (!rebuild)
        if (auto index = horseIndexes().find(path, file.stamp()))
            return index;
    auto index = std::make_shared<JvHorseKeyTable>();
    if (!indexHorseKeys(file, *index))
        return nullptr;
    horseIndexes().store(path, file.stamp(), index);
    return index;
}

} // namespace

void showHorseFileNotOpened(UserPrompt& prompt, const std::string& path) {
    prompt.showMessage(format("ファイル %s は開けませんでした。", path.c_str()));
}

void showHorseNotRead(UserPrompt& prompt) {
    prompt.showMessage("登録馬ファイルの読み込みに失敗しました");
}

bool readHorse(JvHorseRecord& record, const std::string& horseFilePath, const std::string& horseId,
               long long fieldStrengthTotal, UserPrompt& prompt) {
    jvfile::ReadOnlyFile file;
    if (!file.open(horseFilePath)) {
        showHorseFileNotOpened(prompt, horseFilePath);
        return false;
    }
    // A stale index (a file rewritten with the same stamp) shows as a record
    // whose key differs; the index is then built again once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto index = horseIndexOf(horseFilePath, file, attempt > 0);
        if (!index)
            break;
        const std::optional<std::uint32_t> found = index->find(horseId);
        if (!found)
            break;
        std::optional<std::string> bytes =
            file.readAt(std::uint64_t{*found} * kJvHorseRecordBytes, kJvHorseUsedBytes);
        if (!bytes || bytes->compare(0, kJvHorseKeyBytes, horseId) != 0)
            continue;
        parseHorseRecord(record, *bytes, fieldStrengthTotal, jvCurrentYear());
        return true;
    }
    showHorseNotRead(prompt);
    return false;
}

namespace rescan {

bool readHorse(JvHorseRecord& record, const std::string& horseFilePath, const std::string& horseId,
               long long fieldStrengthTotal, UserPrompt& prompt) {
    jvfile::StdioFile file = jvfile::openRegularStdioFile(horseFilePath);
    if (!file) {
        showHorseFileNotOpened(prompt, horseFilePath);
        return false;
    }
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 ||
        !holdsWholeHorseRecords(static_cast<std::uint64_t>(info.st_size))) {
        showHorseNotRead(prompt);
        return false;
    }
    // The file is read from its start in blocks of whole records, looking
    // only at each record's key.
    constexpr size_t kRecordsPerBlock = 64;
    std::string block(kJvHorseRecordBytes * kRecordsPerBlock, '\0');
    for (;;) {
        size_t n = std::fread(block.data(), 1, block.size(), file.get());
        for (size_t pos = 0; pos + kJvHorseKeyBytes <= n; pos += kJvHorseRecordBytes) {
            if (std::string_view(block.data() + pos, kJvHorseKeyBytes) == horseId) {
                size_t length = std::min(kJvHorseUsedBytes, n - pos);
                parseHorseRecord(record, std::string_view(block.data() + pos, length),
                                 fieldStrengthTotal, jvCurrentYear());
                return true;
            }
        }
        if (n < block.size())
            break;
    }
    showHorseNotRead(prompt);
    return false;
}

} // namespace rescan
} // namespace zelkor
