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
// large records.
struct RunRef {
    std::array<int, 6> race; // year, monthDay, racecourse code, meeting, day, race number
    int horseNumber;
    size_t horse;
    size_t slot;
};

// The racecourse code as one number: the field is two bytes wide, and the
// length goes in too, so different codes never meet and equal lengths sort
// as their bytes do.
int courseKey(const std::string& code) {
    int key = static_cast<int>(std::min<size_t>(code.size(), 2)) << 16;
    for (size_t i = 0; i < code.size() && i < 2; ++i)
        key |= static_cast<unsigned char>(code[i]) << (8 * (1 - i));
    return key;
}

RunRef refOf(const JvPastRun& run, size_t horse, size_t slot) {
    return {{run.year, run.monthDay, courseKey(run.courseCode), run.meeting, run.meetingDay,
             run.raceNumber},
            run.horseNumber,
            horse,
            slot};
}

const JvPastRun& runOf(std::span<const JvHorseEntry> horses, const PastRaceRunner& runner) {
    return horses[runner.horse].record.pastRuns[runner.slot];
}

bool sameRace(const JvPastRun& a, const JvPastRun& b) {
    return std::tie(a.year, a.monthDay, a.courseCode, a.meeting, a.meetingDay, a.raceNumber) ==
           std::tie(b.year, b.monthDay, b.courseCode, b.meeting, b.meetingDay, b.raceNumber);
}

bool earlier(const JvPastRun& a, const JvPastRun& b) {
    return std::tie(a.year, a.monthDay) < std::tie(b.year, b.monthDay);
}

// What becomes of a group of runs: kept as a race, or dropped and why.
enum class Verdict { Kept, Inconsistent, FewRunners, LowShare };

Verdict judge(std::span<const PastRaceRunner> runners, std::span<const JvHorseEntry> horses,
              const PastRaceRules& rules) {
    const int fieldSize = runOf(horses, runners.front()).fieldSize;
    const int present = static_cast<int>(runners.size());
    if (fieldSize < 1 || fieldSize > kMaxRunners || present > fieldSize)
        return Verdict::Inconsistent;
    int previousNumber = 0;
    for (const PastRaceRunner& runner : runners) {
        const JvPastRun& run = runOf(horses, runner);
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
    return Verdict::Kept;
}

} // namespace

PastRaceId pastRaceIdOf(const JvPastRun& run) {
    return {run.year, run.monthDay, run.courseCode, run.meeting, run.meetingDay, run.raceNumber};
}

PastRaceSet rebuildPastRaces(std::span<const JvHorseEntry> horses, const PastRaceRules& rules) {
    std::vector<RunRef> refs;
    refs.reserve(horses.size() * kJvPastRunCount);
    for (size_t h = 0; h < horses.size(); ++h) {
        const auto& runs = horses[h].record.pastRuns;
        for (size_t slot = 0; slot < runs.size(); ++slot) {
            if (!runs[slot].present())
                continue;
            // The same race in two slots of one record is counted once.
            const bool repeated =
                std::any_of(runs.begin(), runs.begin() + slot, [&](const JvPastRun& r) {
                    return r.present() && sameRace(r, runs[slot]);
                });
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
        switch (judge(group, horses, rules)) {
        case Verdict::Kept: {
            const JvPastRun& first = horses[refs[begin].horse].record.pastRuns[refs[begin].slot];
            set.races.push_back({pastRaceIdOf(first), first.fieldSize, group});
            break;
        }
        case Verdict::Inconsistent:
            ++set.droppedInconsistent;
            break;
        case Verdict::FewRunners:
            ++set.droppedFewRunners;
            break;
        case Verdict::LowShare:
            ++set.droppedLowShare;
            break;
        }
        begin = end;
    }
    return set;
}

std::span<const JvPastRun> runsBefore(const JvHorseRecord& horse, size_t slot) {
    const auto& runs = horse.pastRuns;
    if (slot >= runs.size())
        return {};
    size_t end = slot + 1;
    while (end < runs.size() && runs[end].present() && earlier(runs[end], runs[end - 1]))
        ++end;
    return std::span<const JvPastRun>(runs).subspan(slot + 1, end - slot - 1);
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
                           std::span<const JvHorseEntry> horses) {
    PastRaceField field{};
    sheet.resetRaceConditions();
    sheet.resetRunners();
    const int n = std::min(static_cast<int>(race.runners.size()), kMaxRunners);
    sheet.runnerCount = n;
    sheet.liveRunnerCount = n;
    if (n == 0)
        return field;

    const JvPastRun& card = runOf(horses, race.runners.front());
    sheet.raceName = card.raceName.empty() ? std::string("一般競走") : card.raceName;
    sheet.raceNumber = std::clamp(card.raceNumber, 1, static_cast<int>(std::size(kRaceNumberList)));
    sheet.racecourse = card.courseName;
    sheet.grade = gradeOfCodes(card.gradeCode, card.conditionCode);
    sheet.surface = surfaceOfTrack(card.trackCode);
    sheet.distance = distanceIndex(card.distanceMetres);

    // The field's strength total over the horses present, each as it stood
    // before the race.
    long long strengthTotal = 0;
    for (int k = 1; k <= n; ++k) {
        const PastRaceRunner& runner = race.runners[static_cast<size_t>(k - 1)];
        strengthTotal += strengthOf(runsBefore(horses[runner.horse].record, runner.slot));
    }

    JvHorseRecord before;
    for (int k = 1; k <= n; ++k) {
        const PastRaceRunner& runner = race.runners[static_cast<size_t>(k - 1)];
        const JvHorseRecord& horse = horses[runner.horse].record;
        const std::span<const JvPastRun> older = runsBefore(horse, runner.slot);
        const JvPastRun& run = horse.pastRuns[runner.slot];
        before.name = horse.name;
        before.sexCode = horse.sexCode;
        before.birthYear = horse.birthYear;
        deriveHorseValues(before, older, bandCountsOf(older), strengthTotal, run.year);

        RunnerEntry& entry = sheet.runner(k);
        entry.weight = weightIndex(run.weightCarried);
        fillRunnerFromHorse(entry, before);
        fillRunnerPastRuns(entry, older);
        field[static_cast<size_t>(k)] = {runner.horse, &run, before.oddsEstimate};
    }
    return field;
}

} // namespace zelkor
