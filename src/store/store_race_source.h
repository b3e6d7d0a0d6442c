#pragma once

#include "race/horse_record.h"
#include "race/race_card.h"

#include <span>
#include <string>
#include <string_view>

namespace zelkor {

// How the records of the JV-Data store become the program's race card and
// horse records. Records are the bodies the store keeps (without the line
// end), always the newest versions. The store race source (openStoreDay)
// reads them and calls these.

// The race card of one race from its RA, the SE of its runners (any order,
// deleted ones already left out) and its O1 (empty: none): runners that
// started in horse-number order with their real numbers, the texts decoded
// as for a race card, cancelled / Thursday entries marked, and the public's
// win odds (final odds of a race with results, else the newest O1).
void raceCardFromRecords(JvRaceCard& card, std::string_view ra, std::span<const std::string> se,
                         std::string_view o1);

// The files a race card of the store at `storePath` names: the store, and
// the jockey and trainer files of the program folder it lies in (none when
// the store is not at its usual place in a program folder).
void nameStoreFiles(JvRaceCard& card, const std::string& storePath);

// True when the SE of an earlier race counts as a past run: the horse
// started and the race has its result.
bool isPastRun(std::string_view se);

// The past run made of a horse's SE of an earlier race and that race's RA,
// and into `details` what a page shows of it.
JvPastRun pastRunFromRecords(std::string_view se, std::string_view ra, JvPastRunDetails& details);

// A horse's past runs as far as its record reads them: the five newest and
// the finishing counts over all. Runs are added oldest first, so a backtest
// decodes each run once and keeps five of them, not the whole career.
class HorseHistory {
  public:
    JvBandCounts counts{};

    // Adds the run of an SE and its race's RA, newer than every run added
    // before.
    void addNewer(std::string_view se, std::string_view ra);
    // The five newest runs into the horse's runs, [0] the most recent;
    // fewer: the rest empty.
    void copyNewest(JvHorseRecord& horse) const;

  private:
    // A ring: a new run takes the place of the oldest, nothing moves.
    std::array<JvPastRun, kJvPastRunCount> ring_{};
    std::array<JvPastRunDetails, kJvPastRunCount> details_{};
    size_t next_ = 0; // the place of the next run
};

// What only a horse's UM gives its record: birth, breed, coat, mark,
// pedigree, birthplace, breeder, owner and earnings. A backtest decodes it
// once per horse.
struct HorseOrigin {
    int birthYear = 0;
    int birthMonthDay = 0;
    int breedCode = 0;
    int coatCode = 0;
    int markCode = 0;
    std::string sire, dam, damSire, damDam;
    std::string birthplace, breeder, owner;
    int earnings = 0;
    int prizeTotal = 0;
};

// The origin in a UM record (either length); empty: none, all fields empty.
HorseOrigin horseOriginOf(std::string_view um);

// The horse as it stood before a race: from its origin, its SE of that
// race, and its past runs of races dated before it. Values are derived with
// the horse file's formulas; the age is the one at the race, and `realOdds`
// (win odds × 10, 0 none) stands in for the estimate.
void horseFromRecords(JvHorseRecord& horse, const HorseOrigin& origin, std::string_view seOfRace,
                      const HorseHistory& history, int realOdds);

} // namespace zelkor
