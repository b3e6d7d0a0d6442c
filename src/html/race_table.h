#pragma once

#include "core/race_sheet.h"
#include "core/settings.h"

#include <string>
#include <string_view>

namespace zelkor {

// The race table (RaceTable) shared by the race-sheet page and the sports
// page: heading with the race conditions, then one row per runner with its
// bracket, name, data and last two runs. `tableAttributes` goes into the
// opening TABLE tag ("border=1", "border=1 width=630"). Names are linked to
// the horse database when `sportsLinkNames` is on.
std::string buildRaceTable(const RaceSheet& sheet, const AppSettings& settings,
                           std::string_view tableAttributes);
// The same table appended to `page`.
void appendRaceTable(std::string& page, const RaceSheet& sheet, const AppSettings& settings,
                     std::string_view tableAttributes);

// Runners shown by the race table and checked for names: the form's field
// size, kept within the runner slots.
int shownRunnerCount(const RaceSheet& sheet);

} // namespace zelkor
