#pragma once

#include "core/ports.h"

#include <string>

namespace zelkor {

// Places in the program where help is asked for; each is an anchor of the
// help document.
inline constexpr int kHelpContents = 131073;      // the help menu
inline constexpr int kHelpMainWindow = 131074;    // F1 in the main window
inline constexpr int kHelpRaceSelection = 131075; // F1 in the race selection
inline constexpr int kHelpNewspaperSettings = 131076;
inline constexpr int kHelpViewer = 131077;

// The help document lies beside the executable, named after it.
inline constexpr const char* kHelpFileName = "zelkor2k.html";

// "file://" address of the help document at the anchor of `context`
// (CP932, like every library text).
std::string helpAddress(const std::string& programFolder, int context);

// Opens the help document at `context` in the default browser.
void openHelp(Shell& shell, const std::string& programFolder, int context);

} // namespace zelkor
