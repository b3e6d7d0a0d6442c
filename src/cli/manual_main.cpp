// Writes the manual page of zelkor2k-cli to the file named by its argument;
// run by the build.

#include "cli/commands.h"
#include "cli/manual_page.h"
#include "text/file_io.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zelkor2k-cli-manual OUTPUT\n", stderr);
        return 2;
    }
    using namespace zelkor::cli;
    if (!zelkor::writeWholeFile(argv[1], manualPage(allCommands()))) {
        std::fprintf(stderr, "zelkor2k-cli-manual: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
