#pragma once

#include "core/ports.h"
#include "core/result.h"
#include "race/horse_record.h"
#include "race/race_card.h"

namespace zelkor {

// Where one job's races and horses come from: the race card and horse file
// of a JRA-VAN archive, or one race day of the JV-Data store. Everything
// above the readers (race list, race information, loading into the sheet,
// newspapers, predict-all, backtests) takes a source and never knows which
// one it has.
//
// A source is made for one job (a list, a load, a set of pages) and may keep
// its files read or indexed for the length of that job; nothing stays open
// after it is destroyed.
class RaceSource {
  public:
    virtual ~RaceSource() = default;

    // Number of races, positions 1..n in list order (a store day: by course
    // code, then race number). 0 after the reader's message when the source
    // cannot be read.
    virtual int raceCount(UserPrompt& prompt) = 0;

    // Race `position` (1-based) into `card`, starting from a new record. On
    // failure shows the message and fails with `card` unchanged. A
    // cancelled race or one of Thursday entries reads (for the list and the
    // race information) with `cancelled` / `entriesOnly` set; see
    // raceLoadable.
    virtual Outcome readRace(JvRaceCard& card, int position, UserPrompt& prompt) = 0;

    // The horse of runner `runner` (1..card.runnerCount) of `race`, read by
    // this source just before, as it stood before that race: its past runs
    // older than the race, its age in the race's year, its derived values;
    // `oddsEstimate` holds the public's real win odds where the source has
    // them (the runner's `winOdds`), else 0 (the estimate needs the whole
    // field: see runnerOddsEstimate). The record starts as a new one on
    // success. Shows the reader's message and fails with `record` unchanged
    // when the horse is missing.
    virtual Outcome readHorse(JvHorseRecord& record, const JvRaceCard& race, int runner,
                              UserPrompt& prompt) = 0;

    // The same horse with what the race sheet takes of it (see
    // parseHorseForSheet); a source that can read less than the whole horse
    // reads only that. Same messages and failures as readHorse.
    virtual Outcome readHorseForSheet(JvHorseRecord& record, const JvRaceCard& race, int runner,
                                      UserPrompt& prompt) {
        return readHorse(record, race, runner, prompt);
    }

    // Whether a read failed in a way that spoils the whole job (a damaged
    // store), told once: the job stops rather than show the horses blank,
    // and every read after it fails without a word.
    virtual bool failed() const { return false; }
};

// The failure of a read that told its reason before (a source whose store
// failed earlier in the job).
inline constexpr const char* kSourceNotRead = "レースのデータを読み込めませんでした";

// The odds estimate of runner `runner` of `race` whose strength is
// `strength` in a field of `fieldStrengthTotal`: the public's real win odds
// where the race has them, else the estimate (as readHorse gives it).
inline int runnerOddsEstimate(const JvRaceCard& race, int runner, long long fieldStrengthTotal,
                              int strength) {
    const int real = race.runner(runner).winOdds;
    return real > 0 ? real : estimateOdds(fieldStrengthTotal, strength);
}

// A race can be loaded into the sheet, written as a page or predicted:
// neither cancelled nor still Thursday entries without horse numbers.
inline bool raceLoadable(const JvRaceCard& card) {
    return !card.cancelled && !card.entriesOnly;
}

// raceLoadable, telling the user why not: "このレースは中止されました" or
// "このレースはまだ出馬表が確定していません".
Outcome checkRaceLoadable(const JvRaceCard& card, UserPrompt& prompt);

} // namespace zelkor
