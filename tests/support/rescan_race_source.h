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

    int raceCount(UserPrompt& prompt) override {
        const Result<int> count = rescan::countRaces(path_);
        if (!count)
            prompt.showMessage(count.message());
        return count.valueOr(0);
    }
    Outcome readRace(JvRaceCard& card, int position, UserPrompt& prompt) override {
        return told(rescan::readRace(card, path_, position, folder_), prompt);
    }
    Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                      UserPrompt& prompt) override {
        if (runner < 1 || runner > kJvMaxRunners)
            return Failure{kSourceNotRead};
        JvHorseRecord fresh;
        if (Outcome read =
                rescan::readHorse(fresh, race.horseFilePath, race.runner(runner).horseId, 0);
            !read)
            return told(std::move(read), prompt);
        // Ages in the race's year (the clock's for a race without one).
        fresh.age = (race.year > 0 ? race.year : jvCurrentYear()) - fresh.birthYear;
        record = fresh;
        return {};
    }

  private:
    static Outcome told(Outcome read, UserPrompt& prompt) {
        if (!read)
            return tell(prompt, read.message());
        return read;
    }

    std::string path_;
    std::string folder_;
};

} // namespace zelkor::test
