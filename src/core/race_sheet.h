#pragma once

#include <array>
#include <string>
#include <type_traits>

namespace zelkor {

inline constexpr int kMaxRunners = 18;
inline constexpr int kMaxQuinellaPairs = 8;

// The choices that have names. Each is stored, and written to files, as its
// position in its fixed list; a value read from an old file outside the list
// is kept as it was read (every int is a valid value of these enums).
enum class PastRunKind : int { Race, Rested, NotRun, Accident }; // レース 放牧 未出走 ｱｸｼﾃﾞﾝﾄ
enum class Sex : int { Colt, Filly, Gelding };                   // 牡 牝 せん
enum class RunningStyle : int { FrontRunner, Stalker, Closer, DeepCloser, Versatile };
enum class ReportMode : int { DarkHorses, Bets, Trainer }; // what the report pane shows

// The list position a named choice is stored and written as.
template <class E>
requires std::is_enum_v<E>
constexpr int listIndex(E value) {
    return static_cast<int>(value);
}

// One previous run of a runner. Every value is an index into its fixed list.
struct PastRun {
    PastRunKind kind = PastRunKind::Race;
    int finish = 0;     // index + 1 = finishing position
    int fieldSize = 0;  // index + 4 = runners in that race
    int popularity = 0; // index + 1 = popularity
    int distance = 10;  // same encoding as the race distance
    int raceClass = 0;  // index into the class list
    int weight = 20;    // same encoding as the runner's weight
    int timeDiff = 0;   // 0..20 tenths of a second, 21 大

    bool raced() const { return kind == PastRunKind::Race; }
    friend bool operator==(const PastRun&, const PastRun&) = default;
};

inline constexpr int kRunBeforeLast = 0; // 前々走
inline constexpr int kLastRun = 1;       // 前走

struct RunnerEntry {
    void reset() { *this = RunnerEntry(); }

    Sex sex = Sex::Colt;
    int age = 0;     // index + 2 = age; 18 is 20以上
    int weight = 20; // 46.0 kg + 0.5 kg × index; 36 is 64.0以上
    RunningStyle runningStyle = RunningStyle::FrontRunner; // 逃げ 先行 差し 追込 自在
    int aptitudeDistance = 10;                             // same encoding as the race distance
    int oddsBand = 0;                                      // index into the odds bands
    std::array<PastRun, 2> pastRuns{};                     // [0] run before last, [1] last run
    std::string name;

    friend bool operator==(const RunnerEntry&, const RunnerEntry&) = default;
};

// The run a runner is judged by: its last run when it raced, else the run
// before when that one raced; nothing when neither did.
const PastRun* referenceRun(const RunnerEntry& runner);

// Whole kilograms the runner carries less today than in `run` (negative when
// more). Weights are half-kilogram steps and the division truncates toward
// zero, so 1.5 kg either way counts as 1.
long long kilogramsLighter(const PastRun& run, const RunnerEntry& runner);

// True for a horse number or a ranking position, 1..18.
constexpr bool inField(int number) {
    return number >= 1 && number <= kMaxRunners;
}

struct PredictionResult {
    // The score of horse `horse` and the horse at ranking position
    // `position` (1 the highest score); 0 outside 1..18, where nothing is
    // stored.
    int score(int horse) const { return inField(horse) ? scores_[horse - 1] : 0; }
    int horseAt(int position) const { return inField(position) ? ranking_[position - 1] : 0; }
    void setScore(int horse, int score) {
        if (inField(horse))
            scores_[horse - 1] = score;
    }
    void setHorseAt(int position, int horse) {
        if (inField(position))
            ranking_[position - 1] = horse;
    }

    int darkHorseCount = 0;
    int quinellaCount = 0;
    std::array<std::array<int, 2>, kMaxQuinellaPairs> quinellaPairs{}; // (lower, higher)
    ReportMode reportMode = ReportMode::DarkHorses;
    friend bool operator==(const PredictionResult&, const PredictionResult&) = default;

  private:
    std::array<int, kMaxRunners> scores_{};
    std::array<int, kMaxRunners> ranking_{};
};

struct RaceSheet {
    RaceSheet();

    // Every race condition except the racecourse back to its reset value.
    void resetRaceConditions();
    // Every runner back to its reset value, and no shown numbers.
    void resetRunners();

    // Runner by horse number 1..18. Any other number reads a reset runner,
    // and what is written to it is dropped: no list, file or page shows it.
    RunnerEntry& runner(int horse);
    const RunnerEntry& runner(int horse) const;
    // All 18 runners, horse 1 first.
    std::array<RunnerEntry, kMaxRunners>& runners() { return runners_; }
    const std::array<RunnerEntry, kMaxRunners>& runners() const { return runners_; }

    int grade = 0;      // index into the class list
    int ageLimit = 0;   // 0 ４歳上, 1 ３歳上, 2 ３歳, 3 ２歳, 4 ？
    int sexLimit = 0;   // 0 なし, 1 牡, 2 牝, 3 牡・せん, 4 牡・牝, 5 ？
    int weightRule = 0; // 0 別定, 1 定量, 2 ハンデ, 3 馬齢, 4 ？
    int baseWeight = 0; // index + 45 kg
    int surface = 0;    // 0 芝, 1 ダート
    int distance = 10;  // 1000 m + 100 m × index
    int runnerCount = 6;
    int raceNumber = 1;
    std::string raceName;
    std::string racecourse;

    int currentRunner = 1;
    int liveRunnerCount = 6;
    PredictionResult result;

    // runnerCount limited to what the runner slots can hold.
    int usableRunnerCount() const;

    // The numbers and brackets the runners really carry, where they differ
    // from their slots: a horse scratched after the draw leaves a gap in
    // the numbers (1-4, 6-10), and a bettor who bets "5番" must get the
    // horse that carries 5. Unset, a runner carries its slot and the
    // bracket BracketOf gives; a hand-typed race never sets them.
    void setShownNumber(int slot, int number, int bracket);
    void clearShownNumbers();
    // The number runner `slot` carries, and its bracket in a field of
    // `runnerCount`.
    int shownNumber(int slot) const;
    int shownBracket(int slot, int runnerCount) const;
    // True when some runner carries another number than its slot.
    bool renumbered() const;

  private:
    std::array<RunnerEntry, kMaxRunners> runners_{}; // [0] horse 1
    RunnerEntry outside_;                            // what runner() gives outside 1..18
    std::array<int, kMaxRunners> horseNumbers_{};    // 0: the slot itself
    std::array<int, kMaxRunners> brackets_{};
};

// Bracket number (枠番) 1..8 of horse `horse` in a field of `runnerCount`.
int BracketOf(int horse, int runnerCount);

// Colour name of bracket 1..8; empty for anything else.
std::string_view bracketColourName(int bracket);

// The form's runner label of horse `horse`, e.g. "白 1枠 1番 "; without
// one, of sheet.currentRunner.
std::string runnerLabel(const RaceSheet& sheet, int horse);
std::string runnerLabel(const RaceSheet& sheet);

} // namespace zelkor
