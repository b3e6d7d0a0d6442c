#include "app/app_ports.h"

#include "app/qt_text.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

namespace zelkor {

namespace {

// A box as wide as its caption with the frame's buttons beside it: the
// window manager cuts a caption wider than the box ("…コ馬 2000").
void fitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QFontMetrics metrics(box.font());
    const int wanted = metrics.horizontalAdvance(box.windowTitle()) + metrics.height() * 8;
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

void QtUserPrompt::doShowMessage(const std::string& text, const std::string& caption) {
    showNote(text, MessageIcon::Warning, caption);
}

void QtUserPrompt::doShowNote(const std::string& text, MessageIcon icon, const std::string& caption) {
    const QMessageBox::Icon shown = icon == MessageIcon::Question      ? QMessageBox::Question
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::Warning;
    QMessageBox box(shown, toQt(caption), messageDisplayText(text), QMessageBox::Ok, parent_);
    fitCaption(box);
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
    fitCaption(box);
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
    fitCaption(box);
    box.exec();
}

int QtUserPrompt::askChoice(const std::string& text, const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::Question, toQt(kAppTitle), messageDisplayText(text),
                    QMessageBox::Cancel, parent_);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    std::vector<QAbstractButton*> buttons;
    for (const std::string& choice : choices)
        buttons.push_back(box.addButton(toQt(choice), QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    box.setEscapeButton(QMessageBox::Cancel);
    fitCaption(box);
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? -1 : int(chosen - buttons.begin());
}

bool QtUserPrompt::doAskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, toQt(caption), toQt(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    fitCaption(box);
    return box.exec() == QMessageBox::Yes;
}

void QtShell::openDocument(const std::string& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(fromNativePath(path))))
        tellNotStarted(fromNativePath(path));
}

void QtShell::openUrl(const std::string& url) {
    if (!QDesktopServices::openUrl(QUrl(toQt(url))))
        tellNotStarted(toQt(url));
}

} // namespace zelkor
