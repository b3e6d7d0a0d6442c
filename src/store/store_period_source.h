#pragma once

#include "core/ports.h"
#include "race/race_source.h"
#include "store/jv_store.h"
#include "store/store_race_source.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelkor {

// The race days of a period of the JV-Data store, one after another, each
// as a race source: for a backtest over many days. The store is read once,
// in race order, and each horse that runs in the period keeps its history
// (five newest runs, decoded once, and its finishing counts) in memory until
// its last race of the period, so a horse costs no query of its own. Races,
// horses and their runs are made from the records by the same conversions
// as the store's day source (openStoreDay), with the same rules: a horse's
// runs are those of races dated before the race.
class StorePeriodSource : public RaceSource {
  public:
    // Opens the store for the days from `fromDate` to `toDate` (yyyymmdd,
    // inclusive). Fails when it cannot be read.
    static Result<std::unique_ptr<StorePeriodSource>> open(const std::string& storePath,
                                                           int fromDate, int toDate);
    ~StorePeriodSource() override;

    // Moves to the next race day of the period: true, or false after the
    // last one and on a source that failed() in a read (which told why).
    // Fails when the store cannot be read (failed() from then on).
    Result<bool> nextDay();
    int date() const { return date_; }
    bool failed() const override { return failure_ != 0; }
    // The SQLite result code of the failure.
    int failure() const { return failure_; }
    // The race key of race `position` of the day; none for no such race.
    std::optional<long long> raceKey(int position) const;

    // The day's races by course code, then race number.
    int raceCount(UserPrompt& prompt) override;
    Outcome readRace(JvRaceCard& card, int position, UserPrompt& prompt) override;
    Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                      UserPrompt& prompt) override;

  private:
    struct Runner {
        long long race;
        long long horse;
        char kind;
        std::string se;
    };
    StorePeriodSource(std::unique_ptr<JvStore> store, int fromDate, int toDate);
    Result<bool> readDay();
    void keepRunsOfDay();
    std::string newestRecord(StoreStatement& statement, long long key);
    Outcome storeRead(int code);
    std::span<const Runner> runnersOf(long long race) const;

    std::unique_ptr<JvStore> store_;
    int fromDate_, toDate_;
    int date_ = 0;
    int failure_ = 0;
    StoreStatement runners_, racesOfDay_, odds_, horses_;
    bool pending_ = false;  // runners_ holds the first row of the next day
    bool finished_ = false; // runners_ has given its last row
    // Horses that run in the period, with the key of their last race there.
    std::unordered_map<long long, long long> lastRace_;
    // Their past runs so far.
    std::unordered_map<long long, HorseHistory> runs_;
    // What their newest UM gives, read at their first race.
    std::unordered_map<long long, HorseOrigin> um_;
    // The day: its RA by key (kind, record), its runners, its races.
    std::unordered_map<long long, std::pair<char, std::string>> dayRa_;
    std::vector<Runner> dayRunners_;
    std::vector<long long> dayRaces_;
};

} // namespace zelkor
