#include "cli/cli_support.h"
#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace zelkor::cli;

namespace {

void printUsage() {
    std::fputs("usage: zelkor2k-cli <command> [options]\n"
               "       zelkor2k-cli <command> --help\n\ncommands:\n",
               stdout);
    for (const Command& c : allCommands())
        std::printf("  %-12s %s\n", c.name, c.summary);
    std::fputs("\nEvery command accepts --program-folder DIR (default: the folder of this "
               "program).\n",
               stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage();
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : allCommands()) {
        if (std::strcmp(c.name, argv[1]) != 0)
            continue;
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                printOut(c.usage);
                return 0;
            }
        }
        return c.run(args);
    }
    std::fprintf(stderr, "zelkor2k-cli: unknown command '%s' (see --help)\n", argv[1]);
    return 2;
}
