// Draws the documentation screenshots of the race selection over the
// bundled sample race day, of the race days of the sample JV-Data season
// and of the newspaper settings. Run under Xvfb:
//   xvfb-run -s "-screen 0 1600x1000x24" build/bin/jv_screenshots docs
#include "app/newspaper_settings_dialog.h"
#include "app/race_selection_dialog.h"
#include "app/store_dates_dialog.h"
#include "app_fakes.h"
#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "core/settings.h"
#include "race/race_card.h"
#include "store/jvdata_store.h"
#include "support/silent_progress.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

using namespace zelkor;

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    QTest::qWait(200);
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", qPrintable(path), ok ? "written" : "FAILED");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    const std::string archive = std::string(root ? root : ".") + "/resources/sample/JV_SAMPLE.lzh";

    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    test::RecordingAppPrompt prompt;
    test::RecordingShell shell;
    JvRaceCard card;
    if (!intakeJvArchive(archive, folder, card, prompt)) {
        std::fprintf(stderr, "cannot open %s (set ZELKOR_SOURCE_DIR)\n", archive.c_str());
        return 1;
    }

    bool ok = true;
    ArchiveRaceSource source(card.raceCardPath, folder);
    RaceSelectionDialog races(source, prompt, shell);
    races.show();
    (void)QTest::qWaitForWindowExposed(&races);
    QTreeWidget* list = races.raceList();
    QTreeWidgetItem* item = list->topLevelItem(10); // the main race of the first course
    if (item) {
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    ok = save(races, out + QStringLiteral("/race_selection.png")) && ok;

    // The sample JV-Data season imported, its race days listed.
    ImportSummary summary;
    test::SilentProgress progress;
    const std::string store = jvStorePath(folder);
    Result<std::vector<StoreDate>> dates = Failure{};
    if (importJvData({std::string(root ? root : ".") + "/resources/sample/JV-Data_sample.dat"},
                     store, summary, prompt, progress) &&
        (dates = readStoreDates(store))) {
        StoreDatesDialog days(*dates);
        ok = save(days, out + QStringLiteral("/store_dates.png")) && ok;
    } else {
        ok = false;
    }

    AppSettings settings = defaultSettings();
    settings.paperEdition = 3;
    settings.paperPastRuns = 3;
    NewspaperSettingsDialog paper(settings, shell, folder);
    paper.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    ok = save(paper, out + QStringLiteral("/newspaper_settings.png")) && ok;
    paper.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(2);
    ok = save(paper, out + QStringLiteral("/newspaper_settings_links.png")) && ok;
    return ok ? 0 : 1;
}
