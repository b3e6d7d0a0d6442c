#pragma once

#include <string>
#include <vector>

namespace zelkor::cli {

// One subcommand: its name, a one-line summary, its usage text and its entry
// point (arguments after the subcommand name; returns the exit status).
struct Command {
    const char* name;
    const char* summary;
    const char* usage;
    int (*run)(const std::vector<std::string>& args);
};

// Each subcommand lives in its own cmd_<name>.cpp and is listed here.
const std::vector<Command>& allCommands();

} // namespace zelkor::cli
