#include "app_fakes.h"

#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/qt_translation.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

namespace zelkor::test {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    // The screenshot programs make their own application first.
    static const bool made = [] {
        if (!QCoreApplication::instance())
            new QApplication(argc, argv);
        installJapaneseQtTexts();
        return true;
    }();
    (void)made;
}

void typeThroughInputMethod(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

void typeInRace(MainWindow& window, const RaceSheet& race) {
    window.session().setRaceFields(race);
    for (int horse = 1; horse <= kMaxRunners; ++horse)
        window.session().setRunner(horse, race.runner(horse));
    window.form().commit();
}

WindowUnderTest::WindowUnderTest() {
    ensureApplication();
    window = std::make_unique<MainWindow>(folder(), AppServices{prompt, shell, files});
    window->start(QString());
    // The viewer appears once the main window is on screen; the keyboard
    // then belongs to the main window, as after the first-use note.
    (void)QTest::qWaitFor([this] { return window->viewer().isVisible(); });
    window->activateWindow();
    (void)QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); });
}

WindowUnderTest::~WindowUnderTest() = default;

std::string WindowUnderTest::folder() const {
    return dir.path().toStdString() + "/";
}

} // namespace zelkor::test
