#pragma once

#include <ctime>
#include <string>

namespace zelkor {

// Folder of the running executable, ending in "/". Every fixed file and
// folder of the program lies in it or below it.
std::string detectProgramFolder();

// `folder` with a trailing separator added when it has none.
std::string withTrailingSeparator(std::string folder);

// The calendar year now.
int currentCalendarYear();

// The local time now, broken down.
std::tm currentLocalTime();

} // namespace zelkor
