#include "app/batch_progress.h"

#include "app/progress_dialog.h"

#include <QApplication>
#include <QThread>
#include <atomic>
#include <memory>

namespace zelkor {

namespace {

// Runs `call` on the GUI thread and waits for it to end.
void onGuiThread(const std::function<void()>& call) {
    if (QThread::currentThread() == qApp->thread())
        call();
    else
        QMetaObject::invokeMethod(qApp, call, Qt::BlockingQueuedConnection);
}

class GuiThreadPrompt : public UserPrompt {
  public:
    explicit GuiThreadPrompt(UserPrompt& target) : target_(target) {}
    void doShowMessage(const std::string& text, const std::string& caption) override {
        onGuiThread([&] { target_.showMessage(text, caption); });
    }
    void doShowNote(const std::string& text, MessageIcon icon, const std::string& caption) override {
        onGuiThread([&] { target_.showNote(text, icon, caption); });
    }
    bool doAskYesNo(const std::string& text, const std::string& caption) override {
        bool yes = false;
        onGuiThread([&] { yes = target_.askYesNo(text, caption); });
        return yes;
    }

  private:
    UserPrompt& target_;
};

class GuiThreadShell : public Shell {
  public:
    explicit GuiThreadShell(Shell& target) : target_(target) {}
    void openDocument(const std::string& path) override {
        onGuiThread([&] { target_.openDocument(path); });
    }
    void openUrl(const std::string& url) override {
        onGuiThread([&] { target_.openUrl(url); });
    }

  private:
    Shell& target_;
};

// The progress window seen from the worker, with the flag its キャンセル sets.
class GuiThreadProgress : public ProgressSink {
  public:
    explicit GuiThreadProgress(ProgressDialog& dialog) : dialog_(dialog) {}
    void setText(const std::string& text) override {
        onGuiThread([&] { dialog_.setText(text); });
    }
    void setPosition(int position) override {
        onGuiThread([&] { dialog_.setPosition(position); });
    }
    void setStep(int step) override {
        onGuiThread([&] { dialog_.setStep(step); });
    }
    void step() override {
        onGuiThread([&] { dialog_.step(); });
    }
    bool cancelled() const override { return cancelled_; }
    void cancel() { cancelled_ = true; }

  private:
    ProgressDialog& dialog_;
    std::atomic<bool> cancelled_ = false;
};

} // namespace

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void runBatchJob(QWidget* owner, const QString& title, UserPrompt& prompt, Shell& shell,
                 const BatchJob& job) {
    ProgressDialog dialog(owner);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.offerCancel();
    GuiThreadPrompt guiPrompt(prompt);
    GuiThreadShell guiShell(shell);
    GuiThreadProgress progress(dialog);
    QObject::connect(&dialog, &ProgressDialog::cancelRequested, &dialog,
                     [&progress] { progress.cancel(); });
    const std::unique_ptr<QThread> worker(
        QThread::create([&] { job(guiPrompt, progress, guiShell); }));
    QObject::connect(worker.get(), &QThread::finished, &dialog, &QDialog::accept);
    worker->start();
    dialog.exec();
    // The window's loop also ends when the program quits: the job is told
    // to stop, its last calls to the GUI thread still answered.
    while (!worker->wait(20)) {
        progress.cancel();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

} // namespace zelkor
