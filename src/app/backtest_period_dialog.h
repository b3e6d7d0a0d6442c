#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class BacktestPeriodDialog;
}

namespace zelkor {

// Asks which races of the JV-Data store a backtest covers: all of them, or
// the days of a period within the store's first and last race day.
class BacktestPeriodDialog : public QDialog {
    Q_OBJECT
  public:
    // The store's first and last race day (yyyymmdd).
    BacktestPeriodDialog(int firstDate, int lastDate, QWidget* parent = nullptr);
    ~BacktestPeriodDialog() override;

    // The period chosen (yyyymmdd, both inclusive, fromDate <= toDate).
    int fromDate() const;
    int toDate() const;

  private:
    std::unique_ptr<Ui::BacktestPeriodDialog> ui_;
    int firstDate_;
    int lastDate_;
};

} // namespace zelkor
