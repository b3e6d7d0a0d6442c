#pragma once

#include "core/ports.h"
#include "jv/huge_pages.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace zelkor {

inline constexpr int kJvRunnerSlots = 19; // slot 0 is never used, at most 18 runners
inline constexpr int kJvMaxRunners = 18;

// Layout of one race-card line: the race part, then one group per runner.
inline constexpr size_t kJvRacePartBytes = 327;
inline constexpr size_t kJvRunnerGroupBytes = 63;
inline constexpr size_t kJvMaxRaceLineBytes =
    kJvRacePartBytes + kJvMaxRunners * kJvRunnerGroupBytes;

// The race card is read through a 1464-byte line buffer: a line of 1463
// bytes or more counts as more than one race.
inline constexpr size_t kJvLineBufferBytes = 1464;

// A race day holds a few dozen races. A card of more is no race card (a
// file of line ends would otherwise list millions of races): it is refused
// like a card that cannot be read.
inline constexpr int kJvMaxRaces = 2000;

// One race of a JRA-VAN race card ("JracDen1.dat") with its runner lines.
// A new record holds 0 in every integer and the empty text in every text.
// Every successful read starts from such a record, so a numeric field
// without digits reads 0 and nothing of a race read before survives (not
// even in runner slots past this race's runners).
class JvRaceCard {
  public:
    virtual ~JvRaceCard() = default;
    JvRaceCard() = default;
    JvRaceCard(const JvRaceCard&) = default;
    JvRaceCard& operator=(const JvRaceCard&) = default;
    JvRaceCard(JvRaceCard&&) = default;
    JvRaceCard& operator=(JvRaceCard&&) = default;

    void reset() { *this = JvRaceCard(); }

    std::string raceCardPath;
    std::string horseFilePath;   // "JracUmaj.dat" beside the race card
    std::string jockeyFilePath;  // programFolder + "KTDAT/JracKisi.dat"
    std::string trainerFilePath; // programFolder + "KTDAT/JracChok.dat"

    int year = 0;
    int meeting = 0;
    int meetingDay = 0;
    int raceNumber = 0;
    int monthDay = 0; // month × 100 + day
    int weekdayCode = 0;
    int postTime = 0; // hour × 100 + minute

    std::string raceName; // cut before the first "　"; built when the card has none
    std::string shortName;
    std::string symbolCode;
    std::string gradeCode;

    int edition = 0;
    int kindCode = 0;
    int weightRuleCode = 0;
    std::array<int, 5> conditionCodes{}; // 2-year-olds, 3, 4, 5 and up, fifth
    int distanceMetres = 0;
    int trackCode = 0;
    int runnerCount = 0;             // at most 18
    std::array<int, 5> prizeMoney{}; // 1st..5th, unit 1,000 yen
    std::array<int, 3> addedMoney{}; // 1st..3rd, unit 1,000 yen
    int saleCode = 0;

    std::array<int, kJvRunnerSlots> horseNumbers{};
    std::array<int, kJvRunnerSlots> brackets{};
    std::array<int, kJvRunnerSlots> sexCodes{};
    std::array<int, kJvRunnerSlots> blinkers{};
    std::array<int, kJvRunnerSlots> weightsCarried{}; // tenths of a kg
    std::array<int, kJvRunnerSlots> jockeyCodes{};
    std::array<int, kJvRunnerSlots> apprenticeCodes{};
    std::array<int, kJvRunnerSlots> trainerCodes{};

    std::string courseCode;
    std::string courseName;
    std::string weekdayText;
    std::string kindText;
    std::string symbolText;
    std::string weightRuleText;
    std::array<std::string, 5> conditionTexts{};
    std::string trackText;
    std::string gradeText;
    std::string saleText;

    std::array<std::string, kJvRunnerSlots> sexTexts{};
    std::array<std::string, kJvRunnerSlots> horseNames{};   // padding included
    std::array<std::string, kJvRunnerSlots> jockeyNames{};  // padding included
    std::array<std::string, kJvRunnerSlots> trainerNames{}; // padding included
    std::array<std::string, kJvRunnerSlots> horseIds{};     // key of the horse file

    // What only the JV-Data store knows; an archive's card leaves them so.
    bool cancelled = false;                         // 中止: listed, never loaded
    bool entriesOnly = false;                       // Thursday entries without horse numbers yet
    std::array<int, kJvRunnerSlots> winOdds{};      // real win odds × 10; 0 none
    std::array<int, kJvRunnerSlots> popularities{}; // win popularity; 0 none

    friend bool operator==(const JvRaceCard&, const JvRaceCard&) = default;
};

// An ordinary race has no name of its own: a card without a race name is
// named by its kind and the condition of the age group the kind is for.
void nameOrdinaryRace(JvRaceCard& card);

// The horse file of the archive whose race card is `raceCardPath`:
// "JracUmaj.dat" in the card's own folder, whatever the card is named.
std::string horseFilePathFor(const std::string& raceCardPath);

struct RaceCardIndex;
struct LineRead;

// A race card read once for a job: opened, read and indexed by open(), then
// every race parsed from memory. Counts and reads as countRaces and readRace
// do, with their messages.
class JvRaceCardFile {
  public:
    JvRaceCardFile();
    ~JvRaceCardFile();
    JvRaceCardFile(const JvRaceCardFile&) = delete;
    JvRaceCardFile& operator=(const JvRaceCardFile&) = delete;

    // False after "ファイル'%s'を開けませんでした" when it cannot be read.
    bool open(const std::string& path, UserPrompt& prompt);
    int raceCount(UserPrompt& prompt) const;
    bool readRace(JvRaceCard& card, int raceIndex, UserPrompt& prompt,
                  const std::string& programFolder) const;
    // The horse key of every runner of every race readRace would read, as
    // it reads them, without reading the rest of the races.
    void forEachHorseId(const std::function<void(std::string_view)>& take) const;

  private:
    std::string_view lineOf(const LineRead& read) const;

    std::string path_;
    jvfile::LargeVector<char> data_;
    std::shared_ptr<const RaceCardIndex> index_;
};

// Number of races (lines, counted through the 1464-byte line buffer) of the
// race card. Shows "ファイル'%s'を開けませんでした" and returns 0 when the
// file cannot be opened, "出馬表ファイルの読み込みに失敗しました" and 0
// when it holds more than kJvMaxRaces races (readRace refuses such a card
// too).
int countRaces(const std::string& path, UserPrompt& prompt);

// Fills `card` from race `raceIndex` (1-based; values below 2 read the first
// race), starting from a new record: only the race's line and the paths
// below are in it afterwards. On failure shows the message and returns
// false with `card` unchanged. `programFolder` (ending in a separator)
// places the trainer and jockey file paths; empty means the folder of the
// running program.
// The card is read on every call; a job reads through JvRaceCardFile.
bool readRace(JvRaceCard& card, const std::string& path, int raceIndex, UserPrompt& prompt,
              const std::string& programFolder = {});

// Reference readers that rescan the file from its start on every call, as
// the format was first read. Results are identical to the indexed readers;
// tests and the benchmark compare against them.
namespace rescan {
int countRaces(const std::string& path, UserPrompt& prompt);
bool readRace(JvRaceCard& card, const std::string& path, int raceIndex, UserPrompt& prompt,
              const std::string& programFolder = {});
} // namespace rescan

// Drops every cached race-card and horse-file index. Call after rewriting
// a file in place when its size and time stamps might not have changed
// (for example right after extracting a new archive over the old files).
void forgetJvFileIndexes();

} // namespace zelkor
