#pragma once

#include "jv/horse_lookup.h"
#include "jv/race_card.h"
#include "jv/race_source.h"

#include <array>
#include <string>

namespace zelkor {

// The races of a JRA-VAN archive: its race card and the horse file of the
// card's folder. The card is read once, on the first count or read; the
// horse file is indexed once, on the first horse.
class ArchiveRaceSource : public RaceSource {
  public:
    // `programFolder` (ending in a separator) places the trainer and jockey
    // file paths of each race read; empty means the running program's.
    explicit ArchiveRaceSource(std::string raceCardPath, std::string programFolder = {});

    const std::string& raceCardPath() const { return raceCardPath_; }

    int raceCount(UserPrompt& prompt) override;
    bool readRace(JvRaceCard& card, int position, UserPrompt& prompt) override;
    // The horse file has no real odds: `oddsEstimate` is always the estimate.
    bool readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                   long long fieldStrengthTotal, UserPrompt& prompt) override;

  private:
    bool openCard(UserPrompt& prompt);

    std::string raceCardPath_;
    std::string programFolder_;
    JvRaceCardFile card_;
    bool cardOpened_ = false;
    JvHorseFile horses_;

    // The horses of the race read last, by runner: the loader reads every
    // runner twice (for the field's strength, then with it), and the second
    // read only sets the odds again.
    struct RecentHorse {
        std::string horseId;
        int year = 0;
        JvHorseRecord record;
    };
    std::array<RecentHorse, kJvRunnerSlots> recent_;
};

} // namespace zelkor
