#pragma once

#include "core/result.h"
#include "platform/huge_pages.h"
#include "race/race_card.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zelkor {

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

// The horse file of the archive whose race card is `raceCardPath`:
// "JracUmaj.dat" in the card's own folder, whatever the card is named.
std::string horseFilePathFor(const std::string& raceCardPath);

struct RaceCardIndex;
struct LineRead;

// A race card read once for a job: opened, read and indexed by open(), then
// every race parsed from memory. Counts and reads as countRaces and readRace
// do, with their failures.
class JvRaceCardFile {
  public:
    JvRaceCardFile();
    ~JvRaceCardFile();
    JvRaceCardFile(const JvRaceCardFile&) = delete;
    JvRaceCardFile& operator=(const JvRaceCardFile&) = delete;

    // Fails with "ファイル'%s'を開けませんでした" when it cannot be read.
    Outcome open(const std::string& path);
    Result<int> raceCount() const;
    Outcome readRace(JvRaceCard& card, int raceIndex, const std::string& programFolder) const;
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
// race card. Fails with "ファイル'%s'を開けませんでした" when the file
// cannot be opened, "出馬表ファイルの読み込みに失敗しました" when it holds
// more than kJvMaxRaces races (readRace refuses such a card too).
Result<int> countRaces(const std::string& path);

// Fills `card` from race `raceIndex` (1-based; values below 2 read the first
// race), starting from a new record: only the race's line and the paths
// below are in it afterwards. Fails with `card` unchanged.
// `programFolder` (ending in a separator) places the trainer and jockey file
// paths; empty means the folder of the running program.
// The card is read on every call; a job reads through JvRaceCardFile.
Outcome readRace(JvRaceCard& card, const std::string& path, int raceIndex,
                 const std::string& programFolder = {});

// Reference readers that rescan the file from its start on every call, as
// the format was first read. Results are identical to the indexed readers;
// tests and the benchmark compare against them.
namespace rescan {
Result<int> countRaces(const std::string& path);
Outcome readRace(JvRaceCard& card, const std::string& path, int raceIndex,
                 const std::string& programFolder = {});
} // namespace rescan

// Drops every cached race-card and horse-file index. Call after rewriting
// a file in place when its size and time stamps might not have changed
// (for example right after extracting a new archive over the old files).
void forgetJvFileIndexes();

} // namespace zelkor
