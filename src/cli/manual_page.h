#pragma once

#include "cli/commands.h"

#include <string>
#include <vector>

namespace zelkor::cli {

// The manual page of zelkor2k-cli (roff, UTF-8), made from the same command
// table and texts that --help prints, so it always lists every command.
std::string manualPage(const std::vector<Command>& commands);

} // namespace zelkor::cli
