#include "core/deciding_factors.h"

namespace zelkor {
namespace {

constexpr std::string_view kFactorTexts[kDecidingFactorSlots] = {
    "",
    "前走大敗後のハンデ戦",
    "５kg以上斤量が軽量化",
    "４kg斤量が軽量化",
    "３kg斤量が軽量化",
    "２kg斤量が軽量化",
    "前走上のクラスで出走させた上積み",
    "ここ２レース好調",
    "距離がベスト",
    "このクラスで連対実績あり",
    "前走は人気で大敗",
    "前走大敗なので今走はやる気大",
    "休み明けひとたたきの上積み",
    "前走は不適正距離で調整",
};

constexpr int kHandicap = 2; // weightRule "ハンデ"

} // namespace

std::array<int, kDecidingFactorSlots> decidingFactors(const RaceSheet& sheet, int horse) {
    const RunnerEntry& runner = sheet.runner(horse);
    const PastRun& prev = runner.pastRuns[kRunBeforeLast];
    const PastRun& last = runner.pastRuns[kLastRun];
    std::array<int, kDecidingFactorSlots> slots{};
    auto set = [&slots](int code) { slots[static_cast<size_t>(code)] = code; };

    if (last.raced() && sheet.weightRule == kHandicap && last.finish > 7)
        set(1);

    if (const PastRun* r = referenceRun(runner)) {
        const long long c = kilogramsLighter(*r, runner);
        if (c >= 5)
            set(2);
        else if (c == 4)
            set(3);
        else if (c == 3)
            set(4);
        else if (c == 2)
            set(5);
        if (r->raceClass < sheet.grade)
            set(6);
        if (r->distance >= 10 && sheet.distance < 9)
            set(13);
        if (r->popularity < 3 && r->finish > 7)
            set(10);
        if (r->finish > 10)
            set(11);
    }

    if (prev.raced() && last.raced() && static_cast<long long>(prev.timeDiff) + last.timeDiff < 10)
        set(7);
    if (runner.aptitudeDistance == sheet.distance)
        set(8);
    for (const PastRun& run : runner.pastRuns) {
        if (run.raced() && run.raceClass <= sheet.grade && run.finish < 3)
            set(9);
    }
    if (prev.kind == PastRunKind::Rested)
        set(12);
    return slots;
}

std::string_view decidingFactorText(int code) {
    if (code < 1 || code >= kDecidingFactorSlots)
        return {};
    return kFactorTexts[code];
}

} // namespace zelkor
