#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/result.h"
#include "core/version.h"

#include <optional>
#include <string>

namespace zelkor {

// Magic word that starts every prediction file.
inline constexpr const char* kPredictionMagic = "ZELKOR";

// The file's first value, e.g. "ZELKOR 3.04,".
std::string predictionFileHeader();

// The whole prediction file (.zel) of the sheet: race conditions, then two
// lines per runner 1..runnerCount, every line ending in CR LF.
std::string predictionFileText(const RaceSheet& sheet);

// Saves the sheet to `path`. The file is replaced only once the new one is
// completely written, so a failed save keeps the previous file. A note tells
// the user when the runners carry numbers with a gap, which the file stores
// as 1..n; a failure is told to the user.
Outcome writePredictionFile(const RaceSheet& sheet, const std::string& path, UserPrompt& prompt);

// Loads the race and runners of a prediction file into the sheet and makes
// runner 1 the current runner. A failure is told to the user and leaves the
// sheet as it was. Runner slots above the file's runner count keep their
// data. The result is left as it was.
Outcome readPredictionFile(RaceSheet& sheet, const std::string& path, UserPrompt& prompt);

// Name proposed when a sheet is saved for the first time: "<race name>.zel",
// or "<racecourse>_<n>R.zel" when the race has no name.
std::string defaultPredictionFileName(const RaceSheet& sheet);

// Position written for the sheet's racecourse: the first list entry that
// begins with the text (ASCII letters in any case); none when none does or
// the text is empty.
std::optional<int> racecoursePosition(const std::string& racecourse);

} // namespace zelkor
