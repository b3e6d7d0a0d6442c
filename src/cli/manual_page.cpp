#include "cli/manual_page.h"

#include "cli/global_options.h"
#include "core/version.h"
#include "text/cp932.h"

#include <string_view>

namespace zelkor::cli {

namespace {

// Text for a roff no-fill block: backslashes and minus signs escaped, and a
// line that would start with a control character made harmless.
std::string literalBlock(std::string_view text) {
    std::string out = ".nf\n";
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        lineStart = c == '\n';
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!lineStart)
        out += '\n';
    return out + ".fi\n";
}

} // namespace

std::string manualPage(const std::vector<Command>& commands) {
    std::string page = std::string(".TH ZELKOR2K-CLI 1 \"\" \"zelkor2k ") + kVersionText +
                       "\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "zelkor2k-cli \\- predict the dark horses of a horse race from the "
                       "command line\n"
                       ".SH SYNOPSIS\n"
                       ".B zelkor2k-cli\n"
                       "[\\fB\\-\\-program\\-folder\\fR \\fIDIR\\fR] \\fIcommand\\fR "
                       "[\\fIoptions\\fR]\n"
                       ".br\n"
                       ".B zelkor2k-cli\n"
                       "\\fIcommand\\fR \\fB\\-\\-help\\fR\n"
                       ".br\n"
                       ".B zelkor2k-cli \\-\\-version\n"
                       ".SH DESCRIPTION\n"
                       "The command-line front end of the desktop program \\fBzelkor2k\\fR(1), "
                       "over the same libraries: it scores prediction files (.zel), reads "
                       "JRA-VAN race cards and archives, imports JV-Data into a local store, and "
                       "writes the same HTML pages. "
                       "Output on the terminal is UTF-8; every file it reads and writes is "
                       "Japanese text in code page 932.\n"
                       ".SH OPTIONS\n";
    page += literalBlock(kGlobalOptionsHelp);
    page += ".SH COMMANDS\n";
    for (const Command& c : commands) {
        page += std::string(".SS ") + c.name + "\n";
        page += std::string(c.summary) + ".\n.PP\n";
        page += literalBlock(cp932ToUtf8(usageText(c)));
    }
    page += ".SH FILES\n"
            ".TP\n"
            ".I ~/.local/share/zelkor2k/\n"
            "The program folder of an installed program (below \\fB$XDG_DATA_HOME\\fR when "
            "that is set): the settings file \\fIZelkor2k.cfg\\fR, the working folders "
            "\\fIHTML\\fR, \\fIJRA-VAN\\fR and \\fIKTDAT\\fR, the JV-Data store "
            "\\fIJV-Data/jvdata.sqlite3\\fR, and the pictures in "
            "\\fIImage\\fR that the pages show. A program run from a folder that holds "
            "\\fIImage\\fR and can be written (a build folder) uses that folder instead.\n"
            ".SH EXIT STATUS\n"
            "0 on success; otherwise non-zero, with a one-line message on standard error.\n"
            ".SH SEE ALSO\n"
            ".BR zelkor2k (1)\n";
    return page;
}

} // namespace zelkor::cli
