#pragma once

#include "core/ports.h"

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

namespace zelkor {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    AboutDialog(Shell& shell, QWidget* parent);
    ~AboutDialog() override;

  private:
    std::unique_ptr<Ui::AboutDialog> ui_;
    Shell& shell_;
};

} // namespace zelkor
