#pragma once

#include "archive/horse_file.h"
#include "archive/race_card_file.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "race/race_source.h"

#include <string>
#include <utility>

namespace zelkor::test {

// The reference race source the archive source is compared with: the
// rescanning readers, which search the files from their start on every call.
class RescanRaceSource : public RaceSource {
  public:
    explicit RescanRaceSource(std::string raceCardPath, std::string programFolder = {})
        : path_(std::move(raceCardPath)), folder_(std::move(programFolder)) {}

    int raceCount(UserPrompt& prompt) override { return rescan::countRaces(path_, prompt); }
    Outcome readRace(JvRaceCard& card, int position, UserPrompt& prompt) override {
        return toldOutcome(prompt, [&](UserPrompt& told) {
            return rescan::readRace(card, path_, position, told, folder_);
        });
    }
    Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                      UserPrompt& prompt) override {
        return toldOutcome(prompt, [&](UserPrompt& told) {
            JvHorseRecord fresh;
            if (runner < 1 || runner > kJvMaxRunners ||
                !rescan::readHorse(fresh, race.horseFilePath, race.runner(runner).horseId, 0, told))
                return false;
            // Ages in the race's year (the clock's for a race without one).
            fresh.age = (race.year > 0 ? race.year : jvCurrentYear()) - fresh.birthYear;
            record = fresh;
            return true;
        });
    }

  private:
    std::string path_;
    std::string folder_;
};

} // namespace zelkor::test
