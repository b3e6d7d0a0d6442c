#pragma once

#include "core/race_sheet.h"

#include <array>
#include <string_view>

namespace zelkor {

inline constexpr int kDecidingFactorSlots = 14;

// The deciding factors (決め手) of horse `horse`: slot k holds k when factor k
// applies, else 0; slot 0 is always 0.
std::array<int, kDecidingFactorSlots> decidingFactors(const RaceSheet& sheet, int horse);

// Text of factor code 1..13; empty for any other code.
std::string_view decidingFactorText(int code);

} // namespace zelkor
