#pragma once

#include "core/ports.h"
#include "core/result.h"
#include "core/settings.h"
#include "race/race_source.h"

#include <string>
#include <string_view>

namespace zelkor {

class JvRaceCard;
struct JvPastRunDetails;

// The three racing-newspaper editions of a JRA-VAN race.
enum class NewspaperEdition {
    Simple = 1,          // 簡易版
    Detailed = 2,        // 詳細版
    WithPastResults = 3, // 成績付き詳細版
};

// The whole page of the edition for the race `race`, read from `source`
// just before. Every runner's horse comes from the source, which tells the
// user about a horse it cannot supply; that runner is printed with its
// race-card name and empty record values. Pictures are taken from
// `programFolder` + "Image/" when `paperShowImages` is on.
std::string buildNewspaper(NewspaperEdition edition, const JvRaceCard& race, RaceSource& source,
                           const AppSettings& settings, const std::string& programFolder,
                           UserPrompt& prompt);

// Writes the page to `path`. Fails when the source failed (as it told
// `prompt`) or the file cannot be written (told to no one).
Outcome writeNewspaper(NewspaperEdition edition, const JvRaceCard& race, RaceSource& source,
                       const AppSettings& settings, const std::string& programFolder,
                       UserPrompt& prompt, const std::string& path);

// ---- Pieces of the page, exposed for the tests ----

// Page title: "Jv%d-%d_%s%dR%s" for the simple edition (MMDD without
// leading zeros), "Jv%d-%04d_%s%dR%s" for the others.
std::string newspaperPageName(NewspaperEdition edition, const JvRaceCard& race);

// The age conditions of the race ("　3歳上500万円以下", "2歳新馬　3歳未勝利").
std::string ageConditionsText(const JvRaceCard& race);

// Class label of a past run: the grade of a graded race, else the label of
// a class by wins ("1勝"), else the class text up to its "万" ("500万円以下"
// → "500万"), else the whole class text.
std::string pastRunClassLabel(const JvPastRunDetails& run);

} // namespace zelkor
