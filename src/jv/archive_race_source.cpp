#include "jv/archive_race_source.h"

namespace zelkor {

ArchiveRaceSource::ArchiveRaceSource(std::string raceCardPath, std::string programFolder)
    : raceCardPath_(std::move(raceCardPath)), programFolder_(std::move(programFolder)),
      horses_(horseFilePathFor(raceCardPath_)) {}

bool ArchiveRaceSource::openCard(UserPrompt& prompt) {
    // A card that could not be read is tried again (and reported again) on
    // the next call, as a reader per call would.
    if (!cardOpened_)
        cardOpened_ = card_.open(raceCardPath_, prompt);
    return cardOpened_;
}

int ArchiveRaceSource::raceCount(UserPrompt& prompt) {
    return openCard(prompt) ? card_.raceCount(prompt) : 0;
}

bool ArchiveRaceSource::readRace(JvRaceCard& card, int position, UserPrompt& prompt) {
    return openCard(prompt) && card_.readRace(card, position, prompt, programFolder_);
}

bool ArchiveRaceSource::readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                                  long long fieldStrengthTotal, UserPrompt& prompt) {
    if (runner < 1 || runner > kJvMaxRunners)
        return false;
    const std::string& horseId = race.horseIds[static_cast<size_t>(runner)];
    // A race without a year has its horses' ages counted in this year.
    const int year = race.year > 0 ? race.year : jvCurrentYear();
    RecentHorse& recent = recent_[static_cast<size_t>(runner)];
    if (recent.horseId != horseId || recent.year != year) {
        recent.horseId.clear();
        if (!horses_.read(recent.record, horseId, 0, year, prompt))
            return false;
        recent.horseId = horseId;
        recent.year = year;
    }
    record = recent.record;
    record.oddsEstimate = estimateOdds(fieldStrengthTotal, record.strength);
    return true;
}

} // namespace zelkor
