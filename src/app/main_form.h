#pragma once

#include "core/race_sheet.h"

#include <QWidget>
#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace Ui {
class MainForm;
}

namespace zelkor {

class PredictionCommands;

// The body of the main window (main_form.ui): a form over the race sheet in three groups,
// レースデータ, 出走馬データ and ゼルコ馬予想. The runner row always shows
// sheet.currentRunner; every edit reaches the sheet through commit().
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
    // The eight boxes of one past-run row, in column order.
    struct PastRunBoxes {
        QComboBox* kind;
        QComboBox* finish;
        QComboBox* fieldSize;
        QComboBox* popularity;
        QComboBox* distance;
        QComboBox* raceClass;
        QComboBox* weight;
        QComboBox* timeDiff;
    };
    struct Controls {
        QComboBox* racecourse;
        QComboBox* raceNumber;
        QComboBox* raceName;
        QComboBox* grade;
        QComboBox* ageLimit;
        QComboBox* sexLimit;
        QComboBox* weightRule;
        QComboBox* surface;
        QComboBox* distance;
        QComboBox* fieldSize;
        QLabel* runnerLabel;
        QLineEdit* name;
        QComboBox* sex;
        QComboBox* age;
        QComboBox* weight;
        QComboBox* style;
        QComboBox* aptitude;
        QComboBox* odds;
        std::array<PastRunBoxes, 2> pastRuns; // [0] 前々走, [1] 前走
        QPushButton* next;
        QPushButton* previous;
        // The five result lists as the five columns of one view, so line i
        // of every list is the same row: 穴順, 枠番, 馬名, 穴度, 単オッズ.
        QTreeWidget* results;
        QPlainTextEdit* report;
    };

    MainForm(RaceSheet& sheet, QWidget* parent = nullptr);
    ~MainForm() override;

    const Controls& controls() const { return c_; }

    // Reads every control into the sheet: the race group into the race
    // conditions, the runner group into slot currentRunner. A box that shows
    // no entry leaves its field as it was. A name with characters CP932
    // lacks is stored and shown with "?" for them, and textReplaced says so.
    void formToSheet();
    // Sets every control from the sheet.
    void sheetToForm();
    // formToSheet, then tells the window the sheet may have changed.
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
    // The sheet was committed; the window rewrites the race-sheet page.
    void committed();
    // The user edited the runner's name (the sheet already holds it).
    void nameEdited();
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
    // The controls of the .ui, their lists filled.
    void takeControls();
    void setUpResults();

    void connectRules();
    void onLeaving(QObject* box);
    void onRacePresetChosen(int suggestion);
    void onFieldSizeChanged(int index);
    void onSexLimitChanged(int index);
    void onAgeLimitChanged(int index);
    void onNextRunner();
    void onPreviousRunner();
    void onResultSelection();
    // The text of a name box as CP932 (see formToSheet).
    std::string readText(QLineEdit* edit, const QString& heading);
    void updateNavigation();
    void updatePastRunStates(int row);

    std::unique_ptr<Ui::MainForm> ui_;
    RaceSheet& sheet_;
    Controls c_{};
    bool syncingLists_ = false;
    bool detached_ = false;
};

} // namespace zelkor
