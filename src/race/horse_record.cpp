#include "race/horse_record.h"

#include "core/fixed_lists.h"
#include "core/program_folder.h"
#include "race/code_tables.h"
#include "text/format.h"

#include <algorithm>

namespace zelkor {
namespace {

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -2147483647LL - 1, 2147483647LL));
}

} // namespace

void decodePastRunTexts(const JvPastRun& run, JvPastRunDetails& details) {
    details.courseName = decodeRacecourse(std::string(run.course()));
    details.gradeText = decodeGrade(std::string(1, run.gradeCode));
    details.conditionText = decodeCondition(run.conditionCode, run.year * 10000 + run.monthDay);
    details.trackText = decodeTrack(run.trackCode);
    details.trackConditionText = codeText(kTrackConditionTable, details.trackConditionCode);
    details.weatherText = codeText(kWeatherTable, details.weatherCode);
    details.marginText = decodeMargin(details.marginCode);
}

void decodeHorseTexts(JvHorseRecord& horse) {
    horse.breedText = codeText(kBreedTable, horse.breedCode);
    horse.sexText = codeText(kHorseSexTable, horse.sexCode);
    horse.coatText = codeText(kCoatColourTable, horse.coatCode);
    horse.markText = codeText(kHorseMarkTable, horse.markCode);
}

int otherTimeOf(const JvPastRun& run) {
    // The other horse's time is a duration: 1:59.8 and 40.2 s make 2:40.0.
    return tenthsToTime(timeToTenths(run.time) + run.timeDiff);
}

int distanceBandOf(int metres) {
    return metres <= 1600 ? 0 : metres <= 2200 ? 1 : 2;
}

int aptitudeMetresOf(const JvBandCounts& counts) {
    for (size_t place = 0; place < 4; ++place) {
        long long perBand[3];
        for (size_t band = 0; band < 3; ++band)
            perBand[band] = static_cast<long long>(counts[0][band][place]) + counts[1][band][place];
        long long total = perBand[0] + perBand[1] + perBand[2];
        if (total != 0)
            return clampToInt((1400 * perBand[0] + 2000 * perBand[1] + 2800 * perBand[2]) / total);
    }
    // Without any finishing count the horse gets the race sheet's reset
    // distance rather than a value that is no distance at all.
    return 2000;
}

RunningStyle runningStyleOf(std::span<const JvPastRun> runs) {
    long long total = 0;
    int present = 0;
    for (const JvPastRun& run : runs) {
        if (!run.present())
            continue;
        total += static_cast<long long>(runCorner(run, 0)) + runCorner(run, 1);
        ++present;
    }
    if (present == 0)
        return RunningStyle::Closer;
    long long a = total / present;
    if (a < 6)
        return RunningStyle::FrontRunner;
    if (a < 12)
        return RunningStyle::Stalker;
    if (a >= 20 && a <= 36)
        return RunningStyle::DeepCloser;
    return RunningStyle::Closer;
}

int strengthOf(std::span<const JvPastRun> runs) {
    long long sum = 0;
    int taken = 0;
    for (const JvPastRun& run : runs.first(std::min<size_t>(runs.size(), kJvPastRunCount))) {
        if (!run.present() || run.abnormal != 0)
            continue;
        // Twice for every class above the bottom of the list, once for every
        // place ahead of the last of a full field.
        sum += 2LL * (kClassCount - pastRunClassIndex(run)) + (kMaxRunners + 1LL - run.finish);
        ++taken;
    }
    // Slots the horse has no usable run in count as not taken.
    if (taken == 0)
        return kStrengthWithoutRuns;
    long long u = (kJvPastRunCount / taken) * sum;
    // Two-digit fields keep |u| below 2000; the bound keeps (u³)² in 64 bits.
    u = std::clamp<long long>(u, -20000, 20000);
    long long root = u * u * u / 10000;
    long long strength = root * root;
    return strength == 0 ? 1 : clampToInt(strength);
}

void deriveHorseValues(JvHorseRecord& horse, std::span<const JvPastRun> runs,
                       const JvBandCounts& counts, long long fieldStrengthTotal, int year) {
    deriveHorseValues(horse, runs, counts, fieldStrengthTotal, year, strengthOf(runs));
}

void deriveHorseValues(JvHorseRecord& horse, std::span<const JvPastRun> runs,
                       const JvBandCounts& counts, long long fieldStrengthTotal, int year,
                       int strength) {
    horse.age = year - horse.birthYear;
    horse.aptitudeMetres = aptitudeMetresOf(counts);
    horse.runningStyle = runningStyleOf(runs);
    horse.strength = strength;
    horse.oddsEstimate = estimateOdds(fieldStrengthTotal, horse.strength);
}

int classIndexOfCodes(char gradeCode, int conditionCode, std::span<const ConditionClass> table,
                      int otherwise) {
    // Grades A, B and C are classes 0, 1 and 2.
    if (gradeCode >= 'A' && gradeCode <= 'C')
        return gradeCode - 'A';
    for (const ConditionClass& entry : table)
        if (entry.conditionCode == conditionCode)
            return entry.classIndex;
    return otherwise;
}

int pastRunClassIndex(const JvPastRun& run) {
    static constexpr ConditionClass kStrengthClasses[] = {{5, 6},   {9, 5},   {10, 5}, {701, 9},
                                                          {702, 8}, {703, 7}, {999, 3}};
    return classIndexOfCodes(run.gradeCode, run.conditionCode, kStrengthClasses, 4);
}

int timeToTenths(int mssT) {
    return clampToInt(static_cast<long long>(mssT / 1000) * 600 + mssT % 1000);
}

int tenthsToTime(int tenths) {
    return clampToInt(static_cast<long long>(tenths / 600) * 1000 + tenths % 600);
}

int estimateOdds(long long fieldStrengthTotal, int strength) {
    if (fieldStrengthTotal == 0 || strength == 0)
        return 100;
    const double total = static_cast<double>(fieldStrengthTotal);
    const long long t = static_cast<long long>(total * 0.82);
    const long long v = static_cast<long long>(static_cast<double>(t - strength) * 0.1);
    const long long w = (10 * t - 10 * v) / strength;
    const long long z = static_cast<long long>(total * -0.5 / strength);
    return clampToInt(w - z);
}

int jvCurrentYear() {
    static const int year = currentCalendarYear();
    return year;
}

} // namespace zelkor
