#pragma once

#include "cli/cli_support.h"
#include "jv/race_card.h"

#include <string>

namespace zelkor::cli {

// Opens the CARD argument of the JRA-VAN commands into `card`: an .lzh
// archive goes through the intake into the program folder's JRA-VAN folder
// (the two questions answered by --update-trainers / --update-jockeys,
// default No), any other file is taken as a race card with its horse file
// beside it. False after the reason was shown on stderr.
bool openCardArgument(const Arguments& parsed, const std::string& programFolder,
                      TerminalPrompt& prompt, JvRaceCard& card);

} // namespace zelkor::cli
