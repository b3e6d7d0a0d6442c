#pragma once

#include "core/ports.h"
#include "race/race_card.h"
#include "race/race_source.h"

#include <string>
#include <vector>

namespace zelkor {

// The full conditions of a race as the race selection dialog shows them
// (CR LF line ends).
std::string raceInfoText(const JvRaceCard& card);

// The name line of that text: " [name]" or "第61回 [name]", " " for a race
// without a name, followed by " (ＧⅠ)" for the grades A, B, C and an
// empty grade code.
std::string raceInfoNameLine(const JvRaceCard& card);

// The four column texts of one row of the race selection list.
struct RaceListRow {
    std::string monthDay;   // "%04d": 0105
    std::string course;     // courseName
    std::string raceNumber; // "%d"
    std::string raceName;
    friend bool operator==(const RaceListRow&, const RaceListRow&) = default;
};

// A cancelled race and one of Thursday entries have their name marked
// " (中止)" / " (出馬表未確定)".
RaceListRow raceListRow(const JvRaceCard& card);

struct RaceList {
    int raceCount = 0;             // races of the source, as counted
    std::vector<RaceListRow> rows; // row n-1 is race n; stops at the first race that fails
};

// Counts the races of the source and reads each one for the list. A race
// that cannot be read ends the list silently (its message was already shown).
RaceList readRaceList(RaceSource& source, UserPrompt& prompt);

} // namespace zelkor
