#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/global_options.h"
#include "core/version.h"
#include "platform/huge_pages.h"

#include <cstdio>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace zelkor::cli;

namespace {

void printUsage() {
    std::fputs("usage: zelkor2k-cli [--program-folder DIR] <command> [options]\n"
               "       zelkor2k-cli <command> --help\n"
               "       zelkor2k-cli --version\n\ncommands:\n",
               stdout);
    // Summaries are English: a byte a column, wrapped under their start.
    for (const Command& c : allCommands())
        std::printf("  %-12s %s\n", c.name, wrapped(c.summary, kHelpWidth - 15, 15).c_str());
    std::printf("\n%s", kGlobalOptionsHelp);
}

const Command* commandNamed(const std::string& name) {
    for (const Command& c : allCommands())
        if (name == c.name)
            return &c;
    return nullptr;
}

} // namespace

// zelkor2k-cli [global options] <command> [command arguments]
int main(int argc, char** argv) {
    // A process runs one job and ends: blocks up to 32 MB come from the
    // heap, which grows in huge pages, and what one step of a job frees
    // stays there for the next (a backtest's steps need tens of megabytes
    // each, in many small blocks).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    zelkor::jvfile::growHeapInHugePages(std::size_t{256} << 20);
    // Into a file or pipe, a batch's thousands of progress lines are handed
    // on a few times a second rather than by a system call each; messages
    // are flushed as they are written.
    if (::isatty(STDERR_FILENO) == 0)
        std::setvbuf(stderr, nullptr, _IOFBF, BUFSIZ);
    const std::vector<std::string> all(argv + 1, argv + argc);
    // A global --program-folder goes first, so one given after the command wins.
    std::vector<std::string> args;
    size_t i = 0;
    for (; i < all.size() && !all[i].empty() && all[i][0] == '-'; ++i) {
        const std::string& a = all[i];
        if (a == "--help" || a == "-h") {
            printUsage();
            return 0;
        }
        if (a == "--version") {
            std::printf("zelkor2k-cli %s\n", zelkor::kVersionText);
            return 0;
        }
        if (a != "--program-folder") {
            std::fprintf(stderr, "zelkor2k-cli: unknown option %s (see --help)\n", a.c_str());
            return 2;
        }
        if (i + 1 >= all.size()) {
            std::fputs("zelkor2k-cli: option --program-folder needs a value\n", stderr);
            return 2;
        }
        args = {a, all[++i]};
    }
    if (i >= all.size()) {
        printUsage();
        return 2;
    }
    const Command* command = commandNamed(all[i]);
    if (command == nullptr) {
        std::fprintf(stderr, "zelkor2k-cli: unknown command '%s' (see --help)\n", all[i].c_str());
        return 2;
    }
    args.insert(args.end(), all.begin() + static_cast<std::ptrdiff_t>(i) + 1, all.end());
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            printOut(usageText(*command));
            return 0;
        }
    }
    const Arguments parsed(args, command->options);
    if (!argumentsUsable(parsed, *command))
        return 1; // told why on stderr
    return command->run(parsed);
}
