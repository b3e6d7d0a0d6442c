#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor::cli {

class Arguments;

// One option of a command: its name ("--race", "-o") with the name of its
// value ("N"), or a flag (no value). An entry whose name does not start
// with "-" describes an operand ("CARD") in the help only. `help` is CP932;
// each "\n" in it starts a continuation line.
struct Option {
    const char* name;
    const char* value; // nullptr: a flag
    const char* help;
};

// The operands a command takes.
enum class Operands {
    None,
    One,
    OneOrMore,
    OneOrDate,   // one, or none with --date
    OneOrPeriod, // one, or none with --from and --to
};

// One subcommand, declared once: its options drive the parsing, the message
// for an unknown option, --help and the manual page.
struct Command {
    const char* name;
    const char* summary;  // one line, CP932
    const char* synopsis; // what the usage line shows before the options: "CARD --race N"
    Operands operands;
    const char* operandName; // CP932, in "… を 1 つだけ指定してください"
    const char* description; // CP932, lines ending in "\n"
    std::vector<Option> options;
    int (*run)(const Arguments& args);
    std::string (*notes)() = nullptr; // help after the options, CP932
};

// Columns of every help text: an 80-column terminal, and the manual page.
inline constexpr size_t kHelpWidth = 79;

// `text` (CP932) in lines of at most `width` bytes, a byte a column, each
// after the first indented by `indent`: broken at the last blank that
// fits, else between two whole characters; "\n" breaks where it stands.
std::string wrapped(std::string_view text, size_t width, size_t indent);

// The --help text of a command: the usage line (options not named in the
// synopsis in brackets, --program-folder last, wrapped below 80 columns),
// the description, then every option and operand with its help, and the
// notes, each line wrapped below its dash or indent.
std::string usageText(const Command& command);

// Each subcommand lives in its own cmd_<name>.cpp and is listed here.
const std::vector<Command>& allCommands();

} // namespace zelkor::cli
