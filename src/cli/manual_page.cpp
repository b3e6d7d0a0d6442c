#include "cli/manual_page.h"

#include "cli/global_options.h"
#include "core/version.h"
#include "text/cp932.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace zelkor::cli {

namespace {

// Text for a roff no-fill block from the left margin: backslashes and
// minus signs escaped, and a line that would start with a control
// character made harmless.
std::string literalBlock(std::string_view text) {
    std::string out = ".nf\n.in 0\n";
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
    return out + ".in\n.fi\n";
}

// Columns a literal block may fill: it is set from the left margin (the
// help texts are made for an 80-column terminal), and a page is read at 80.
constexpr int kBlockColumns = 80;

// Length in bytes and width in columns of the UTF-8 character at text[i]:
// East Asian wide and full-width characters take two columns.
std::pair<size_t, int> utf8Character(std::string_view text, size_t i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
    if (length != 3 || i + 2 >= text.size())
        return {std::min(length, text.size() - i), 1};
    const unsigned code = (lead & 0x0fu) << 12 |
                          (static_cast<unsigned char>(text[i + 1]) & 0x3fu) << 6 |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3fu);
    const bool wide = (code >= 0x2e80 && code <= 0xa4cf) || (code >= 0xac00 && code <= 0xd7a3) ||
                      (code >= 0xf900 && code <= 0xfaff) || (code >= 0xfe30 && code <= 0xfe4f) ||
                      (code >= 0xff00 && code <= 0xff60) || (code >= 0xffe0 && code <= 0xffe6);
    return {3, wide ? 2 : 1};
}

// Where the continuation of a long line starts: under the text after an
// option's name or a list's dash (the first run of two blanks, or "- "),
// else under the line's own start.
size_t hangingIndent(std::string_view line) {
    const size_t text = line.find_first_not_of(' ');
    if (text == std::string_view::npos)
        return 0;
    if (line.substr(text).starts_with("- "))
        return text + 2;
    const size_t gap = line.find("  ", text);
    const size_t after = gap == std::string_view::npos ? gap : line.find_first_not_of(' ', gap);
    return after != std::string_view::npos && after < size_t(kBlockColumns) / 2 ? after : text;
}

// Characters a line should not start with: closing brackets, the comma and
// full stop, the long vowel mark.
bool mayStartLine(std::string_view rest) {
    for (std::string_view closing :
         {")", "\xe3\x80\x81", "\xe3\x80\x82", "\xe3\x83\xbc", "\xef\xbc\x89"})
        if (rest.starts_with(closing))
            return false;
    return true;
}

// Breaks the lines of a UTF-8 text that are wider than kBlockColumns: at
// the last blank that fits, or between two wide characters.
std::string wrapLongLines(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::string indent(hangingIndent(line), ' ');
        bool first = true;
        while (true) {
            int columns = first ? 0 : int(indent.size());
            size_t i = 0, cut = 0;
            bool afterWide = false;
            while (i < line.size()) {
                const auto [length, width] = utf8Character(line, i);
                // A line may break at a blank, and before or after a wide
                // character.
                if ((line[i] == ' ' || width == 2 || afterWide) && i > 0 &&
                    mayStartLine(line.substr(i)))
                    cut = i;
                if (columns + width > kBlockColumns)
                    break;
                columns += width;
                afterWide = width == 2;
                i += length;
            }
            if (i >= line.size() || cut == 0)
                cut = line.size();
            out += first ? "" : indent;
            out += line.substr(0, cut);
            out += '\n';
            line.remove_prefix(cut);
            while (!line.empty() && line.front() == ' ')
                line.remove_prefix(1);
            if (line.empty())
                break;
            first = false;
        }
    }
    return out;
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
    page += literalBlock(wrapLongLines(cp932ToUtf8(kGlobalOptionsHelp)));
    page += ".SH COMMANDS\n";
    for (const Command& c : commands) {
        page += std::string(".SS ") + c.name + "\n";
        page += cp932ToUtf8(c.summary) + "\n.PP\n";
        page += literalBlock(wrapLongLines(cp932ToUtf8(usageText(c))));
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
