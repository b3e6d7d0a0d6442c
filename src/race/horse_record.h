#pragma once

#include "core/race_sheet.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

inline constexpr int kJvPastRunCount = 5;

// One of a horse's last five runs: the facts of its run block as written
// (the corners too: a 0 is a corner the horse was not timed at). A field of
// three or four places (-999..9999) fits 16 bits, one of one or two places
// (-9..99) fits 8: a backtest holds the runs of a whole file of horses in a
// third of the memory and cache they would take in ints. A run is present
// when it was read; runs after the end mark are new (empty) runs.
struct JvPastRun {
    std::int16_t year = 0;
    std::int16_t monthDay = 0;
    std::array<char, 2> courseCode{};
    std::int8_t meeting = 0;
    std::int8_t meetingDay = 0;
    std::int8_t raceNumber = 0;
    char gradeCode = ' ';
    std::int16_t conditionCode = 0;
    std::int16_t distanceMetres = 0;
    std::int8_t trackCode = 0;
    std::int8_t fieldSize = 0;
    std::int8_t horseNumber = 0;
    std::int8_t abnormal = 0;       // non-zero: the run did not end normally
    std::int16_t weightCarried = 0; // tenths of a kg
    std::array<std::int8_t, 4> corners{};
    std::int16_t time = 0;     // m·ss.t written mssT: 1219 = 1:21.9
    std::int16_t timeDiff = 0; // tenths of a second to the other horse
    std::int8_t finish = 0;
    std::int8_t popularity = 0;
    bool read = false;

    bool present() const { return read; }
    std::string_view course() const { return {courseCode.data(), courseCode.size()}; }
    friend bool operator==(const JvPastRun&, const JvPastRun&) = default;
};

// What a newspaper shows of a run besides its facts: names, the numbers
// only a page prints, and the texts of the run's codes.
struct JvPastRunDetails {
    std::string shortName;
    std::string raceName;
    int trackConditionCode = 0;
    int weatherCode = 0;
    int bracket = 0;
    std::string jockeyName;
    int bodyWeight = 0;
    int lastThreeFurlongs = 0; // tenths of a second
    std::string marginCode;
    std::string otherHorseName; // the winner, or the second when this horse won

    std::string conditionText;
    std::string trackText;
    std::string gradeText;
    std::string weatherText;
    std::string trackConditionText;
    std::string courseName;
    std::string marginText;

    friend bool operator==(const JvPastRunDetails&, const JvPastRunDetails&) = default;
};

// A corner position of a run; a corner the horse was not timed at takes its
// 1st-corner position, or 7 when that is missing too.
inline int runCorner(const JvPastRun& run, size_t corner) {
    if (run.corners[corner] != 0)
        return run.corners[corner];
    return run.corners[0] != 0 ? run.corners[0] : 7;
}

// Finishing counts: [set A/B][band: ≤1600 m, 1601–2200 m, ≥2201 m]
// [1st, 2nd, 3rd, 4th or worse].
using JvBandCounts = std::array<std::array<std::array<int, 4>, 3>, 2>;

// One horse of the horse file with its past runs and the values derived
// for the prediction. A new record holds 0 and empty texts. Every
// successful read starts from such a record, so a numeric field without
// digits reads 0 and nothing of a horse read before survives.
class JvHorseRecord {
  public:
    virtual ~JvHorseRecord() = default;
    JvHorseRecord() = default;
    JvHorseRecord(const JvHorseRecord&) = default;
    JvHorseRecord& operator=(const JvHorseRecord&) = default;

    // Back to the state of a new record (for a runner whose horse is
    // missing). Copied from a blank one, so the texts keep their room for
    // the next horse read into this record.
    void reset() {
        static const JvHorseRecord blank;
        *this = blank;
    }

    std::string name;
    std::string breeder; // compacted: "山田　太郎　　…" becomes "山田 太郎"
    std::string owner;   // compacted likewise
    int breedCode = 0;
    int sexCode = 0;
    int coatCode = 0;
    int birthMonthDay = 0;
    std::string birthplace;
    int markCode = 0;
    std::string sire;
    std::string dam;
    std::string damSire;
    std::string damDam;
    int earnings = 0;   // unit 1,000 yen
    int prizeTotal = 0; // unit 1,000 yen
    JvBandCounts bandCounts{};
    std::array<JvPastRun, kJvPastRunCount> pastRuns{}; // [0] the most recent
    std::array<JvPastRunDetails, kJvPastRunCount> pastRunDetails{};

    std::string coatText;
    std::string breedText;
    std::string sexText;
    std::string markText;

    int age = 0; // year of the race read for − birth year
    int birthYear = 0;
    int oddsEstimate = 0;   // win odds × 10; 100 when no field total was given
    int aptitudeMetres = 0; // best distance; 2000 when the horse has no counts
    RunningStyle runningStyle = RunningStyle::FrontRunner;
    int strength = 0;

    friend bool operator==(const JvHorseRecord&, const JvHorseRecord&) = default;
};

// ---- The derivation: what the formula reads of a horse and its runs ----

// The texts of a run's codes (course, grade, condition, track, going,
// weather, margin) and of a horse's (breed, sex, coat, mark).
void decodePastRunTexts(const JvPastRun& run, JvPastRunDetails& details);
void decodeHorseTexts(JvHorseRecord& horse);
// The other horse's time, mssT: the run's time and the time difference.
int otherTimeOf(const JvPastRun& run);

// Distance band of the finishing counts: 0 up to 1600 m, 1 1601–2200 m,
// 2 2201 m and over.
int distanceBandOf(int metres);
// Best distance in metres from the finishing counts, both sets summed band
// by band (2000 when there are none).
int aptitudeMetresOf(const JvBandCounts& counts);
// Running style from the corner positions of the present runs.
RunningStyle runningStyleOf(std::span<const JvPastRun> runs);
// Strength from the usable runs among `runs` (at most five count); a horse
// without any has kStrengthWithoutRuns.
inline constexpr int kStrengthWithoutRuns = 10;
int strengthOf(std::span<const JvPastRun> runs);
// Age, best distance, running style, strength and odds estimate of `horse`
// from `runs` (most recent first) and `counts`, ages counted in `year`.
// readHorse derives from the record's own runs and counts in the current
// year; a past race derives from the runs before it.
void deriveHorseValues(JvHorseRecord& horse, std::span<const JvPastRun> runs,
                       const JvBandCounts& counts, long long fieldStrengthTotal, int year);
// The same with the horse's strength over `runs` already known (a field's
// total needs every runner's first).
void deriveHorseValues(JvHorseRecord& horse, std::span<const JvPastRun> runs,
                       const JvBandCounts& counts, long long fieldStrengthTotal, int year,
                       int strength);

// One condition code and the race-sheet class it stands for.
struct ConditionClass {
    int conditionCode;
    int classIndex;
};

// Race-sheet class index of a past run: graded races by their grade code
// (A ＧⅠ, B ＧⅡ, C ＧⅢ), others by their condition code in `table`, and
// `otherwise` for codes the table lacks.
int classIndexOfCodes(char gradeCode, int conditionCode, std::span<const ConditionClass> table,
                      int otherwise);

// The class index the strength of a horse counts with (0 ＧⅠ ... 9 新馬戦;
// unknown classes count as 1600万下).
int pastRunClassIndex(const JvPastRun& run);
// mssT time to tenths of a second and back (1219 ↔ 819).
int timeToTenths(int mssT);
int tenthsToTime(int tenths);
// Win odds × 10 from a field's strength total and one runner's strength.
int estimateOdds(long long fieldStrengthTotal, int strength);

// The calendar year at start-up, used for ages.
int jvCurrentYear();

} // namespace zelkor
