#pragma once

#include <array>
#include <compare>
#include <optional>
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
    int finish = 0;   // finishing position as recorded
    int abnormal = 0; // abnormal-result code, 0 normal
    int popularity = 0;
    int score = 0;
    int rank = 0;         // ranking position, 1 the highest score
    int oddsEstimate = 0; // win odds × 10 the formula estimated

    // Scratched (1), excluded (2, 3), did not finish (4) or disqualified (5):
    // no official place, so a pick of it is no trial, neither won nor lost.
    // A horse that fell and remounted (6) or was placed lower (7) has its
    // place.
    bool ranNormally() const { return abnormal < 1 || abnormal > 5; }
    bool won() const { return finish == 1; }
    bool placed(int places) const { return finish >= 1 && finish <= places; }
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

    // Place pays the first two in a field of 7 or fewer, else the first three.
    int places() const { return fieldSize <= 7 ? 2 : 3; }
};

// Tickets of one kind over races. Tickets of one race are not independent,
// so the race is the trial: it counts when it has a ticket, and is a hit
// when any of its tickets is.
struct TicketCount {
    int races = 0;
    int tickets = 0;
    int hitTickets = 0;
    int hitRaces = 0;

    void addRace(int raceTickets, int raceHits) {
        if (raceTickets <= 0)
            return;
        ++races;
        tickets += raceTickets;
        hitTickets += raceHits;
        hitRaces += raceHits > 0 ? 1 : 0;
    }
    // Hit races ÷ races; none without races.
    std::optional<double> rate() const {
        if (races <= 0)
            return std::nullopt;
        return static_cast<double>(hitRaces) / races;
    }
};

struct Interval {
    double low = 0;
    double high = 1;
};
// Wilson score interval for hits/trials at z = 1.96; [0, 1] without trials.
Interval wilsonInterval(int hits, int trials);
// The interval of a count's rate over its races.
inline Interval raceInterval(const TicketCount& count) {
    return wilsonInterval(count.hitRaces, count.races);
}

inline constexpr int kRankedPositions = 8;

struct BacktestFigures {
    int races = 0;
    TicketCount topPlace, topWin;                                     // the horse ranked first
    TicketCount darkPlace, darkWin;                                   // the dark horses
    std::array<TicketCount, kRankedPositions> rankPlace{}, rankWin{}; // by position 1..8
    TicketCount quinella;                                             // the pairs proposed
    TicketCount favouritePlace, favouriteWin;                         // popularity 1
    TicketCount longshotPlace, longshotWin;                           // highest estimated odds
    // Mean over the races of the share of the field that places (wins);
    // none without races.
    std::optional<double> chancePlace, chanceWin;
};

// The counted figures in the order reports show them: label (CP932), JSON
// key, the member, and whether it is a pick of the formula or a baseline.
struct BacktestRow {
    const char* label;
    const char* key;
    TicketCount BacktestFigures::*count;
    bool formula;
};
std::span<const BacktestRow> backtestRows();
inline constexpr const char* kChancePlaceLabel = "偶然 (複勝圏の頭数÷頭数) の複勝率";
inline constexpr const char* kChanceWinLabel = "偶然 (1÷頭数) の勝率";
// Said wherever the figures are shown: the data hold no payouts.
inline constexpr const char* kNoPayoutsNote = "払戻金のデータがないため、回収率は出していません。";
// Said wherever figures are split into groups.
inline constexpr const char* kFewRacesNote =
    "レースの少ない組の数字は何も示しません。組が多ければ、そのいくつかは偶然だけで良く見えます。";

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

} // namespace zelkor
