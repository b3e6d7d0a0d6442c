#include "chances/race_history.h"

#include "chances/chance_features.h"
#include "chances/silent_prompt.h"
#include "core/race_sheet.h"
#include "core/scoring.h"
#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "jvdata/payout_record.h"
#include "race/race_loader.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "store/race_finishes.h"
#include "store/store_period_source.h"

#include <algorithm>
#include <map>

namespace zelkor {

namespace {

using namespace jvlayout;

bool isJraCourse(const std::string& course) {
    return course.size() == 2 && course >= "01" && course <= "10";
}

// What the period source leaves out: the finishing places and the place odds.
class RaceOutcome {
  public:
    explicit RaceOutcome(JvStore& store)
        : runners_(store.prepare(kRaceRunnersSql)),
          odds_(store.prepare("SELECT kind, rec FROM o1 WHERE key = ?1")),
          payouts_(store.prepare("SELECT kind, rec FROM hr WHERE key = ?1")) {}

    std::map<int, int> finishes(long long key) { return raceFinishes(runners_, key); }

    // The newest record of a race in `statement` unless it is cancelled or deleted.
    static std::string live(StoreStatement& statement, long long key) {
        statement.reset();
        statement.bind(1, key);
        if (!statement.step() || statement.integer(0) == jvdata::kCancelKind ||
            statement.integer(0) == jvdata::kDeleteKind)
            return {};
        return std::string(statement.blob(1));
    }
    std::string odds(long long key) { return live(odds_, key); }
    std::string payouts(long long key) { return live(payouts_, key); }

    int failure() const {
        return runners_.failed() != 0 ? runners_.failed()
               : odds_.failed() != 0  ? odds_.failed()
                                      : payouts_.failed();
    }

  private:
    StoreStatement runners_, odds_, payouts_;
};

// The lower ends of the place odds by horse number.
std::map<int, int> placeOddsLow(std::string_view o1) {
    std::map<int, int> out;
    for (int i = 0; i < o1::kPlaceOdds.count; ++i) {
        const size_t at = o1::kPlaceOdds.at(i);
        if (jvdata::allDigits(jvdata::slice(o1, {at + 2, 4})))
            out[jvdata::number(o1, {at, 2})] = jvdata::number(o1, {at + 2, 4});
    }
    return out;
}

long dayNumber(int date) {
    return daysOf(date / 10000, date % 10000);
}

int found(const std::map<int, int>& values, int key) {
    const auto it = values.find(key);
    return it == values.end() ? 0 : it->second;
}

// The wins and rides of jockeys and trainers over the year before a day,
// from the store's runners; days are asked for in date order.
class PeopleForms {
  public:
    // Reads the runners of the races from a year before `fromDate` to the
    // day before `toDate`.
    PeopleForms(JvStore& store, int fromDate, int toDate) {
        StoreStatement runners =
            store.prepare("SELECT race, kind, rec FROM se WHERE race >= ?1 AND race < ?2");
        runners.bind(1, static_cast<long long>(fromDate - 10000) * kRaceKeysPerDate)
            .bind(2, static_cast<long long>(toDate) * kRaceKeysPerDate);
        while (runners.step()) {
            const std::string_view rec = runners.blob(2);
            if (runners.integer(1) == jvdata::kDeleteKind ||
                rec.size() < se::kFinish.offset + se::kFinish.width)
                continue;
            const int finish = jvdata::number(rec, se::kFinish);
            if (finish >= 1)
                runs_.push_back({dateOfRaceKey(runners.integer(0)),
                                 jvdata::number(rec, se::kJockeyCode),
                                 jvdata::number(rec, se::kTrainerCode), finish == 1});
        }
        failed_ = runners.failed();
        std::sort(runs_.begin(), runs_.end(),
                  [](const Run& a, const Run& b) { return a.date < b.date; });
    }

    int failed() const { return failed_; }

    // Moves the year to the one before `date`.
    void moveTo(int date) {
        for (; added_ < runs_.size() && runs_[added_].date < date; ++added_)
            count(runs_[added_], 1);
        for (; dropped_ < added_ && runs_[dropped_].date < date - 10000; ++dropped_)
            count(runs_[dropped_], -1);
    }

    // Shares drawn towards an ordinary rider's or stable's, so that a few
    // rides say little.
    PeopleForm of(int jockey, int trainer) const {
        return {share(jockeys_, jockey), share(trainers_, trainer)};
    }

  private:
    struct Run {
        int date, jockey, trainer;
        bool won;
    };
    using Tally = std::map<int, std::pair<int, int>>; // code: wins, rides
    static constexpr double kPriorShare = 0.07, kPriorRides = 20;

    void count(const Run& run, int sign) {
        for (std::pair<int, int>* tally : {&jockeys_[run.jockey], &trainers_[run.trainer]}) {
            tally->first += run.won ? sign : 0;
            tally->second += sign;
        }
    }
    static double share(const Tally& tally, int code) {
        const auto it = tally.find(code);
        const auto [wins, rides] = it == tally.end() ? std::pair{0, 0} : it->second;
        return (wins + kPriorShare * kPriorRides) / (rides + kPriorRides);
    }

    std::vector<Run> runs_;
    size_t added_ = 0, dropped_ = 0;
    Tally jockeys_, trainers_;
    int failed_ = 0;
};

std::string withoutPadding(const std::string& name) {
    std::string out = name;
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    // A full-width space in CP932.
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\x81\x40") == 0)
        out.resize(out.size() - 2);
    return out;
}

} // namespace

int RaceSample::winner() const {
    int winner = -1;
    for (size_t i = 0; i < runners.size(); ++i)
        if (runners[i].finish == 1) {
            if (winner >= 0)
                return -1;
            winner = static_cast<int>(i);
        }
    return winner;
}

bool RaceSample::hasOdds() const {
    for (const RunnerSample& r : runners)
        if (r.winOdds <= 0)
            return false;
    return !runners.empty();
}

Outcome readRaceSamples(const std::string& storePath, int fromDate, int toDate,
                        std::vector<RaceSample>& races, UserPrompt& userPrompt,
                        ProgressSink& progress, int from, int to) {
    RememberingPrompt prompt(userPrompt);
    races.clear();
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return tell(prompt, opened.message());
    std::unique_ptr<JvStore>& store = *opened;
    if (store->empty())
        return {};
    auto period = StorePeriodSource::open(storePath, fromDate, toDate);
    if (!period)
        return tell(prompt, period.message());
    std::unique_ptr<StorePeriodSource>& source = *period;
    RaceOutcome outcome(*store);
    PeopleForms people(*store, fromDate, toDate);
    if (people.failed() != 0)
        return tell(prompt, JvStore::failure(storePath, people.failed()).message);
    SilentPrompt quiet; // a horse without its record runs without a past
    RaceSheet sheet;
    JvRaceCard card;
    JvHorseRecord horse;
    Result<bool> day = false;
    long firstDay = 0;
    while ((day = source->nextDay()).valueOr(false)) {
        if (progress.cancelled()) {
            prompt.showNote("勝率の計算をキャンセルしました。", MessageIcon::Information);
            return prompt.failure({});
        }
        // The period's share read so far, counted from its first day with races.
        const long today = dayNumber(source->date());
        firstDay = firstDay == 0 ? today : firstDay;
        const long span = std::max(1L, dayNumber(toDate) - firstDay);
        progress.setPosition(from +
                             static_cast<int>(std::clamp((to - from) * (today - firstDay) / span,
                                                         0L, 1L * (to - from))));
        people.moveTo(source->date());
        for (int position = 1; position <= source->raceCount(prompt); ++position) {
            const std::optional<long long> raceKey = source->raceKey(position);
            if (!raceKey || !source->readRace(card, position, prompt) || !raceLoadable(card) ||
                card.cancelled || !isJraCourse(card.courseCode))
                continue;
            loadJvRace(sheet, card, *source, quiet);
            scoreRace(sheet);
            const long long key = *raceKey;
            const std::map<int, int> finish = outcome.finishes(key);
            const std::string o1 = outcome.odds(key);
            const std::map<int, int> place = placeOddsLow(o1);
            RaceSample race;
            race.key = key;
            race.date = source->date();
            if (const std::string hr = outcome.payouts(key); !hr.empty()) {
                race.payouts = payoutsFromRecords(hr, o1);
                race.settled = !race.payouts.cancelled;
            }
            const int n = sheet.usableRunnerCount();
            for (int k = 1; k <= n; ++k) {
                if (!source->readHorse(horse, card, k, quiet))
                    horse.reset();
                const JvRunner& runner = card.runner(k);
                const int number = runner.horseNumber;
                race.runners.push_back(
                    {number, withoutPadding(runner.horseName),
                     chanceFeaturesOf(card, runner, horse, sheet.result.score(k),
                                      people.of(runner.jockeyCode, runner.trainerCode)),
                     found(finish, number), runner.winOdds, found(place, number)});
            }
            if (race.runners.size() >= 2)
                races.push_back(std::move(race));
            if (source->failed() || outcome.failure() != 0)
                return tell(prompt,
                            JvStore::failure(storePath, source->failed() ? source->failure()
                                                                         : outcome.failure())
                                .message);
        }
    }
    if (!day)
        return tell(prompt, day.message());
    if (source->failed())
        return prompt.failure(kStoreNotRead);
    return {};
}

} // namespace zelkor
