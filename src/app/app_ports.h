#pragma once

#include "core/ports.h"

class QWidget;

namespace zelkor {

// Message boxes over the main window. Texts and captions are CP932.
class QtUserPrompt : public UserPrompt {
  public:
    explicit QtUserPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text, const std::string& caption = kAppTitle) override;
    bool askYesNo(const std::string& text, const std::string& caption = kAppTitle) override;
    void showNote(const std::string& text, MessageIcon icon,
                  const std::string& caption = kAppTitle) override;

  private:
    QWidget* parent_;
};

// The platform's default action: the browser for pages and addresses.
class QtShell : public Shell {
  public:
    void openDocument(const std::string& path) override;
    void openUrl(const std::string& url) override;
};

} // namespace zelkor
