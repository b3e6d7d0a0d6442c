#include "store/store_period_source.h"

#include "jvdata/jvdata_versions.h"
#include "store/jvdata_store.h"

#include <algorithm>

namespace zelkor {
namespace {

// Local and overseas races are past runs only; deletes are no races.
bool listedKind(char kind) {
    return kind != 'A' && kind != 'B' && kind != jvdata::kDeleteKind;
}

long long raceOf(long long key) {
    return key;
}

template <typename R> long long raceOf(const R& runner) {
    return runner.race;
}

long long firstKeyOf(int date) {
    return static_cast<long long>(date) * kRaceKeysPerDate;
}

} // namespace

StorePeriodSource::StorePeriodSource(std::unique_ptr<JvStore> store, int fromDate, int toDate)
    : store_(std::move(store)), fromDate_(fromDate), toDate_(toDate) {}

StorePeriodSource::~StorePeriodSource() {
    // The statements go before the store closes.
    runners_ = {};
    racesOfDay_ = {};
    odds_ = {};
    horses_ = {};
    store_->exec("COMMIT");
}

Result<std::unique_ptr<StorePeriodSource>> StorePeriodSource::open(const std::string& storePath,
                                                                   int fromDate, int toDate) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return Failure{opened.message()};
    std::unique_ptr<JvStore> store = std::move(opened).value();
    // One read transaction for the whole job: no lock per statement, and a
    // larger page cache for the runs read in race order.
    store->exec("PRAGMA cache_size = -65536");
    std::unique_ptr<StorePeriodSource> source(
        new StorePeriodSource(std::move(store), fromDate, toDate));
    JvStore& s = *source->store_;
    const int begun = s.exec("BEGIN");
    StoreStatement horses =
        s.prepare("SELECT horse, max(race) FROM se WHERE race >= ?1 AND race < ?2 GROUP BY horse");
    horses.bind(1, firstKeyOf(fromDate)).bind(2, firstKeyOf(toDate + 1));
    while (horses.step())
        source->lastRace_.emplace(horses.integer(0), horses.integer(1));
    source->runners_ =
        s.prepare("SELECT race, horse, kind, rec FROM se WHERE race < ?1 ORDER BY race");
    source->runners_.bind(1, firstKeyOf(toDate + 1));
    source->racesOfDay_ = s.prepare("SELECT key, kind, rec FROM ra WHERE key >= ?1 AND key < ?2");
    source->odds_ = s.prepare("SELECT kind, rec FROM o1 WHERE key = ?1");
    source->horses_ = s.prepare("SELECT kind, rec FROM um WHERE key = ?1");
    const int failure = begun != 0 ? begun : horses.failed();
    if (failure != 0 || !source->runners_ || !source->racesOfDay_ || !source->odds_ ||
        !source->horses_)
        return JvStore::failure(storePath, failure != 0 ? failure : 1);
    return source;
}

// How a read with SQLite result code `code` went. A store that fails a read
// fails the job: every read after it fails without a word (see failed()).
Outcome StorePeriodSource::storeRead(int code) {
    if (code == 0)
        return {};
    failure_ = code;
    return JvStore::failure(store_->path(), code);
}

std::string StorePeriodSource::newestRecord(StoreStatement& statement, long long key) {
    statement.reset();
    statement.bind(1, key);
    if (!statement.step() || statement.integer(0) == jvdata::kDeleteKind)
        return {};
    return std::string(statement.blob(1));
}

// The runners of the next date in the store and the RA of that date;
// false after the last date.
Result<bool> StorePeriodSource::readDay() {
    dayRunners_.clear();
    dayRa_.clear();
    // A statement stepped past its end would start again from its first row.
    if (finished_ || (!pending_ && !runners_.step())) {
        finished_ = true;
        if (Outcome read = storeRead(runners_.failed()); !read)
            return Failure{read.message()};
        return false;
    }
    pending_ = false;
    date_ = dateOfRaceKey(runners_.integer(0));
    const bool inPeriod = date_ >= fromDate_;
    do {
        const long long race = runners_.integer(0);
        if (dateOfRaceKey(race) != date_) {
            pending_ = true;
            break;
        }
        const long long horse = runners_.integer(1);
        // Before the period only the runs of horses that race in it count.
        if (inPeriod || lastRace_.contains(horse))
            dayRunners_.push_back({race, horse, static_cast<char>(runners_.integer(2)),
                                   std::string(runners_.blob(3))});
    } while (runners_.step());
    finished_ = !pending_;
    if (Outcome read = storeRead(runners_.failed()); !read)
        return Failure{read.message()};
    racesOfDay_.reset();
    racesOfDay_.bind(1, firstKeyOf(date_)).bind(2, firstKeyOf(date_ + 1));
    while (racesOfDay_.step())
        dayRa_.emplace(racesOfDay_.integer(0), std::pair{static_cast<char>(racesOfDay_.integer(1)),
                                                         std::string(racesOfDay_.blob(2))});
    if (Outcome read = storeRead(racesOfDay_.failed()); !read)
        return Failure{read.message()};
    return true;
}

// The day's runs join the runs of their horses; a horse past its last race
// of the period is forgotten.
void StorePeriodSource::keepRunsOfDay() {
    for (Runner& runner : dayRunners_) {
        const auto last = lastRace_.find(runner.horse);
        if (last == lastRace_.end())
            continue;
        if (dateOfRaceKey(last->second) <= date_) {
            runs_.erase(runner.horse);
            um_.erase(runner.horse);
            continue;
        }
        const auto ra = dayRa_.find(runner.race);
        if (ra == dayRa_.end() || ra->second.first == jvdata::kCancelKind ||
            ra->second.first == jvdata::kDeleteKind || !isPastRun(runner.se))
            continue;
        runs_[runner.horse].addNewer(runner.se, ra->second.second);
    }
    dayRunners_.clear();
}

Result<bool> StorePeriodSource::nextDay() {
    for (;;) {
        keepRunsOfDay();
        dayRaces_.clear();
        if (failed())
            return false;
        if (Result<bool> read = readDay(); !read || !*read)
            return read;
        if (date_ > toDate_)
            return false;
        if (date_ < fromDate_)
            continue;
        for (const auto& [key, ra] : dayRa_)
            if (listedKind(ra.first))
                dayRaces_.push_back(key);
        // Course code, then race number.
        std::sort(dayRaces_.begin(), dayRaces_.end(), [](long long a, long long b) {
            const auto course = [](long long key) { return key / 1000000 % 1296; };
            return course(a) != course(b) ? course(a) < course(b)
                                          : raceNoOfRaceKey(a) < raceNoOfRaceKey(b);
        });
        if (!dayRaces_.empty())
            return true;
    }
}

// The day's runners are read in race order.
std::span<const StorePeriodSource::Runner> StorePeriodSource::runnersOf(long long race) const {
    const auto [first, last] =
        std::equal_range(dayRunners_.begin(), dayRunners_.end(), race,
                         [](const auto& a, const auto& b) { return raceOf(a) < raceOf(b); });
    return {first, last};
}

std::optional<long long> StorePeriodSource::raceKey(int position) const {
    if (position < 1 || position > static_cast<int>(dayRaces_.size()))
        return std::nullopt;
    return dayRaces_[static_cast<size_t>(position - 1)];
}

int StorePeriodSource::raceCount(UserPrompt&) {
    return static_cast<int>(dayRaces_.size());
}

Outcome StorePeriodSource::readRace(JvRaceCard& card, int position, UserPrompt& userPrompt) {
    RememberingPrompt prompt(userPrompt);
    if (failed())
        return prompt.failure(kSourceNotRead);
    const std::optional<long long> key = raceKey(position);
    const auto ra = key ? dayRa_.find(*key) : dayRa_.end();
    if (ra == dayRa_.end()) {
        prompt.showMessage("レースを読み込めませんでした");
        return prompt.failure(kSourceNotRead);
    }
    std::vector<std::string> se;
    for (const Runner& runner : runnersOf(*key))
        if (runner.kind != jvdata::kDeleteKind)
            se.push_back(runner.se);
    const std::string o1 = newestRecord(odds_, *key);
    if (Outcome read = storeRead(odds_.failed()); !read)
        return tell(prompt, read.message());
    JvRaceCard fresh;
    raceCardFromRecords(fresh, ra->second.second, se, o1);
    nameStoreFiles(fresh, store_->path());
    card = std::move(fresh);
    return {};
}

Outcome StorePeriodSource::readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                                     UserPrompt& userPrompt) {
    RememberingPrompt prompt(userPrompt);
    if (failed())
        return prompt.failure(kSourceNotRead);
    const std::optional<long long> horseKey = runner >= 1 && runner <= race.runnerCount
                                                  ? horseKeyOf(race.runner(runner).horseId)
                                                  : std::nullopt;
    const std::optional<long long> key =
        raceKeyOf(race.year * 10000 + race.monthDay, race.courseCode, race.meeting, race.meetingDay,
                  race.raceNumber);
    const std::span<const Runner> field =
        horseKey && key ? runnersOf(*key) : std::span<const Runner>();
    const long long horse = horseKey.value_or(0); // unused when there is no field
    const auto own = std::find_if(field.begin(), field.end(), [&](const Runner& r) {
        return r.horse == horse && r.kind != jvdata::kDeleteKind;
    });
    if (own == field.end()) {
        prompt.showMessage("競走馬データの読み込みに失敗しました");
        return prompt.failure(kSourceNotRead);
    }
    const int realOdds = race.runner(runner).winOdds;
    auto um = um_.find(horse);
    if (um == um_.end()) {
        um = um_.emplace(horse, horseOriginOf(newestRecord(horses_, horse))).first;
        if (Outcome read = storeRead(horses_.failed()); !read)
            return tell(prompt, read.message());
    }
    static const HorseHistory kNoRuns;
    const auto runs = runs_.find(horse);
    horseFromRecords(record, um->second, own->se, runs == runs_.end() ? kNoRuns : runs->second,
                     realOdds);
    return {};
}

} // namespace zelkor
