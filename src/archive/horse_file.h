#pragma once

#include "core/result.h"
#include "race/horse_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelkor {

// Layout of the horse file ("JracUmaj.dat"): fixed-length records one after
// another, each the 10-byte registration number and 2871 further bytes.
inline constexpr size_t kJvHorseKeyBytes = 10;
inline constexpr size_t kJvHorseRecordBytes = 2881;
inline constexpr size_t kJvPastRunBytes = 215;
inline constexpr size_t kJvPastRunsOffset = 889;
// A horse file is whole records only: any other size (a record cut short,
// LF line ends in place of CR LF) would be read shifted, so it is not read.
inline bool holdsWholeHorseRecords(std::uint64_t size) {
    return size % kJvHorseRecordBytes == 0;
}
// Bytes of a record that hold anything the reader uses.
inline constexpr size_t kJvHorseUsedBytes = kJvPastRunsOffset + kJvPastRunCount * kJvPastRunBytes;

// Reads the horse `horseId` (10-character registration number) from the
// horse file into `record` and derives its values; `fieldStrengthTotal` is 0
// or the sum of `strength` over all runners of the race (for the odds
// estimate). The record starts as a new one on success. Fails with
// "ファイル %s は開けませんでした。" or
// "登録馬ファイルの読み込みに失敗しました", `record` unchanged, when the
// file cannot be opened, is not whole records or the horse is not in it.
//
// The first record in file order with the key wins. Keys are indexed once
// per file and the index reused while the file is unchanged.
Outcome readHorse(JvHorseRecord& record, const std::string& horseFilePath,
                  const std::string& horseId, long long fieldStrengthTotal);

// Fills `record` from the bytes of one horse record (key first) and derives
// its values, ages counted in `year`; missing bytes at the end of a short
// record read as blanks. The record starts as a new one, so nothing of a
// horse read before survives.
void parseHorseRecord(JvHorseRecord& record, std::string_view bytes, long long fieldStrengthTotal,
                      int year);

// Fills `record` with what the race sheet takes of a horse, from the same
// bytes: its name, sex, birth year and finishing counts, the facts of its
// runs (their texts, names and jockeys left empty) and the derived values,
// ages counted in `year`, the odds estimate as without a field total.
// Everything else reads as in a new record.
void parseHorseForSheet(JvHorseRecord& record, std::string_view bytes, int year);
// The same in two steps: the facts of the record, then the record from them.
struct HorseSheetFacts;
HorseSheetFacts sheetFactsOf(std::string_view bytes);
void fillHorseForSheet(JvHorseRecord& record, const HorseSheetFacts& facts, int year);

// The reader's two failures: the file cannot be opened, the horse cannot be
// read from it.
Failure horseFileNotOpened(const std::string& path);
Failure horseNotRead();

namespace rescan {
// Reference reader: searches the file from its start on every call.
Outcome readHorse(JvHorseRecord& record, const std::string& horseFilePath,
                  const std::string& horseId, long long fieldStrengthTotal);
} // namespace rescan

} // namespace zelkor
