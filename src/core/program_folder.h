#pragma once

#include "core/result.h"

#include <ctime>
#include <string>

namespace zelkor {

// Folder of the running executable, ending in "/".
std::string executableFolder();

// Folder of the program's read-only files (the pictures in "Image", the help
// document), ending in "/": the executable's folder when it holds "Image" (a
// build tree or an unpacked folder), else the installed data folder
// (share/zelkor2k beside the executable's bin folder).
std::string programFilesFolder();

// The user's own folder of the program, ending in "/": $XDG_DATA_HOME/zelkor2k/,
// or ~/.local/share/zelkor2k/ when that variable is unset or not absolute.
std::string userDataFolder();

// The program folder used when none is given: the executable's folder when it
// holds "Image" and can be written (portable), else the user's own folder.
std::string detectProgramFolder();

// Makes `folder` ready for use: creates it with its "Image" folder, checks
// that they and the working folders already there ("HTML", "JRA-VAN",
// "KTDAT") can be written, and copies into "Image" every picture of
// programFilesFolder() that is missing there or older. Fails with the
// message telling the user why the folder cannot be used (naming the folder
// and the reason).
Outcome prepareProgramFolder(const std::string& folder);

// The folder a front end works on, prepared: `given` (from
// --program-folder) when not empty, made absolute, else
// detectProgramFolder(). Fails as prepareProgramFolder does.
Result<std::string> chooseProgramFolder(const std::string& given);

// `folder` with a trailing separator added when it has none.
std::string withTrailingSeparator(std::string folder);

// The calendar year now.
int currentCalendarYear();

// The local time now, broken down.
std::tm currentLocalTime();

} // namespace zelkor
