#include "app/page_viewer.h"

#include "app/qt_text.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <cmath>

namespace zelkor {

namespace {

// Wide enough for the race table of the race-sheet page but its margins,
// in the screen's own pixels; a narrower screen leaves the form its width.
constexpr int kViewerWidth = 540;

} // namespace

PageViewer::PageViewer(QWidget* parent)
    : QDockWidget(QStringLiteral("HTML競馬新聞"), parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("viewerDock"));
    setAllowedAreas(Qt::RightDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    toggleViewAction()->setText(QStringLiteral("HTML競馬新聞(&H)"));
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    // Links (the horse names) go to the default browser, as a click in the
    // page opened in a browser does; the viewer keeps showing the race.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        emit linkClicked(browser_->document()->baseUrl().resolved(link));
    });
    const qreal ratio = parent ? parent->devicePixelRatioF() : devicePixelRatioF();
    browser_->setMinimumWidth(int(std::ceil(kViewerWidth / ratio)));
    setWidget(browser_);
}

void PageViewer::showPageFile(const QString& path) {
    // Pages are set in a smaller type, chosen with the first page: the
    // empty viewer shows no text, and a font of its own cost the window a
    // font lookup before it could first be shown.
    if (!pageFontSet_) {
        QFont font = browser_->font();
        font.setPointSizeF(font.pointSizeF() * 0.9);
        browser_->setFont(font);
        pageFontSet_ = true;
    }
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

void PageViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        emit helpRequested();
        return;
    }
    // Esc is the main window's exit key, not the viewer's.
    if (event->key() == Qt::Key_Escape)
        return;
    QDockWidget::keyPressEvent(event);
}

} // namespace zelkor
