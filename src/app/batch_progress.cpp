#include "app/batch_progress.h"

#include <QApplication>
#include <QCoreApplication>

namespace zelkor {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void letWindowsPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title) : dialog_(owner) {
    if (!title.isEmpty())
        dialog_.setWindowTitle(title);
    dialog_.show();
    dialog_.raise();
    letWindowsPaint();
    dialog_.repaint();
}

void ProgressWindow::setText(const std::string& text) {
    dialog_.setText(text);
    letWindowsPaint();
}

void ProgressWindow::setPosition(int position) {
    dialog_.setPosition(position);
    letWindowsPaint();
}

void ProgressWindow::step() {
    dialog_.step();
    letWindowsPaint();
}

} // namespace zelkor
