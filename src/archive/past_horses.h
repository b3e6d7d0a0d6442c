#pragma once

#include "archive/horse_file.h"
#include "core/result.h"
#include "platform/huge_pages.h"
#include "race/horse_record.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// The horses of a horse file as the backtest needs them: only the fields it
// uses, parsed where they lie, each record once. A horse takes a few
// hundred bytes here against the 2881 of its record, so a whole file is
// held in less memory than its size.

struct PastHorse {
    std::array<char, kJvHorseKeyBytes> id{};
    int birthYear = 0;
    int sexCode = 0;
    int runCount = 0; // runs before the end mark, [0] the most recent
    std::array<JvPastRun, kJvPastRunCount> runs{};

    std::string horseId() const { return {id.data(), id.size()}; }
    std::span<const JvPastRun> presentRuns() const {
        return std::span<const JvPastRun>(runs).first(static_cast<size_t>(runCount));
    }
    // A record with a free run slot shows every run the horse had.
    bool showsWholeCareer() const { return runCount < kJvPastRunCount; }
};
// The horses of a whole file: held in huge pages.
using PastHorses = jvfile::LargeVector<PastHorse>;

// The run of one 215-byte run block; false, leaving `run` as it was, at the
// end mark. Bytes a short block lacks read as blanks.
bool parseRunBlock(JvPastRun& run, std::string_view block);

// The horse of one whole record (key first).
PastHorse parsePastHorse(std::string_view record);

// What the race sheet takes of a horse's record (see parseHorseForSheet): a
// few hundred bytes against the record's 2881, so a large card's runners
// are held as these.
struct HorseSheetFacts {
    PastHorse horse;
    std::array<char, 36> name{}; // as written
    JvBandCounts bandCounts{};
};

// Every horse of the horse file in file order. A record whose key came
// before is left out, as the search by key never reaches it. Fails with
// "ファイル %s は開けませんでした。" when the file cannot be opened, or
// "登録馬ファイルの読み込みに失敗しました" when it cannot be read or is not
// whole records.
Outcome readPastHorses(const std::string& horseFilePath, PastHorses& horses);

} // namespace zelkor
