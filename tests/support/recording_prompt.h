#pragma once

#include "core/ports.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace zelkor::test {

// UserPrompt that records every message and question (CP932 texts) and
// answers questions from a queue given in advance (No once it is empty).
class RecordingPrompt : public UserPrompt {
  public:
    struct Entry {
        std::string text;
        std::string caption;
        bool question = false;
    };

    void doShowMessage(const std::string& text, const std::string& caption) override {
        entries.push_back({text, caption, false});
    }

    bool doAskYesNo(const std::string& text, const std::string& caption) override {
        entries.push_back({text, caption, true});
        if (answers.empty())
            return false;
        bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    // Texts of everything shown or asked, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Entry& e : entries)
            out.push_back(e.text);
        return out;
    }

    // The only message shown; empty text when there was none or several.
    std::string onlyText() const { return entries.size() == 1 ? entries[0].text : std::string(); }

    std::vector<Entry> entries;
    std::deque<bool> answers;
};

} // namespace zelkor::test
