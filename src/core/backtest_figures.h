#pragma once

#include <array>
#include <compare>
#include <span>
#include <string>
#include <vector>

namespace zelkor {

// How the picks of the formula did in races whose outcome is known, beside
// plain baselines. No payouts are known, so there is no return on stakes.

// One runner of a race with a known outcome, as the formula saw it.
struct BacktestRunner {
    std::string horseId;
    int horseNumber = 0;
    int finish = 0;        // finishing position as recorded
    bool abnormal = false; // the run did not end normally: never placed
    int popularity = 0;
    int score = 0;
    int rank = 0;         // ranking position, 1 the highest score
    int oddsEstimate = 0; // win odds × 10 the formula estimated

    bool won() const { return !abnormal && finish == 1; }
    bool placed() const { return !abnormal && finish >= 1 && finish <= 3; }
};

// What identifies a past race: its date, racecourse, meeting, day of the
// meeting and race number, as every run block in it has them.
struct PastRaceId {
    int year = 0;
    int monthDay = 0;
    std::string courseCode;
    int meeting = 0;
    int meetingDay = 0;
    int raceNumber = 0;

    friend auto operator<=>(const PastRaceId&, const PastRaceId&) = default;
    friend bool operator==(const PastRaceId&, const PastRaceId&) = default;
};

struct BacktestRace {
    PastRaceId id;
    int fieldSize = 0; // runners the race had (some may be missing)
    int surface = 0;   // 0 芝, 1 ダート
    int distanceMetres = 0;
    int distanceBand = 0;   // 0 up to 1600 m, 1 1601–2200 m, 2 2201 m and over
    int darkHorseCount = 0; // the first K ranks are the dark horses
    std::vector<std::array<int, 2>> quinellaPairs; // horse numbers, lower first
    std::vector<BacktestRunner> runners;           // by horse number
};

// Successes out of trials, with the 95 % Wilson score interval.
struct HitCount {
    int hits = 0;
    int trials = 0;
    void add(bool hit) {
        ++trials;
        hits += hit ? 1 : 0;
    }
};
struct Interval {
    double low = 0;
    double high = 1;
};
// Wilson score interval for hits/trials at z = 1.96; [0, 1] without trials.
Interval wilsonInterval(const HitCount& count);

inline constexpr int kRankedPositions = 8;

struct BacktestFigures {
    int races = 0;
    HitCount topPlace, topWin;                                     // the horse ranked first
    HitCount darkPlace, darkWin;                                   // every dark horse
    std::array<HitCount, kRankedPositions> rankPlace{}, rankWin{}; // by position 1..8
    HitCount quinellaPairs;                // every pair proposed: it equals the first two finishers
    HitCount quinellaRaces;                // races with pairs: one of them hit
    HitCount placeBetRaces;                // a dark horse finished in the first three
    HitCount favouritePlace, favouriteWin; // popularity 1, where it is present
    HitCount longshotPlace, longshotWin;   // highest estimated odds
    double chancePlace = 0;                // mean over the races of 3 ÷ runners
    double chanceWin = 0;                  // mean over the races of 1 ÷ runners
};

// The counted figures in the order reports show them: label (CP932), JSON
// key, the member, and whether it is a pick of the formula or a baseline.
struct BacktestRow {
    const char* label;
    const char* key;
    HitCount BacktestFigures::*count;
    bool formula;
};
std::span<const BacktestRow> backtestRows();
inline constexpr const char* kChancePlaceLabel = "偶然 (3÷頭数) の複勝率";
inline constexpr const char* kChanceWinLabel = "偶然 (1÷頭数) の勝率";
// Said wherever the figures are shown: the data hold no payouts.
inline constexpr const char* kNoPayoutsNote = "払戻金のデータがないため、回収率は出していません。";

// The figures over `races`.
BacktestFigures backtestFigures(std::span<const BacktestRace> races);

// The groups the figures are split into.
struct BacktestGroup {
    const char* name; // CP932 label
    const char* key;  // JSON key
    bool (*contains)(const BacktestRace&);
};
std::span<const BacktestGroup> backtestGroups();

// Figures of every group, in the order of backtestGroups().
std::vector<BacktestFigures> groupFigures(std::span<const BacktestRace> races);

// Whether the pair of horse numbers equals the first two finishers (a dead
// heat for first counts the two winners).
bool quinellaHit(const BacktestRace& race, const std::array<int, 2>& pair);

} // namespace zelkor
