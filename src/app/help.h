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

// The help document, named after the desktop program. It lies with the
// pictures among the program's read-only files (programFilesFolder()), never
// in a folder given with --program-folder.
inline constexpr const char* kHelpFileName = "zelkor2k.html";

// "file://" address of the help document at the anchor of `context`
// (CP932, like every library text).
std::string helpAddress(int context);

// A small page that sends the browser on to helpAddress(context). Openers
// such as xdg-open drop the anchor of a "file://" address, so the help is
// opened through this page, whose own address needs none. UTF-8 bytes.
std::string helpRedirectPage(int context);

// Where openHelp writes that page: a file of this user's runtime folder.
std::string helpRedirectPath();

// Opens the help document at `context` in the default browser.
void openHelp(Shell& shell, int context);

} // namespace zelkor
