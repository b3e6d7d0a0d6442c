#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;
class QUrl;

namespace zelkor {

// The modeless window beside the main window that shows the race-sheet page.
// It lives as long as the main window; Enter, Esc and the close box leave it
// open, the user may only move, resize or minimise it.
class PageViewerDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PageViewerDialog(QWidget* owner);

    // Shows the page file (CP932 HTML) at `path`, reading it afresh.
    void showPageFile(const QString& path);
    QString pagePath() const { return pagePath_; }
    QTextBrowser* browser() const { return browser_; }

  signals:
    void helpRequested();
    // A link of the page was clicked; `address` is absolute.
    void linkClicked(const QUrl& address);

  public slots:
    void accept() override {}
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTextBrowser* browser_;
    QString pagePath_;
};

} // namespace zelkor
