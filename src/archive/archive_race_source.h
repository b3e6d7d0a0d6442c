#pragma once

#include "archive/horse_lookup.h"
#include "archive/race_card_file.h"
#include "race/race_source.h"

#include <string>

namespace zelkor {

// The races of a JRA-VAN archive: its race card and the horse file of the
// card's folder. The card is read once, on the first count or read; the
// horse file is read once, on the first horse, for the horses of every race
// of the card.
class ArchiveRaceSource : public RaceSource {
  public:
    // `programFolder` (ending in a separator) places the trainer and jockey
    // file paths of each race read; empty means the running program's.
    explicit ArchiveRaceSource(std::string raceCardPath, std::string programFolder = {});

    const std::string& raceCardPath() const { return raceCardPath_; }

    int raceCount(UserPrompt& prompt) override;
    Outcome readRace(JvRaceCard& card, int position, UserPrompt& prompt) override;
    // The horse file has no real odds: `oddsEstimate` is always the estimate.
    Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                      UserPrompt& prompt) override;
    Outcome readHorseForSheet(JvHorseRecord& record, const JvRaceCard& race, int runner,
                              UserPrompt& prompt) override;

  private:
    Outcome openCard();
    // The horse's key and the year its age counts in, the card's horses
    // named to the horse file first; false for a runner out of range.
    bool prepareHorse(const JvRaceCard& race, int runner, std::string_view& horseId, int& year);

    std::string raceCardPath_;
    std::string programFolder_;
    JvRaceCardFile card_;
    bool cardOpened_ = false;
    JvHorseFile horses_;
    bool cardHorsesExpected_ = false;
};

} // namespace zelkor
