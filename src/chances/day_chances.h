#pragma once

#include "chances/chance_model.h"
#include "core/ports.h"
#include "core/result.h"

#include <string>
#include <vector>

namespace zelkor {

struct RunnerValue {
    int horseNumber = 0;
    std::string name;
    double winChance = 0, placeChance = 0;
    int winOdds = 0, placeOddsLow = 0; // tenths; 0 none
    // Return per yen staked: chance × odds; negative without the odds.
    double winReturn = -1, placeReturn = -1;
    bool value = false;
};

struct RaceValues {
    long long key = 0;
    std::vector<RunnerValue> runners;
};

struct DayValues {
    ChanceModel model;
    std::vector<RaceValues> races; // the day's races in course, race-number order
};

// The chances and expected returns of every JRA race of `date` from the
// model kept for the store's races before it, else one fitted on them.
// `progress` goes to 100 over reading them and fitting. Fails, telling
// nobody, when the store cannot be read, has no race that day or too little
// history, or when the user cancelled (`progress.cancelled()`, asked
// between race days): the caller tells the failure's message.
Result<DayValues> valuesOfDay(const std::string& storePath, int date, double threshold,
                              ProgressSink& progress);

// The values of one race under `model`.
RaceValues valuesOfRace(const ChanceModel& model, const RaceSample& race, double threshold);

} // namespace zelkor
