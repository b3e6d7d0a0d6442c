#pragma once

#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/race_session.h"
#include "core/ports.h"
#include "ui_main_form.h"

#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelkor::test {

// The one QApplication of the test program, made on first use.
void ensureApplication();

// Types Japanese text as the input method does: one committed string.
void typeThroughInputMethod(QWidget* widget, const QString& text);

// Enters `race` as the form does, its race fields and runners 1..18, then
// commits the form, which rewrites the page.
void typeInRace(MainWindow& window, const RaceSheet& race);

// Records every message and answers questions from a script (No, and
// 保存しない, when the script is empty).
class RecordingAppPrompt : public AppPrompt {
  public:
    void doShowMessage(const std::string& text, const std::string& caption) override {
        showNote(text, MessageIcon::Warning, caption);
    }
    void doShowNote(const std::string& text, MessageIcon icon, const std::string& caption) override {
        messages.push_back(text);
        icons.push_back(icon);
        captions.push_back(caption);
        if (onNote)
            onNote();
    }
    bool doAskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(text);
        captions.push_back(caption);
        if (answers.empty())
            return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    SaveChoice askSaveChanges() override {
        ++saveQuestions;
        if (saveChoices.empty())
            return SaveChoice::Discard;
        SaveChoice c = saveChoices.front();
        saveChoices.pop_front();
        return c;
    }
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons; // one per message
    std::vector<std::string> questions;
    std::vector<std::string> captions;
    std::deque<bool> answers;
    std::function<void()> onNote; // called as each note is shown
    void showReport(const std::string& heading, const std::string& table,
                    const std::string& details, const std::string& caption) override {
        showNote(heading + "\n" + table, MessageIcon::Information, caption);
        reportDetails.push_back(details);
    }
    int askChoice(const std::string& text, const std::vector<std::string>&) override {
        questions.push_back(text);
        const int c = choices.empty() ? -1 : choices.front();
        if (!choices.empty())
            choices.pop_front();
        return c;
    }
    std::deque<int> choices; // answers to askChoice; cancel when empty
    int saveQuestions = 0;
    std::deque<SaveChoice> saveChoices;
    std::vector<std::string> reportDetails; // one per report, which is also a message
};

// Records what the browser was asked to open; with `fails`, says that no
// browser could be started for it.
class RecordingShell : public AppShell {
  public:
    void openDocument(const std::string& path) override {
        documents.push_back(path);
        if (fails)
            tellNotStarted(QString::fromStdString(path));
    }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    std::vector<std::string> documents;
    std::vector<std::string> urls;
    bool fails = false;
};

// Answers file dialogs with scripted paths (cancel when none is left) and
// keeps what each dialog was asked to show.
class ScriptedFileChooser : public FileChooser {
  public:
    QString chooseOpenFile(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return next();
    }
    QString chooseSaveFile(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return next();
    }
    // One scripted path (a file or a folder) a dialog.
    QStringList chooseOpenPaths(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        const QString path = next();
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    std::deque<QString> paths;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

  private:
    QString next() {
        if (paths.empty())
            return {};
        QString p = paths.front();
        paths.pop_front();
        return p;
    }
};

// A started main window over a fresh program folder.
struct WindowUnderTest {
    WindowUnderTest();
    ~WindowUnderTest();

    std::string folder() const;

    QTemporaryDir dir;
    RecordingAppPrompt prompt;
    RecordingShell shell;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> window;
};

} // namespace zelkor::test
