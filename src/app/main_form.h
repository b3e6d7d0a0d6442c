#pragma once

#include "core/race_sheet.h"

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace Ui {
class MainForm;
}

namespace zelkor {

class ChancesView;
class PredictionCommands;
class RaceSession;

// The body of the main window (main_form.ui): a form over the session's race
// in three groups, レースデータ, 出走馬データ and ゼルコ馬予想. The runner row shows
// the form's current runner; every edit reaches the session through commit()
// or the session's methods, and every change of the session's race shows.
class MainForm : public QWidget {
    Q_OBJECT
  public:
    // Columns of the result view, one per result list.
    enum ResultColumn : int {
        kPositionColumn,
        kBracketColumn,
        kNameColumn,
        kScoreColumn,
        kOddsColumn,
        kResultColumns
    };

    explicit MainForm(RaceSession& session, QWidget* parent = nullptr);
    ~MainForm() override;

    // The controls of the .ui, their lists filled. The result view holds the
    // five result lists as its five columns, so line i of every list is the
    // same row: 穴順, 枠番, 馬名, 穴度, 単オッズ.
    const Ui::MainForm& ui() const { return *ui_; }
    // The 勝率・期待値 tab beside the ranking.
    ChancesView& chances() const { return *chances_; }
    // The runner (horse number) the runner row shows.
    int currentRunner() const { return runner_; }

    // Hands every control to the session: the race group as the race fields,
    // the runner row as the current runner. A box that shows no entry
    // leaves its field as it was. A name with characters CP932 lacks is
    // stored and shown with "?" for them, and textReplaced says so. Then
    // tells the window the race may have changed.
    void commit();

    // Stops reacting to focus changes; called before the window goes, so
    // the boxes losing focus while they are destroyed commit nothing.
    void detach();

    // Hands the prediction group (results and report, one above the other)
    // to a window of its own; the form keeps the race and the runners.
    QWidget* takePrediction();

    // Mirrors the parts of the prediction state that `changes` names.
    void showPrediction(const PredictionCommands& commands, unsigned changes);

  signals:
    // The form was committed; the window rewrites the race-sheet page.
    void committed();
    // The race-name box was left with this text.
    void raceNameLeft(const QString& text);
    // A result list reported a new selection (−1 for none).
    void resultSelected(int line);
    // The text of the box headed `heading` had characters CP932 lacks; the
    // sheet and the box now hold `stored`, where each of them is "?".
    void textReplaced(const QString& heading, const QString& stored);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Binding;

    // Fills the lists and binds each box to its field of the sheet.
    void bindControls();
    void setUpResults();
    void connectRules();
    // Sets every control from the session's race, the runner row from
    // runner `horse`.
    void showRunner(int horse);
    void showSheet() { showRunner(runner_); }
    // Reads every control into the session (see commit).
    void enterForm();

    void onLeaving(QObject* box);
    void onRacePresetChosen(int suggestion);
    void onFieldSizeChanged(int index);
    void onSexLimitChanged(int index);
    void onAgeLimitChanged(int index);
    void onNextRunner();
    void onPreviousRunner();
    void onResultSelection();
    // The text of a name box as CP932 (see commit).
    std::string readText(QLineEdit* edit, const QString& heading);
    void updateNavigation();
    void updatePastRunStates(int row);

    std::unique_ptr<Ui::MainForm> ui_;
    RaceSession& session_;
    std::vector<Binding> bindings_;
    // The eight boxes of each past-run row in column order: [0] 前々走, [1] 前走.
    std::array<std::array<QComboBox*, 8>, 2> pastRows_{};
    ChancesView* chances_ = nullptr;
    int runner_ = 1;
    // The form is handing its own edit to the session, so it shows already.
    bool writing_ = false;
    bool syncingLists_ = false;
    bool detached_ = false;
};

} // namespace zelkor
