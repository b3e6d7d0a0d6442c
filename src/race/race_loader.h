#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "race/horse_record.h"

#include <span>
#include <string>

namespace zelkor {

class JvRaceCard;
class RaceSource;

// Race conditions of a JRA-VAN race as race-sheet indices.
int gradeOfRace(const JvRaceCard& card);
int ageLimitOfRace(const JvRaceCard& card);
int sexLimitOfRace(const JvRaceCard& card);
int weightRuleOfRace(const JvRaceCard& card);
int surfaceOfRace(const JvRaceCard& card);
// The condition code that decides the race's class: that of the youngest
// age group the race is open to.
int classConditionOfRace(const JvRaceCard& card);
// The class a table names the race by: its class on the sheet, an earnings
// class as the race is named on its day ("2勝クラス", "1000万下").
std::string classNameOfRace(const JvRaceCard& card);
// The grade of a race with one grade code and the condition code that
// decides its class (ＧⅠ..ＧⅢ by grade code, else by condition).
int gradeOfCodes(const std::string& gradeCode, int conditionCode);
// 0 芝, 1 ダート: only the two dirt track codes 23 and 24 count as dirt.
int surfaceOfTrack(int trackCode);

// Metres to the distance list and tenths of a kg to the weight list (46.0 kg
// in 0.5 kg steps), clamped into the lists.
int distanceIndex(int metres);
int weightIndex(int tenthsOfKg);

// The runner data the loader takes from a horse's record and derived values:
// name, sex, age, running style, best distance and odds band.
void fillRunnerFromHorse(RunnerEntry& runner, const JvHorseRecord& horse);
// The runner's two past runs from a horse's runs, most recent first: the
// last run from `runs[0]`, the run before last from `runs[1]` (未出走 where
// there is none).
void fillRunnerPastRuns(RunnerEntry& runner, std::span<const JvPastRun> runs);

// Class index of a past run on the race sheet (unknown classes, 新馬 among
// them, count as 新馬戦).
int pastRunClass(const JvPastRun& run);

// The race-sheet form of one past run of the horse file; a run that was not
// run (no finish or no racecourse) becomes 未出走 with reset values.
PastRun sheetPastRun(const JvPastRun& run);

// Odds band of an estimated win odds × 10.
int oddsBandOf(int oddsEstimate);

// Time between two race times written m·ss.t (1219 = 1:21.9), in tenths of
// a second, as the race sheet's time difference: 0..20, or 21 (大) beyond.
int timeDiffIndex(int time, int otherTime);

// Fills the sheet from the race `card` (read from `source` just before):
// race conditions, and for every runner its data and last two runs from the
// source's horse. Every value is clamped into its list. A runner whose horse
// is missing (the source tells the user once) is loaded from its race-card
// line as a horse without runs. Caption, form and page are the caller's.
void loadJvRace(RaceSheet& sheet, const JvRaceCard& card, RaceSource& source, UserPrompt& prompt);

} // namespace zelkor
