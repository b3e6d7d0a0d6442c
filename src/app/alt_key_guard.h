#pragma once

#include <QObject>

namespace zelkor {

// Keeps Alt+letter away from the fields of every window of the program.
// Such a key is a command's or a control's mnemonic; when none takes it (its
// command is greyed, or no command has that letter) Qt hands it to the
// focused control as a typed letter, which a text field inserts and a list
// searches for. The guard drops it there instead, with a beep.
class AltKeyGuard : public QObject {
  public:
    // Watches the keys of the whole application while `owner` lives.
    explicit AltKeyGuard(QObject* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zelkor
