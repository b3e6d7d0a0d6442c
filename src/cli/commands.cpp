#include "cli/commands.h"

namespace zelkor::cli {

// Entry points, one per cmd_<name>.cpp.
// (Declared here so that adding a command touches this file and CMakeLists only.)

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands = {
    };
    return commands;
}

} // namespace zelkor::cli
