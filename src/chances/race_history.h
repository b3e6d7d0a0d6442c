#pragma once

#include "chances/chance_features.h"
#include "core/payouts.h"
#include "core/ports.h"
#include "core/result.h"

#include <string>
#include <vector>

namespace zelkor {

// A runner as the chance model sees it: its features as it stood before the
// race, what became of it and the public's odds (tenths; 0 none).
struct RunnerSample {
    int horseNumber = 0;
    std::string name; // CP932, padding removed
    ChanceFeatures features{};
    int finish = 0; // 0: no result
    int winOdds = 0;
    int placeOddsLow = 0; // the lower end of the newest O1's place odds
};

struct RaceSample {
    long long key = 0;
    int date = 0;
    std::vector<RunnerSample> runners; // the starters, by horse number
    bool settled = false; // a payout record that is not cancelled
    RacePayouts payouts;

    // The runner that won alone (index), -1 without one (no result, a dead heat).
    int winner() const;
    // Win odds for every runner.
    bool hasOdds() const;
};

// The JRA races of the store from `fromDate` to `toDate` (inclusive) that
// can be loaded, each runner with the formula's score among its features.
// `progress` goes from `from` to `to` over the period's days. Fails after a
// message when the store cannot be read, or after a note when the user
// cancelled (`progress.cancelled()`, asked between race days).
Outcome readRaceSamples(const std::string& storePath, int fromDate, int toDate,
                        std::vector<RaceSample>& races, UserPrompt& prompt, ProgressSink& progress,
                        int from = 0, int to = 100);

} // namespace zelkor
