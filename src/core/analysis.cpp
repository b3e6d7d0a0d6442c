#include "core/analysis.h"

#include <cstdlib>

namespace zelkor {
namespace {

// Wide enough that no difference or sum of two stored indices can overflow,
// whatever a loaded file held.
// By horse number: [h - 1] for horse h.
using Values = std::array<long long, kMaxRunners>;

// Three picks from the values of horses 1..n: each pick walks from horse 1
// and takes a horse only when it is strictly better than the candidate so
// far, so ties go to the lower number; the pick's value is then overwritten
// with `excluded`. Without runners every pick is horse 1.
template <typename Better>
std::array<int, 3> pickThree(Values v, int n, long long excluded, Better better) {
    std::array<int, 3> picks{};
    for (int& pick : picks) {
        size_t candidate = 0;
        for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
            if (better(v[i], v[candidate]))
                candidate = i;
        }
        pick = static_cast<int>(candidate) + 1;
        v[candidate] = excluded;
    }
    return picks;
}

} // namespace

AnalysisRows analysisRows(const RaceSheet& sheet) {
    const int n = sheet.usableRunnerCount();
    const long long D = sheet.distance;
    Values odds{}, distance{}, form{}, weightDrop{};
    for (int h = 1; h <= n; ++h) {
        const RunnerEntry& r = sheet.runner(h);
        const auto i = static_cast<size_t>(h - 1);
        odds[i] = r.oddsBand;
        distance[i] = std::llabs(D - r.aptitudeDistance);
        form[i] = static_cast<long long>(r.pastRuns[kRunBeforeLast].timeDiff) +
                  r.pastRuns[kLastRun].timeDiff;
        weightDrop[i] = static_cast<long long>(r.pastRuns[kLastRun].weight) - r.weight;
    }
    auto smaller = [](long long a, long long b) { return a < b; };
    auto larger = [](long long a, long long b) { return a > b; };

    AnalysisRows rows;
    rows.popularity = pickThree(odds, n, 20, smaller);
    // An excluded horse counts as having a best distance of index 1000.
    rows.distance = pickThree(distance, n, std::llabs(D - 1000), smaller);
    rows.form = pickThree(form, n, 1000, smaller);
    rows.weightDrop = pickThree(weightDrop, n, -1000, larger);
    return rows;
}

AnalysisRows shownAnalysisRows(const RaceSheet& sheet) {
    AnalysisRows rows = analysisRows(sheet);
    for (auto* row : {&rows.popularity, &rows.distance, &rows.form, &rows.weightDrop})
        for (int& horse : *row)
            horse = sheet.shownNumber(horse);
    return rows;
}

} // namespace zelkor
