#pragma once

// Driving modal dialogs from a test: acting on one as soon as it shows and
// clicking its buttons where a user would.
#include "app/progress_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace zelkor::test {

// A file of the source tree (ZELKOR_SOURCE_DIR, set by CTest).
inline std::string sourceFile(const char* relative) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + relative;
}

// Runs `action` on the modal dialog of type D as soon as one is shown. A
// dialog the action leaves open is cancelled, so a failed expectation
// cannot hang the test. The watch ends with `owner`.
template <class D> QTimer* whenModal(QObject* owner, std::function<void(D&)> action) {
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        (void)QTest::qWaitForWindowExposed(dialog);
        action(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
    return timer;
}

inline void clickButton(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    // Check boxes on their box, where a user clicks.
    const bool box = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      box ? QPoint(6, button->height() / 2) : button->rect().center());
}

// Presses キャンセル on the next progress window once its bar has moved
// `moves` times; the job waits for each move to be shown, so it stops there.
struct CancelProgressAfter : QObject {
    explicit CancelProgressAfter(int moves) : left(moves) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<ProgressDialog*>(watched);
        if (dialog && event->type() == QEvent::Show)
            connect(dialog->findChild<QProgressBar*>(), &QProgressBar::valueChanged, dialog,
                    [this, dialog] {
                        if (--left == 0)
                            clickButton(*dialog, "cancelButton");
                    });
        return false;
    }
    int left;
};

} // namespace zelkor::test
