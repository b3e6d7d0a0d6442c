#include "archive/horse_file.h"

#include "archive/archive_layouts.h"
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

// Reads a run and what a page shows of it from its 215-byte block; false
// at the end mark.
bool parsePastRun(JvPastRun& run, JvPastRunDetails& details, std::string_view block) {
    if (!parseRunBlock(run, block))
        return false;
    namespace f = archivelayout::run;
    details.shortName = readName(block, f::kShortName);
    details.raceName = readName(block, f::kRaceName);
    details.trackConditionCode = readNumber(block, f::kTrackCondition);
    details.weatherCode = readNumber(block, f::kWeather);
    details.bracket = readNumber(block, f::kBracket);
    details.jockeyName = readName(block, f::kJockeyName);
    details.bodyWeight = readNumber(block, f::kBodyWeight);
    details.lastThreeFurlongs = readNumber(block, f::kLastThreeFurlongs);
    details.marginCode = readText(block, f::kMargin);
    details.otherHorseName = readName(block, f::kOtherHorseName);
    decodePastRunTexts(run, details);
    return true;
}

// The finishing counts by set, distance band and place.
void readBandCounts(std::string_view record, JvBandCounts& counts) {
    namespace h = archivelayout::horse;
    for (size_t set = 0; set < 2; ++set)
        for (size_t band = 0; band < 3; ++band)
            for (size_t place = 0; place < 4; ++place)
                counts[set][band][place] = readNumber(
                    record, {h::kBandCounts + h::kBandCountSetBytes * set +
                                 h::kBandCountBandBytes * band + h::kBandCountWidth * place,
                             h::kBandCountWidth});
}

} // namespace

void parseHorseRecord(JvHorseRecord& horse, std::string_view record, long long fieldStrengthTotal,
                      int year) {
    namespace h = archivelayout::horse;
    horse.reset();
    horse.name = readCut(record, h::kName);
    horse.birthYear = readNumber(record, h::kBirthYear);
    horse.birthMonthDay = readNumber(record, h::kBirthMonthDay);
    horse.breedCode = readNumber(record, h::kBreed);
    horse.sexCode = readNumber(record, h::kSex);
    horse.coatCode = readNumber(record, h::kCoat);
    horse.markCode = readNumber(record, h::kMark);
    horse.sire = readCut(record, h::kSire);
    horse.dam = readCut(record, h::kDam);
    horse.damSire = readCut(record, h::kDamSire);
    horse.damDam = readCut(record, h::kDamDam);
    horse.birthplace = readCut(record, h::kBirthplace);
    horse.breeder = compactName(readName(record, h::kBreeder));
    horse.owner = compactName(readName(record, h::kOwner));
    horse.earnings = readNumber(record, h::kEarnings);
    horse.prizeTotal = readNumber(record, h::kPrizeTotal);
    readBandCounts(record, horse.bandCounts);

    decodeHorseTexts(horse);
    // The runs after the end mark stay new (empty) runs. A block cut short
    // by the record's end reads blanks past it, as every field does.
    for (size_t slot = 0; slot < horse.pastRuns.size(); ++slot) {
        const size_t offset = kJvPastRunsOffset + kJvPastRunBytes * slot;
        const std::string_view block =
            offset < record.size() ? record.substr(offset, kJvPastRunBytes) : std::string_view();
        if (!parsePastRun(horse.pastRuns[slot], horse.pastRunDetails[slot], block))
            break;
    }
    deriveHorseValues(horse, horse.pastRuns, horse.bandCounts, fieldStrengthTotal, year);
}

HorseSheetFacts sheetFactsOf(std::string_view record) {
    HorseSheetFacts facts;
    facts.horse = parsePastHorse(record);
    const std::string_view name =
        record.substr(std::min(archivelayout::horse::kName.offset, record.size()));
    std::fill(facts.name.begin(), facts.name.end(), ' ');
    std::copy_n(name.begin(), std::min(name.size(), facts.name.size()), facts.name.begin());
    readBandCounts(record, facts.bandCounts);
    return facts;
}

void fillHorseForSheet(JvHorseRecord& horse, const HorseSheetFacts& facts, int year) {
    horse.reset();
    horse.name = readCut(std::string_view(facts.name.data(), facts.name.size()),
                         {0, archivelayout::horse::kName.width});
    horse.birthYear = facts.horse.birthYear;
    horse.sexCode = facts.horse.sexCode;
    horse.bandCounts = facts.bandCounts;
    for (size_t slot = 0; slot < static_cast<size_t>(facts.horse.runCount); ++slot)
        horse.pastRuns[slot] = facts.horse.runs[slot];
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

Failure horseFileNotOpened(const std::string& path) {
    return Failure{format("ファイル %s は開けませんでした。", path.c_str())};
}

Failure horseNotRead() {
    return Failure{"登録馬ファイルの読み込みに失敗しました"};
}

Outcome readHorse(JvHorseRecord& record, const std::string& horseFilePath,
                  const std::string& horseId, long long fieldStrengthTotal) {
    jvfile::ReadOnlyFile file;
    if (!file.open(horseFilePath))
        return horseFileNotOpened(horseFilePath);
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
        return {};
    }
    return horseNotRead();
}

namespace rescan {

Outcome readHorse(JvHorseRecord& record, const std::string& horseFilePath,
                  const std::string& horseId, long long fieldStrengthTotal) {
    jvfile::StdioFile file = jvfile::openRegularStdioFile(horseFilePath);
    if (!file)
        return horseFileNotOpened(horseFilePath);
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 ||
        !holdsWholeHorseRecords(static_cast<std::uint64_t>(info.st_size)))
        return horseNotRead();
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
                return {};
            }
        }
        if (n < block.size())
            break;
    }
    return horseNotRead();
}

} // namespace rescan
} // namespace zelkor
