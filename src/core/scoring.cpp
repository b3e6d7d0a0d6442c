#include "core/scoring.h"

#include "core/fixed_lists.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace zelkor {
namespace {

// Scores are summed in 64 bits: indices from old files or imports are not
// checked against their lists, and an absurd value must not overflow.
using Points = std::int64_t;

// A run over this distance or more earns points when today's race is shorter.
constexpr int kStepDownDistance = distanceIndexOf(2000);
// At a short distance (1400 m or less) the runners that go early earn more.
constexpr int kShortDistance = distanceIndexOf(1400);

// Points for a run over 2000 m or more when today's race is shorter.
Points stepDownInDistance(const PastRun& run, int raceDistance) {
    if (run.distance >= kStepDownDistance && raceDistance < kStepDownDistance)
        return Points{run.distance} - raceDistance;
    return 0;
}

// Points for every tenth of a second a run finished nearer the winner than
// the longest time difference told.
Points nearTheWinner(const PastRun& run) {
    return kLongestTimeDiff - Points{run.timeDiff};
}

// Points for every class a run stood above the bottom of the class list.
Points classOfTheRun(const PastRun& run) {
    return kClassCount - Points{run.raceClass};
}

// Points for finishing worse than the betting public expected.
Points beatenAboveItsOdds(const PastRun& run) {
    Points behind = Points{run.finish} - run.popularity;
    return behind > 0 ? 2 * behind : 0;
}

Points runBeforeLastPoints(const PastRun& run, int grade, int raceDistance) {
    if (!run.raced())
        return 80;
    return stepDownInDistance(run, raceDistance) + beatenAboveItsOdds(run) +
           2 * nearTheWinner(run) + 3 * classOfTheRun(run) +
           (Points{grade} - run.raceClass + 9);
}

Points lastRunPoints(const PastRun& run, const RunnerEntry& runner, int grade, int raceDistance) {
    if (!run.raced())
        return 90;
    Points lighterToday = Points{run.weight} - runner.weight;
    return stepDownInDistance(run, raceDistance) + 3 * nearTheWinner(run) +
           3 * classOfTheRun(run) + (lighterToday > 0 ? 2 * lighterToday : 0) +
           (Points{grade} - run.raceClass + 9) + beatenAboveItsOdds(run) + 3 * Points{run.finish};
}

Points sexPoints(Sex sex) {
    switch (sex) {
    case Sex::Colt:
        return 10;
    case Sex::Gelding:
        return 6;
    default:
        return 0; // 牝, and values from outside the list
    }
}

Points agePoints(int age) {
    // By age index: 2, 3, 4, 5, 6 and 7 years; older horses get nothing.
    constexpr int kPoints[] = {17, 19, 20, 19, 16, 15};
    if (age < 0 || age >= static_cast<int>(std::size(kPoints)))
        return 0;
    return kPoints[age];
}

int saturate(Points p) {
    if (p > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (p < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(p);
}

} // namespace

int runnerScore(const RaceSheet& sheet, int horse) {
    const RunnerEntry& r = sheet.runner(horse);
    const int d = sheet.distance;
    Points score = runBeforeLastPoints(r.pastRuns[kRunBeforeLast], sheet.grade, d);
    score += lastRunPoints(r.pastRuns[kLastRun], r, sheet.grade, d);
    // Distance aptitude: points for every 100 m today's distance is nearer
    // the best one than the list's widest gap.
    Points off = Points{d} - r.aptitudeDistance;
    score += 3 * (kLongestDistance - (off < 0 ? -off : off));
    score += sexPoints(r.sex);
    score += agePoints(r.age);
    if (d <= kShortDistance) {
        if (r.runningStyle == RunningStyle::FrontRunner)
            score += 10;
        else if (r.runningStyle == RunningStyle::Stalker)
            score += 5;
    }
    if (r.runningStyle == RunningStyle::FrontRunner)
        score += 10;
    // The odds decide last: a favourite is never a dark horse.
    if (r.oddsBand <= kFavouriteOddsBand)
        score = 0;
    else if (r.oddsBand <= kMiddleOddsBand)
        score -= 10;
    else
        score += 40;
    return saturate(score);
}

void scoreRace(RaceSheet& sheet) {
    PredictionResult result;
    const int n = sheet.usableRunnerCount();
    for (int h = 1; h <= n; ++h)
        result.setScore(h, runnerScore(sheet, h));

    // The highest score first; being stable, the sort keeps the lower horse
    // number first among equal scores.
    std::array<int, kMaxRunners> horses{};
    std::iota(horses.begin(), horses.begin() + n, 1);
    std::stable_sort(horses.begin(), horses.begin() + n,
                     [&result](int a, int b) { return result.score(a) > result.score(b); });
    for (int position = 1; position <= n; ++position)
        result.setHorseAt(position, horses[static_cast<size_t>(position - 1)]);

    if (n > 0) {
        const Points top = result.score(result.horseAt(1));
        int k = 1;
        while (k < n && top - result.score(result.horseAt(k + 1)) <= kCloseToTop)
            ++k;
        result.darkHorseCount = k;
    }
    const int k = result.darkHorseCount;

    std::array<bool, kMaxRunners> isDarkHorse{}; // [h - 1]
    for (int position = 1; position <= k; ++position)
        isDarkHorse[static_cast<size_t>(result.horseAt(position) - 1)] = true;
    std::array<int, kMaxRunners> partners{};
    int partnerCount = 0;
    for (int h = 1; h <= n; ++h)
        if (sheet.runner(h).oddsBand <= kPartnerOddsBand &&
            !isDarkHorse[static_cast<size_t>(h - 1)])
            partners[static_cast<size_t>(partnerCount++)] = h;

    auto addPair = [&result](int a, int b) {
        if (result.quinellaCount >= kMaxQuinellaPairs)
            return;
        result.quinellaPairs[result.quinellaCount++] = {a < b ? a : b, a < b ? b : a};
    };
    for (int position = 1; position <= k; ++position)
        for (int i = 0; i < partnerCount; ++i)
            addPair(result.horseAt(position), partners[static_cast<size_t>(i)]);
    for (int a = 1; a < k; ++a)
        for (int b = a + 1; b <= k; ++b)
            addPair(result.horseAt(a), result.horseAt(b));

    result.reportMode = ReportMode::DarkHorses;
    sheet.result = result;
}

int rankOf(const PredictionResult& result, int horse, int runnerCount) {
    for (int position = 1; position <= runnerCount; ++position)
        if (result.horseAt(position) == horse)
            return position;
    return 0;
}

} // namespace zelkor
