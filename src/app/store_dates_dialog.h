#pragma once

#include "store/jvdata_store.h"

#include <QDialog>
#include <memory>
#include <vector>

class QTreeWidget;

namespace Ui {
class StoreDatesDialog;
}

namespace zelkor {

// The race days of the JV-Data store, newest first, each with its number of
// races; the user picks the day whose races to open.
class StoreDatesDialog : public QDialog {
    Q_OBJECT
  public:
    StoreDatesDialog(const std::vector<StoreDate>& dates, QWidget* parent = nullptr);
    ~StoreDatesDialog() override;

    // The chosen day (yyyymmdd), or 0 when none is selected.
    int chosenDate() const;
    QTreeWidget* dateList() const;

  private:
    std::unique_ptr<Ui::StoreDatesDialog> ui_;
};

// A race day as the program shows it: "2025年03月01日(土)".
QString storeDateText(int yyyymmdd);

} // namespace zelkor
