#pragma once

#include <QDockWidget>
#include <QString>

class QTextBrowser;
class QUrl;

namespace zelkor {

// The race-sheet page (HTML競馬新聞) as a dock of the main window, on its
// right. The user may float it as a window of its own, close it and bring
// it back from the 表示 menu (toggleViewAction()).
class PageViewer : public QDockWidget {
    Q_OBJECT
  public:
    explicit PageViewer(QWidget* parent);

    // Shows the page file (CP932 HTML) at `path`, reading it afresh.
    void showPageFile(const QString& path);
    QString pagePath() const { return pagePath_; }
    QTextBrowser* browser() const { return browser_; }

  signals:
    void helpRequested();
    // A link of the page was clicked; `address` is absolute.
    void linkClicked(const QUrl& address);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTextBrowser* browser_;
    QString pagePath_;
    bool pageFontSet_ = false;
};

} // namespace zelkor
