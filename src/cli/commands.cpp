#include "cli/commands.h"

#include "text/sjis.h"

#include <algorithm>
#include <string_view>

namespace zelkor::cli {

// The table of each command, one per cmd_<name>.cpp (declared here so that
// adding a command touches this file and CMakeLists only).
extern const Command kPredictCommand;
extern const Command kRacesCommand;
extern const Command kLoadCommand;
extern const Command kSportsCommand;
extern const Command kSheetCommand;
extern const Command kPaperCommand;
extern const Command kPredictAllCommand;
extern const Command kBacktestCommand;
extern const Command kImportCommand;
extern const Command kDatesCommand;
extern const Command kCheckCommand;
extern const Command kValueCommand;

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands = {
        kPredictCommand, kRacesCommand, kLoadCommand,       kSportsCommand,
        kSheetCommand,   kPaperCommand, kPredictAllCommand, kBacktestCommand,
        kImportCommand,  kDatesCommand, kCheckCommand,      kValueCommand,
    };
    return commands;
}

namespace {

constexpr size_t kLineWidth = kHelpWidth;

bool isOperand(const Option& option) {
    return option.name[0] != '-';
}

std::string optionWithValue(const Option& option) {
    return option.value == nullptr ? std::string(option.name)
                                   : std::string(option.name) + " " + option.value;
}

// Whether the synopsis names the option already (a required option).
bool inSynopsis(const Command& command, const Option& option) {
    const std::string_view synopsis = command.synopsis;
    const std::string_view name = option.name;
    for (size_t at = synopsis.find(name); at != std::string_view::npos;
         at = synopsis.find(name, at + 1)) {
        const size_t end = at + name.size();
        const bool startsWord = at == 0 || synopsis[at - 1] == ' ' || synopsis[at - 1] == '|';
        if (startsWord && (end == synopsis.size() || synopsis[end] == ' '))
            return true;
    }
    return false;
}

// Each line of `text` within the help width, continued under the text after
// its leading blanks and list dash ("  - ").
std::string wrappedNotes(std::string_view text) {
    std::string out;
    for (size_t end; !text.empty(); text.remove_prefix(std::min(end + 1, text.size()))) {
        end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        size_t indent = std::min(line.find_first_not_of(' '), line.size());
        if (line.substr(indent).starts_with("- "))
            indent += 2;
        indent = std::min(indent, kLineWidth / 2);
        out += std::string(line.substr(0, indent)) +
               wrapped(line.substr(indent), kLineWidth - indent, indent) + "\n";
        if (end == std::string_view::npos)
            break;
    }
    return out;
}

} // namespace

std::string wrapped(std::string_view text, size_t width, size_t indent) {
    std::string out;
    bool first = true;
    auto newLine = [&] {
        if (!first)
            out += "\n" + std::string(indent, ' ');
        first = false;
    };
    for (size_t end; !text.empty(); text.remove_prefix(std::min(end + 1, text.size()))) {
        end = text.find('\n');
        std::string_view rest = text.substr(0, end);
        do {
            newLine();
            std::string_view line = prefixWholeChars(rest, width);
            if (line.size() < rest.size()) {
                const size_t blank = line.rfind(' ');
                if (blank != std::string_view::npos && blank > width / 2)
                    line = line.substr(0, blank + 1);
            }
            rest.remove_prefix(line.size());
            while (!line.empty() && line.back() == ' ')
                line.remove_suffix(1);
            out += line;
        } while (!rest.empty());
        if (end == std::string_view::npos)
            break;
    }
    return out;
}

std::string usageText(const Command& command) {
    const std::string lead = std::string("使い方: zelkor2k-cli ") + command.name + " ";
    std::vector<std::string> words;
    if (command.synopsis[0] != '\0')
        words.push_back(command.synopsis);
    for (const Option& option : command.options)
        if (!isOperand(option) && !inSynopsis(command, option))
            words.push_back("[" + optionWithValue(option) + "]");
    words.push_back("[--program-folder DIR]");

    std::string text = lead;
    size_t column = lead.size();
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0 && column + 1 + words[i].size() > kLineWidth) {
            text += "\n" + std::string(lead.size(), ' ');
            column = lead.size();
        } else if (i > 0) {
            text += ' ';
            ++column;
        }
        text += words[i];
        column += words[i].size();
    }
    text += "\n\n";
    text += command.description;

    size_t width = 0;
    for (const Option& option : command.options)
        width = std::max(width, optionWithValue(option).size());
    if (!command.options.empty())
        text += "\n";
    for (const Option& option : command.options) {
        const std::string head = optionWithValue(option);
        text += "  " + head + std::string(width + 2 - head.size(), ' ');
        text += wrapped(option.help, kLineWidth - (width + 4), width + 4) + "\n";
    }
    if (command.notes != nullptr)
        text += "\n" + wrappedNotes(command.notes());
    return text;
}

} // namespace zelkor::cli
