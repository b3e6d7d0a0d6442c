#include "app/splash.h"

#include "app/artwork.h"

#include <QEventLoop>
#include <QSplashScreen>
#include <QTimer>

namespace zelkor {

namespace {

// The start picture; a click on it ends the wait.
class Splash : public QSplashScreen {
  public:
    Splash(const QPixmap& picture, QEventLoop& wait) : QSplashScreen(picture), wait_(wait) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QSplashScreen::mousePressEvent(event);
        wait_.quit();
    }

  private:
    QEventLoop& wait_;
};

} // namespace

void showSplashFor3Seconds() {
    QEventLoop wait;
    Splash splash(splashPicture(), wait);
    splash.show();
    QTimer::singleShot(3000, &wait, &QEventLoop::quit);
    wait.exec();
    splash.close();
}

} // namespace zelkor
