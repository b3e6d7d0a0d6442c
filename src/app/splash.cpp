#include "app/splash.h"

#include "app/artwork.h"

#include <QEventLoop>
#include <QSplashScreen>
#include <QTimer>

namespace zelkor {

void showSplashFor3Seconds() {
    QSplashScreen splash(splashPicture());
    splash.show();
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    splash.close();
}

} // namespace zelkor
