#include "cli/cli_support.h"

#include "cli/terminal_progress.h"
#include "core/prediction_file.h"
#include "core/program_folder.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zelkor::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<Option>& options) {
    auto takesValue = [&](const std::string& a) {
        return a == "--program-folder" ||
               std::any_of(options.begin(), options.end(),
                           [&](const Option& o) { return o.value != nullptr && a == o.name; });
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (!takesValue(a)) {
                options_.emplace_back(a, "");
                continue;
            }
            if (i + 1 >= args.size()) {
                if (error_.empty())
                    error_ = "オプション " + pathForDisplay(a) + " には値が必要です";
                continue;
            }
            options_.emplace_back(a, args[++i]);
        } else {
            positional_.push_back(a);
        }
    }
}

bool Arguments::flag(const std::string& name) const {
    return std::any_of(options_.begin(), options_.end(),
                       [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    for (auto it = options_.rbegin(); it != options_.rend(); ++it)
        if (it->first == name)
            return it->second;
    return std::nullopt;
}

std::string Arguments::unknownOption(const std::vector<Option>& options) const {
    for (const auto& o : options_)
        if (o.first != "--program-folder" &&
            std::none_of(options.begin(), options.end(),
                         [&](const Option& known) { return o.first == known.name; }))
            return o.first;
    return {};
}

bool argumentsUsable(const Arguments& parsed, const Command& command) {
    const std::string name = command.name;
    const std::string operand = command.operandName;
    const size_t operands = parsed.positional().size();
    std::string problem = parsed.error();
    if (problem.empty()) {
        if (std::string unknown = parsed.unknownOption(command.options); !unknown.empty())
            problem = pathForDisplay(unknown) + " というオプションはありません";
        else if (command.operands == Operands::OneOrDate && parsed.value("--date"))
            problem =
                operands == 0 ? "" : name + " には" + operand + "と --date を一緒に指定できません";
        else if (command.operands == Operands::OneOrPeriod &&
                 (parsed.value("--from") || parsed.value("--to")))
            problem = operands == 0
                          ? ""
                          : name + " には" + operand + "と --from・--to を一緒に指定できません";
        else if (command.operands == Operands::None && operands != 0)
            problem = name + " には" + operand + "を指定できません";
        else if (command.operands == Operands::OneOrMore && operands == 0)
            problem = name + " には" + operand + "を 1 つ以上指定してください";
        else if ((command.operands == Operands::One || command.operands == Operands::OneOrDate ||
                  command.operands == Operands::OneOrPeriod) &&
                 operands != 1)
            problem = name + " には" + operand + "を 1 つ" +
                      (command.operands == Operands::OneOrDate ? "、または --date YYYYMMDD を"
                       : command.operands == Operands::OneOrPeriod ? "、または --from と --to を"
                                                                   : "だけ") +
                      "指定してください";
        if (!problem.empty())
            problem += " (" + name + " --help を参照)";
    }
    if (problem.empty())
        return true;
    fail(problem);
    return false;
}

std::optional<std::string> programFolderFrom(const Arguments& args) {
    Result<std::string> folder = chooseProgramFolder(args.value("--program-folder").value_or(""));
    if (!folder) {
        fail(folder.message());
        return std::nullopt;
    }
    return std::move(folder).value();
}

bool readPredictionArgument(const Arguments& parsed, RaceSheet& sheet, UserPrompt& prompt) {
    return parsed.positional().size() == 1 &&
           readPredictionFile(sheet, parsed.positional()[0], prompt).ok();
}

std::optional<int> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(text);
}

std::optional<int> racePosition(const std::string& text) {
    std::optional<int> n = wholeNumber(text);
    if (!n || *n < 1)
        return std::nullopt;
    return n;
}

AppSettings settingsOfProgramFolder(const std::string& programFolder) {
    AppSettings settings;
    if (auto read = loadSettings(settings, programFolder + kConfigFileName); !read)
        printErr("zelkor2k-cli: " + terminalLines(read.message()) + "\n");
    return settings;
}

std::optional<double> valueThreshold(const Arguments& parsed, const std::string& programFolder) {
    const std::optional<std::string> text = parsed.value("--threshold");
    if (!text)
        return valueThresholdOf(settingsOfProgramFolder(programFolder));
    char* end = nullptr;
    const double threshold = std::strtod(text->c_str(), &end);
    if (text->empty() || *end != '\0' || !(threshold > 0 && threshold < 100)) {
        fail("--threshold には 1.10 のような正の数を指定してください");
        return std::nullopt;
    }
    return threshold;
}

std::string visibleControls(std::string_view cp932, std::string_view kept) {
    // Control bytes are below 0x20 or 0x7f, none of them the second byte of
    // a Shift-JIS character, so they are looked at byte by byte.
    std::string out;
    out.reserve(cp932.size());
    for (size_t i = 0; i < cp932.size(); ++i) {
        const auto c = static_cast<unsigned char>(cp932[i]);
        if (c == '\r' && i + 1 < cp932.size() && cp932[i + 1] == '\n' &&
            kept.find('\n') != std::string_view::npos)
            continue; // CR LF is one line end on the terminal
        if ((c < 0x20 || c == 0x7f) && kept.find(static_cast<char>(c)) == std::string_view::npos)
            appendFormat(out, "\\x%02X", c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

void printOut(const std::string& cp932) {
    endProgressLine();
    std::string utf8 = cp932ToUtf8(visibleControls(cp932, "\n\t"));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void printErr(const std::string& cp932) {
    endProgressLine();
    std::string utf8 = cp932ToUtf8(visibleControls(cp932, "\n\t"));
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr); // buffered when it is not a terminal
}

int fail(const std::string& cp932Message) {
    printErr("zelkor2k-cli: " + cp932Message + "\n");
    return 1;
}

std::string terminalLines(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

void TerminalPrompt::doShowMessage(const std::string& text, const std::string&) {
    ++messages_;
    printErr(terminalLines(text) + "\n");
}

bool TerminalPrompt::doAskYesNo(const std::string& text, const std::string&) {
    bool yes = false;
    for (const auto& [key, answer] : answers_)
        if (text.find(key) != std::string::npos)
            yes = answer;
    printErr(terminalLines(text) + (yes ? " -> はい\n" : " -> いいえ\n"));
    return yes;
}

void TerminalPrompt::answer(const std::string& key, bool yes) {
    answers_.emplace_back(key, yes);
}

// A calendar date written YYYYMMDD.
std::optional<int> dateArgument(const std::optional<std::string>& text) {
    if (!text || text->size() != 8 ||
        !std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int date = std::stoi(*text);
    const int month = date / 100 % 100, day = date % 100;
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    return date;
}

} // namespace zelkor::cli
