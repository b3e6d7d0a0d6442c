#include "race/race_loader.h"

#include "core/fixed_lists.h"
#include "race/code_tables.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "race/race_source.h"
#include "text/sjis.h"

#include <algorithm>
#include <cstdlib>

namespace zelkor {
namespace {

// Running style the horse file gives a horse without runs.
constexpr RunningStyle kStyleWithoutRuns = RunningStyle::Closer;

// The sheet's sex of a JRA-VAN sex code (1 牡, 2 牝, 3 せん), clamped into
// the list.
Sex sexOfCode(int code) {
    return static_cast<Sex>(clampToList(kSexList, code - 1));
}

// The runner data that only the race card knows, common to every runner.
void fillFromCardLine(RunnerEntry& runner, const JvRaceCard& card, int k) {
    runner.weight = weightIndex(card.runner(k).weightCarried);
}

// A runner whose horse is not in the horse file: a horse without runs,
// named and sexed by its race-card line (its odds band is the field's).
void fillAsHorseWithoutRecord(RunnerEntry& runner, const JvRaceCard& card, int k) {
    const JvRunner& line = card.runner(k);
    runner.name = cutBeforeFullWidthSpace(line.horseName);
    runner.sex = sexOfCode(line.sexCode);
    runner.runningStyle = kStyleWithoutRuns;
    for (PastRun& run : runner.pastRuns)
        run.kind = PastRunKind::NotRun;
}

// The numbers the runners carry, kept only where a scratch after the draw
// left a gap, so a card numbered 1..n loads as it always did.
void setShownNumbers(RaceSheet& sheet, const JvRaceCard& card) {
    sheet.clearShownNumbers();
    const int n = sheet.runnerCount;
    bool gap = false;
    for (int k = 1; k <= n; ++k)
        gap = gap || card.runner(k).horseNumber != k;
    if (!gap)
        return;
    for (int k = 1; k <= n; ++k)
        sheet.setShownNumber(k, card.runner(k).horseNumber, card.runner(k).bracket);
}

} // namespace

int weightIndex(int tenthsOfKg) {
    return clampToList(kWeightList, weightIndexOf(tenthsOfKg));
}

int distanceIndex(int metres) {
    return clampToList(kDistanceList, distanceIndexOf(metres));
}

void fillRunnerFromHorse(RunnerEntry& runner, const JvHorseRecord& horse) {
    runner.name = horse.name;
    runner.sex = sexOfCode(horse.sexCode);
    runner.age = horse.age >= 20 ? 18 : clampToList(kRunnerAgeList, horse.age - 2);
    runner.runningStyle = horse.runningStyle;
    // A horse without finishing counts has no best distance; the reader
    // then gives 2000 m, anything below the list's start is treated alike.
    runner.aptitudeDistance = horse.aptitudeMetres < distanceMetres(0)
                                  ? distanceIndexOf(2000)
                                  : distanceIndex(horse.aptitudeMetres);
    runner.oddsBand = oddsBandOf(horse.oddsEstimate);
}

int classConditionOfRace(const JvRaceCard& card) {
    const auto& c = card.conditionCodes;
    return c[0] != 0 ? c[0] : c[1] != 0 ? c[1] : c[2];
}

int gradeOfRace(const JvRaceCard& card) {
    return gradeOfCodes(card.gradeCode, classConditionOfRace(card));
}

std::string classNameOfRace(const JvRaceCard& card) {
    const int grade = gradeOfRace(card);
    constexpr int kFirstEarningsClass = 4, kLastEarningsClass = 6; // 1600万下..500万下
    if (grade >= kFirstEarningsClass && grade <= kLastEarningsClass)
        return earningsClassName(classConditionOfRace(card), card.year * 10000 + card.monthDay);
    return std::string(listText(kClassList, grade));
}

int gradeOfCodes(const std::string& gradeCode, int conditionCode) {
    if (gradeCode == "A")
        return 0;
    if (gradeCode == "B")
        return 1;
    if (gradeCode == "C")
        return 2;
    if (gradeCode == "L")
        return 3; // リステッド: an open race
    switch (conditionCode) {
    case 5:
        return 6; // 500万下
    case 9:
    case 10:      // 1000万円以下 (2勝クラス) ranks with 900万下
        return 5; // 900万下
    case 16:
        return 4; // 1600万下
    case 701:
        return 9; // 新馬戦
    case 702:
        return 8; // 未出走
    case 703:
        return 7; // 未勝利
    default:
        return 3; // オープン
    }
}

int ageLimitOfRace(const JvRaceCard& card) {
    const auto& c = card.conditionCodes;
    if (c[0] != 0)
        return 3; // ２歳
    if (c[1] == 0)
        return 0; // ４歳上
    if (c[2] == 0)
        return 2; // ３歳
    return 1;     // ３歳上
}

int sexLimitOfRace(const JvRaceCard& card) {
    // The two-word restrictions contain the single words, so they go first.
    const std::string& s = card.symbolText;
    if (findSjis(s, "牡・せん") != std::string::npos)
        return 3;
    if (findSjis(s, "牡・牝") != std::string::npos)
        return 4;
    if (findSjis(s, "牡") != std::string::npos)
        return 1;
    if (findSjis(s, "牝") != std::string::npos)
        return 2;
    return 0;
}

int weightRuleOfRace(const JvRaceCard& card) {
    switch (card.weightRuleCode) {
    case 1:
        return 2; // ハンデ
    case 2:
        return 0; // 別定
    case 3:
        return 3; // 馬齢
    case 4:
        return 1; // 定量
    default:
        return 4; // ？
    }
}

int surfaceOfRace(const JvRaceCard& card) {
    return surfaceOfTrack(card.trackCode);
}

int surfaceOfTrack(int trackCode) {
    return trackCode == 23 || trackCode == 24 ? 1 : 0;
}

int oddsBandOf(int oddsEstimate) {
    static constexpr int kUpperBounds[] = {15, 20, 30,  40,  50,  60,  70,
                                           80, 90, 100, 150, 200, 300, 500};
    for (int band = 0; band < static_cast<int>(std::size(kUpperBounds)); ++band)
        if (oddsEstimate <= kUpperBounds[band])
            return band;
    return 14;
}

int timeDiffIndex(int time, int otherTime) {
    long long diff = std::llabs(static_cast<long long>(timeToTenths(otherTime)) -
                                static_cast<long long>(timeToTenths(time)));
    return diff > kLongestTimeDiff ? kTimeDiffBig : static_cast<int>(diff);
}

PastRun sheetPastRun(const JvPastRun& run) {
    PastRun p;
    if (run.finish == 0 || !run.present()) {
        p.kind = PastRunKind::NotRun;
        return p;
    }
    p.kind = run.abnormal != 0 ? PastRunKind::Accident : PastRunKind::Race;
    p.finish = clampToList(kPastFinishList, run.finish - 1);
    p.fieldSize = clampToList(kPastFieldSizeList, fieldSizeIndexOf(run.fieldSize));
    p.popularity = clampToList(kPastPopularityList, run.popularity - 1);
    p.distance = distanceIndex(run.distanceMetres);
    p.raceClass = pastRunClass(run);
    p.weight = weightIndex(run.weightCarried);
    p.timeDiff = p.finish == 0 ? 0 : timeDiffIndex(run.time, otherTimeOf(run));
    return p;
}

int pastRunClass(const JvPastRun& run) {
    static constexpr ConditionClass kSheetClasses[] = {{5, 6},   {9, 5},   {10, 5}, {16, 4},
                                                       {702, 8}, {703, 7}, {999, 3}};
    return classIndexOfCodes(run.gradeCode, run.conditionCode, kSheetClasses, 9);
}

void fillRunnerPastRuns(RunnerEntry& runner, std::span<const JvPastRun> runs) {
    static const PastRun kNoRun{.kind = PastRunKind::NotRun};
    runner.pastRuns[kRunBeforeLast] = runs.size() > 1 ? sheetPastRun(runs[1]) : kNoRun;
    runner.pastRuns[kLastRun] = runs.empty() ? kNoRun : sheetPastRun(runs[0]);
}

void loadJvRace(RaceSheet& sheet, const JvRaceCard& card, RaceSource& source, UserPrompt& prompt) {
    sheet.raceName = card.raceName;
    sheet.raceNumber = std::clamp(card.raceNumber, 1, static_cast<int>(std::size(kRaceNumberList)));
    sheet.racecourse = card.courseName;
    sheet.grade = gradeOfRace(card);
    if (sheet.raceName.empty())
        sheet.raceName = "一般競走";
    sheet.ageLimit = ageLimitOfRace(card);
    sheet.sexLimit = sexLimitOfRace(card);
    sheet.weightRule = weightRuleOfRace(card);
    sheet.surface = surfaceOfRace(card);
    sheet.runnerCount = std::clamp(card.runnerCount, 0, kMaxRunners);
    sheet.liveRunnerCount = sheet.runnerCount;
    setShownNumbers(sheet, card);
    sheet.distance = distanceIndex(card.distanceMetres);

    // Every runner from its horse, each read once; the slot starts from its
    // reset values, so nothing of a race loaded before survives in fields
    // this race does not set. Each missing horse is reported, once.
    const int n = sheet.runnerCount;
    std::array<int, kMaxRunners> strengths{}; // [k - 1]
    std::array<bool, kMaxRunners> found{};
    long long strengthTotal = 0;
    JvHorseRecord horse;
    for (int k = 1; k <= n; ++k) {
        const size_t slot = static_cast<size_t>(k - 1);
        RunnerEntry& runner = sheet.runner(k);
        runner.reset();
        fillFromCardLine(runner, card, k);
        found[slot] = source.readHorseForSheet(horse, card, k, prompt).ok();
        if (found[slot]) {
            fillRunnerFromHorse(runner, horse);
            fillRunnerPastRuns(runner, horse.pastRuns);
        } else
            fillAsHorseWithoutRecord(runner, card, k);
        // A runner whose horse is missing counts as a horse without runs.
        strengths[slot] = found[slot] ? horse.strength : kStrengthWithoutRuns;
        strengthTotal += strengths[slot];
    }

    // The odds need the strength of the whole field.
    for (int k = 1; k <= n; ++k) {
        const size_t slot = static_cast<size_t>(k - 1);
        sheet.runner(k).oddsBand =
            oddsBandOf(found[slot] ? runnerOddsEstimate(card, k, strengthTotal, strengths[slot])
                                   : estimateOdds(strengthTotal, kStrengthWithoutRuns));
    }
}

} // namespace zelkor
