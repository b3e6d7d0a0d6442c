#pragma once

#include "archive/lzh_archive.h"
#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/result.h"

#include <string>
#include <vector>

namespace zelkor {

class JvRaceCard;
class RaceSource;

// The working folders below the program folder, each ending in "/".
std::string jvWorkingFolder(const std::string& programFolder); // "JRA-VAN/"
std::string staffFolder(const std::string& programFolder);     // "KTDAT/"

// The steps of opening a JRA-VAN archive, one function per step, so the
// front ends' handlers can call them in order. Each step that can fail gives
// back the message for the user; the caller tells it and stops.

// The chosen file must be an archive ("ファイル '%s' は書庫ではありません").
Outcome checkJvArchive(const std::string& archivePath);

// Deletes the four files of an earlier archive from the working folder, so
// none of them survives into the new intake. Failures are ignored.
void clearJvWorkingFolder(const std::string& workingFolder);

// Unpacks the four files of the archive into the working folder
// ("ファイルを解凍できませんでした"); the names of the other entries, passed
// over, go to `skipped`.
Outcome unpackJvArchive(const std::string& archivePath, const std::string& workingFolder,
                        std::vector<std::string>* skipped = nullptr);

// Points the card at the race card and horse file of the working folder.
void setJvCardPaths(JvRaceCard& card, const std::string& workingFolder);

// The race card and the horse file must have come with the archive.
Outcome checkJvCardFiles(const JvRaceCard& card);

// Offers to keep the trainer and the jockey file (when the archive had
// them) in the staff folder, replacing the kept ones. A failed copy is
// not reported.
void offerStaffFiles(const std::string& workingFolder, const std::string& staffFolderPath,
                     UserPrompt& prompt);

// Steps 2 to 9 in one call, as both front ends run them: check, clear,
// unpack, set the card paths, check the files, name the entries passed
// over (a note), offer the staff files. A failed step is told.
// Succeeds when the card is ready for the race selection; the caller then
// enables the change-race command and lets the user pick a race.
Outcome intakeJvArchive(const std::string& archivePath, const std::string& programFolder,
                        JvRaceCard& card, UserPrompt& prompt);

// Prepares `card` from what a user names as a race card: an LZH archive
// (by its ".lzh" name or its contents) goes through the intake above into the
// working folder; any other file is taken as a race card with its horse
// file beside it. Fails after a message when the card cannot be used.
Outcome openJvCard(const std::string& path, const std::string& programFolder, JvRaceCard& card,
                   UserPrompt& prompt);

// Reads the race at `position` of the source into `card` and loads it into
// the sheet. Fails (nothing loaded, `card` unchanged) when the race cannot
// be read or loaded (cancelled, Thursday entries); the user was told why.
Outcome loadChosenJvRace(RaceSource& source, int position, JvRaceCard& card, RaceSheet& sheet,
                         UserPrompt& prompt);

} // namespace zelkor
