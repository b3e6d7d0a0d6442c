// The desktop program's start without the splash, from a fresh process to
// its window shown, against the same for an empty Qt main window. Each
// iteration forks a child that starts from nothing and ends once its window
// is exposed; the parent times it. Offscreen unless QT_QPA_PLATFORM says
// otherwise (run it under tests/app/with_window_manager.sh for X).
#include "app/app_ports.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_translation.h"
#include "core/settings.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor {
namespace {

// Returns once `window` is on screen.
void waitUntilExposed(QWidget& window) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void emptyWindow() {
    int argc = 1;
    char name[] = "empty";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QMainWindow window;
    waitUntilExposed(window);
}

// The program folder of a second start: settings written, no first-use note.
const std::string& programFolder() {
    static QTemporaryDir dir;
    static const std::string folder = [] {
        const std::string path = dir.path().toStdString() + "/";
        AppSettings settings = defaultSettings();
        settings.showFirstUseMessage = 0;
        writeSettings(settings, path + kConfigFileName);
        return path;
    }();
    return folder;
}

void desktopStart() {
    int argc = 1;
    char name[] = "zelkor2k";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    installJapaneseQtTexts();
    QtUserPrompt prompt;
    QtShell shell;
    QtFileChooser files;
    MainWindow window(programFolder(), AppServices{prompt, shell, files});
    window.start(QString());
    waitUntilExposed(window);
}

void timeChildren(benchmark::State& state, void (*start)()) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            start();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("the child did not start");
    }
}

void BM_EmptyQtWindow(benchmark::State& state) {
    timeChildren(state, emptyWindow);
}
BENCHMARK(BM_EmptyQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DesktopStartWithoutSplash(benchmark::State& state) {
    programFolder();
    timeChildren(state, desktopStart);
}
BENCHMARK(BM_DesktopStartWithoutSplash)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
} // namespace zelkor

BENCHMARK_MAIN();
