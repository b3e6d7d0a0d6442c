#pragma once

#include "backtest/return_race.h"
#include "core/ports.h"
#include "core/result.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// Why a race of the period is not settled, in the order the counts are shown.
enum class LeftOutReason { NotJra, NoFinalResults, NoPayouts, NotLoadable };
inline constexpr size_t kLeftOutReasons = 4;

struct LeftOutReasonInfo {
    const char* key;   // in JSON
    const char* label; // CP932
};
std::span<const LeftOutReasonInfo> leftOutReasons();

// The bets of the program settled with the real payouts of the JV-Data
// store over a period.
struct ReturnsBacktest {
    int fromDate = 0; // yyyymmdd, inclusive
    int toDate = 0;
    int missingHorses = 0;         // runners loaded without their horse (no past runs)
    std::vector<ReturnRace> races; // in date, racecourse code, race number order
    // Every race of the period the store lists = races.size() + the left out.
    int racesFound = 0;
    std::array<int, kLeftOutReasons> leftOut{}; // by LeftOutReason
};

// "除いたレース: n (JRAのレースでない a、…)" with every reason's count (CP932,
// no line end).
std::string leftOutRacesText(const ReturnsBacktest& backtest);

// Every JRA race of the store from `fromDate` to `toDate` (inclusive) with
// final results (its newest RA of data kind 5-7) and a payout record that
// is not cancelled: rebuilt through the store's race source and the loader
// as it stood before it was run, scored, its proposed tickets bought at 100
// yen each and settled beside the baselines. Fails after a message when the
// store cannot be read or the user cancelled (between race days).
Outcome backtestStoreReturns(const std::string& storePath, int fromDate, int toDate,
                             ReturnsBacktest& backtest, UserPrompt& prompt, ProgressSink& progress);

// How the races are chosen, predicted and settled, one sentence a line
// (CP932), for the report page and the command's help.
std::span<const std::string_view> returnsBacktestRules();

} // namespace zelkor
