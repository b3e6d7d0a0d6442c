#include "chances/chance_features.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace zelkor {

namespace {

// Turf, dirt and jumps differ; within one, the codes name the course's turns.
int surfaceOf(int trackCode) {
    if (trackCode >= 10 && trackCode <= 22)
        return 1;
    if (trackCode >= 23 && trackCode <= 29)
        return 2;
    return trackCode >= 51 ? 3 : 0;
}

// The class a condition code names: 新馬・未出走・未勝利, then 1勝 to 3勝, open.
int classOf(int conditionCode) {
    switch (conditionCode) {
    case 5:
        return 1;
    case 10:
        return 2;
    case 16:
        return 3;
    case 999:
        return 4;
    default:
        return 0;
    }
}

int raceClassOf(const JvRaceCard& card) {
    int level = 0;
    for (int code : card.conditionCodes)
        level = std::max(level, classOf(code));
    const bool graded =
        !card.gradeCode.empty() && card.gradeCode[0] >= 'A' && card.gradeCode[0] <= 'E';
    return graded ? 5 : level;
}

} // namespace

// Days since the epoch; 0 for a date that is none.
long daysOf(int year, int monthDay) {
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year(year), month(static_cast<unsigned>(monthDay / 100)),
                             day(static_cast<unsigned>(monthDay % 100))};
    if (!ymd.ok())
        return 0;
    return static_cast<long>(sys_days(ymd).time_since_epoch().count());
}

ChanceFeatures chanceFeaturesOf(const JvRaceCard& card, const JvRunner& runner,
                                const JvHorseRecord& horse, int score, PeopleForm people) {
    int runs = 0, sameSurface = 0;
    double finishShare = 0, bestShare = 1, behind = 0, distanceGap = 0;
    for (const JvPastRun& run : horse.pastRuns) {
        if (!run.present() || run.abnormal != 0 || run.finish < 1 || run.fieldSize < 2)
            continue;
        ++runs;
        const double share =
            std::min(1.0, (run.finish - 1) / static_cast<double>(run.fieldSize - 1));
        finishShare += share;
        bestShare = std::min(bestShare, share);
        // A winner's difference is to the second: it was behind nobody.
        behind += run.finish == 1 ? 0.0 : std::clamp<int>(run.timeDiff, 0, 50) / 10.0;
        distanceGap += std::abs(card.distanceMetres - run.distanceMetres) / 1000.0;
        sameSurface += surfaceOf(run.trackCode) == surfaceOf(card.trackCode) ? 1 : 0;
    }
    ChanceFeatures f{};
    f[0] = score / 100.0;
    f[1] = runs ? finishShare / runs : 0.5;
    f[2] = runs ? bestShare : 0.5;
    f[3] = runs ? behind / runs : 1.5;
    f[4] = runs ? distanceGap / runs : 0.0;
    f[5] = runs ? sameSurface / static_cast<double>(runs) : 0.5;
    const JvPastRun& last = horse.pastRuns[0];
    f[6] = last.present() ? std::clamp(raceClassOf(card) - classOf(last.conditionCode), -3, 3) : 0;
    const long today = daysOf(card.year, card.monthDay);
    const long lastDay = last.present() ? daysOf(last.year, last.monthDay) : 0;
    f[7] =
        lastDay > 0 && today > lastDay ? std::log1p(static_cast<double>(today - lastDay)) / 5 : 0.0;
    f[8] = runs == 0 ? 1.0 : 0.0;
    f[9] = runner.weightCarried > 0 ? (runner.weightCarried / 10.0 - 55.0) / 2.0 : 0.0;
    f[10] = 10 * people.jockey;
    f[11] = 10 * people.trainer;
    return f;
}

} // namespace zelkor
