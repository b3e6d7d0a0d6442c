#pragma once

#include <QStackedWidget>

class QLabel;
class QTreeWidget;
class QWidget;

namespace zelkor {

class RaceSession;
class Shell;
struct RaceValues;

// The 勝率・期待値 tab beside the ranking: each runner's chances and what a
// ticket returns at the odds, or one line saying why there are none.
class ChancesView : public QStackedWidget {
    Q_OBJECT
  public:
    enum Column : int {
        kHorseColumn,
        kNameColumn,
        kWinColumn,
        kPlaceColumn,
        kWinOddsColumn,
        kPlaceOddsColumn,
        kWinReturnColumn,
        kPlaceReturnColumn,
        kValueColumn,
        kColumns
    };

    explicit ChancesView(QWidget* parent = nullptr);

    // The chances keep their unrounded value under Qt::UserRole.
    void showRace(const RaceValues& race);
    void showReason(const QString& text);
    // The line of a race not predicted yet.
    void showNotPredicted();

    // The ranking beside it sizes the tabs and the window.
    QSize sizeHint() const override { return {0, 0}; }

    QTreeWidget* table() const { return table_; }
    QLabel* reason() const { return reason_; }

  private:
    QTreeWidget* table_;
    QLabel* reason_;
};

// Shows the chances of the session's race, estimated from the store's races
// before its day, under a progress window over `owner` (a model may have to
// be fitted first). A race from elsewhere, or a day with too little history,
// shows why instead.
void showChancesOfRace(QWidget* owner, const RaceSession& session, Shell& shell, ChancesView& view);

} // namespace zelkor
