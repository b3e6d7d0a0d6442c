#include "store/store_race_source.h"

#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "race/code_tables.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/format.h"

#include <algorithm>
#include <map>
#include <sqlite3.h>

namespace zelkor {
namespace {

using namespace jvlayout;
using jvdata::number;
using jvdata::slice;

// The race card has no sale field to fill from JV-Data: a code outside the
// sale table leaves its text empty.
constexpr int kNoSaleCode = 9;

std::string raw(std::string_view record, Field field) {
    return std::string(slice(record, field));
}

char kindOf(std::string_view record) {
    return record.size() > kDataKind.offset ? record[kDataKind.offset] : ' ';
}

// Odds in tenths from a 4-byte odds field; 0 for none (blanks, ----, ****).
int oddsOf(std::string_view record, Field field) {
    return jvdata::allDigits(slice(record, field)) ? number(record, field) : 0;
}

bool raceHasResults(char kind) {
    return kind >= '3' && kind <= '7';
}

void fillRaceFields(JvRaceCard& card, std::string_view ra) {
    card.year = number(ra, kYear);
    card.monthDay = number(ra, kMonthDay);
    card.courseCode = raw(ra, kCourse);
    card.courseName = decodeRacecourse(card.courseCode);
    card.meeting = number(ra, kMeeting);
    card.meetingDay = number(ra, kMeetingDay);
    card.raceNumber = number(ra, kRaceNo);
    card.weekdayCode = number(ra, ra::kWeekday);
    card.weekdayText = codeText(kWeekdayTable, card.weekdayCode);
    card.raceName = jvdata::cutText(ra, ra::kName);
    card.shortName = jvdata::cutText(ra, ra::kShort3);
    card.edition = number(ra, ra::kEdition);
    card.gradeCode = raw(ra, ra::kGrade);
    card.gradeText = decodeGrade(card.gradeCode);
    card.kindCode = number(ra, ra::kRaceKind);
    card.kindText = decodeRaceKind(card.kindCode);
    card.symbolCode = raw(ra, ra::kSymbol);
    card.symbolText = decodeSymbol(card.symbolCode);
    card.weightRuleCode = number(ra, ra::kWeightRule);
    card.weightRuleText = codeText(kWeightRuleTable, card.weightRuleCode);
    for (int i = 0; i < ra::kCondition.count; ++i) {
        card.conditionCodes[i] = number(ra, {ra::kCondition.at(i), ra::kConditionWidth});
        card.conditionTexts[i] =
            decodeCondition(card.conditionCodes[i], card.year * 10000 + card.monthDay);
    }
    card.distanceMetres = number(ra, ra::kDistance);
    card.trackCode = number(ra, ra::kTrack);
    card.trackText = decodeTrack(card.trackCode);
    // Unit 100 yen in the record, 1,000 yen on the card.
    for (size_t i = 0; i < card.prizeMoney.size(); ++i)
        card.prizeMoney[i] = number(ra, {ra::kPrize.at(static_cast<int>(i)), ra::kMoneyWidth}) / 10;
    for (size_t i = 0; i < card.addedMoney.size(); ++i)
        card.addedMoney[i] =
            number(ra, {ra::kAddedPrize.at(static_cast<int>(i)), ra::kMoneyWidth}) / 10;
    card.postTime = number(ra, ra::kPostTime);
    card.saleCode = kNoSaleCode;
    card.saleText = codeText(kSaleTable, card.saleCode);
}

void fillRunner(JvRunner& runner, std::string_view se) {
    runner.horseNumber = number(se, se::kHorseNo);
    runner.bracket = number(se, se::kBracket);
    runner.horseId = raw(se, se::kHorseId);
    runner.horseName = jvdata::headText(se, se::kHorseName, 18);
    runner.sexCode = number(se, se::kSex);
    runner.sexText = decodeRunnerSex(runner.sexCode);
    runner.weightCarried = number(se, se::kWeightCarried);
    runner.blinker = number(se, se::kBlinkers);
    runner.jockeyCode = number(se, se::kJockeyCode);
    runner.jockeyName = jvdata::trimmedText(se, se::kJockeyShort);
    runner.apprenticeCode = number(se, se::kApprentice);
    runner.trainerCode = number(se, se::kTrainerCode);
    runner.trainerName = jvdata::trimmedText(se, se::kTrainerShort);
}

bool started(std::string_view se) {
    const int abnormal = number(se, se::kAbnormal);
    return abnormal < 1 || abnormal > 3;
}

// The condition slot of the horse's age group at the race: 2 → slot 0,
// 3 → 1, 4 → 2, 5 and older → 3; slot 4 when that one is unset.
int conditionOfRun(std::string_view ra, int age) {
    const int slot = std::clamp(age - 2, 0, 3);
    const int code = number(ra, {ra::kCondition.at(slot), ra::kConditionWidth});
    return code != 0 ? code : number(ra, {ra::kCondition.at(4), ra::kConditionWidth});
}

} // namespace

JvPastRun pastRunFromRecords(std::string_view se, std::string_view ra, JvPastRunDetails& details) {
    JvPastRun run;
    details = {};
    const std::string course = raw(ra, kCourse);
    for (size_t i = 0; i < run.courseCode.size(); ++i)
        run.courseCode[i] = i < course.size() ? course[i] : ' ';
    run.year = static_cast<std::int16_t>(number(ra, kYear));
    run.monthDay = static_cast<std::int16_t>(number(ra, kMonthDay));
    run.meeting = static_cast<std::int8_t>(number(ra, kMeeting));
    run.meetingDay = static_cast<std::int8_t>(number(ra, kMeetingDay));
    run.raceNumber = static_cast<std::int8_t>(number(ra, kRaceNo));
    details.shortName = jvdata::trimmedText(ra, ra::kShort3);
    const std::string grade = raw(ra, ra::kGrade);
    run.gradeCode = grade.empty() ? ' ' : grade[0];
    run.conditionCode = static_cast<std::int16_t>(conditionOfRun(ra, number(se, se::kAge)));
    details.raceName = jvdata::headText(ra, ra::kName, 24);
    run.distanceMetres = static_cast<std::int16_t>(number(ra, ra::kDistance));
    run.trackCode = static_cast<std::int8_t>(number(ra, ra::kTrack));
    run.fieldSize = static_cast<std::int8_t>(number(ra, ra::kStarters));
    const bool dirt = run.trackCode >= 23 && run.trackCode <= 29;
    details.trackConditionCode = number(ra, dirt ? ra::kGoingDirt : ra::kGoingTurf);
    details.weatherCode = number(ra, ra::kWeather);
    run.horseNumber = static_cast<std::int8_t>(number(se, se::kHorseNo));
    details.bracket = number(se, se::kBracket);
    run.weightCarried = static_cast<std::int16_t>(number(se, se::kWeightCarried));
    details.jockeyName = jvdata::trimmedText(se, se::kJockeyShort);
    run.abnormal = static_cast<std::int8_t>(number(se, se::kAbnormal));
    details.bodyWeight = number(se, se::kBodyWeight);
    for (int i = 0; i < se::kCornerPos.count; ++i)
        run.corners[static_cast<size_t>(i)] =
            static_cast<std::int8_t>(number(se, {se::kCornerPos.at(i), se::kCornerWidth}));
    details.lastThreeFurlongs = number(se, se::kLast3F);
    run.time = static_cast<std::int16_t>(number(se, se::kTime));
    // The archive format writes its filler '_' where JV-Data has blanks.
    details.marginCode = raw(se, se::kMargin);
    std::replace(details.marginCode.begin(), details.marginCode.end(), ' ', '_');
    run.finish = static_cast<std::int8_t>(number(se, se::kFinish));
    run.popularity = static_cast<std::int8_t>(number(se, se::kPopularity));
    details.otherHorseName = jvdata::headText(
        se, {se::kOpponent.at(0) + se::kOpponentIdWidth, se::kOpponentNameWidth}, 18);
    // Signed tenths to that horse: '-' for the winner (ahead of the second),
    // '+' behind the winner; 9999 none, which leaves its time the run's.
    const std::string_view diff = slice(se, se::kTimeDiff);
    if (diff.size() == 4 && (diff[0] == '-' || diff[0] == '+' || diff[0] == ' ') &&
        jvdata::allDigits(diff.substr(1))) {
        const int d = number(se, {se::kTimeDiff.offset + 1, 3}) * (diff[0] == '-' ? -1 : 1);
        run.timeDiff = static_cast<std::int16_t>(-d);
    }
    run.read = true;
    decodePastRunTexts(run, details);
    return run;
}

namespace {

void countFinish(JvBandCounts& counts, const JvPastRun& run) {
    if (run.abnormal != 0 || run.finish <= 0)
        return;
    int set = -1;
    if (run.trackCode >= 10 && run.trackCode <= 22)
        set = 0;
    else if (run.trackCode >= 23 && run.trackCode <= 29)
        set = 1;
    if (set < 0)
        return;
    ++counts[static_cast<size_t>(set)][static_cast<size_t>(distanceBandOf(run.distanceMetres))]
            [static_cast<size_t>(std::min<int>(run.finish, 4) - 1)];
}

} // namespace

void raceCardFromRecords(JvRaceCard& card, std::string_view ra, std::span<const std::string> se,
                         std::string_view o1) {
    card.reset();
    fillRaceFields(card, ra);
    const char kind = kindOf(ra);
    card.cancelled = kind == jvdata::kCancelKind;

    // Once the race has a later card, an entry still as it came on Thursday
    // is a horse that was not carded: no runner.
    const bool carded = kind != jvdata::kThursdayKind;
    std::vector<std::string_view> runners;
    for (const std::string& record : se)
        if (started(record) && !(carded && kindOf(record) == jvdata::kThursdayKind))
            runners.emplace_back(record);
    std::stable_sort(runners.begin(), runners.end(), [](std::string_view a, std::string_view b) {
        return number(a, se::kHorseNo) < number(b, se::kHorseNo);
    });
    card.runnerCount = static_cast<int>(std::min<size_t>(runners.size(), kJvMaxRunners));
    for (size_t i = 0; i < static_cast<size_t>(card.runnerCount); ++i)
        fillRunner(card.runners[i], runners[i]);
    nameOrdinaryRace(card);

    card.entriesOnly = !card.cancelled &&
                       (!carded || card.runnerCount == 0 ||
                        std::any_of(card.runners.begin(), card.runners.begin() + card.runnerCount,
                                    [](const JvRunner& r) { return r.horseNumber == 0; }));
    if (card.cancelled)
        return;
    const bool fromO1 = !raceHasResults(kind) && !o1.empty() && kindOf(o1) != jvdata::kCancelKind &&
                        kindOf(o1) != jvdata::kDeleteKind;
    for (size_t i = 0; i < static_cast<size_t>(card.runnerCount); ++i) {
        JvRunner& runner = card.runners[i];
        const int n = runner.horseNumber;
        if (raceHasResults(kind)) {
            runner.winOdds = oddsOf(runners[i], se::kWinOdds);
            runner.popularity = number(runners[i], se::kPopularity);
        } else if (fromO1 && n >= 1 && n <= o1::kWinOdds.count) {
            const size_t slot = o1::kWinOdds.at(n - 1);
            runner.winOdds = oddsOf(o1, {slot + 2, 4});
            runner.popularity = number(o1, {slot + 6, 2});
        }
    }
}

bool isPastRun(std::string_view se) {
    const int abnormal = number(se, se::kAbnormal);
    const char kind = kindOf(se);
    return kind != jvdata::kCancelKind && kind != jvdata::kDeleteKind && started(se) &&
           (number(se, se::kFinish) > 0 || (abnormal >= 4 && abnormal <= 7));
}

HorseOrigin horseOriginOf(std::string_view um) {
    HorseOrigin origin;
    if (um.empty())
        return origin;
    const um::Layout& layout = um::layoutFor(um.size() + kLineEndBytes);
    origin.birthYear = number(um, {um::kBirthDate.offset, 4});
    origin.birthMonthDay = number(um, {um::kBirthDate.offset + 4, 4});
    origin.breedCode = number(um, um::kBreed);
    origin.coatCode = number(um, um::kCoat);
    origin.markCode = number(um, um::kHorseMark);
    const auto pedigreeName = [&](int i) {
        return jvdata::cutText(
            um, {layout.pedigree.at(i) + layout.breedingNoWidth, um::kPedigreeNameWidth});
    };
    origin.sire = pedigreeName(0);
    origin.dam = pedigreeName(1);
    origin.damSire = pedigreeName(4);
    origin.damDam = pedigreeName(5);
    origin.birthplace = jvdata::cutText(um, layout.birthplace);
    origin.breeder = jvdata::trimmedText(um, layout.breederName);
    origin.owner = jvdata::trimmedText(um, layout.ownerName);
    origin.earnings = number(um, layout.earnedFlat) / 10;
    origin.prizeTotal = number(um, layout.prizeFlat) / 10;
    return origin;
}

void HorseHistory::addNewer(std::string_view se, std::string_view ra) {
    ring_[next_] = pastRunFromRecords(se, ra, details_[next_]);
    countFinish(counts, ring_[next_]);
    next_ = (next_ + 1) % ring_.size();
}

void HorseHistory::copyNewest(JvHorseRecord& horse) const {
    for (size_t k = 0; k < ring_.size(); ++k) {
        const size_t at = (next_ + ring_.size() - 1 - k) % ring_.size();
        horse.pastRuns[k] = ring_[at];
        horse.pastRunDetails[k] = details_[at];
    }
}

void horseFromRecords(JvHorseRecord& horse, const HorseOrigin& origin, std::string_view seOfRace,
                      const HorseHistory& history, int realOdds) {
    horse.reset();
    horse.name = jvdata::cutText(seOfRace, se::kHorseName);
    horse.sexCode = number(seOfRace, se::kSex);
    horse.birthYear = origin.birthYear;
    horse.birthMonthDay = origin.birthMonthDay;
    horse.breedCode = origin.breedCode;
    horse.coatCode = origin.coatCode;
    horse.markCode = origin.markCode;
    horse.sire = origin.sire;
    horse.dam = origin.dam;
    horse.damSire = origin.damSire;
    horse.damDam = origin.damDam;
    horse.birthplace = origin.birthplace;
    horse.breeder = origin.breeder;
    horse.owner = origin.owner;
    horse.earnings = origin.earnings;
    horse.prizeTotal = origin.prizeTotal;
    decodeHorseTexts(horse);
    history.copyNewest(horse);
    horse.bandCounts = history.counts;
    deriveHorseValues(horse, horse.pastRuns, horse.bandCounts, 0, number(seOfRace, kYear));
    horse.age = number(seOfRace, se::kAge);
    if (realOdds > 0)
        horse.oddsEstimate = realOdds;
}

void nameStoreFiles(JvRaceCard& card, const std::string& storePath) {
    card.raceCardPath = storePath;
    const std::string usual = jvStorePath("");
    if (storePath.size() < usual.size() || !storePath.ends_with(usual))
        return;
    const std::string programFolder = storePath.substr(0, storePath.size() - usual.size());
    card.jockeyFilePath = programFolder + "KTDAT/JracKisi.dat";
    card.trainerFilePath = programFolder + "KTDAT/JracChok.dat";
}

namespace {

void showNoRace(UserPrompt& prompt) {
    prompt.showMessage("レースを読み込めませんでした");
}

// One race day of the store.
class StoreDaySource : public RaceSource {
  public:
    StoreDaySource(std::unique_ptr<JvStore> store, std::vector<long long> races)
        : store_(std::move(store)), races_(std::move(races)) {}

    int raceCount(UserPrompt&) override { return static_cast<int>(races_.size()); }

    bool failed() const override { return failed_; }

    Outcome readRace(JvRaceCard& card, int position, UserPrompt& userPrompt) override {
        RememberingPrompt prompt(userPrompt);
        if (failed_)
            return prompt.failure(kSourceNotRead);
        if (position < 1 || position > static_cast<int>(races_.size())) {
            showNoRace(prompt);
            return prompt.failure(kSourceNotRead);
        }
        const long long key = races_[static_cast<size_t>(position - 1)];
        const Result<std::string> ra = newest("SELECT kind, rec FROM ra WHERE key = ?1", key);
        if (!ra)
            return tell(prompt, ra.message());
        if (ra->empty()) {
            showNoRace(prompt);
            return prompt.failure(kSourceNotRead);
        }
        std::vector<std::string> se;
        StoreStatement runners = store_->prepare("SELECT kind, rec FROM se WHERE race = ?1");
        runners.bind(1, key);
        while (runners.step())
            if (runners.integer(0) != jvdata::kDeleteKind)
                se.emplace_back(runners.blob(1));
        if (Outcome read = storeRead(runners.failed()); !read)
            return tell(prompt, read.message());
        const Result<std::string> o1 = newest("SELECT kind, rec FROM o1 WHERE key = ?1", key);
        if (!o1)
            return tell(prompt, o1.message());
        JvRaceCard fresh;
        raceCardFromRecords(fresh, *ra, se, *o1);
        nameStoreFiles(fresh, store_->path());
        card = std::move(fresh);
        return {};
    }

    Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                      UserPrompt& userPrompt) override {
        RememberingPrompt prompt(userPrompt);
        if (failed_)
            return prompt.failure(kSourceNotRead);
        const std::optional<long long> horseKey = runner >= 1 && runner <= race.runnerCount
                                                      ? horseKeyOf(race.runner(runner).horseId)
                                                      : std::nullopt;
        const std::optional<long long> raceKey =
            raceKeyOf(race.year * 10000 + race.monthDay, race.courseCode, race.meeting,
                      race.meetingDay, race.raceNumber);
        const auto missing = [&prompt] {
            prompt.showMessage("競走馬データの読み込みに失敗しました");
            return prompt.failure(kSourceNotRead);
        };
        if (!horseKey || !raceKey)
            return missing();
        const long long horse = *horseKey;
        std::string seOfRace;
        StoreStatement own =
            store_->prepare("SELECT kind, rec FROM se WHERE race = ?1 AND horse = ?2");
        own.bind(1, *raceKey).bind(2, horse);
        if (own.step() && own.integer(0) != jvdata::kDeleteKind)
            seOfRace = own.blob(1);
        if (Outcome read = storeRead(own.failed()); !read)
            return tell(prompt, read.message());
        if (seOfRace.empty())
            return missing();
        const Result<std::string> um = newest("SELECT kind, rec FROM um WHERE key = ?1", horse);
        if (!um)
            return tell(prompt, um.message());
        HorseHistory history;
        StoreStatement earlier =
            store_->prepare("SELECT se.rec, ra.kind, ra.rec FROM se JOIN ra ON ra.key = se.race "
                            "WHERE se.horse = ?1 AND se.race < ?2 ORDER BY se.race");
        earlier.bind(1, horse).bind(2, static_cast<long long>(dateOfRaceKey(*raceKey)) *
                                           kRaceKeysPerDate);
        while (earlier.step()) {
            const auto raKind = static_cast<char>(earlier.integer(1));
            if (raKind == jvdata::kCancelKind || raKind == jvdata::kDeleteKind ||
                !isPastRun(earlier.blob(0)))
                continue;
            history.addNewer(earlier.blob(0), earlier.blob(2));
        }
        if (Outcome read = storeRead(earlier.failed()); !read)
            return tell(prompt, read.message());
        horseFromRecords(record, horseOriginOf(*um), seOfRace, history,
                         race.runner(runner).winOdds);
        return {};
    }

  private:
    // The record of a key, empty when its newest version is a delete.
    // Fails as storeRead does.
    Result<std::string> newest(const char* sql, long long key) {
        StoreStatement statement = store_->prepare(sql);
        statement.bind(1, key);
        std::string record;
        if (statement.step() && statement.integer(0) != jvdata::kDeleteKind)
            record = statement.blob(1);
        if (Outcome read = storeRead(statement.failed()); !read)
            return Failure{read.message()};
        return record;
    }

    // How a read with SQLite result code `code` went. A store that fails a
    // read is told once: the job stops (see failed()).
    Outcome storeRead(int code) {
        if (code == 0)
            return {};
        failed_ = true;
        return JvStore::failure(store_->path(), code);
    }

    std::unique_ptr<JvStore> store_;
    std::vector<long long> races_;
    bool failed_ = false;
};

// Local and overseas races are past runs only; deletes are no races.
bool listedKind(long long kind) {
    return kind != 'A' && kind != 'B' && kind != jvdata::kDeleteKind;
}

} // namespace

Result<std::vector<StoreDate>> readStoreDates(const std::string& storePath) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return Failure{opened.message()};
    JvStore* store = opened->get();
    std::map<int, int, std::greater<>> races;
    StoreStatement all = store->prepare("SELECT key, kind FROM ra");
    if (all) {
        while (all.step())
            if (listedKind(all.integer(1)))
                ++races[dateOfRaceKey(all.integer(0))];
    }
    // A store not filled yet has no tables: no dates.
    if (all.failed() != 0 && !store->empty())
        return JvStore::failure(storePath, all.failed());
    std::vector<StoreDate> dates;
    for (const auto& [date, count] : races)
        dates.push_back({date, count});
    return dates;
}

Result<std::unique_ptr<RaceSource>> openStoreDay(const std::string& storePath, int yyyymmdd) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return Failure{opened.message()};
    std::unique_ptr<JvStore> store = std::move(opened).value();
    std::vector<long long> races;
    StoreStatement day = store->prepare("SELECT key, kind FROM ra WHERE key >= ?1 AND key < ?2");
    day.bind(1, static_cast<long long>(yyyymmdd) * kRaceKeysPerDate)
        .bind(2, static_cast<long long>(yyyymmdd + 1) * kRaceKeysPerDate);
    while (day.step())
        if (listedKind(day.integer(1)))
            races.push_back(day.integer(0));
    // A store not filled yet has no tables: no races either.
    if (day.failed() != 0 && !store->empty())
        return JvStore::failure(storePath, day.failed());
    if (races.empty())
        return Failure{format("%d年%d月%d日のレースはJV-Dataの保存ファイルにありません。\r\n"
                              "その日のJV-Dataを取り込んでから開いてください。",
                              yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100)};
    // Course code, then race number.
    std::stable_sort(races.begin(), races.end(), [](long long a, long long b) {
        const auto course = [](long long key) { return key / 1000000 % 1296; };
        return course(a) != course(b) ? course(a) < course(b)
                                      : raceNoOfRaceKey(a) < raceNoOfRaceKey(b);
    });
    return std::unique_ptr<RaceSource>(
        std::make_unique<StoreDaySource>(std::move(store), std::move(races)));
}

} // namespace zelkor
