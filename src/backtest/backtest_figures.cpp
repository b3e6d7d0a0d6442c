#include "backtest/backtest_figures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelkor {
namespace {

using F = BacktestFigures;

constexpr double kZ = 1.96; // two-sided 95 %

const BacktestRunner* runnerAt(const BacktestRace& race, bool (*match)(const BacktestRunner&, int),
                               int value) {
    for (const BacktestRunner& runner : race.runners)
        if (match(runner, value))
            return &runner;
    return nullptr;
}

const BacktestRunner* rankedAt(const BacktestRace& race, int rank) {
    return runnerAt(
        race, [](const BacktestRunner& r, int v) { return r.rank == v; }, rank);
}

const BacktestRunner* withNumber(const BacktestRace& race, int horseNumber) {
    return runnerAt(
        race, [](const BacktestRunner& r, int v) { return r.horseNumber == v; }, horseNumber);
}

// The first runner of each rank and of each horse number, found in one
// pass: a race is looked up a few dozen times for its figures. Values out
// of the table's range are searched for as they are.
class RunnerIndex {
  public:
    explicit RunnerIndex(const BacktestRace& race) : race_(race) {
        for (const BacktestRunner& runner : race.runners) {
            note(byRank_, runner.rank, runner);
            note(byNumber_, runner.horseNumber, runner);
        }
    }
    const BacktestRunner* ranked(int rank) const {
        return inRange(rank) ? byRank_[static_cast<size_t>(rank)] : rankedAt(race_, rank);
    }
    const BacktestRunner* numbered(int horseNumber) const {
        return inRange(horseNumber) ? byNumber_[static_cast<size_t>(horseNumber)]
                                    : withNumber(race_, horseNumber);
    }

  private:
    static constexpr int kSize = 32;
    using Table = std::array<const BacktestRunner*, kSize>;
    static bool inRange(int value) { return value >= 0 && value < kSize; }
    static void note(Table& table, int value, const BacktestRunner& runner) {
        if (inRange(value) && table[static_cast<size_t>(value)] == nullptr)
            table[static_cast<size_t>(value)] = &runner;
    }

    const BacktestRace& race_;
    Table byRank_{};
    Table byNumber_{};
};

// Whether a quinella of the two runners hit: both ran normally and took the
// first two places between them (a dead heat for first counts).
bool quinellaHitOf(const BacktestRunner* a, const BacktestRunner* b) {
    if (a == nullptr || b == nullptr || a == b || !a->ranNormally() || !b->ranNormally())
        return false;
    const int first = std::min(a->finish, b->finish);
    const int second = std::max(a->finish, b->finish);
    return first == 1 && (second == 1 || second == 2);
}

// The horse the formula thinks least of by odds: the highest estimate, the
// lower horse number on a tie.
const BacktestRunner* longestShot(const BacktestRace& race) {
    const BacktestRunner* best = nullptr;
    for (const BacktestRunner& runner : race.runners)
        if (best == nullptr || runner.oddsEstimate > best->oddsEstimate)
            best = &runner;
    return best;
}

// A single pick of the race: one ticket, when the horse ran normally.
void addPick(TicketCount& place, TicketCount& win, const BacktestRunner* pick, int places) {
    if (pick == nullptr || !pick->ranNormally())
        return;
    place.addRace(1, pick->placed(places) ? 1 : 0);
    win.addRace(1, pick->won() ? 1 : 0);
}

void addRace(BacktestFigures& f, const BacktestRace& race) {
    ++f.races;
    const int places = race.places();
    const RunnerIndex index(race);
    addPick(f.topPlace, f.topWin, index.ranked(1), places);
    for (int p = 1; p <= kRankedPositions; ++p)
        addPick(f.rankPlace[static_cast<size_t>(p - 1)], f.rankWin[static_cast<size_t>(p - 1)],
                index.ranked(p), places);
    int dark = 0, darkPlaced = 0, darkWon = 0;
    for (const BacktestRunner& runner : race.runners) {
        if (runner.rank < 1 || runner.rank > race.darkHorseCount || !runner.ranNormally())
            continue;
        ++dark;
        darkPlaced += runner.placed(places) ? 1 : 0;
        darkWon += runner.won() ? 1 : 0;
    }
    f.darkPlace.addRace(dark, darkPlaced);
    f.darkWin.addRace(dark, darkWon);
    int pairs = 0, pairHits = 0;
    for (const auto& pair : race.quinellaPairs) {
        const BacktestRunner* a = index.numbered(pair[0]);
        const BacktestRunner* b = index.numbered(pair[1]);
        if (a == nullptr || b == nullptr || !a->ranNormally() || !b->ranNormally())
            continue;
        ++pairs;
        pairHits += quinellaHitOf(a, b) ? 1 : 0;
    }
    f.quinella.addRace(pairs, pairHits);
    addPick(f.favouritePlace, f.favouriteWin,
            runnerAt(
                race, [](const BacktestRunner& r, int v) { return r.popularity == v; }, 1),
            places);
    addPick(f.longshotPlace, f.longshotWin, longestShot(race), places);
    const double runners = std::max(race.fieldSize, 1);
    f.chancePlace = f.chancePlace.value_or(0) + std::min<double>(places, runners) / runners;
    f.chanceWin = f.chanceWin.value_or(0) + 1.0 / runners;
}

bool allRaces(const BacktestRace&) {
    return true;
}

constexpr BacktestGroup kGroups[] = {
    {"全レース", "all", allRaces},
    {"芝", "turf", [](const BacktestRace& r) { return r.surface == 0; }},
    {"ダート", "dirt", [](const BacktestRace& r) { return r.surface == 1; }},
    {"1600m以下", "upTo1600m", [](const BacktestRace& r) { return r.distanceBand == 0; }},
    {"1601～2200m", "from1601To2200m", [](const BacktestRace& r) { return r.distanceBand == 1; }},
    {"2201m以上", "from2201m", [](const BacktestRace& r) { return r.distanceBand == 2; }},
};

constexpr BacktestRow kRows[] = {
    {"ゼルコ馬1位の複勝率", "topPlace", &F::topPlace, true},
    {"ゼルコ馬1位の勝率", "topWin", &F::topWin, true},
    {"穴馬の複勝率 (どれかが複勝圏に入ったレース)", "darkHorsePlace", &F::darkPlace, true},
    {"穴馬の勝率 (どれかが勝ったレース)", "darkHorseWin", &F::darkWin, true},
    {"馬連の的中率 (どれかが的中したレース)", "quinella", &F::quinella, true},
    {"1番人気の複勝率", "favouritePlace", &F::favouritePlace, false},
    {"1番人気の勝率", "favouriteWin", &F::favouriteWin, false},
    {"推定オッズ最高の馬の複勝率", "longshotPlace", &F::longshotPlace, false},
    {"推定オッズ最高の馬の勝率", "longshotWin", &F::longshotWin, false},
};

// Adds the counts of `race` (the figures of one race) to `total`.
void addFigures(BacktestFigures& total, const BacktestFigures& race) {
    auto add = [](TicketCount& into, const TicketCount& from) {
        into.races += from.races;
        into.tickets += from.tickets;
        into.hitTickets += from.hitTickets;
        into.hitRaces += from.hitRaces;
    };
    total.races += race.races;
    for (const BacktestRow& row : kRows)
        add(total.*row.count, race.*row.count);
    for (size_t p = 0; p < kRankedPositions; ++p) {
        add(total.rankPlace[p], race.rankPlace[p]);
        add(total.rankWin[p], race.rankWin[p]);
    }
    total.chancePlace = total.chancePlace.value_or(0) + race.chancePlace.value_or(0);
    total.chanceWin = total.chanceWin.value_or(0) + race.chanceWin.value_or(0);
}

// The sums of the chances made means.
void finish(BacktestFigures& figures) {
    if (figures.races > 0) {
        *figures.chancePlace /= figures.races;
        *figures.chanceWin /= figures.races;
    }
}

} // namespace

Interval wilsonInterval(int hits, int trials) {
    if (trials <= 0)
        return {};
    const double n = trials;
    const double p = hits / n;
    const double z2 = kZ * kZ;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = kZ / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

BacktestFigures backtestFigures(std::span<const BacktestRace> races) {
    BacktestFigures figures;
    for (const BacktestRace& race : races)
        addRace(figures, race);
    finish(figures);
    return figures;
}

std::span<const BacktestRow> backtestRows() {
    return kRows;
}

std::span<const BacktestGroup> backtestGroups() {
    return kGroups;
}

std::vector<BacktestFigures> groupFigures(std::span<const BacktestRace> races) {
    // Each race is counted once and its counts added to every group that
    // holds it, in race order as a group of its own would sum them.
    std::vector<BacktestFigures> figures(std::size(kGroups));
    for (const BacktestRace& race : races) {
        BacktestFigures one;
        addRace(one, race);
        for (size_t g = 0; g < std::size(kGroups); ++g)
            if (kGroups[g].contains(race))
                addFigures(figures[g], one);
    }
    for (BacktestFigures& group : figures)
        finish(group);
    return figures;
}

} // namespace zelkor
