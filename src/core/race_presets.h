#pragma once

#include "core/race_sheet.h"

namespace zelkor {

// The race-condition rules the main form applies to the whole sheet when the
// user picks a race name, a sex limit or an age limit.

// Sets the conditions of the well-known race at position `suggestion` of the
// race-name suggestions (racecourse, grade ＧⅠ, age, sex, weight rule,
// surface, distance) and takes its name. Returns false, changing nothing,
// for a position outside the list.
bool applyRacePreset(RaceSheet& sheet, int suggestion);

// Every one of the 18 runners gets the sex the race's sex limit implies:
// 牝 for a fillies-and-mares race, 牡 otherwise.
void applySexLimitRule(RaceSheet& sheet);

// Every slot gets the age an age-limited race implies (４歳上 and ３歳上 → 4,
// ３歳 → 3, ２歳 → 2). Returns false when the limit implies no age ("？" or
// out of range); the runners are then unchanged.
bool applyAgeLimitRule(RaceSheet& sheet);

} // namespace zelkor
