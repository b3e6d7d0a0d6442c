// The desktop program's start without the splash, from a fresh process to
// its window shown, against the same for an empty Qt main window and for
// one showing a line of Japanese text (which loads a font and fills the
// screen, as the program's window does). Each
// iteration forks a child that starts from nothing and ends once its window
// is first exposed; the parent times it up to that moment. Offscreen unless QT_QPA_PLATFORM says
// otherwise (run it under tests/app/with_window_manager.sh for X).
#include "app/app_ports.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_translation.h"
#include "second_start_folder.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor {
namespace {

// The moment a window of this process has been first exposed and painted,
// sent to the parent through a pipe; the child then ends at once, without
// tearing anything down, since an exiting program is not part of its start.
class ShownClock : public QObject {
  public:
    explicit ShownClock(int pipe) : pipe_(pipe) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* window = qobject_cast<QWindow*>(object);
        if (event->type() != QEvent::Expose || !window || !window->isExposed())
            return false;
        // Handed to the window first, which paints it, then timed.
        qApp->removeEventFilter(this);
        QCoreApplication::sendEvent(window, event);
        const double times[] = {seconds(), cpuSeconds()};
        ::_exit(::write(pipe_, times, sizeof times) == sizeof times ? 0 : 1);
    }
    // The process's own processor time, which other load on the machine
    // hardly changes.
    static double cpuSeconds() {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const auto s = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        return s(usage.ru_utime) + s(usage.ru_stime);
    }
    static double seconds() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

  private:
    int pipe_;
};

// Sleeps between events, as the program does while its window is being
// shown: polling would add processor time the window's start does not take.
void runUntilShown() {
    for (;;)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// A plain main window, shown; `fill` gives it what it shows.
void plainWindow(int pipe, void (*fill)(QMainWindow&)) {
    int argc = 1;
    char name[] = "plain";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ShownClock clock(pipe);
    QMainWindow window;
    fill(window);
    window.show();
    runUntilShown();
}

void emptyWindow(int pipe) {
    plainWindow(pipe, [](QMainWindow&) {});
}

// The least a window of Japanese text takes: one line of it in a window
// as large as the program's.
void labelWindow(int pipe) {
    plainWindow(pipe, [](QMainWindow& window) {
        window.setCentralWidget(new QLabel(QStringLiteral("ゼルコ馬予想 出走馬 登録馬ファイル")));
        window.resize(window.screen()->availableGeometry().size() * 9 / 10);
    });
}

void desktopStart(int pipe) {
    int argc = 1;
    char name[] = "zelkor2k";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ShownClock clock(pipe);
    installJapaneseQtTexts();
    QtUserPrompt prompt;
    QtShell shell;
    QtFileChooser files;
    MainWindow window(secondStartFolder(), AppServices{prompt, shell, files});
    window.start(QString());
    runUntilShown();
}

void timeChildren(benchmark::State& state, void (*start)(int)) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    double cpu = 0;
    for (auto _ : state) {
        int pipe[2];
        if (::pipe(pipe) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const double begin = ShownClock::seconds();
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            start(pipe[1]);
            ::_exit(1);
        }
        ::close(pipe[1]);
        double times[2] = {};
        const bool told = ::read(pipe[0], times, sizeof times) == sizeof times;
        ::close(pipe[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!told || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not show its window");
            return;
        }
        state.SetIterationTime(times[0] - begin);
        cpu += times[1];
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

void BM_EmptyQtWindow(benchmark::State& state) {
    timeChildren(state, emptyWindow);
}
BENCHMARK(BM_EmptyQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_JapaneseLineWindow(benchmark::State& state) {
    timeChildren(state, labelWindow);
}
BENCHMARK(BM_JapaneseLineWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DesktopStartWithoutSplash(benchmark::State& state) {
    secondStartFolder();
    timeChildren(state, desktopStart);
}
BENCHMARK(BM_DesktopStartWithoutSplash)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
} // namespace zelkor

BENCHMARK_MAIN();
