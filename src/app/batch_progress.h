#pragma once

#include "core/ports.h"

#include <QString>
#include <functional>

class QWidget;

namespace zelkor {

// The wait cursor for as long as the guard lives.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A library call that takes long: it gets the ports it talks through.
using BatchJob = std::function<void(UserPrompt& prompt, ProgressSink& progress, Shell& shell)>;

// Runs `job` on a worker thread under a modal progress window over `owner`
// (titled `title` when not "保存中...") and returns when it has ended. The
// window keeps being drawn and its キャンセル makes `progress.cancelled()`
// true; being modal, it refuses every other command meanwhile. The job's
// questions, messages, progress and pages reach `prompt`, the window and
// `shell` on the GUI thread, the job waiting for each.
void runBatchJob(QWidget* owner, const QString& title, UserPrompt& prompt, Shell& shell,
                 const BatchJob& job);

} // namespace zelkor
