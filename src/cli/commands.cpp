#include "cli/commands.h"

namespace zelkor::cli {

// Entry points, one per cmd_<name>.cpp.
// (Declared here so that adding a command touches this file and CMakeLists only.)
int runPredict(const std::vector<std::string>&);
extern const char kPredictUsage[];
int runRaces(const std::vector<std::string>&);
extern const char kRacesUsage[];
int runLoad(const std::vector<std::string>&);
extern const char kLoadUsage[];
int runSports(const std::vector<std::string>&);
extern const char kSportsUsage[];
int runSheet(const std::vector<std::string>&);
extern const char kSheetUsage[];
int runPaper(const std::vector<std::string>&);
extern const char kPaperUsage[];
int runPredictAll(const std::vector<std::string>&);
extern const char kPredictAllUsage[];
int runBacktest(const std::vector<std::string>&);
const char* backtestUsage();

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands = {
        {"predict", "score a prediction file (.zel) and print the ranking", kPredictUsage,
         runPredict},
        {"races", "list the races of a JRA-VAN race card or archive", kRacesUsage, runRaces},
        {"load", "load a JRA-VAN race and save it as a prediction file", kLoadUsage, runLoad},
        {"sports", "score a prediction file and write its sports page", kSportsUsage, runSports},
        {"sheet", "write the race-sheet page of a prediction file", kSheetUsage, runSheet},
        {"paper", "write JRA-VAN racing newspapers (one race or a set)", kPaperUsage, runPaper},
        {"predict-all", "predict every race of a JRA-VAN race card", kPredictAllUsage,
         runPredictAll},
        {"backtest", "check the formula against the past races of a horse file", backtestUsage(),
         runBacktest},
    };
    return commands;
}

} // namespace zelkor::cli
