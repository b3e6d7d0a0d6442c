#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/result.h"
#include "core/settings.h"

#include <ctime>
#include <string>

namespace zelkor {

// The sports page of the scored race: masthead with the date of `localTime`,
// headline naming the top-ranked dark horse, the race table, its deciding
// factors, the recommended bets, the 分析 rows and every runner's trainer's
// intent. `localTime` is passed in so callers decide what "today" is.
std::string buildSportsPage(const RaceSheet& sheet, const AppSettings& settings,
                            const std::string& programFolder, const std::tm& localTime);

// Writes the page to `path`; a file error is told to `prompt`.
Outcome writeSportsPage(const std::string& path, const RaceSheet& sheet,
                        const AppSettings& settings, const std::string& programFolder,
                        const std::tm& localTime, UserPrompt& prompt);

// The file name offered when saving: "Zspo_<YYYY-MMDD>_<race name>.html".
// Characters of the race name that would leave the chosen folder or are not
// allowed in a file name become "_".
std::string suggestedSportsFileName(const RaceSheet& sheet, const std::tm& localTime);

// The recommended bets as the sports page and the bets summary list them:
// every quinella pair as "a-b　", and every dark horse (the place bets, in
// ranking order) as "n　" on a line of its own.
// Horses are named by the numbers they carry.
std::string quinellaBetsText(const RaceSheet& sheet);
std::string placeBetsText(const RaceSheet& sheet);

// "日曜日" … "土曜日" for tm_wday 0..6; empty otherwise.
std::string_view japaneseWeekdayName(int weekday);

} // namespace zelkor
