#pragma once

#include "core/ports.h"

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;

namespace Ui {
class RaceSelectionDialog;
}

namespace zelkor {

class RaceSource;

// Lists every race of a race source (a JRA-VAN race card); the user picks the race to
// predict, or selects races for the newspaper set, or predicts them all.
// The two batch buttons only ask (signals); their owner does the work while
// the dialog stays open.
class RaceSelectionDialog : public QDialog {
    Q_OBJECT
  public:
    RaceSelectionDialog(RaceSource& source, UserPrompt& prompt, Shell& shell,
                        QWidget* parent = nullptr);
    ~RaceSelectionDialog() override;

    // 1-based position on the race card of the race chosen with OK.
    int chosenRace() const { return chosenRace_; }
    int raceCount() const { return raceCount_; }
    RaceSource& source() const { return source_; }

    // Card positions (1-based, list order) of the selected rows.
    std::vector<int> selectedRaces() const;
    // Card positions of every row, selected or not.
    std::vector<int> allRaces() const;

    // Marks the race at `position` as the one loaded now: selected, in
    // view and in bold.
    void markLoadedRace(int position);

    QTreeWidget* raceList() const;
    QString raceInfoText() const;

  signals:
    // "JRA-VAN競馬新聞作成" with at least one race selected.
    void newspapersRequested(const std::vector<int>& racePositions);
    // "すべて予想" on a list with at least one race.
    void predictAllRequested(const std::vector<int>& racePositions);

  public slots:
    void accept() override;

  private:
    void fillList();
    void selectAllRaces(bool selected);
    void showRaceInfo();
    void updateSelectionState();
    int selectedCount() const;

    std::unique_ptr<Ui::RaceSelectionDialog> ui_;
    RaceSource& source_;
    UserPrompt& prompt_;
    Shell& shell_;
    int chosenRace_ = 1;
    int raceCount_ = 0;
    bool selecting_ = false; // the select buttons are changing the selection
};

} // namespace zelkor
