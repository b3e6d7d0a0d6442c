#pragma once

#include <string>

namespace zelkor {

// The application title, used as the caption of every message box that has
// none of its own.
inline constexpr const char* kAppTitle = "Qorvex - ゼルコ馬 2000";

// The icon beside the text of a message box.
enum class MessageIcon { Information, Question, Warning };

// How the libraries talk to a user without knowing the GUI. All texts are
// CP932. The front ends implement these; tests use recording fakes.
class UserPrompt {
  public:
    virtual ~UserPrompt() = default;
    // What went wrong, with an OK button (a warning).
    void showMessage(const std::string& text, const std::string& caption = kAppTitle) {
        doShowMessage(text, caption);
    }
    // A note with an OK button and the given icon.
    void showNote(const std::string& text, MessageIcon icon, const std::string& caption = kAppTitle) {
        doShowNote(text, icon, caption);
    }
    // Yes/No question with a question icon and No as the default.
    bool askYesNo(const std::string& text, const std::string& caption = kAppTitle) {
        return doAskYesNo(text, caption);
    }

  private:
    // The captions' default lives in the calls above only: a default on a
    // virtual would be taken from the caller's static type.
    virtual void doShowMessage(const std::string& text, const std::string& caption) = 0;
    // Front ends without icons show a note as any message.
    virtual void doShowNote(const std::string& text, MessageIcon icon, const std::string& caption) {
        (void)icon;
        doShowMessage(text, caption);
    }
    virtual bool doAskYesNo(const std::string& text, const std::string& caption) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openDocument(const std::string& path) = 0;
    virtual void openUrl(const std::string& url) = 0;
};

class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setStep(int step) = 0;
    virtual void step() = 0;
    // Whether the user asked to stop the job (キャンセル, Ctrl+C). The
    // libraries ask between files and races, then undo what they half did
    // and tell so. Asked from the thread the job runs on.
    virtual bool cancelled() const { return false; }
};

} // namespace zelkor
