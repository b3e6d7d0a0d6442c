#include "jv/past_races.h"

#include "core/fixed_lists.h"
#include "jv/race_loader.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace zelkor {
namespace {

// One present run: its race identity packed for sorting, its horse number,
// and the horse and slot it is in. The sort touches only these, not the
// horses.
struct RunRef {
    std::array<int, 6> race; // year, monthDay, racecourse code, meeting, day, race number
    int horseNumber;
    size_t horse;
    size_t slot;
};

// The racecourse code as one number, ordered as its two bytes are.
int courseKey(const PastRunFacts& run) {
    return static_cast<unsigned char>(run.courseCode[0]) << 8 |
           static_cast<unsigned char>(run.courseCode[1]);
}

RunRef refOf(const PastRunFacts& run, size_t horse, size_t slot) {
    return {{run.year, run.monthDay, courseKey(run), run.meeting, run.meetingDay, run.raceNumber},
            run.horseNumber,
            horse,
            slot};
}

const PastRunFacts& runOf(std::span<const PastHorse> horses, const PastRaceRunner& runner) {
    return horses[runner.horse].runs[runner.slot];
}

bool sameRace(const PastRunFacts& a, const PastRunFacts& b) {
    return std::tie(a.year, a.monthDay, a.courseCode, a.meeting, a.meetingDay, a.raceNumber) ==
           std::tie(b.year, b.monthDay, b.courseCode, b.meeting, b.meetingDay, b.raceNumber);
}

bool earlier(const PastRunFacts& a, const PastRunFacts& b) {
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

Verdict judge(std::span<const PastRaceRunner> runners, std::span<const PastHorse> horses,
              const PastRaceRules& rules) {
    const int fieldSize = runOf(horses, runners.front()).fieldSize;
    const int present = static_cast<int>(runners.size());
    if (fieldSize < 1 || fieldSize > kMaxRunners || present > fieldSize)
        return Verdict::Inconsistent;
    int previousNumber = 0;
    for (const PastRaceRunner& runner : runners) {
        const PastRunFacts& run = runOf(horses, runner);
        // Sorted by horse number, so a repeated number follows its twin.
        if (run.fieldSize != fieldSize || run.horseNumber < 1 || run.horseNumber > fieldSize ||
            run.horseNumber == previousNumber)
            return Verdict::Inconsistent;
        previousNumber = run.horseNumber;
    }
    if (present < rules.minRunners)
        return Verdict::FewRunners;
    if (static_cast<long long>(present) * 100 <
        static_cast<long long>(rules.minSharePercent) * fieldSize)
        return Verdict::LowShare;
    std::array<size_t, kJvPastRunCount> slots{};
    for (const PastRaceRunner& runner : runners) {
        const PastHorse& horse = horses[runner.horse];
        if (slotsBefore(horse, runner.slot, slots) < 2 && !horse.showsWholeCareer())
            return Verdict::ShortHistory;
    }
    if (std::none_of(runners.begin(), runners.end(), [&](const PastRaceRunner& runner) {
            return runOf(horses, runner).popularity == 1;
        }))
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

PastRaceId pastRaceIdOf(const PastRunFacts& run) {
    return {run.year,    run.monthDay,   std::string(run.course()),
            run.meeting, run.meetingDay, run.raceNumber};
}

PastRaceSet rebuildPastRaces(std::span<const PastHorse> horses, const PastRaceRules& rules) {
    std::vector<RunRef> refs;
    refs.reserve(horses.size() * kJvPastRunCount);
    for (size_t h = 0; h < horses.size(); ++h) {
        const auto runs = horses[h].presentRuns();
        for (size_t slot = 0; slot < runs.size(); ++slot) {
            // The same race in two slots of one record is counted once.
            const bool repeated =
                std::any_of(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(slot),
                            [&](const PastRunFacts& r) { return sameRace(r, runs[slot]); });
            if (!repeated)
                refs.push_back(refOf(runs[slot], h, slot));
        }
    }
    std::sort(refs.begin(), refs.end(), [](const RunRef& a, const RunRef& b) {
        return std::tie(a.race, a.horseNumber, a.horse) < std::tie(b.race, b.horseNumber, b.horse);
    });

    PastRaceSet set;
    std::vector<PastRaceRunner> group;
    for (size_t begin = 0; begin < refs.size();) {
        size_t end = begin + 1;
        while (end < refs.size() && refs[end].race == refs[begin].race)
            ++end;
        group.clear();
        for (size_t i = begin; i < end; ++i)
            group.push_back({refs[i].horse, refs[i].slot});
        const Verdict verdict = judge(group, horses, rules);
        if (verdict == Verdict::Kept) {
            const PastRunFacts& first = runOf(horses, group.front());
            set.races.push_back({pastRaceIdOf(first), first.fieldSize, group});
        }
        count(set, verdict);
        begin = end;
    }
    return set;
}

RunsBefore runsBefore(const PastHorse& horse, size_t slot) {
    RunsBefore before;
    std::array<size_t, kJvPastRunCount> slots{};
    before.count = slotsBefore(horse, slot, slots);
    for (size_t i = 0; i < before.count; ++i)
        before.runs[i] = jvPastRunOf(horse.runs[slots[i]]);
    return before;
}

JvBandCounts bandCountsOf(std::span<const JvPastRun> runs) {
    JvBandCounts counts{};
    for (const JvPastRun& run : runs) {
        if (!run.present() || run.abnormal != 0 || run.finish < 1)
            continue;
        const size_t band = static_cast<size_t>(distanceBandOf(run.distanceMetres));
        const size_t place = static_cast<size_t>(std::min(run.finish, 4) - 1);
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

    const JvPastRun card = jvPastRunOf(runOf(horses, race.runners.front()));
    sheet.raceNumber = std::clamp(card.raceNumber, 1, static_cast<int>(std::size(kRaceNumberList)));
    sheet.grade = gradeOfCodes(card.gradeCode, card.conditionCode);
    sheet.surface = surfaceOfTrack(card.trackCode);
    sheet.distance = distanceIndex(card.distanceMetres);

    // Each runner's older runs, and the field's strength total over them.
    std::vector<RunsBefore> older(static_cast<size_t>(n));
    long long strengthTotal = 0;
    for (size_t k = 0; k < older.size(); ++k) {
        const PastRaceRunner& runner = race.runners[k];
        older[k] = runsBefore(horses[runner.horse], runner.slot);
        strengthTotal += strengthOf(older[k].span());
    }

    JvHorseRecord before;
    for (int k = 1; k <= n; ++k) {
        const PastRaceRunner& runner = race.runners[static_cast<size_t>(k - 1)];
        const PastHorse& horse = horses[runner.horse];
        const std::span<const JvPastRun> runs = older[static_cast<size_t>(k - 1)].span();
        const PastRunFacts& run = horse.runs[runner.slot];
        before.sexCode = horse.sexCode;
        before.birthYear = horse.birthYear;
        deriveHorseValues(before, runs, bandCountsOf(runs), strengthTotal, run.year);

        RunnerEntry& entry = sheet.runner(k);
        entry.weight = weightIndex(run.weightCarried);
        fillRunnerFromHorse(entry, before);
        fillRunnerPastRuns(entry, runs);
        field[static_cast<size_t>(k)] = {runner.horse, &run, before.oddsEstimate};
    }
    return field;
}

} // namespace zelkor
