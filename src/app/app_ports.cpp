#include "app/app_ports.h"

#include "app/qt_text.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace zelkor {

void QtUserPrompt::showMessage(const std::string& text, const std::string& caption) {
    showNote(text, MessageIcon::Warning, caption);
}

void QtUserPrompt::showNote(const std::string& text, MessageIcon icon, const std::string& caption) {
    const QMessageBox::Icon shown = icon == MessageIcon::Question      ? QMessageBox::Question
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::Warning;
    QMessageBox box(shown, toQt(caption), messageDisplayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

QString messageDisplayText(const std::string& text) {
    QString shown = toQt(text);
    for (qsizetype i = 1; i + 1 < shown.size(); ++i) {
        if (shown[i] == u'\n' && shown[i - 1] != u'\n' && shown[i - 1] != u'\r' &&
            shown[i - 1] != u'。' && shown[i + 1] != u'\n')
            shown.remove(i--, 1);
    }
    return shown;
}

SaveChoice QtUserPrompt::askSaveChanges() {
    QMessageBox box(QMessageBox::Question, toQt(kAppTitle), QStringLiteral("変更を保存しますか？"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存(&S)"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない(&N)"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル(&C)"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void QtUserPrompt::showReport(const std::string& heading, const std::string& table,
                              const std::string& details, const std::string& caption) {
    QMessageBox box(QMessageBox::Information, toQt(caption), QString(), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p>%1</p><pre>%2</pre>")
                    .arg(toQt(heading).toHtmlEscaped(), toQt(table).remove(u'\r').toHtmlEscaped()));
    box.setDetailedText(toQt(details).remove(u'\r'));
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
