#pragma once

#include "core/ports.h"
#include "core/settings.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class NewspaperSettingsDialog;
}

namespace zelkor {

// Edits every setting but the first-use flag on three tabs. OK copies the
// values into the settings it was given; the caller writes the file.
// Opening already corrects an edition outside 1..3 and a past-run count
// below 1 in those settings, even when the dialog is then cancelled.
class NewspaperSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    NewspaperSettingsDialog(AppSettings& settings, Shell& shell, std::string programFolder,
                            QWidget* parent = nullptr);
    ~NewspaperSettingsDialog() override;

    // URL1 + test name + URL2, as the test address field shows it.
    QString testAddress() const;

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateTestAddress();
    void resetAddress();
    void connectionTest();

    std::unique_ptr<Ui::NewspaperSettingsDialog> ui_;
    AppSettings& settings_;
    Shell& shell_;
    std::string programFolder_;
};

} // namespace zelkor
