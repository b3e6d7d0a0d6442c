#pragma once

#include "core/race_sheet.h"

#include <string>
#include <string_view>

namespace zelkor {

// The trainer's real intention (調教師の本音) of a runner: an intent code
// 1..35 chosen from the sheet alone (never from the scores), which selects a
// motivation mark ("↑", "→", "↓") and a stock remark.

// Intent code of horse `horse`; computed afresh on every call, so it follows
// any change made to the runner since the last prediction.
int intentCode(const RaceSheet& sheet, int horse);

// Mark and remark of an intent code; both empty for a code outside the table.
// Code 31 has a mark and an empty remark.
std::string_view intentMark(int code);
std::string_view intentRemark(int code);

enum class IntentPart { Mark, Remark };

// The mark or the remark of horse `horse`.
std::string trainerIntent(const RaceSheet& sheet, int horse, IntentPart part);

} // namespace zelkor
