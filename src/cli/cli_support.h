#pragma once

#include "cli/commands.h"
#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor::cli {

// Parsed command line of one subcommand: positional arguments and
// "--name value" / "--flag" options.
class Arguments {
  public:
    // The options of `options` with a value take it ("-o", "--race"), as
    // --program-folder does; every other option is a flag.
    Arguments(const std::vector<std::string>& args, const std::vector<Option>& options);

    const std::vector<std::string>& positional() const { return positional_; }
    bool flag(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    // First problem met while parsing (unknown option, missing value), or empty.
    const std::string& error() const { return error_; }
    // The first option given that is not in `options` (nor --program-folder);
    // empty text when all are.
    std::string unknownOption(const std::vector<Option>& options) const;

  private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
    std::string error_;
};

// The checks made before any command runs: the command line parsed, no
// option outside the command's table, its operands. On the first that
// fails, its message is on stderr and the result is false.
bool argumentsUsable(const Arguments& parsed, const Command& command);

// The program folder, ready for use: --program-folder DIR, else the portable
// folder of the executable or the user's own folder. When it cannot be
// created or written, says why on stderr and gives nothing.
std::optional<std::string> programFolderFrom(const Arguments& args);

// Reads the prediction file the command names (its one operand) into
// `sheet`; false after the reader has told why on stderr.
bool readPredictionArgument(const Arguments& parsed, RaceSheet& sheet, UserPrompt& prompt);

// A whole number of at most six digits as given on the command line (no sign,
// no blanks); nothing otherwise.
std::optional<int> wholeNumber(const std::string& text);

// A calendar date written YYYYMMDD.
std::optional<int> dateArgument(const std::optional<std::string>& text);

// A race position on the command line: a whole number from 1.
std::optional<int> racePosition(const std::string& text);

// The settings of the program folder's configuration file, or the defaults
// when it has none or cannot be read (said on stderr). Commands only read
// it: creating it is the desktop program's first start.
AppSettings settingsOfProgramFolder(const std::string& programFolder);

// The expected return that marks a value runner: --threshold, else the
// settings of the program folder. Nothing after a message on stderr when
// --threshold is not a usable number.
std::optional<double> valueThreshold(const Arguments& parsed, const std::string& programFolder);

// A CP932 text from data as the terminal may show it: every control
// character not in `kept` is written as "\xHH", so no name from a file can
// move the cursor, set the title, clear the screen or add a column. A CR
// before a kept LF is dropped.
std::string visibleControls(std::string_view cp932, std::string_view kept = {});

// Prints a CP932 text as UTF-8 on stdout / stderr, with its control
// characters other than line ends and TAB made visible.
void printOut(const std::string& cp932);
void printErr(const std::string& cp932);

// A CP932 text with CR LF line ends as the terminal wants it: every CR
// dropped, one line per LF.
std::string terminalLines(std::string text);

// Fails a command: one-line message (CP932) on stderr, returns exit status 1.
int fail(const std::string& cp932Message);

// UserPrompt of the terminal: messages go to stderr as UTF-8; questions are
// answered by options given in advance (default No).
class TerminalPrompt : public UserPrompt {
  public:
    void doShowMessage(const std::string& text, const std::string& caption) override;
    bool doAskYesNo(const std::string& text, const std::string& caption) override;
    // Answers for questions whose text contains `key` (CP932).
    void answer(const std::string& key, bool yes);
    int messageCount() const { return messages_; }

  private:
    std::vector<std::pair<std::string, bool>> answers_;
    int messages_ = 0;
};

} // namespace zelkor::cli
