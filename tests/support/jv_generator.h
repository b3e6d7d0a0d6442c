#pragma once

// Writes JRA-VAN race cards and horse files in their fixed-width CP932
// layouts from readable descriptions, so tests state their data plainly.
// Texts are CP932 (narrow literals of this project already are). Name
// fields are padded with full-width spaces, code fields with blanks,
// numbers are zero-padded; kBlankField writes a numeric field as blanks.

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor::test {

inline constexpr int kBlankField = INT_MIN;

struct JvRunnerData {
    int horseNumber = 0; // 0: the runner's position in the race
    int bracket = 0;     // 0: the bracket of that horse number in the field
    std::string horseId = "2022100001";
    std::string horseName = "テストホース";
    int sexCode = 1;
    int weightCarried = 550;
    int blinkers = 0;
    int jockeyCode = 1001;
    std::string jockeyName = "騎手一";
    int apprenticeCode = 0;
    int trainerCode = 2001;
    std::string trainerName = "調教師";
};

struct JvRaceData {
    int year = 2026;
    int monthDay = 105;
    std::string courseCode = "05";
    int meeting = 1;
    int meetingDay = 1;
    int raceNumber = 1;
    int weekdayCode = 1;
    std::string raceName; // empty: an ordinary race without a name
    std::string shortName;
    int edition = 0;
    std::string gradeCode = " ";
    int kindCode = 13;
    std::string symbolCode = "A00";
    int weightRuleCode = 2;
    std::array<int, 5> conditionCodes{0, 5, 5, 0, 0};
    int distanceMetres = 1600;
    int trackCode = 17;
    std::array<int, 5> prizeMoney{12000, 4800, 3000, 1800, 1200};
    std::array<int, 3> addedMoney{0, 0, 0};
    int postTime = 1025;
    int saleCode = 2;
    int runnerCountField = -1; // -1: the number of runners given
    std::vector<JvRunnerData> runners;
};

struct JvRunData {
    int year = 2025;
    int monthDay = 1020;
    std::string courseCode = "05";
    int meeting = 4;
    int meetingDay = 6;
    int raceNumber = 11;
    std::string shortName = "";
    std::string gradeCode = " ";
    int conditionCode = 5;
    std::string raceName = "";
    int distanceMetres = 1600;
    int trackCode = 17;
    int fieldSize = 16;
    int trackConditionCode = 1;
    int weatherCode = 1;
    int horseNumber = 3;
    int bracket = 2;
    int weightCarried = 550;
    std::string jockeyName = "騎手一";
    int abnormal = 0;
    int bodyWeight = 480;
    std::array<int, 4> corners{5, 5, 4, 3};
    int lastThreeFurlongs = 345;
    int time = 1345;
    std::string marginCode = "1__";
    int finish = 2;
    int popularity = 3;
    std::string otherHorseName = "ライバル";
    int timeDiff = 2;
};

struct JvHorseData {
    std::string id = "2022100001";
    std::string name = "テストホース";
    int birthYear = 2022;
    int birthMonthDay = 315;
    int breedCode = 1;
    int sexCode = 1;
    int coatCode = 3;
    int markCode = 0;
    std::string sire = "テストチチ";
    std::string dam = "テストハハ";
    std::string damSire = "ハハノチチ";
    std::string damDam = "ハハノハハ";
    std::string birthplace = "日高町";
    std::string breeder = "山田　太郎"; // parts separated by "　", as the file has them
    std::string owner = "鈴木　花子";
    int earnings = 1500;
    int prizeTotal = 2300;
    // [set][band][place]; all zero means a horse that never finished
    std::array<std::array<std::array<int, 4>, 3>, 2> bandCounts{};
    std::vector<JvRunData> runs; // the most recent first, at most 5 written
};

// One race line without its line end.
std::string jvRaceLine(const JvRaceData& race);
// Race lines joined, each followed by `lineEnd`.
std::string jvRaceCardText(const std::vector<JvRaceData>& races, std::string_view lineEnd = "\r\n");

// One 2881-byte horse record.
std::string jvHorseRecord(const JvHorseData& horse);
std::string jvHorseFileBytes(const std::vector<JvHorseData>& horses);

bool writeJvRaceCard(const std::string& path, const std::vector<JvRaceData>& races);
bool writeJvHorseFile(const std::string& path, const std::vector<JvHorseData>& horses);

// A whole fictional race day: `raceCount` races over three racecourses
// (twelve a course) whose runners are drawn from `horseCount` horses with
// invented names, varied careers and runs. The same seed gives the same day.
struct JvRaceDay {
    std::vector<JvRaceData> races;
    std::vector<JvHorseData> horses;
};
JvRaceDay makeJvRaceDay(int raceCount = 36, int horseCount = 20000, std::uint32_t seed = 1);

// Horses whose histories share races: a season of past races, run in date
// order, each with a field drawn from the horses (none runs twice a day), a
// finishing order, popularities and consistent times. Every horse keeps its
// last five runs, the most recent first, as the horse file does, so the
// oldest races lose some of their runners. The same seed gives the same
// season. `races` holds every race with its whole field, by horse number.
struct JvSeasonRunner {
    int horse = 0; // index into `horses`
    int horseNumber = 0;
    int finish = 0;
    int popularity = 0;
    bool abnormal = false;
};
struct JvSeasonRace {
    JvRunData card; // the race's fields as every runner's run block has them
    std::vector<JvSeasonRunner> runners;
};
struct JvPastSeason {
    std::vector<JvHorseData> horses;
    std::vector<JvSeasonRace> races;
};
// About `runsPerHorse` runs a horse (before the oldest fall off the record).
JvPastSeason makeJvPastSeason(int horseCount, double runsPerHorse = 6.0, std::uint32_t seed = 1);
// The same for horses already made (a race day's): their runs are replaced
// by the season's, which is returned.
std::vector<JvSeasonRace> shareJvHistories(std::vector<JvHorseData>& horses, double runsPerHorse,
                                           std::uint32_t seed);

// Blank numeric fields after records with values: two races of the same
// day, each run by the horses 2021300001 (all values) and 2021300002, in
// that order. The second race has no digits in its year, its race number
// and runner 2's weight carried; the second horse's last run has none in
// its popularity, its finish and its time (the first horse's last run has
// 3, 2 and 1:34.5 there). Both horses' last runs were under another jockey
// than the one riding now.
JvRaceDay makeJvDayWithBlankFields();

// The registration number the day generator gives horse `n` (0-based).
std::string jvHorseIdFor(int n);

} // namespace zelkor::test
