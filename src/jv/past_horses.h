#pragma once

#include "core/ports.h"
#include "jv/horse_file.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// The horses of a horse file as the backtest needs them: only the fields it
// uses, parsed where they lie, each record once. A horse takes a few
// hundred bytes here against the 2881 of its record, so a whole file is
// held in less memory than its size.

// The facts of one run block the backtest uses, as the horse file reader
// reads them.
struct PastRunFacts {
    int year = 0;
    int monthDay = 0;
    std::array<char, 2> courseCode{};
    int meeting = 0;
    int meetingDay = 0;
    int raceNumber = 0;
    char gradeCode = ' ';
    int conditionCode = 0;
    int distanceMetres = 0;
    int trackCode = 0;
    int fieldSize = 0;
    int horseNumber = 0;
    int weightCarried = 0;
    int abnormal = 0;
    std::array<int, 4> corners{}; // as written: 0 where the horse was not timed
    int time = 0;
    int finish = 0;
    int popularity = 0;
    int timeDiff = 0;

    std::string_view course() const { return {courseCode.data(), courseCode.size()}; }
    friend bool operator==(const PastRunFacts&, const PastRunFacts&) = default;
};

struct PastHorse {
    std::array<char, kJvHorseKeyBytes> id{};
    int birthYear = 0;
    int sexCode = 0;
    int runCount = 0; // runs before the end mark, [0] the most recent
    std::array<PastRunFacts, kJvPastRunCount> runs{};

    std::string horseId() const { return {id.data(), id.size()}; }
    std::span<const PastRunFacts> presentRuns() const {
        return std::span<const PastRunFacts>(runs).first(static_cast<size_t>(runCount));
    }
    // A record with a free run slot shows every run the horse had.
    bool showsWholeCareer() const { return runCount < kJvPastRunCount; }
};

// The horse of one whole record (key first).
PastHorse parsePastHorse(std::string_view record);

// The run as the horse file reader gives it (the texts the backtest never
// shows left empty). The filling form reuses the strings of `run`.
void fillJvPastRun(JvPastRun& run, const PastRunFacts& facts);
inline JvPastRun jvPastRunOf(const PastRunFacts& facts) {
    JvPastRun run;
    fillJvPastRun(run, facts);
    return run;
}

// Every horse of the horse file in file order. A record whose key came
// before is left out, as the search by key never reaches it. Shows
// "ファイル %s は開けませんでした。" and returns false when the file cannot be
// opened, or "登録馬ファイルの読み込みに失敗しました" when it cannot be read
// or is not whole records.
bool readPastHorses(const std::string& horseFilePath, std::vector<PastHorse>& horses,
                    UserPrompt& prompt);

} // namespace zelkor
