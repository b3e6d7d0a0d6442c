#include "core/race_sheet.h"

#include "core/fixed_lists.h"
#include "text/format.h"

namespace zelkor {

RaceSheet::RaceSheet() {
    resetRaceConditions();
    resetRunners();
}

void RaceSheet::resetRaceConditions() {
    grade = 0;
    ageLimit = 0;
    sexLimit = 0;
    weightRule = 0;
    baseWeight = 0;
    surface = 0;
    distance = 10;
    runnerCount = 6;
    liveRunnerCount = 6;
    raceNumber = 1;
    raceName = "レース名";
}

void RaceSheet::resetRunners() {
    for (auto& r : runners_)
        r.reset();
    clearShownNumbers();
}

void RaceSheet::setShownNumber(int slot, int number, int bracket) {
    if (!inField(slot))
        return;
    horseNumbers_[static_cast<size_t>(slot - 1)] = number;
    brackets_[static_cast<size_t>(slot - 1)] = bracket;
}

void RaceSheet::clearShownNumbers() {
    horseNumbers_ = {};
    brackets_ = {};
}

int RaceSheet::shownNumber(int slot) const {
    const int number = inField(slot) ? horseNumbers_[static_cast<size_t>(slot - 1)] : 0;
    return number != 0 ? number : slot;
}

int RaceSheet::shownBracket(int slot, int count) const {
    const int bracket = inField(slot) ? brackets_[static_cast<size_t>(slot - 1)] : 0;
    return bracket != 0 ? bracket : BracketOf(slot, count);
}

bool RaceSheet::renumbered() const {
    for (int slot = 1; slot <= kMaxRunners; ++slot)
        if (shownNumber(slot) != slot)
            return true;
    return false;
}

RunnerEntry& RaceSheet::runner(int horse) {
    if (inField(horse))
        return runners_[static_cast<size_t>(horse - 1)];
    outside_.reset();
    return outside_;
}

const RunnerEntry& RaceSheet::runner(int horse) const {
    static const RunnerEntry kOutside;
    return inField(horse) ? runners_[static_cast<size_t>(horse - 1)] : kOutside;
}

const PastRun* referenceRun(const RunnerEntry& runner) {
    const PastRun& last = runner.pastRuns[kLastRun];
    const PastRun& prev = runner.pastRuns[kRunBeforeLast];
    return last.raced() ? &last : prev.raced() ? &prev : nullptr;
}

long long kilogramsLighter(const PastRun& run, const RunnerEntry& runner) {
    return (static_cast<long long>(run.weight) - runner.weight) / 2;
}

int RaceSheet::usableRunnerCount() const {
    if (runnerCount < 0)
        return 0;
    return runnerCount > kMaxRunners ? kMaxRunners : runnerCount;
}

int BracketOf(int horse, int runnerCount) {
    const int h = horse;
    const int n = runnerCount;
    if (n <= 8)
        return h;
    if (n <= 16)
        return h <= 16 - n ? h : (h + n - 15) / 2 - n + 16;
    if (n <= 18)
        return h <= 2 * (24 - n) ? (h + 1) / 2 : (h + 2 * n - 46) / 3 - n + 24;
    return h;
}

std::string_view bracketColourName(int bracket) {
    if (bracket < 1 || bracket > 8)
        return {};
    return kBracketColourNames[bracket];
}

std::string runnerLabel(const RaceSheet& sheet, int horse) {
    int bracket = sheet.shownBracket(horse, sheet.liveRunnerCount);
    std::string colour(bracketColourName(bracket));
    return format("%s %d枠 %d番 ", colour.c_str(), bracket, sheet.shownNumber(horse));
}

std::string runnerLabel(const RaceSheet& sheet) {
    return runnerLabel(sheet, sheet.currentRunner);
}

} // namespace zelkor
