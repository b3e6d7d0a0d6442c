// The JV-Data commands of the main window: the import with its summary box
// (menu and drop), a race day of the store opened, loaded and refused, and
// the period asked before a backtest over the store, and the store's check.
#include "app/backtest_period_dialog.h"
#include "app/chances_view.h"
#include "app/jv_commands.h"
#include "app/jvdata_import_command.h"
#include "app/main_form.h"
#include "app/race_selection_dialog.h"
#include "app/race_session.h"
#include "app/store_dates_dialog.h"
#include "app_fakes.h"
#include "dialog_driving.h"
#include "html/backtest_page.h"
#include "store/jvdata_store.h"
#include "support/jvdata_generator.h"
#include "support/season_store.h"
#include "text/file_io.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>
#include <fstream>

namespace zelkor::test {
namespace {

// Two race days of course 06: 2025-02-22 with one race, 2025-03-01 with a
// race run and a cancelled one; both horses' UM, and one RA cut short.
std::string storeRecords() {
    std::string out;
    const auto race = [&out](int date, int raceNo, char kind, std::vector<std::string> ids) {
        JvdRace r;
        r.kind = kind;
        r.key = {date / 10000, date % 10000, "06", 1, 1, raceNo};
        r.name = "テスト特別";
        out += jvdFramed(jvdRecord(r));
        for (size_t i = 0; i < ids.size(); ++i) {
            JvdRunner s;
            s.horseNo = s.bracket = int(i) + 1;
            s.horseId = ids[i];
            s.finish = kind == '7' ? int(i) + 1 : 0;
            out += jvdFramed(jvdRecord(r, s));
        }
        if (kind == '9')
            out += jvdFramed(jvdRecord(r).substr(0, 100));
    };
    race(20250222, 1, '7', {"2021100001"});
    race(20250301, 1, '7', {"2021100001", "2021100002"});
    race(20250301, 2, '9', {"2021100002"});
    for (const char* id : {"2021100001", "2021100002"}) {
        JvdHorse h;
        h.horseId = id;
        out += jvdFramed(jvdRecord(h));
    }
    return out;
}

class JvDataCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir(ui.dir.path()).mkdir(QStringLiteral("jvdata"));
        std::ofstream(file.toStdString(), std::ios::binary) << storeRecords();
        ui.prompt.messages.clear(); // the first-use note
    }
    MainWindow& w() { return *ui.window; }
    void importFile() {
        ui.files.paths = {file};
        w().actions().importJvData->trigger();
    }
    // Opens the store's newest day and picks race `row` of its list.
    void openStoreRace(int row) {
        whenModal<StoreDatesDialog>(&watches,
                                    [](StoreDatesDialog& d) { clickButton(d, "okButton"); });
        whenModal<RaceSelectionDialog>(&watches, [this, row](RaceSelectionDialog& d) {
            d.raceList()->setCurrentItem(d.raceList()->topLevelItem(row));
            clickButton(d, "okButton");
            listLeftOpen = d.isVisible();
        });
        w().actions().openJvDataRaces->trigger();
    }

    WindowUnderTest ui;
    QString file = ui.dir.filePath(QStringLiteral("jvdata/day.txt"));
    QObject watches;
    bool listLeftOpen = false; // by OK in the race list
};

TEST_F(JvDataCommandsTest, ImportsFromTheMenuAndByADropWithOneSummaryEach) {
    importFile();
    EXPECT_EQ(ui.files.openRequests.at(0).folder, QDir::homePath());
    ASSERT_EQ(ui.prompt.messages.size(), 1u);
    EXPECT_EQ(ui.prompt.messages[0],
              "JV-Dataを取り込みました。\n"
              "種別     読込     追加     置換   古い版   同じ版     削除     不正   対象外\r\n"
              "RA          4        3        0        0        0        0        1        0\r\n"
              "SE          4        4        0        0        0        0        0        0\r\n"
              "UM          2        2        0        0        0        0        0        0\r\n"
              "合計       10        9        0        0        0        0        1        0\r\n");
    EXPECT_EQ(ui.prompt.reportDetails[0].rfind("不正なレコード: ", 0), 0u);

    // The folder dropped on the window: the same records, nothing changes.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(ui.dir.filePath(QStringLiteral("jvdata")))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.prompt.messages.size() == 2; }))
        << ui.prompt.messages.back();
    EXPECT_NE(ui.prompt.messages[1].find("合計       10        0        0        0        9"),
              std::string::npos);

    // Not JV-Data: one message naming the file, the store as it was.
    std::ofstream(ui.dir.filePath(QStringLiteral("memo.txt")).toStdString()) << "memo\r\n";
    ui.files.paths = {ui.dir.filePath(QStringLiteral("memo.txt"))};
    w().actions().importJvData->trigger();
    ASSERT_EQ(ui.prompt.messages.size(), 3u);
    EXPECT_NE(ui.prompt.messages[2].find("memo.txt"), std::string::npos);
    EXPECT_EQ(ui.files.openRequests.at(1).folder, QFileInfo(file).absolutePath());
    EXPECT_EQ(ui.prompt.reportDetails.size(), 2u);

    // キャンセル midway through several files: the store as it was.
    const auto before = readWholeFile(jvStorePath(ui.folder()));
    for (int i = 0; i < 6; ++i)
        std::ofstream(ui.dir.filePath(QStringLiteral("jvdata/%1.dat").arg(i)).toStdString())
            << storeRecords();
    const CancelProgressAfter cancel(2);
    EXPECT_FALSE(w().jvDataImport().importPaths({ui.dir.filePath(QStringLiteral("jvdata"))}));
    EXPECT_EQ(ui.prompt.messages.back(),
              "取り込みをキャンセルしました。\r\nデータベースは取り込む前のままです。");
    EXPECT_EQ(readWholeFile(jvStorePath(ui.folder())), before);
}

// The store's check from the menu: one line with the counts.
TEST_F(JvDataCommandsTest, TheStoreCheckTellsInOneLine) {
    importFile();
    w().actions().checkJvData->trigger();
    ASSERT_EQ(ui.prompt.messages.size(), 2u);
    EXPECT_EQ(ui.prompt.messages[1], "JV-Dataの保存ファイル'" + jvStorePath(ui.folder()) +
                                         "'は正常です（RA 3件、SE 4件、UM 2件、HR 0件、O1 0件）。");
}

TEST_F(JvDataCommandsTest, AStoreDayLoadsARaceAndRefusesACancelledOne) {
    w().actions().openJvDataRaces->trigger();
    ASSERT_EQ(ui.prompt.messages.size(), 1u);
    EXPECT_EQ(ui.prompt.messages[0],
              "JV-Dataはまだ取り込まれていません。\r\n先にJV-Dataを取り込んでください。");
    importFile();
    whenModal<StoreDatesDialog>(&watches, [](StoreDatesDialog& d) {
        ASSERT_EQ(d.dateList()->topLevelItemCount(), 2);
        EXPECT_EQ(d.dateList()->topLevelItem(0)->text(0), QStringLiteral("2025年03月01日(土)"));
        EXPECT_EQ(d.dateList()->topLevelItem(0)->text(1), QStringLiteral("2"));
        EXPECT_EQ(d.chosenDate(), 20250301);
    });
    w().actions().openJvDataRaces->trigger();
    EXPECT_FALSE(w().actions().changeRace->isEnabled());

    struct Case {
        int row;
        const char* message; // empty: the race loads
    } cases[] = {{1, "このレースは中止されました"}, {0, ""}};
    for (const Case& c : cases) {
        ui.prompt.messages.clear();
        const std::string shownBefore = w().session().sheet().raceName;
        openStoreRace(c.row);
        const RaceSheet& sheet = w().session().sheet();
        EXPECT_EQ(listLeftOpen, *c.message != 0); // a race that cannot be loaded keeps it
        if (*c.message) {
            EXPECT_EQ(ui.prompt.messages, std::vector<std::string>{c.message});
            EXPECT_EQ(sheet.raceName, shownBefore);
        } else {
            EXPECT_EQ(ui.prompt.messages, std::vector<std::string>{});
            EXPECT_EQ(sheet.runnerCount, 2);
            EXPECT_EQ(sheet.raceName, "テスト特別");
        }
        EXPECT_EQ(w().session().storeDate(), 20250301);
        EXPECT_TRUE(w().actions().changeRace->isEnabled());
    }
    // The day's newspapers: the cancelled race is in the index, marked.
    whenModal<RaceSelectionDialog>(&watches, [](RaceSelectionDialog& d) {
        clickButton(d, "selectAllButton");
        clickButton(d, "newspaperButton");
    });
    w().actions().changeRace->trigger();
    const auto menu = readWholeFile(ui.folder() + "HTML/Jv2025_0301/2025-0301menu.html");
    ASSERT_TRUE(menu);
    EXPECT_NE(menu->find("<b>2R</b> テスト特別 (中止)</font><br>"), std::string::npos);
}

// A season with history enough: 予想 of its last day's race fills the tab
// beside the ranking with every runner, the win chances adding up to one.
TEST_F(JvDataCommandsTest, PredictingAStoreRaceShowsEachRunnersChances) {
    ASSERT_TRUE(importRecords(seasonRecords({.days = 12, .horses = 400, .market = true,
                                             .placeOdds = true}),
                              jvStorePath(ui.folder())));
    const ChancesView& chances = w().form().chances();
    openStoreRace(2);
    w().actions().predict->trigger();
    ASSERT_EQ(chances.currentWidget(), chances.table()) << chances.reason()->text().toStdString();
    const QTreeWidget& table = *chances.table();
    EXPECT_EQ(table.topLevelItemCount(), w().session().sheet().usableRunnerCount());
    double win = 0;
    for (int row = 0; row < table.topLevelItemCount(); ++row)
        win += table.topLevelItem(row)->data(ChancesView::kWinColumn, Qt::UserRole).toDouble();
    EXPECT_NEAR(win, 1.0, 1e-6);
}

// Too little history is one line saying how many races it takes; a race
// without odds shows its chances with neither odds nor returns.
TEST_F(JvDataCommandsTest, TheChancesTabSaysWhyThereAreNoneAndShowsNoReturnsWithoutOdds) {
    JvdSeasonStats stats;
    const std::string records =
        seasonRecords({.days = 12, .horses = 400, .market = true, .placeOdds = true}, &stats);
    ASSERT_TRUE(importRecords(records, jvStorePath(ui.folder()), [&](std::string rec) {
        return recordDate(rec) > stats.dates[1] ? std::string() : rec;
    }));
    const ChancesView& chances = w().form().chances();
    openStoreRace(2);
    w().actions().predict->trigger();
    EXPECT_EQ(chances.currentWidget(), chances.reason());
    EXPECT_TRUE(chances.reason()->text().contains(u"200 件以上のレースが必要です"))
        << chances.reason()->text().toStdString();
    // The rest of the season, its last day without odds.
    ASSERT_TRUE(importRecords(records, jvStorePath(ui.folder()), [&](std::string rec) {
        return recordDate(rec) == stats.dates.back() ? withoutOdds(rec) : rec;
    }));
    openStoreRace(2);
    w().actions().predict->trigger();
    ASSERT_EQ(chances.currentWidget(), chances.table()) << chances.reason()->text().toStdString();
    const QTreeWidget& table = *chances.table();
    ASSERT_GT(table.topLevelItemCount(), 0);
    for (int row = 0; row < table.topLevelItemCount(); ++row)
        for (int column : {ChancesView::kWinOddsColumn, ChancesView::kPlaceOddsColumn,
                           ChancesView::kWinReturnColumn, ChancesView::kPlaceReturnColumn})
            EXPECT_EQ(table.topLevelItem(row)->text(column), QStringLiteral("—")) << column;
}

TEST_F(JvDataCommandsTest, TheBacktestAsksForThePeriodAndWhichSourceWhenBothAreAtHand) {
    QAction* backtest = w().actions().backtest;
    EXPECT_FALSE(backtest->isEnabled());
    importFile();
    EXPECT_TRUE(w().actions().backtest->isEnabled()); // no race day opened yet
    const MainWindow restarted(ui.folder(), {ui.prompt, ui.shell, ui.files});
    EXPECT_TRUE(restarted.actions().backtest->isEnabled());
    std::vector<std::pair<int, int>> periods;
    QObject::connect(&w().jvCommands(), &JvCommands::storeBacktestRequested,
                     [&periods](int from, int to) {
                         periods.push_back({from, to});
                     });
    // All of the store, then its last day: the end follows a later start.
    whenModal<BacktestPeriodDialog>(&watches,
                                    [](BacktestPeriodDialog& d) { clickButton(d, "okButton"); });
    w().actions().backtest->trigger();
    whenModal<BacktestPeriodDialog>(&watches, [](BacktestPeriodDialog& d) {
        clickButton(d, "periodButton");
        d.findChild<QDateEdit*>(QStringLiteral("toEdit"))->setDate(QDate(2025, 2, 22));
        d.findChild<QDateEdit*>(QStringLiteral("fromEdit"))->setDate(QDate(2025, 3, 1));
        clickButton(d, "okButton");
    });
    w().actions().backtest->trigger();
    EXPECT_EQ(periods,
              (std::vector<std::pair<int, int>>{{20250222, 20250301}, {20250301, 20250301}}));

    // With an archive open too, the user says which: cancel, the store, the archive.
    whenModal<RaceSelectionDialog>(&watches,
                                   [](RaceSelectionDialog& d) { clickButton(d, "cancelButton"); });
    ui.files.paths = {QString::fromStdString(sourceFile("resources/sample/JV_SAMPLE.lzh"))};
    w().actions().openJraVan->trigger();
    ui.prompt.choices = {-1, 0, 1};
    ui.shell.documents.clear();
    whenModal<BacktestPeriodDialog>(&watches,
                                    [](BacktestPeriodDialog& d) { clickButton(d, "okButton"); });
    for (int run = 0; run < 3; ++run)
        backtest->trigger();
    ASSERT_EQ(ui.prompt.questions.size(), 3u);
    EXPECT_EQ(ui.prompt.questions[0].rfind("どちらのレースで検証しますか？", 0), 0u);
    EXPECT_EQ(periods.size(), 3u);
    ASSERT_FALSE(ui.shell.documents.empty());
    EXPECT_EQ(ui.shell.documents.back(), backtestPagePath(ui.folder()));

    // キャンセル midway through the archive's: a note and no page.
    ui.prompt.choices = {1};
    ui.shell.documents.clear();
    const CancelProgressAfter cancel(2);
    backtest->trigger();
    EXPECT_EQ(ui.prompt.messages.back(), "検証をキャンセルしました。");
    EXPECT_TRUE(ui.shell.documents.empty());
}

} // namespace
} // namespace zelkor::test
