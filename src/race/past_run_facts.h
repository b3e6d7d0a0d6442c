#pragma once

#include "race/horse_record.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zelkor {

// The facts of one run block the backtest uses, as the horse file reader
// reads them. A field of three or four places (-999..9999) fits 16 bits,
// one of one or two places (-9..99) fits 8: a whole file of horses takes
// a third of the memory and cache it would in ints.
struct PastRunFacts {
    std::int16_t year = 0;
    std::int16_t monthDay = 0;
    std::array<char, 2> courseCode{};
    std::int8_t meeting = 0;
    std::int8_t meetingDay = 0;
    std::int8_t raceNumber = 0;
    char gradeCode = ' ';
    std::int16_t conditionCode = 0;
    std::int16_t distanceMetres = 0;
    std::int8_t trackCode = 0;
    std::int8_t fieldSize = 0;
    std::int8_t horseNumber = 0;
    std::int8_t abnormal = 0;
    std::int16_t weightCarried = 0;
    std::array<std::int8_t, 4> corners{}; // as written: 0 where the horse was not timed
    std::int16_t time = 0;
    std::int16_t timeDiff = 0;
    std::int8_t finish = 0;
    std::int8_t popularity = 0;

    std::string_view course() const { return {courseCode.data(), courseCode.size()}; }
    friend bool operator==(const PastRunFacts&, const PastRunFacts&) = default;
};

// What the formula reads of a run, alike from a run of the horse file
// reader and from the facts of one, so that a backtest derives its runners
// from the facts without making a reader's run of each. The facts hold the
// fields as written: the values the reader completes are made here.
inline bool runPresent(const JvPastRun& run) {
    return run.present();
}
inline bool runPresent(const PastRunFacts&) {
    return true; // facts are kept of the runs before the end mark only
}
inline char runGradeCode(const JvPastRun& run) {
    return run.gradeCode.size() == 1 ? run.gradeCode[0] : '\0';
}
inline char runGradeCode(const PastRunFacts& run) {
    return run.gradeCode;
}
inline int runCorner(const JvPastRun& run, size_t corner) {
    return run.corners[corner];
}
inline int runCorner(const PastRunFacts& run, size_t corner) {
    if (run.corners[corner] != 0)
        return run.corners[corner];
    return run.corners[0] != 0 ? run.corners[0] : 7; // as fillMissingCorners fills
}
inline int runOtherTime(const JvPastRun& run) {
    return run.otherTime;
}
inline int runOtherTime(const PastRunFacts& run) {
    return tenthsToTime(timeToTenths(run.time) + run.timeDiff); // as completePastRun makes it
}

// The run as the horse file reader gives it (the texts the backtest never
// shows left empty). The filling form reuses the strings of `run`.
void fillJvPastRun(JvPastRun& run, const PastRunFacts& facts);
inline JvPastRun jvPastRunOf(const PastRunFacts& facts) {
    JvPastRun run;
    fillJvPastRun(run, facts);
    return run;
}

} // namespace zelkor
