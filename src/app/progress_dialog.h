#pragma once

#include "core/ports.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zelkor {

// "保存中..." window that the batch page writers drive while they write
// several pages. It has no close box: it goes when its owner destroys it.
// With offerCancel, its キャンセル button (or Esc) asks the job to stop.
class ProgressDialog : public QDialog, public ProgressSink {
    Q_OBJECT
  public:
    explicit ProgressDialog(QWidget* owner);

    void setText(const std::string& text) override;
    void setPosition(int position) override;
    void setStep(int step) override;
    void step() override;

    // The text as set, and as shown (long lines shortened in the middle).
    QString text() const;
    QString shownText() const;
    int position() const;
    // Shows the キャンセル button.
    void offerCancel();

  signals:
    // キャンセル was pressed (once; the button is then disabled).
    void cancelRequested();

  public slots:
    void reject() override;

  private:
    QPushButton* cancel_;
    static constexpr int kMessageWidth = 360;
    QLabel* message_;
    QString text_;
    QProgressBar* bar_;
    int step_ = 10; // the platform's default step
};

} // namespace zelkor
