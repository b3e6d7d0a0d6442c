#pragma once

#include "core/race_sheet.h"
#include "core/result.h"
#include "core/settings.h"

#include <string>
#include <string_view>

namespace zelkor {

// The whole race-sheet page: head (with or without pictures), the race table.
// With pictures the base address is the program folder itself.
std::string buildRaceSheetPage(const RaceSheet& sheet, const AppSettings& settings,
                               const std::string& programFolder);

// The predict command is usable when every shown runner has a name (and
// always when no runner is shown).
bool everyRunnerNamed(const RaceSheet& sheet);

// A fresh unique file name in `programFolder` ending in "tmp"
// ("zel<process id>-XXXXXX.tmp"); the file is created empty so the name
// stays ours. "tmpzel.tmp" when none can be had.
std::string chooseRaceSheetPageFile(const std::string& programFolder);

// The process id in the name of a page file chooseRaceSheetPageFile made,
// or 0 when `fileName` is not such a name.
long raceSheetPageOwner(std::string_view fileName);

// Removes the page files of `programFolder` whose program no longer runs
// (ended by a signal or a crash, so it could not remove its own).
void removeStaleRaceSheetPages(const std::string& programFolder);

// What a refresh of the page file did.
enum class PageRefresh {
    Unchanged, // the page equals the text last written: the file was left alone
    Rewritten,
};

// The page file the viewer shows while the program runs. It is created with
// the text "test" and deleted when the object goes away.
class RaceSheetPageFile {
  public:
    explicit RaceSheetPageFile(const std::string& programFolder);
    ~RaceSheetPageFile();
    RaceSheetPageFile(const RaceSheetPageFile&) = delete;
    RaceSheetPageFile& operator=(const RaceSheetPageFile&) = delete;

    const std::string& path() const { return path_; }
    // "file:" address for the viewer.
    std::string address() const;

    // Rebuilds the page; when it differs from the last text written,
    // remembers it, rewrites the file and updates predictEnabled(). Fails
    // when the file cannot be written (the viewer then shows whatever the
    // file holds); the text is remembered before the write, so a failed
    // write is not retried until the page changes.
    Result<PageRefresh> refresh(const RaceSheet& sheet, const AppSettings& settings);

    // Whether the predict command should be enabled, as of the last refresh
    // that found the page changed.
    bool predictEnabled() const { return predictEnabled_; }
    const std::string& lastText() const { return lastText_; }

  private:
    std::string programFolder_;
    std::string path_;
    std::string lastText_;
    bool predictEnabled_ = false;
};

} // namespace zelkor
