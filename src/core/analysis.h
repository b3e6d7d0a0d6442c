#pragma once

#include "core/race_sheet.h"

#include <array>

namespace zelkor {

// The four 分析 rows of the sports page: three horse numbers each, best first.
struct AnalysisRows {
    std::array<int, 3> popularity{}; // 上位人気: lowest odds band
    std::array<int, 3> distance{};   // 距離適性: best distance closest to today's
    std::array<int, 3> form{};       // 調子: smallest sum of both time differences
    std::array<int, 3> weightDrop{}; // 重量軽量化: most weight shed since the last run
};

// Ties go to the lower horse number; once every runner has been chosen the
// next pick is horse 1 again, so the rows always hold three numbers. The
// sheet is only read.
AnalysisRows analysisRows(const RaceSheet& sheet);
// The same picks named by the numbers the horses carry, as pages and the
// command line show them.
AnalysisRows shownAnalysisRows(const RaceSheet& sheet);

} // namespace zelkor
