#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "race/race_source.h"

#include <ctime>
#include <functional>
#include <string>

namespace zelkor {

class JvRaceCard;

// Called for every race right after it is loaded into the sheet and before
// it is scored, so a window can show the race while the batch runs.
using PredictAllRaceHook = std::function<void(const JvRaceCard& race, RaceSheet& sheet)>;

// Predicts every race of `source` in turn: the race is read, copied into
// `currentRace`, loaded into `sheet`, shown through `onRaceLoaded`, scored
// and written as a sports page (dated `localTime`) into programFolder +
// "HTML/Jvzel<year>_<MMDD>/", together with the menu, the bets summary
// (ゼルコ馬・買い目一覧) and the index, which is opened through `shell`.
// Afterwards `sheet` and `currentRace` hold the last race predicted.
// Returns the index path; the empty text, with nothing written and nothing
// changed, when the source has no race, its first race cannot be read or
// none can be loaded. A race that cannot be read or loaded (cancelled,
// Thursday entries) is left out: no page, menu line or summary row. A page
// that cannot be written is not linked from the menu; the files not written
// are named in one message at the end and counted in `unwrittenFiles` when
// given.
// A cancel (`progress.cancelled()`) between races removes the files written
// so far, says how many they were, and returns the empty text.
std::string predictAll(RaceSource& source, RaceSheet& sheet, JvRaceCard& currentRace,
                       const AppSettings& settings, const std::string& programFolder,
                       const std::tm& localTime, UserPrompt& prompt, ProgressSink& progress,
                       Shell& shell, const PredictAllRaceHook& onRaceLoaded = {},
                       int* unwrittenFiles = nullptr);

// The set folder of a race day: programFolder + "HTML/Jvzel<year>_<MMDD>/".
std::string predictAllFolder(const std::string& programFolder, const JvRaceCard& race);

// File name of a race's sports page in the set: "Jvzel%d-%04d_%s%dR%s.html".
std::string predictAllPageName(const JvRaceCard& race);

// The summary row of the scored race in the sheet.
std::string betsSummaryRow(const JvRaceCard& race, const RaceSheet& sheet);

} // namespace zelkor
