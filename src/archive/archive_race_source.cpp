#include "archive/archive_race_source.h"

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

Outcome ArchiveRaceSource::readRace(JvRaceCard& card, int position, UserPrompt& prompt) {
    return toldOutcome(prompt, [&](UserPrompt& told) {
        return openCard(told) && card_.readRace(card, position, told, programFolder_);
    });
}

bool ArchiveRaceSource::prepareHorse(const JvRaceCard& race, int runner, std::string_view& horseId,
                                     int& year) {
    if (runner < 1 || runner > kJvMaxRunners)
        return false;
    // Every horse of the card is taken in the one pass of the horse file
    // the first horse costs (a card that cannot be read names none).
    if (!cardHorsesExpected_ && cardOpened_) {
        card_.forEachHorseId([this](std::string_view id) { horses_.expect(id); });
        cardHorsesExpected_ = true;
    }
    horseId = race.runner(runner).horseId;
    // A race without a year has its horses' ages counted in this year.
    year = race.year > 0 ? race.year : jvCurrentYear();
    return true;
}

Outcome ArchiveRaceSource::readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                                     UserPrompt& prompt) {
    return toldOutcome(prompt, [&](UserPrompt& told) {
        std::string_view horseId;
        int year = 0;
        return prepareHorse(race, runner, horseId, year) &&
               horses_.read(record, horseId, 0, year, told);
    });
}

Outcome ArchiveRaceSource::readHorseForSheet(JvHorseRecord& record, const JvRaceCard& race,
                                             int runner, UserPrompt& prompt) {
    return toldOutcome(prompt, [&](UserPrompt& told) {
        std::string_view horseId;
        int year = 0;
        return prepareHorse(race, runner, horseId, year) &&
               horses_.readForSheet(record, horseId, year, told);
    });
}

} // namespace zelkor
