#pragma once

#include "core/ports.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace zelkor {

// The answer to "変更を保存しますか？".
enum class SaveChoice { Save, Discard, Cancel };

// The questions of the desktop program beyond the libraries' ones.
class AppPrompt : public UserPrompt {
  public:
    // Asked before a command replaces a race changed since it was last
    // saved or loaded: 保存 / 保存しない / キャンセル.
    virtual SaveChoice askSaveChanges() = 0;
    // A report with an OK button: `heading`, then `table` in a fixed-pitch
    // font (columns aligned by CP932 bytes), with `details` (may be empty)
    // behind the box's details button.
    virtual void showReport(const std::string& heading, const std::string& table,
                            const std::string& details, const std::string& caption) = 0;
    // A question answered by one of `choices` (button texts) or キャンセル:
    // the index of the choice, or -1 when cancelled.
    virtual int askChoice(const std::string& text, const std::vector<std::string>& choices) = 0;
};

// Message boxes over the main window. Texts and captions are CP932; a line
// break inside a sentence is left to the box's own wrapping.
class QtUserPrompt : public AppPrompt {
  public:
    explicit QtUserPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void doShowMessage(const std::string& text, const std::string& caption) override;
    bool doAskYesNo(const std::string& text, const std::string& caption) override;
    SaveChoice askSaveChanges() override;
    void showReport(const std::string& heading, const std::string& table,
                    const std::string& details, const std::string& caption) override;
    int askChoice(const std::string& text, const std::vector<std::string>& choices) override;
    void doShowNote(const std::string& text, MessageIcon icon,
                  const std::string& caption) override;

  private:
    QWidget* parent_;
};

// The text of a message as a box shows it: a lone line feed inside a
// sentence (not after "。", not doubled) joins the lines, so the box breaks
// them where its width needs; CR LF and blank lines stay.
QString messageDisplayText(const std::string& text);

// The platform's default action for a page or an address, which tells
// `notStarted` (when set) of one no program could be started for.
class AppShell : public Shell {
  public:
    std::function<void(const QString& target)> notStarted;

  protected:
    void tellNotStarted(const QString& target) {
        if (notStarted)
            notStarted(target);
    }
};

// The platform's default action: the browser for pages and addresses.
class QtShell : public AppShell {
  public:
    void openDocument(const std::string& path) override;
    void openUrl(const std::string& url) override;
};

} // namespace zelkor
