#pragma once

#include "core/ports.h"
#include "core/result.h"
#include "core/settings.h"
#include "html/newspaper_edition.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

class JvRaceCard;

// ---- What the newspaper set and predict-all share ----

// What a set of pages is made from and where it goes: the races of
// `source`, the settings, the program folder (the set goes below its
// "HTML"), and the ports the job talks through: messages, progress between
// races and its cancel, the index opened through `shell`.
struct PageSetJob {
    RaceSource& source;
    const AppSettings& settings;
    const std::string& programFolder;
    UserPrompt& prompt;
    ProgressSink& progress;
    Shell& shell;
};

// What a set wrote: its index, and how many of its files could not be
// written (named to the user at its end).
struct WrittenPageSet {
    std::string indexPath;
    int unwrittenFiles = 0;
};

// A CP932 text (racecourse, race name) as part of a file name on this
// platform: single-byte characters that would leave the folder or that file
// systems refuse become "_" (never the second byte of a double-byte
// character); on POSIX the result is UTF-8, as file names there are.
std::string fileNamePart(std::string_view cp932);

// The progress text while `nativePath` is written: the path in double
// quotes, cut into lines of at most 30 bytes (never inside a double-byte
// character), then "を保存してます" on a line of its own.
std::string savingProgressText(std::string_view nativePath);

// The index page of a set: two frames, the menu on the left and
// `firstPageName` (a file name of the set folder) on the right.
std::string buildFramesIndexPage(const std::string& title, const std::string& menuName,
                                 const std::string& firstPageName);

// The files of a set that could not be written. The set goes on without
// them; at its end the user is told once which they were. The written ones
// are kept too, for a set that is cancelled.
class UnwrittenFiles {
  public:
    // Notes `path` as written or not.
    void note(bool written, const std::string& path);
    // One message naming the noted files; none when every file was written.
    void report(UserPrompt& prompt) const;
    int count() const { return static_cast<int>(paths_.size()); }
    // When the user has cancelled (`progress.cancelled()`): removes the
    // files written so far and the set's `folder` when that leaves it
    // empty, tells how many had been written, and returns true.
    bool removeIfCancelled(const ProgressSink& progress, const std::string& folder,
                           UserPrompt& prompt);

  private:
    std::vector<std::string> paths_;
    std::vector<std::string> written_;
};

// Begins a set in `folder` (ending in a separator) for the day of `race`:
// shows the index path being saved, creates the folder, writes the two-frame
// index titled `indexTitle` with `firstPageName` on the right, and returns
// the index path. The menu is named "<year>-<MMDD>menu.html".
std::string startFramedSet(const std::string& folder, const JvRaceCard& race,
                           const std::string& indexTitle, const std::string& firstPageName,
                           ProgressSink& progress, UnwrittenFiles& unwritten);

// The menu file name of the day of `race`.
std::string setMenuName(const JvRaceCard& race);

// The opening of a set's menu page, up to its <BODY> tag.
std::string setMenuHead();

// The progress position 0..100 after `done` of `total` pages of a set,
// computed so that no count of races overflows it.
int setProgressPosition(long long done, long long total);

// Appends the race's line to a set's menu, after a racecourse heading when
// the racecourse differs from `previousCourse` (which is then updated). A
// race without a page (empty `pagePath`: cancelled, Thursday entries) is
// listed unlinked, with the reason.
void appendRaceToMenu(std::string& menu, std::string& previousCourse, const JvRaceCard& race,
                      const std::string& pagePath);

// ---- The newspaper set ----

// The edition chosen in the settings; the simple one for any value other
// than 1, 2 or 3.
NewspaperEdition chosenPaperEdition(const AppSettings& settings);

// File name offered for one race: "Jv%d-%d_%s%dR%s.html" (year, MMDD
// without leading zeros, racecourse, race number, short name), CP932.
std::string singleNewspaperFileName(const JvRaceCard& race);

// The set folder of a race day: programFolder + "HTML/Jv<year>_<MMDD>/".
std::string newspaperSetFolder(const std::string& programFolder, const JvRaceCard& race);

// File name of a race's page in its set: "Jv%d-%04d_%s%dR%s.html".
std::string newspaperSetPageName(const JvRaceCard& race);

// One race (read from `source` just before) to the path the user chose:
// writes the chosen edition and opens the file unless the source failed; a
// page not written is told to `prompt` first. Fails as writeNewspaper does.
Outcome writeSingleNewspaper(const JvRaceCard& race, RaceSource& source,
                             const AppSettings& settings, const std::string& programFolder,
                             const std::string& path, UserPrompt& prompt, Shell& shell);

// Several races of the job's source (positions 1..; order and repeats do
// not matter) as a set in newspaperSetFolder: one page per race, the menu
// grouped by racecourse and the index, whose right frame first shows the
// last selected race that can be loaded. Fails, with nothing written, when
// no race is selected or none can be loaded (told to no one), or the last
// one cannot be read. A race that cannot be read is left out, one that
// cannot be loaded (cancelled, Thursday entries) is marked in the menu; a
// page that cannot be written is not linked from the menu, and the files
// not written are named in one message at the end.
// A cancel (`progress.cancelled()`) between races removes the files written
// so far, says how many they were, and fails.
Result<WrittenPageSet> writeNewspaperSet(const PageSetJob& job, std::vector<int> selectedPositions);

} // namespace zelkor
