#include "race/past_run_facts.h"

#include <algorithm>

namespace zelkor {

void fillJvPastRun(JvPastRun& run, const PastRunFacts& facts) {
    run.year = facts.year;
    run.monthDay = facts.monthDay;
    run.courseCode.assign(facts.course());
    run.meeting = facts.meeting;
    run.meetingDay = facts.meetingDay;
    run.raceNumber = facts.raceNumber;
    run.gradeCode.assign(1, facts.gradeCode);
    run.conditionCode = facts.conditionCode;
    run.distanceMetres = facts.distanceMetres;
    run.trackCode = facts.trackCode;
    run.fieldSize = facts.fieldSize;
    run.horseNumber = facts.horseNumber;
    run.weightCarried = facts.weightCarried;
    run.abnormal = facts.abnormal;
    std::copy(facts.corners.begin(), facts.corners.end(), run.corners.begin());
    run.time = facts.time;
    run.finish = facts.finish;
    run.popularity = facts.popularity;
    run.timeDiff = facts.timeDiff;
    completePastRun(run);
}

} // namespace zelkor
