// The returns backtest over the store: whatever records were imported, the
// period backtest ends, every amount and rate it gives is finite, and every
// race of the period is either settled or counted as left out.

#include "backtest/return_figures.h"
#include "backtest/returns_backtest.h"
#include "fuzz_support.h"
#include "store/jvdata_store.h"

#include <cmath>
#include <numeric>

namespace {

using namespace zelkor;

bool finite(const ReturnGroup& g) {
    const auto ok = [](double v) { return std::isfinite(v); };
    return ok(g.stake) && ok(g.ret) && ok(g.hitTickets) && ok(g.hitRaces) &&
           (!g.rate || ok(*g.rate)) &&
           (!g.interval || (ok(g.interval->low) && ok(g.interval->high)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string input = fuzz::scratchFile("in.dat", fuzz::bytesOf(data, size));
    const std::string store = fuzz::freshStorePath();
    fuzz::CountingPrompt prompt;
    fuzz::NoProgress progress;
    ImportSummary summary;
    if (!importJvData({input}, store, summary, prompt, progress))
        return 0;
    ReturnsBacktest backtest;
    const bool done =
        backtestStoreReturns(store, 19000101, 29991231, backtest, prompt, progress).ok();
    ZELKOR_FUZZ_CHECK(done ? prompt.messages == 0 : prompt.messages == 1);
    if (!done)
        return 0;
    const int leftOut = std::accumulate(backtest.leftOut.begin(), backtest.leftOut.end(), 0);
    ZELKOR_FUZZ_CHECK(static_cast<int>(backtest.races.size()) + leftOut == backtest.racesFound);
    for (const ReturnRace& race : backtest.races)
        for (const SettledTicket& t : race.tickets)
            ZELKOR_FUZZ_CHECK(t.settlement.stake >= 0 && t.settlement.ret >= 0);
    const ReturnFigures f = returnFigures(backtest.races);
    ZELKOR_FUZZ_CHECK(f.races == static_cast<int>(backtest.races.size()));
    ZELKOR_FUZZ_CHECK(std::isfinite(f.largestDrawdown));
    for (const auto* groups : {&f.program, &f.baselines})
        for (const ReturnGroup& g : *groups)
            ZELKOR_FUZZ_CHECK(finite(g));
    for (const SplitGroups& split : f.splits)
        for (const auto& [key, g] : split)
            ZELKOR_FUZZ_CHECK(finite(g));
    return 0;
}
