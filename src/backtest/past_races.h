#pragma once

#include "archive/past_horses.h"
#include "backtest/backtest_figures.h"
#include "core/race_sheet.h"
#include "race/horse_record.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace zelkor {

// Races of the past rebuilt from the runs the horse file holds: every horse
// keeps its last five runs, so grouping the runs of all horses by race gives
// those races back with the finishing order of the horses present.

PastRaceId pastRaceIdOf(const JvPastRun& run);

// One runner of a past race: the horse (index into the horses read) and the
// run slot of its record that holds this race.
struct PastRaceRunner {
    size_t horse = 0;
    size_t slot = 0;
};

struct PastRace {
    PastRaceId id;
    int fieldSize = 0;                   // runners the race had
    std::vector<PastRaceRunner> runners; // the horses present, by horse number
};

// Which races are kept: at least `minRunners` horses present and at least
// `minSharePercent` % of the field; besides, every runner shows two runs
// before the race or its whole career, and the favourite is present.
struct PastRaceRules {
    int minRunners = 5;
    int minSharePercent = 80;
};

struct PastRaceSet {
    std::vector<PastRace> races; // kept, in order of their identity (date first)
    int droppedFewRunners = 0;   // fewer horses present than minRunners
    int droppedLowShare = 0;     // less than minSharePercent of the field present
    // Runs that disagree: two horses with one horse number, a horse number
    // outside the field, field sizes that differ, more than 18 runners.
    int droppedInconsistent = 0;
    // A runner shows fewer than two runs before the race and its record is
    // full, so older runs fell off it: it would score as if it never ran.
    int droppedShortHistory = 0;
    // The favourite (popularity 1) is not among the horses present, so the
    // baselines could not be taken on this race.
    int droppedNoFavourite = 0;
    int dropped() const {
        return droppedFewRunners + droppedLowShare + droppedInconsistent + droppedShortHistory +
               droppedNoFavourite;
    }
};

// Groups the present runs of all horses by race and keeps the races the
// rules allow. A horse with the same race twice counts once (its most
// recent slot).
PastRaceSet rebuildPastRaces(std::span<const PastHorse> horses, const PastRaceRules& rules);

// The runs of a horse older than one of its races, most recent first: the
// slots after the race's slot dated before the race day. A run dated that
// day or later (a record out of order) is skipped; the older ones after it
// still count.
struct RunsBefore {
    std::array<JvPastRun, kJvPastRunCount> runs{};
    size_t count = 0;
    std::span<const JvPastRun> span() const& {
        return std::span<const JvPastRun>(runs).first(count);
    }
    // The runs would not outlive a temporary (a loop over it reads freed runs).
    std::span<const JvPastRun> span() const&& = delete;
};
void fillRunsBefore(RunsBefore& before, const PastHorse& horse, size_t slot);
inline RunsBefore runsBefore(const PastHorse& horse, size_t slot) {
    RunsBefore before;
    fillRunsBefore(before, horse, slot);
    return before;
}

// Best distance counts made from the finishing places of `runs` by distance
// band (set A only); an abnormal run or one without a place counts nowhere.
JvBandCounts bandCountsOf(std::span<const JvPastRun> runs);

// What the sheet's runner k of a loaded past race is: its horse, its run in
// that race and the odds estimate the formula saw.
struct PastRaceEntrant {
    size_t horse = 0;
    const JvPastRun* run = nullptr;
    int oddsEstimate = 0;
};
using PastRaceField = std::array<PastRaceEntrant, kMaxRunners>; // [k - 1]: runner k

// Loads the race as it stood before it was run into `sheet`: the horses
// present become runners 1..n in horse-number order, each made by the
// race loader's conversion from its runs before the race (age in the race
// year, best distance from those runs' places, the odds estimate over the
// strengths of the horses present). The race conditions come from the run
// block of the first runner; age limit, sex limit and weight rule, which a
// run block does not hold, keep the sheet's reset values.
PastRaceField loadPastRace(RaceSheet& sheet, const PastRace& race,
                           std::span<const PastHorse> horses);

} // namespace zelkor
