#include "app_fakes.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

namespace zelkor::test {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void typeThroughInputMethod(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

WindowUnderTest::WindowUnderTest() {
    ensureApplication();
    window = std::make_unique<MainWindow>(folder(), AppServices{prompt, shell, files});
    window->start(QString());
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
}

WindowUnderTest::~WindowUnderTest() = default;

std::string WindowUnderTest::folder() const {
    return dir.path().toStdString() + "/";
}

} // namespace zelkor::test
