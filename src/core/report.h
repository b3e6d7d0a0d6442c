#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"

#include <string>
#include <vector>

namespace zelkor {

// The five result lists, one line per runner in ranking order: line i of every
// list belongs to ranking position i + 1.
struct ResultLines {
    std::vector<std::string> positions; // 穴順 "%2d"
    std::vector<std::string> brackets;  // 枠番 "%d枠%2d番"
    std::vector<std::string> names;     // 馬名
    std::vector<std::string> scores;    // 穴度 "%3d"
    std::vector<std::string> odds;      // 単オッズ, the odds band text

    bool empty() const { return positions.empty(); }
    void clear();
    friend bool operator==(const ResultLines&, const ResultLines&) = default;
};

ResultLines resultLines(const RaceSheet& sheet);

// The report text (CR LF line ends) of view sheet.result.reportMode: the
// dark horses, the bets, or the trainer's intent of the runner at ranking
// position selection + 1. The trainer view without a valid selection gives
// the empty text.
std::string buildReportText(const RaceSheet& sheet, int selection);

// Each view, whatever the sheet's reportMode.
std::string darkHorsesReport(const RaceSheet& sheet);
std::string betsReport(const RaceSheet& sheet);
std::string trainerReport(const RaceSheet& sheet, int selection);

// The state behind the prediction group of the main window: the enabled flags
// of the predict, bets, trainer and sports-page commands, the five result
// lists, the selected line and the report text. The window commits its form
// to the sheet before calling a command, then mirrors what the returned
// change set names into its widgets.
class PredictionCommands {
  public:
    // What a call changed, as bits.
    enum Change : unsigned {
        None = 0,
        Lists = 1u << 0,     // the five result lists (refill from lines())
        Report = 1u << 1,    // the report text
        Flags = 1u << 2,     // any of the four command flags
        Selection = 1u << 3, // the selected line
        Runner = 1u << 4,    // show sheet.currentRunner in the form again
    };

    // Predict flag: on while every runner 1..runnerCount has a name.
    unsigned updatePredictFlag(const RaceSheet& sheet);
    // Sets the predict flag directly (the name box's own rule while typing).
    unsigned setPredictFlag(bool on);

    // Scores the race and fills the lists and the dark-horse view; refused
    // with a message while the predict flag is off.
    unsigned predict(RaceSheet& sheet, UserPrompt& prompt);
    // Switch the report to the bets or the trainer view.
    unsigned bets(RaceSheet& sheet, UserPrompt& prompt);
    unsigned trainer(RaceSheet& sheet, UserPrompt& prompt);
    // A result list reported selection `s` (−1 for none).
    unsigned selectResult(RaceSheet& sheet, int s);
    // Empties the lists and the report; bets, trainer and sports page off.
    unsigned clearResults();
    // Rebuilds the report text for the sheet's current view.
    unsigned buildReport(const RaceSheet& sheet);

    bool predictEnabled() const { return predictFlag_; }
    bool betsEnabled() const { return betsFlag_; }
    bool trainerEnabled() const { return trainerFlag_; }
    bool sportsEnabled() const { return sportsFlag_; }
    int selection() const { return selection_; }
    const ResultLines& lines() const { return lines_; }
    const std::string& reportText() const { return reportText_; }

  private:
    bool predictFlag_ = false;
    bool betsFlag_ = false;
    bool trainerFlag_ = false;
    bool sportsFlag_ = false;
    int selection_ = -1;
    ResultLines lines_;
    std::string reportText_;
};

} // namespace zelkor
