#include "app/app_ports.h"

#include "app/qt_text.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace zelkor {

void QtUserPrompt::showMessage(const std::string& text, const std::string& caption) {
    showNote(text, MessageIcon::Warning, caption);
}

void QtUserPrompt::showNote(const std::string& text, MessageIcon icon, const std::string& caption) {
    const QMessageBox::Icon shown = icon == MessageIcon::Question      ? QMessageBox::Question
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::Warning;
    QMessageBox box(shown, toQt(caption), toQt(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtUserPrompt::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, toQt(caption), toQt(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtShell::openDocument(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(fromNativePath(path)));
}

void QtShell::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(toQt(url)));
}

} // namespace zelkor
