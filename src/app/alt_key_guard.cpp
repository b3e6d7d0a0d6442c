#include "app/alt_key_guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace zelkor {

AltKeyGuard::AltKeyGuard(QObject* owner) : QObject(owner) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool AltKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    // An open menu takes Alt+letter as the mnemonic of its item.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        qobject_cast<QMenu*>(watched))
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers();
    // Alt with Ctrl is AltGr on some keyboards, which does type characters;
    // Alt+arrows and other keys without text (Alt+Down opens a list) pass.
    if (!(mods & Qt::AltModifier) || (mods & (Qt::ControlModifier | Qt::MetaModifier)) ||
        key->text().isEmpty() || !key->text().front().isPrint())
        return false;
    QApplication::beep();
    return true;
}

} // namespace zelkor
