// The manual page and the --help texts made from the command table.
#include "cli/commands.h"
#include "cli/global_options.h"
#include "cli/manual_page.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <string>

namespace zelkor::cli {
namespace {

int noRun(const Arguments&) {
    return 0;
}

TEST(ManualPage, EveryCommandGetsItsSectionWithItsUsageAsLiteralText) {
    const std::vector<Command> commands = {
        {"first",
         "do the first thing",
         "FILE --must X",
         Operands::One,
         "file",
         "Does it.\n",
         {{"FILE", nullptr, "the file"}, {"--must", "X", "needed"}, {"-x", nullptr, "a flag"}},
         noRun},
        // Lines that roff would take for requests, and its escape character.
        {"second",
         "do the second thing",
         "",
         Operands::None,
         "arguments",
         ".hidden request\n'quoted\nC:\\path \\n\n",
         {},
         noRun},
    };
    const std::string page = manualPage(commands);
    EXPECT_TRUE(page.starts_with(".TH ZELKOR2K-CLI 1 "));
    EXPECT_NE(page.find(".SH COMMANDS\n"
                        ".SS first\n"
                        "do the first thing\n"
                        ".PP\n"
                        ".nf\n.in 0\n"
                        "\xe4\xbd\xbf\xe3\x81\x84\xe6\x96\xb9: "
                        "zelkor2k\\-cli first FILE \\-\\-must X [\\-x] "
                        "[\\-\\-program\\-folder DIR]\n"
                        "\n"
                        "Does it.\n"
                        "\n"
                        "  FILE      the file\n"
                        "  \\-\\-must X  needed\n"
                        "  \\-x        a flag\n"
                        ".in\n.fi\n"
                        ".SS second\n"
                        "do the second thing\n"
                        ".PP\n"
                        ".nf\n.in 0\n"
                        "\xe4\xbd\xbf\xe3\x81\x84\xe6\x96\xb9: "
                        "zelkor2k\\-cli second [\\-\\-program\\-folder DIR]\n"
                        "\n"
                        "\\&.hidden request\n"
                        "\\&'quoted\n"
                        "C:\\epath \\en\n"
                        ".in\n.fi\n"
                        ".SH FILES\n"),
              std::string::npos)
        << page;
    // The global options come from the text --help prints (フォルダ DIR …).
    EXPECT_NE(page.find("\\-\\-program\\-folder DIR  \xe3\x83\x95\xe3\x82\xa9"), std::string::npos);
}

// Within an 80-column terminal, so the manual page need not break a line
// of its own either (which left single words on a line).
TEST(HelpTexts, EveryLineOfTheCommandsFitsEightyColumns) {
    std::string all = kGlobalOptionsHelp;
    for (const Command& c : allCommands())
        all += usageText(c) + std::string(15, ' ') + wrapped(c.summary, kHelpWidth - 15, 15) + "\n";
    for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, kHelpWidth) << cp932ToUtf8(all.substr(start, end - start));
}

TEST(ManualPage, UsageTextsAreUtf8AndLongHelpIsWrappedBetweenWholeCharacters) {
    // Usage texts are CP932 like every library text; the page is UTF-8.
    std::string help;
    for (int i = 0; i < 40; ++i)
        help += "\x97\x5c\x91\x7a"; // 予想, 160 bytes
    const std::vector<Command> commands = {{"third",
                                            "x",
                                            "",
                                            Operands::None,
                                            "arguments",
                                            "\x97\x5c\x91\x7a\n",
                                            {{"--long", nullptr, help.c_str()}},
                                            noRun}};
    const std::string page = manualPage(commands);
    EXPECT_NE(page.find("\n\xe4\xba\x88\xe6\x83\xb3\n"), std::string::npos);
    // 79 columns less the 10 of the indent: 17 whole pairs of characters a line.
    const std::string text = usageText(commands[0]);
    const std::string first = "  --long  " + help.substr(0, 68) + "\n";
    EXPECT_NE(text.find(first + std::string(10, ' ') + help.substr(68, 68) + "\n"),
              std::string::npos)
        << text;
}

} // namespace
} // namespace zelkor::cli
