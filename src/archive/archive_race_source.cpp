#include "archive/archive_race_source.h"

namespace zelkor {
namespace {

// A source tells the user why a read failed; its readers only say it.
Outcome told(Outcome read, UserPrompt& prompt) {
    if (!read)
        return tell(prompt, read.message());
    return read;
}

} // namespace

ArchiveRaceSource::ArchiveRaceSource(std::string raceCardPath, std::string programFolder)
    : raceCardPath_(std::move(raceCardPath)), programFolder_(std::move(programFolder)),
      horses_(horseFilePathFor(raceCardPath_)) {}

Outcome ArchiveRaceSource::openCard() {
    // A card that could not be read is tried again (and reported again) on
    // the next call, as a reader per call would.
    if (cardOpened_)
        return {};
    Outcome opened = card_.open(raceCardPath_);
    cardOpened_ = opened.ok();
    return opened;
}

int ArchiveRaceSource::raceCount(UserPrompt& prompt) {
    if (Outcome opened = openCard(); !opened) {
        prompt.showMessage(opened.message());
        return 0;
    }
    const Result<int> count = card_.raceCount();
    if (!count)
        prompt.showMessage(count.message());
    return count.valueOr(0);
}

Outcome ArchiveRaceSource::readRace(JvRaceCard& card, int position, UserPrompt& prompt) {
    Outcome opened = openCard();
    return told(opened ? card_.readRace(card, position, programFolder_) : opened, prompt);
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
    std::string_view horseId;
    int year = 0;
    // A runner out of range has no horse to tell about.
    if (!prepareHorse(race, runner, horseId, year))
        return Failure{kSourceNotRead};
    return told(horses_.read(record, horseId, 0, year), prompt);
}

Outcome ArchiveRaceSource::readHorseForSheet(JvHorseRecord& record, const JvRaceCard& race,
                                             int runner, UserPrompt& prompt) {
    std::string_view horseId;
    int year = 0;
    if (!prepareHorse(race, runner, horseId, year))
        return Failure{kSourceNotRead};
    return told(horses_.readForSheet(record, horseId, year), prompt);
}

} // namespace zelkor
