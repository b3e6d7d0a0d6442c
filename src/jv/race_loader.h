#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"

#include <string>

namespace zelkor {

class JvRaceCard;
class JvHorseRecord;
struct JvPastRun;

// How the loader reads one horse (readHorse, or the rescanning reference
// reader the benchmark compares it with).
using JvHorseReader = bool (*)(JvHorseRecord& record, const std::string& horseFilePath,
                               const std::string& horseId, long long fieldStrengthTotal,
                               UserPrompt& prompt);

// Race conditions of a JRA-VAN race as race-sheet indices.
int gradeOfRace(const JvRaceCard& card);
int ageLimitOfRace(const JvRaceCard& card);
int sexLimitOfRace(const JvRaceCard& card);
int weightRuleOfRace(const JvRaceCard& card);
int surfaceOfRace(const JvRaceCard& card);

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

// Fills the sheet from the card's race (already read): race conditions, and
// for every runner its data and last two runs from the horse file. Every
// value is clamped into its list. A runner whose horse is missing from the
// horse file (the reader tells the user once) is loaded from its race-card
// line as a horse without runs. Caption, form and page are the caller's.
// `reader` defaults to readHorse.
void loadJvRace(RaceSheet& sheet, const JvRaceCard& card, UserPrompt& prompt,
                JvHorseReader reader = nullptr);

} // namespace zelkor
