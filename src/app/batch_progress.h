#pragma once

#include "app/progress_dialog.h"
#include "core/ports.h"

#include <QWidget>

namespace zelkor {

// The wait cursor for as long as the guard lives.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Lets the window system draw what changed (the progress window, the form,
// the viewer) while a batch job keeps the one thread busy. The user's
// input waits, so nothing can start a second job in between.
void letWindowsPaint();

// The progress window of a batch job, drawn after every change.
class ProgressWindow : public ProgressSink {
  public:
    // `title` names the job when it is not "保存中...".
    explicit ProgressWindow(QWidget* owner, const QString& title = {});
    void setText(const std::string& text) override;
    void setPosition(int position) override;
    void setStep(int step) override { dialog_.setStep(step); }
    void step() override;

  private:
    ProgressDialog dialog_;
};

} // namespace zelkor
