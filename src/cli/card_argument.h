#pragma once

#include "cli/cli_support.h"
#include "race/race_card.h"
#include "race/race_source.h"

#include <memory>
#include <string>

namespace zelkor::cli {

// The table entries of the commands that read races (CARD or --date).
extern const Option kCardOperand;
extern const Option kDateOption;
extern const Option kUpdateTrainersOption;
extern const Option kUpdateJockeysOption;
extern const Option kJsonOption;
inline constexpr const char* kCardOrDate = "CARD|--date YYYYMMDD";

// Opens the CARD argument of the JRA-VAN commands into `card`: an .lzh
// archive goes through the intake into the program folder's JRA-VAN folder
// (the two questions answered by --update-trainers / --update-jockeys,
// default No), any other file is taken as a race card with its horse file
// beside it. False after the reason was shown on stderr.
bool openCardArgument(const Arguments& parsed, const std::string& programFolder,
                      TerminalPrompt& prompt, JvRaceCard& card);

// The races the command works on: the day --date names in the program
// folder's JV-Data store, else the archive or race card CARD. Nothing after
// the reason was shown on stderr.
std::unique_ptr<RaceSource>
openRaceSource(const Arguments& parsed, const std::string& programFolder, TerminalPrompt& prompt);

} // namespace zelkor::cli
