#include "backtest/return_figures.h"

#include "core/fixed_lists.h"
#include "text/format.h"

#include <algorithm>
#include <map>

namespace zelkor {
namespace {

template <ReturnLine line> RaceTake takeOf(const ReturnRace& race) {
    return race.take(line);
}

RaceTake totalOf(const ReturnRace& race) {
    return race.total();
}

constexpr ReturnLineInfo kProgramLines[] = {
    {"合計", "total", totalOf},
    {"複勝 (穴馬)", "place", takeOf<ReturnLine::Place>},
    {"馬連 (組み合わせ)", "quinella", takeOf<ReturnLine::Quinella>},
};

constexpr ReturnLineInfo kBaselineLines[] = {
    {"1番人気の単勝", "favouriteWin", takeOf<ReturnLine::FavouriteWin>},
    {"1番人気の複勝", "favouritePlace", takeOf<ReturnLine::FavouritePlace>},
    {"全出走馬の複勝", "everyStarterPlace", takeOf<ReturnLine::EveryStarterPlace>},
    {"でたらめな複勝 (同じ枚数)", "randomPlace", takeOf<ReturnLine::RandomPlace>},
    {"でたらめな馬連 (同じ枚数)", "randomQuinella", takeOf<ReturnLine::RandomQuinella>},
};

std::string same(const std::string& key) {
    return key;
}

std::string monthKey(const ReturnRace& race) {
    return format("%04d%02d", race.id.year, race.id.monthDay / 100);
}

std::string courseKey(const ReturnRace& race) {
    return race.id.courseCode;
}

std::string surfaceKey(const ReturnRace& race) {
    const int t = race.trackCode;
    return t >= 10 && t <= 22   ? "turf"
           : t >= 23 && t <= 29 ? "dirt"
           : t >= 51 && t <= 59 ? "jumps"
                                : "other";
}

std::string surfaceLabel(const std::string& key) {
    return key == "turf" ? "芝" : key == "dirt" ? "ダート" : key == "jumps" ? "障害" : "その他";
}

// Bands named so that they sort in distance order.
std::string distanceKey(const ReturnRace& race) {
    const int m = race.distanceMetres;
    return m <= 1600 ? "upTo1600m" : m <= 2200 ? "from1601To2200m" : "from2201m";
}

std::string distanceLabel(const std::string& key) {
    return key == "upTo1600m"         ? "1600m以下"
           : key == "from1601To2200m" ? "1601～2200m"
                                      : "2201m以上";
}

std::string classKey(const ReturnRace& race) {
    if (!race.className.empty())
        return race.className;
    const auto i = static_cast<size_t>(race.grade);
    return i < std::size(kClassList) ? std::string(kClassList[i]) : format("%d", race.grade);
}

constexpr ReturnSplit kSplits[] = {
    {"month", "月", monthKey, same},
    {"course", "競馬場", courseKey, same},
    {"surface", "芝・ダート・障害", surfaceKey, surfaceLabel},
    {"distance", "距離", distanceKey, distanceLabel},
    {"class", "クラス", classKey, same},
};

// Order of a split's keys: distance bands and classes in their own order,
// the rest by their text.
std::string sortKey(const ReturnSplit& split, const ReturnRace& race) {
    if (split.keyOf == distanceKey)
        return format("%d", race.distanceMetres <= 1600 ? 0 : race.distanceMetres <= 2200 ? 1 : 2);
    if (split.keyOf == classKey)
        return format("%03d", race.grade) + classKey(race);
    return split.keyOf(race);
}

void addTake(ReturnGroup& g, const RaceTake& t) {
    ++g.races;
    g.tickets += t.tickets;
    g.stake += t.stake;
    g.ret += t.ret;
    g.hitTickets += t.hitTickets;
    g.hitRaces += t.hitRace;
}

void finish(ReturnGroup& g, std::span<const RaceTake> takes) {
    if (g.stake > 0)
        g.rate = g.ret / g.stake;
    g.interval = bootstrapRateInterval(takes);
}

SplitGroups splitGroups(std::span<const ReturnRace> races, const ReturnSplit& split) {
    std::map<std::string, std::pair<std::string, std::vector<RaceTake>>> byKey;
    for (const ReturnRace& race : races) {
        const RaceTake t = race.total();
        if (t.tickets == 0)
            continue;
        auto& entry = byKey[sortKey(split, race)];
        entry.first = split.keyOf(race);
        entry.second.push_back(t);
    }
    SplitGroups out;
    for (const auto& [sort, entry] : byKey)
        out.emplace_back(entry.first, returnGroupOf(entry.second));
    return out;
}

// The groups of the program's lines and the baselines. Lines over the same
// races (as a rule all but the favourite's) share one resampling, which
// gives each the interval it would have alone.
std::vector<ReturnGroup> lineGroups(std::span<const ReturnRace> races,
                                    std::vector<RaceTake (*)(const ReturnRace&)> lines) {
    const size_t width = lines.size();
    std::vector<std::vector<RaceTake>> takes(width);
    std::vector<std::vector<size_t>> used(width);
    std::vector<ReturnGroup> groups(width);
    for (size_t i = 0; i < races.size(); ++i)
        for (size_t l = 0; l < width; ++l)
            if (const RaceTake t = lines[l](races[i]); t.tickets > 0) {
                takes[l].push_back(t);
                used[l].push_back(i);
                addTake(groups[l], t);
            }
    std::vector<bool> done(width);
    for (size_t l = 0; l < width; ++l) {
        if (done[l])
            continue;
        std::vector<size_t> same;
        std::vector<std::span<const RaceTake>> spans;
        for (size_t m = l; m < width; ++m)
            if (!done[m] && used[m] == used[l]) {
                done[m] = true;
                same.push_back(m);
                spans.emplace_back(takes[m]);
            }
        const auto intervals = bootstrapRateIntervals(spans);
        for (size_t k = 0; k < same.size(); ++k) {
            ReturnGroup& g = groups[same[k]];
            if (g.stake > 0)
                g.rate = g.ret / g.stake;
            g.interval = intervals[k];
        }
    }
    return groups;
}

} // namespace

ReturnGroup returnGroupOf(std::span<const RaceTake> takes) {
    ReturnGroup g;
    for (const RaceTake& t : takes)
        addTake(g, t);
    finish(g, takes);
    return g;
}

std::span<const ReturnSplit> returnSplits() {
    return kSplits;
}

std::span<const ReturnLineInfo> programLines() {
    return kProgramLines;
}

std::span<const ReturnLineInfo> baselineLines() {
    return kBaselineLines;
}

ReturnFigures returnFigures(std::span<const ReturnRace> races) {
    ReturnFigures f;
    f.races = static_cast<int>(races.size());
    std::vector<RaceTake (*)(const ReturnRace&)> lines;
    for (const ReturnLineInfo& line : kProgramLines)
        lines.push_back(line.take);
    for (const ReturnLineInfo& line : kBaselineLines)
        lines.push_back(line.take);
    std::vector<ReturnGroup> groups = lineGroups(races, lines);
    f.program.assign(groups.begin(), groups.begin() + std::ssize(kProgramLines));
    f.baselines.assign(groups.begin() + std::ssize(kProgramLines), groups.end());
    for (const ReturnSplit& split : kSplits)
        f.splits.push_back(splitGroups(races, split));
    double profit = 0, peak = 0;
    int run = 0;
    for (const ReturnRace& race : races) {
        const RaceTake t = race.total();
        if (const int tied = race.zeroTiedRunners(); tied > 0) {
            f.zeroTiedRunners += tied;
            ++f.zeroTiedRaces;
        }
        if (t.tickets == 0)
            continue;
        run = t.hitRace > 0 ? 0 : run + 1;
        f.longestLosingRun = std::max(f.longestLosingRun, run);
        profit += t.ret - t.stake;
        peak = std::max(peak, profit);
        f.largestDrawdown = std::max(f.largestDrawdown, peak - profit);
    }
    return f;
}

} // namespace zelkor
