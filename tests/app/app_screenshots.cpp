// Draws the documentation screenshots: the main window with a predicted
// 18-runner race, the viewer, and both as a window manager shows them. Run
// on an X server with a window manager (scripts/screenshots.sh):
//   tests/app/with_window_manager.sh build/bin/app_screenshots docs
#include "app/main_form.h"
#include "app/main_window.h"
#include "app/page_viewer.h"
#include "app_fakes.h"
#include "text/format.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>

using namespace zelkor;

namespace {

// Invented horses of a made-up 有馬記念 field.
const char* const kNames[] = {
    "ハヤテノツバサ", "ミヤビクイーン", "アカツキボーイ", "ソラノカケハシ", "クモマノヒカリ",
    "シロガネオー",   "ユメミルダイチ", "カゼノサムライ", "ホシアカリ",     "ツキノミチ",
    "ナミダノミサキ", "ヒノデマル",     "アオバノチカイ", "コガネノヤマ",   "サクラフブキ",
    "イナズマキッド", "ハルカゼスター", "モミジガリ"};

RaceSheet sampleRace() {
    RaceSheet s;
    s.raceName = "有馬記念";
    s.racecourse = "中山";
    s.raceNumber = 11;
    s.grade = 0;
    s.ageLimit = 1;
    s.sexLimit = 0;
    s.weightRule = 3;
    s.surface = 0;
    s.distance = 15;
    s.runnerCount = s.liveRunnerCount = 18;
    for (int h = 1; h <= 18; ++h) {
        RunnerEntry& r = s.runner(h);
        r.name = kNames[h - 1];
        r.sex = h % 6 == 0 ? Sex::Filly : Sex::Colt;
        r.age = 1 + h % 4;
        r.weight = 20 + (h % 3 == 0 ? -4 : 0);
        r.runningStyle = static_cast<RunningStyle>(h % 5);
        r.aptitudeDistance = 10 + (h * 3) % 9;
        r.oddsBand = (h * 7) % 15;
        for (int k = 0; k < 2; ++k) {
            PastRun& p = r.pastRuns[size_t(k)];
            p.kind = (h == 4 && k == 0) ? PastRunKind::Rested : PastRunKind::Race;
            p.finish = (h * (5 + k * 6)) % 16;
            p.fieldSize = 12 + k;
            p.popularity = (h * (3 + k)) % 16;
            p.distance = 12 + (h + k) % 6;
            p.raceClass = (h + k) % 4;
            p.weight = 20 + (h * (k + 1)) % 5;
            p.timeDiff = p.finish == 0 ? 0 : (h * (2 + k)) % 22;
        }
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    test::WindowUnderTest ui;
    MainWindow& w = *ui.window;
    test::typeInRace(w, sampleRace());
    emit w.session().raceNamed(QStringLiteral("有馬記念"));
    w.predict();
    w.form().ui().resultList->setCurrentItem(w.form().ui().resultList->topLevelItem(0));
    w.bets();
    QTest::qWait(300);
    const bool a = w.grab().save(out + QStringLiteral("/main_window.png"));
    const bool b = w.viewer().grab().save(out + QStringLiteral("/viewer.png"));
    // The window as the window manager framed and placed it.
    const QRect both = w.frameGeometry();
    const bool c = w.screen()
                       ->grabWindow(0, both.x(), both.y(), both.width(), both.height())
                       .save(out + QStringLiteral("/desktop.png"));
    std::printf("%s %s %s\n", a ? "main_window.png" : "main window FAILED",
                b ? "viewer.png" : "viewer FAILED", c ? "desktop.png" : "desktop FAILED");
    return a && b && c ? 0 : 1;
}
