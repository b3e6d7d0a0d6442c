#include "app/page_viewer_dialog.h"

#include "app/artwork.h"
#include "app/qt_text.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zelkor {

PageViewerDialog::PageViewerDialog(QWidget* owner)
    // A tool window of its owner: it stays above the main window and the
    // window manager minimises it with that.
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                         Qt::CustomizeWindowHint),
      browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("HTML競馬新聞"));
    setWindowIcon(applicationIcon());
    setModal(false);
    // Shown beside the main window, which keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    // Links (the horse names) go to the default browser, as a click in the
    // page opened in a browser does; the viewer keeps showing the race.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        emit linkClicked(browser_->document()->baseUrl().resolved(link));
    });
    QFont font = browser_->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    browser_->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 420);
}

void PageViewerDialog::showPageFile(const QString& path) {
    pagePath_ = path;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    // Pages are CP932 whatever their meta line says; decode them ourselves so
    // the Japanese text shows correctly.
    QString html = toQt(std::string_view(bytes.constData(), size_t(bytes.size())));
    // Pages write colours as bare hex digits, which browsers accept and the
    // rich-text engine does not.
    static const QRegularExpression bareColour(
        QStringLiteral("\\b((?:bg)?color\\s*=\\s*)\"?([0-9a-fA-F]{6})\"?"),
        QRegularExpression::CaseInsensitiveOption);
    html.replace(bareColour, QStringLiteral("\\1\"#\\2\""));
    // Link addresses are written unquoted; a browser reads them up to the
    // next ASCII blank, the rich-text engine only up to the first "=".
    static const QRegularExpression bareHref(QStringLiteral("\\bhref=([^ \t\r\n\"'>]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    html.replace(bareHref, QStringLiteral("href=\"\\1\""));
    browser_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + u'/'));
    const int scroll = browser_->verticalScrollBar() ? browser_->verticalScrollBar()->value() : 0;
    browser_->setHtml(html);
    browser_->verticalScrollBar()->setValue(scroll);
}

void PageViewerDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void PageViewerDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        emit helpRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace zelkor
