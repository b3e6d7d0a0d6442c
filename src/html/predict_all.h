#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "jv/race_loader.h"

#include <ctime>
#include <functional>
#include <string>

namespace zelkor {

class JvRaceCard;

// Called for every race right after it is loaded into the sheet and before
// it is scored, so a window can show the race while the batch runs.
using PredictAllRaceHook = std::function<void(const JvRaceCard& race, RaceSheet& sheet)>;

// The readers predict-all goes through. The defaults are the program's
// indexed readers; the benchmark swaps in the rescanning ones.
struct PredictAllReaders {
    int (*countRaces)(const std::string& path, UserPrompt& prompt);
    bool (*readRace)(JvRaceCard& card, const std::string& path, int raceIndex, UserPrompt& prompt,
                     const std::string& programFolder);
    // Reads the horses while a race is loaded into the sheet.
    JvHorseReader readHorse;
};
PredictAllReaders indexedPredictAllReaders();

// Predicts every race of the race card `raceCardPath` in turn: the race is
// read, copied into `currentRace`, loaded into `sheet`, shown through
// `onRaceLoaded`, scored and written as a sports page (dated `localTime`)
// into programFolder + "HTML/Jvzel<year>_<MMDD>/", together with the menu,
// the bets summary (ゼルコ馬・買い目一覧) and the index, which is opened
// through `shell`. Afterwards `sheet` and `currentRace` hold the last race
// of the card. Returns the index path; the empty text, with nothing written
// and nothing changed, when the card has no race or its first race cannot
// be read. A race that cannot be read is left out; a file that cannot be
// written is skipped, and named in one message at the end.
std::string predictAll(const std::string& raceCardPath, RaceSheet& sheet, JvRaceCard& currentRace,
                       const AppSettings& settings, const std::string& programFolder,
                       const std::tm& localTime, UserPrompt& prompt, ProgressSink& progress,
                       Shell& shell, const PredictAllRaceHook& onRaceLoaded = {},
                       const PredictAllReaders& readers = indexedPredictAllReaders());

// The set folder of a race day: programFolder + "HTML/Jvzel<year>_<MMDD>/".
std::string predictAllFolder(const std::string& programFolder, const JvRaceCard& race);

// File name of a race's sports page in the set: "Jvzel%d-%04d_%s%dR%s.html".
std::string predictAllPageName(const JvRaceCard& race);

// The summary row of the scored race in the sheet.
std::string betsSummaryRow(const JvRaceCard& race, const RaceSheet& sheet);

} // namespace zelkor
