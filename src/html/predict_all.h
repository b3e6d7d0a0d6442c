#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/result.h"
#include "core/settings.h"
#include "html/newspaper_set.h"
#include "race/race_card.h"
#include "race/race_source.h"

#include <ctime>
#include <functional>
#include <string>

namespace zelkor {

// Called for every race right after it is loaded into the sheet and before
// it is scored, so a window can show the race while the batch runs.
using PredictAllRaceHook = std::function<void(const JvRaceCard& race, RaceSheet& sheet)>;

// A day predicted: the set written, and the last race predicted with the
// sheet it was scored on.
struct PredictedDay {
    WrittenPageSet pages;
    JvRaceCard race;
    RaceSheet sheet;
};

// Predicts every race of the job's source in turn on a sheet of its own:
// the race is read, loaded into the sheet, shown through `onRaceLoaded`,
// scored and written as a sports page (dated `localTime`) into
// predictAllFolder, together with the menu, the bets summary (ゼルコ馬・
// 買い目一覧) and the index, which is opened through the job's shell.
// Fails, with nothing written, when the source has no race (told to no one
// unless the source could not be read), its first race cannot be read or
// none can be loaded. A race that cannot be read or loaded (cancelled,
// Thursday entries) is left out: no page, menu line or summary row. A page
// that cannot be written is not linked from the menu; the files not written
// are named in one message at the end.
// A cancel (`progress.cancelled()`) between races removes the files written
// so far, says how many they were, and fails.
Result<PredictedDay> predictAll(const PageSetJob& job, const std::tm& localTime,
                                const PredictAllRaceHook& onRaceLoaded = {});

// The set folder of a race day: programFolder + "HTML/Jvzel<year>_<MMDD>/".
std::string predictAllFolder(const std::string& programFolder, const JvRaceCard& race);

// File name of a race's sports page in the set: "Jvzel%d-%04d_%s%dR%s.html".
std::string predictAllPageName(const JvRaceCard& race);

// The summary row of the scored race in the sheet.
std::string betsSummaryRow(const JvRaceCard& race, const RaceSheet& sheet);

} // namespace zelkor
