#include "backtest/past_races.h"

#include "core/fixed_lists.h"
#include "platform/huge_pages.h"
#include "race/race_loader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

namespace zelkor {
namespace {

// The race of a run as one number, ordered as its identity (date, course,
// meeting, day, race number) is. Every field is a few digits wide, so each
// has a fixed range: a year or month-day of four places lies in
// -999..9999, a two-place number in -9..99.
std::uint64_t raceKeyOf(const JvPastRun& run) {
    auto upTo = [](int value, int lowest, int span) {
        return static_cast<std::uint64_t>(std::clamp(value - lowest, 0, span - 1));
    };
    const std::uint64_t date =
        upTo(run.year, -999, 11000) * 11000 + upTo(run.monthDay, -999, 11000);
    const std::uint64_t course = static_cast<unsigned char>(run.courseCode[0]) << 8 |
                                 static_cast<unsigned char>(run.courseCode[1]);
    return date << 37 | course << 21 | upTo(run.meeting, -9, 128) << 14 |
           upTo(run.meetingDay, -9, 128) << 7 | upTo(run.raceNumber, -9, 128);
}

// One present run packed into two words with what judging its race needs,
// so that the sort moves little and the judging never touches the horses:
// the race, then the horse number, the run's place in file order, its
// field size and two flags. The place is unique, so the field size and the
// flags never decide the order; two-place numbers lie in -9..99.
struct RunKey {
    std::uint64_t race;
    std::uint64_t order;

    static RunKey of(const JvPastRun& run, std::uint64_t place, bool shortHistory) {
        auto byte = [](int value) {
            return static_cast<std::uint64_t>(std::clamp(value + 16, 0, 255));
        };
        return {raceKeyOf(run), byte(run.horseNumber) << 56 | (place & 0xffffffffu) << 24 |
                                    byte(run.fieldSize) << 16 |
                                    std::uint64_t{run.popularity == 1} << 1 |
                                    std::uint64_t{shortHistory}};
    }
    int horseNumber() const { return static_cast<int>(order >> 56) - 16; }
    size_t place() const { return static_cast<size_t>(order >> 24 & 0xffffffffu); }
    int fieldSize() const { return static_cast<int>(order >> 16 & 0xff) - 16; }
    bool favourite() const { return (order & 2) != 0; }
    bool shortHistory() const { return (order & 1) != 0; }
};

// Sorts the keys by race, then horse number, keeping file order among
// equals: the order of (race, order), since the place in `order` is unique
// and grows in file order. Stable counting passes over the bytes of the
// horse number and of the race, least significant first, skipping the
// bytes every key shares (the year, as a rule): a few linear passes where
// a comparison sort of half a million keys costs several times more.
void sortRunKeys(jvfile::LargeVector<RunKey>& keys) {
    constexpr int kDigits = 9; // the horse number's byte, then the race's eight
    auto digitOf = [](const RunKey& key, int digit) {
        return digit == 0 ? static_cast<size_t>(key.order >> 56)
                          : static_cast<size_t>(key.race >> (8 * (digit - 1)) & 0xff);
    };
    std::vector<std::array<size_t, 256>> counts(kDigits, std::array<size_t, 256>{});
    for (const RunKey& key : keys)
        for (int digit = 0; digit < kDigits; ++digit)
            ++counts[static_cast<size_t>(digit)][digitOf(key, digit)];
    jvfile::LargeVector<RunKey> sorted(keys.size());
    for (int digit = 0; digit < kDigits; ++digit) {
        std::array<size_t, 256>& count = counts[static_cast<size_t>(digit)];
        if (std::find(count.begin(), count.end(), keys.size()) != count.end())
            continue; // every key has this byte
        size_t start = 0;
        for (size_t& c : count)
            start += std::exchange(c, start);
        for (const RunKey& key : keys)
            sorted[count[digitOf(key, digit)]++] = key;
        keys.swap(sorted);
    }
}

const JvPastRun& runOf(std::span<const PastHorse> horses, const PastRaceRunner& runner) {
    return horses[runner.horse].runs[runner.slot];
}

bool sameRace(const JvPastRun& a, const JvPastRun& b) {
    return std::tie(a.year, a.monthDay, a.courseCode, a.meeting, a.meetingDay, a.raceNumber) ==
           std::tie(b.year, b.monthDay, b.courseCode, b.meeting, b.meetingDay, b.raceNumber);
}

bool earlier(const JvPastRun& a, const JvPastRun& b) {
    return std::tie(a.year, a.monthDay) < std::tie(b.year, b.monthDay);
}

// The slots of `horse` older than its run in `slot`, most recent first.
size_t slotsBefore(const PastHorse& horse, size_t slot,
                   std::array<size_t, kJvPastRunCount>& slots) {
    size_t count = 0;
    const auto runs = horse.presentRuns();
    for (size_t s = slot + 1; s < runs.size(); ++s)
        if (earlier(runs[s], runs[slot]))
            slots[count++] = s;
    return count;
}

// What becomes of a group of runs: kept as a race, or dropped and why.
enum class Verdict { Kept, Inconsistent, FewRunners, LowShare, ShortHistory, NoFavourite };

Verdict judge(std::span<const RunKey> runners, const PastRaceRules& rules) {
    const int fieldSize = runners.front().fieldSize();
    const int present = static_cast<int>(runners.size());
    if (fieldSize < 1 || fieldSize > kMaxRunners || present > fieldSize)
        return Verdict::Inconsistent;
    int previousNumber = 0;
    for (const RunKey& run : runners) {
        // Sorted by horse number, so a repeated number follows its twin.
        const int number = run.horseNumber();
        if (run.fieldSize() != fieldSize || number < 1 || number > fieldSize ||
            number == previousNumber)
            return Verdict::Inconsistent;
        previousNumber = number;
    }
    if (present < rules.minRunners)
        return Verdict::FewRunners;
    if (static_cast<long long>(present) * 100 <
        static_cast<long long>(rules.minSharePercent) * fieldSize)
        return Verdict::LowShare;
    if (std::any_of(runners.begin(), runners.end(),
                    [](const RunKey& run) { return run.shortHistory(); }))
        return Verdict::ShortHistory;
    if (std::none_of(runners.begin(), runners.end(),
                     [](const RunKey& run) { return run.favourite(); }))
        return Verdict::NoFavourite;
    return Verdict::Kept;
}

void count(PastRaceSet& set, Verdict verdict) {
    switch (verdict) {
    case Verdict::Kept:
        break;
    case Verdict::Inconsistent:
        ++set.droppedInconsistent;
        break;
    case Verdict::FewRunners:
        ++set.droppedFewRunners;
        break;
    case Verdict::LowShare:
        ++set.droppedLowShare;
        break;
    case Verdict::ShortHistory:
        ++set.droppedShortHistory;
        break;
    case Verdict::NoFavourite:
        ++set.droppedNoFavourite;
        break;
    }
}

} // namespace

PastRaceId pastRaceIdOf(const JvPastRun& run) {
    return {run.year,    run.monthDay,   std::string(run.course()),
            run.meeting, run.meetingDay, run.raceNumber};
}

PastRaceSet rebuildPastRaces(std::span<const PastHorse> horses, const PastRaceRules& rules) {
    // Keys in file order; the place of a run is its horse and slot.
    jvfile::LargeVector<RunKey> keys;
    keys.reserve(horses.size() * kJvPastRunCount);
    std::array<size_t, kJvPastRunCount> older{};
    for (size_t h = 0; h < horses.size(); ++h) {
        const PastHorse& horse = horses[h];
        const auto runs = horse.presentRuns();
        for (size_t slot = 0; slot < runs.size(); ++slot) {
            const JvPastRun& run = runs[slot];
            // The same race in two slots of one record is counted once.
            if (std::any_of(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(slot),
                            [&](const JvPastRun& r) { return sameRace(r, run); }))
                continue;
            const bool shortHistory =
                !horse.showsWholeCareer() && slotsBefore(horse, slot, older) < 2;
            keys.push_back(RunKey::of(run, h * kJvPastRunCount + slot, shortHistory));
        }
    }
    sortRunKeys(keys);

    PastRaceSet set;
    for (size_t begin = 0; begin < keys.size();) {
        size_t end = begin + 1;
        while (end < keys.size() && keys[end].race == keys[begin].race)
            ++end;
        const std::span<const RunKey> group(keys.data() + begin, end - begin);
        const Verdict verdict = judge(group, rules);
        if (verdict == Verdict::Kept) {
            PastRace race;
            race.runners.reserve(group.size());
            for (const RunKey& key : group)
                race.runners.push_back(
                    {key.place() / kJvPastRunCount, key.place() % kJvPastRunCount});
            const JvPastRun& first = runOf(horses, race.runners.front());
            race.id = pastRaceIdOf(first);
            race.fieldSize = first.fieldSize;
            set.races.push_back(std::move(race));
        }
        count(set, verdict);
        begin = end;
    }
    return set;
}

void fillRunsBefore(RunsBefore& before, const PastHorse& horse, size_t slot) {
    std::array<size_t, kJvPastRunCount> slots{};
    before.count = slotsBefore(horse, slot, slots);
    for (size_t i = 0; i < before.count; ++i)
        before.runs[i] = horse.runs[slots[i]];
}

JvBandCounts bandCountsOf(std::span<const JvPastRun> runs) {
    JvBandCounts counts{};
    for (const JvPastRun& run : runs) {
        if (run.abnormal != 0 || run.finish < 1)
            continue;
        const size_t band = static_cast<size_t>(distanceBandOf(run.distanceMetres));
        const size_t place = static_cast<size_t>(std::min<int>(run.finish, 4) - 1);
        ++counts[0][band][place];
    }
    return counts;
}

PastRaceField loadPastRace(RaceSheet& sheet, const PastRace& race,
                           std::span<const PastHorse> horses) {
    PastRaceField field{};
    sheet.resetRaceConditions();
    sheet.resetRunners();
    const int n = std::min(static_cast<int>(race.runners.size()), kMaxRunners);
    sheet.runnerCount = n;
    sheet.liveRunnerCount = n;
    if (n == 0)
        return field;

    const JvPastRun& card = runOf(horses, race.runners.front());
    sheet.raceNumber =
        std::clamp<int>(card.raceNumber, 1, static_cast<int>(std::size(kRaceNumberList)));
    sheet.grade = gradeOfCodes(std::string(1, card.gradeCode), card.conditionCode);
    sheet.surface = surfaceOfTrack(card.trackCode);
    sheet.distance = distanceIndex(card.distanceMetres);

    // Each runner's older runs, and the field's strength total over them.
    std::array<RunsBefore, kMaxRunners> older;
    std::array<int, kMaxRunners> strengths{};
    long long strengthTotal = 0;
    for (size_t k = 0; k < static_cast<size_t>(n); ++k) {
        const PastRaceRunner& runner = race.runners[k];
        fillRunsBefore(older[k], horses[runner.horse], runner.slot);
        strengths[k] = strengthOf(older[k].span());
        strengthTotal += strengths[k];
    }

    JvHorseRecord before;
    for (int k = 1; k <= n; ++k) {
        const PastRaceRunner& runner = race.runners[static_cast<size_t>(k - 1)];
        const PastHorse& horse = horses[runner.horse];
        const std::span<const JvPastRun> runs = older[static_cast<size_t>(k - 1)].span();
        const JvPastRun& run = horse.runs[runner.slot];
        before.sexCode = horse.sexCode;
        before.birthYear = horse.birthYear;
        deriveHorseValues(before, runs, bandCountsOf(runs), strengthTotal, run.year,
                          strengths[static_cast<size_t>(k - 1)]);

        RunnerEntry& entry = sheet.runner(k);
        entry.weight = weightIndex(run.weightCarried);
        fillRunnerFromHorse(entry, before);
        fillRunnerPastRuns(entry, runs);
        field[static_cast<size_t>(k - 1)] = {runner.horse, &run, before.oddsEstimate};
    }
    return field;
}

} // namespace zelkor
