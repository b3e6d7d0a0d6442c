// The manual page made from the command table.
#include "cli/commands.h"
#include "cli/manual_page.h"

#include <gtest/gtest.h>
#include <string>

namespace zelkor::cli {
namespace {

int noRun(const std::vector<std::string>&) {
    return 0;
}

TEST(ManualPage, EveryCommandGetsItsSectionWithItsUsageAsLiteralText) {
    const std::vector<Command> commands = {
        {"first", "do the first thing", "usage: zelkor2k-cli first FILE [-x]\n", noRun},
        // Lines that roff would take for requests, and its escape character.
        {"second", "do the second thing", ".hidden request\n'quoted\nC:\\path \\n\n", noRun},
    };
    const std::string page = manualPage(commands);
    EXPECT_TRUE(page.starts_with(".TH ZELKOR2K-CLI 1 "));
    EXPECT_NE(page.find(".SH COMMANDS\n"
                        ".SS first\n"
                        "do the first thing.\n"
                        ".PP\n"
                        ".nf\n.in 0\n"
                        "usage: zelkor2k\\-cli first FILE [\\-x]\n"
                        ".in\n.fi\n"
                        ".SS second\n"
                        "do the second thing.\n"
                        ".PP\n"
                        ".nf\n.in 0\n"
                        "\\&.hidden request\n"
                        "\\&'quoted\n"
                        "C:\\epath \\en\n"
                        ".in\n.fi\n"
                        ".SH FILES\n"),
              std::string::npos)
        << page;
    // The global options come from the text --help prints.
    EXPECT_NE(page.find("\\-\\-program\\-folder DIR  work on the folder DIR"), std::string::npos);
}

TEST(ManualPage, UsageTextsAreUtf8) {
    // Usage texts are CP932 like every library text; the page is UTF-8.
    const std::vector<Command> commands = {{"third", "x", "\x97\x5c\x91\x7a\n", noRun}};
    EXPECT_NE(manualPage(commands).find(".nf\n.in 0\n\xe4\xba\x88\xe6\x83\xb3\n.in\n.fi\n"),
              std::string::npos);
}

TEST(ManualPage, LinesWiderThanEightyColumnsBreakUnderTheirText) {
    std::string japanese = "  --j N   ";
    std::string expected = "  \\-\\-j N   ";
    for (int i = 0; i < 40; ++i) {
        japanese += "\x97\x5c"; // 予, two columns
        expected += i == 35 ? "\n          \xe4\xba\x88" : "\xe4\xba\x88";
    }
    const std::string ascii = "  --opt N   " + std::string(60, 'a') + " " + std::string(20, 'b');
    const std::string page =
        manualPage({{"a", "x", ascii.c_str(), noRun}, {"j", "x", japanese.c_str(), noRun}});
    EXPECT_NE(page.find("  \\-\\-opt N   " + std::string(60, 'a') + "\n            " +
                        std::string(20, 'b') + "\n"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find(expected + "\n"), std::string::npos) << page;
}

} // namespace
} // namespace zelkor::cli
