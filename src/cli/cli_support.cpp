#include "cli/cli_support.h"

#include "core/program_folder.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <algorithm>
#include <cstdio>

namespace zelkor::cli {

Arguments::Arguments(const std::vector<std::string>& args,
                     const std::vector<std::string>& valueOptions) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            bool takesValue =
                std::find(valueOptions.begin(), valueOptions.end(), a) != valueOptions.end();
            if (!takesValue) {
                options_.emplace_back(a, "");
                continue;
            }
            if (i + 1 >= args.size()) {
                if (error_.empty())
                    error_ = "option " + a + " needs a value";
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

std::string Arguments::unknownOption(const std::vector<std::string>& known) const {
    for (const auto& o : options_)
        if (o.first != "--program-folder" &&
            std::find(known.begin(), known.end(), o.first) == known.end())
            return o.first;
    return {};
}

bool argumentsUsable(const Arguments& parsed, const std::string& name,
                     const std::vector<std::string>& known, const std::string& what) {
    std::string problem = parsed.error();
    if (problem.empty()) {
        if (std::string unknown = parsed.unknownOption(known); !unknown.empty())
            problem = "unknown option " + unknown;
        else if (parsed.positional().size() != 1)
            problem = name + " needs exactly one " + what;
        if (!problem.empty())
            problem += " (see " + name + " --help)";
    }
    if (problem.empty())
        return true;
    fail(problem);
    return false;
}

std::optional<std::string> programFolderFrom(const Arguments& args) {
    ProgramFolderChoice choice = chooseProgramFolder(args.value("--program-folder").value_or(""));
    if (!choice.problem.empty()) {
        fail(choice.problem);
        return std::nullopt;
    }
    return choice.folder;
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
    std::string problem;
    if (loadSettings(settings, programFolder + kConfigFileName, &problem) ==
        SettingsFileState::Unreadable)
        printErr("zelkor2k-cli: " + terminalLines(problem) + "\n");
    return settings;
}

void printOut(const std::string& cp932) {
    std::string utf8 = cp932ToUtf8(cp932);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void printErr(const std::string& cp932) {
    std::string utf8 = cp932ToUtf8(cp932);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

int fail(const std::string& cp932Message) {
    printErr("zelkor2k-cli: " + cp932Message + "\n");
    return 1;
}

std::string terminalLines(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

void TerminalPrompt::showMessage(const std::string& text, const std::string&) {
    ++messages_;
    printErr(terminalLines(text) + "\n");
}

bool TerminalPrompt::askYesNo(const std::string& text, const std::string&) {
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

} // namespace zelkor::cli
