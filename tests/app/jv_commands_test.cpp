// The JRA-VAN commands of the main window on the bundled sample race day:
// the archive intake behind the open command, the race selection, loading
// the chosen race, change race, the newspaper set and predict-all started
// from the selection, and the newspaper settings command.
#include "app/help.h"
#include "app/jv_commands.h"
#include "app/main_form.h"
#include "app/newspaper_settings_dialog.h"
#include "app/page_viewer.h"
#include "app/progress_dialog.h"
#include "app/qt_text.h"
#include "app/race_selection_dialog.h"
#include "app_fakes.h"
#include "archive/archive_intake.h"
#include "archive/race_card_file.h"
#include "backtest/backtest.h"
#include "dialog_driving.h"
#include "html/backtest_page.h"
#include "html/newspaper_set.h"
#include "html/page_conventions.h"
#include "html/predict_all.h"
#include "race/race_card.h"
#include "support/silent_progress.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

namespace fs = std::filesystem;

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

void clickRow(RaceSelectionDialog& dialog, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTreeWidget* list = dialog.raceList();
    QTreeWidgetItem* item = list->topLevelItem(row);
    ASSERT_NE(item, nullptr) << row;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

// Counts paint events of the progress window while it exists.
class ProgressPaints : public QObject {
  public:
    ProgressPaints() { qApp->installEventFilter(this); }
    ~ProgressPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (QObject* o = watched; o; o = o->parent())
                if (qobject_cast<ProgressDialog*>(o)) {
                    ++count;
                    break;
                }
        }
        return false;
    }
    int count = 0;
};

class JvCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui = std::make_unique<WindowUnderTest>();
        ui->prompt.messages.clear(); // the first-use note
        ui->prompt.captions.clear();
        forgetJvFileIndexes();
    }
    MainWindow& w() { return *ui->window; }
    std::string working() { return jvWorkingFolder(ui->folder()); }
    std::string cardPath() { return working() + kRaceCardFileName; }
    JvRaceCard raceOf(int position) {
        JvRaceCard card;
        EXPECT_TRUE(readRace(card, cardPath(), position, ui->folder()));
        return card;
    }
    void openJraVan(const std::string& archive) {
        ui->files.paths.push_back(QString::fromStdString(archive));
        w().actions().openJraVan->trigger();
    }
    // A predicted race in the window, so clearing the results shows.
    void predictSomething() {
        RaceSheet s;
        s.runnerCount = s.liveRunnerCount = 6;
        s.raceName = "手入力のレース";
        for (int h = 1; h <= 6; ++h) {
            s.runner(h).name = "ウマ" + std::to_string(h);
            s.runner(h).oddsBand = h * 2;
        }
        typeInRace(w(), s);
        w().predict();
        ASSERT_GT(w().form().ui().resultList->topLevelItemCount(), 0);
    }
    bool resultsEmpty() { return w().form().ui().resultList->topLevelItemCount() == 0; }

    std::unique_ptr<WindowUnderTest> ui;
    QObject watches; // parent of the dialog watches, which end with the test
};

TEST_F(JvCommandsTest, OpeningTheSampleListsItsRacesAndLoadsTheChosenOne) {
    predictSomething();
    EXPECT_FALSE(w().actions().changeRace->isEnabled());

    QString caption, firstRow, info;
    int rows = 0;
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        caption = d.windowTitle();
        rows = d.raceList()->topLevelItemCount();
        QTreeWidgetItem* first = d.raceList()->topLevelItem(0);
        for (int c = 0; c < 4; ++c)
            firstRow += first->text(c) + u'|';
        // The change-race command is already usable while the list is open.
        EXPECT_TRUE(w().actions().changeRace->isEnabled());
        clickRow(d, 14);
        info = d.raceInfoText();
        clickButton(d, "okButton");
    });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));

    ASSERT_EQ(ui->files.openRequests.size(), 1u);
    const FileDialogRequest& request = ui->files.openRequests[0];
    EXPECT_EQ(request.title, q(u"JRA-VAN出馬表＋競走馬ﾌｧｲﾙを開く"));
    EXPECT_TRUE(request.filter.startsWith(q(u"JRA-VAN出馬表＋競走馬ﾌｧｲﾙ (*.lzh)")));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("lzh"));

    EXPECT_EQ(caption, q(u"予想レース選択 (全 36 レース)"));
    EXPECT_EQ(rows, 36);
    EXPECT_EQ(firstRow, q(u"0110|中山|1|サラ系３歳　　未勝利|"));
    EXPECT_TRUE(info.startsWith(q(u"中京競馬場 第1回 5日目  3Ｒ 2026年1月10日 土曜日 11:10 発走\n")))
        << info.toStdString();
    const JvRaceCard chosen = raceOf(15);
    for (const std::string& m : ui->prompt.messages)
        ADD_FAILURE() << cp932ToUtf8(m);
    EXPECT_TRUE(ui->prompt.questions.empty()); // the sample has no trainer or jockey file

    // Race 15 (中京 3R) is in the sheet, the form, the caption and the viewer.
    EXPECT_EQ(chosen.raceNumber, 3);
    EXPECT_EQ(w().session().loadedJvRace().raceNumber, 3);
    EXPECT_EQ(w().session().raceCardPath(), cardPath());
    EXPECT_EQ(w().session().sheet().raceName, chosen.raceName);
    EXPECT_EQ(w().session().sheet().runnerCount, chosen.runnerCount);
    EXPECT_EQ(w().form().ui().raceNameBox->currentText(), toQt(chosen.raceName));
    EXPECT_EQ(w().form().ui().nameBox->text(), toQt(w().session().sheet().runner(1).name));
    EXPECT_FALSE(w().session().sheet().runner(1).name.empty());
    EXPECT_EQ(w().windowTitle(),
              QStringLiteral("[%1] - %2").arg(toQt(chosen.raceName), q(u"ゼルコ馬 2000")));
    EXPECT_NE(
        w().viewer().browser()->toPlainText().indexOf(toQt(w().session().sheet().runner(1).name)),
        -1);
    EXPECT_TRUE(resultsEmpty());
    EXPECT_TRUE(w().actions().changeRace->isEnabled());
    EXPECT_FALSE(QApplication::overrideCursor()); // the wait cursor is gone again
}

TEST_F(JvCommandsTest, StaffQuestionsComeFromTheIntakeAndCancellingKeepsTheRace) {
    predictSomething();
    ui->prompt.answers = {true, false};
    bool listed = false;
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        listed = true;
        clickButton(d, "cancelButton");
    });
    openJraVan(sourceFile("tests/archive/fixtures/good.lzh"));
    EXPECT_TRUE(listed);
    ASSERT_EQ(ui->prompt.questions.size(), 2u);
    EXPECT_EQ(ui->prompt.questions[0],
              "調教師データを更新しますか？\r\n(現在のデータは失われます)");
    EXPECT_EQ(ui->prompt.questions[1], "騎手データを更新しますか？\r\n(現在のデータは失われます)");
    EXPECT_TRUE(fs::exists(staffFolder(ui->folder()) + kTrainerFileName));
    EXPECT_FALSE(fs::exists(staffFolder(ui->folder()) + kJockeyFileName));

    // Nothing was loaded; the results stay; the race can be changed later.
    EXPECT_EQ(w().session().sheet().raceName, "手入力のレース");
    EXPECT_FALSE(resultsEmpty());
    EXPECT_TRUE(w().actions().changeRace->isEnabled());
}

TEST_F(JvCommandsTest, AFileThatIsNoArchiveIsRefusedBeforeTheList) {
    const std::string path = ui->folder() + "notes.txt";
    ASSERT_TRUE(writeWholeFile(path, "not an archive at all"));
    QTimer* watch = whenModal<RaceSelectionDialog>(&watches, [](RaceSelectionDialog&) {});
    openJraVan(path);
    ASSERT_EQ(ui->prompt.messages.size(), 1u);
    EXPECT_EQ(ui->prompt.messages[0], "ファイル 'notes.txt' は書庫ではありません");
    EXPECT_EQ(ui->prompt.captions.back(), "Qorvex - ゼルコ馬 2000");
    EXPECT_FALSE(w().actions().changeRace->isEnabled());
    EXPECT_TRUE(watch->isActive()); // no list was shown
}

TEST_F(JvCommandsTest, ChangeRaceLoadsAnotherRaceAndForgetsTheSavedFile) {
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        clickRow(d, 0);
        clickButton(d, "okButton");
    });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));
    ASSERT_EQ(w().session().loadedJvRace().raceNumber, 1);

    // Saved under a name, then another race: saving must ask for a new name.
    const QString saved = QString::fromStdString(ui->folder() + "first.zel");
    ui->files.paths.push_back(saved);
    w().saveAs();
    ASSERT_EQ(w().session().currentFilePath(), saved);
    predictSomething();
    bool loadedRaceMarked = false;
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        const QList<QTreeWidgetItem*> selected = d.raceList()->selectedItems();
        loadedRaceMarked = selected.size() == 1 && selected[0] == d.raceList()->topLevelItem(0) &&
                           selected[0]->font(3).bold();
        clickRow(d, 35);
        QTest::mouseDClick(d.raceList()->viewport(), Qt::LeftButton, {},
                           d.raceList()->visualItemRect(d.raceList()->topLevelItem(35)).center());
    });
    QToolBar* bar = w().findChild<QToolBar*>(QStringLiteral("toolBar"));
    ASSERT_NE(bar, nullptr);
    QWidget* changeButton = bar->widgetForAction(w().actions().changeRace);
    ASSERT_NE(changeButton, nullptr);
    EXPECT_TRUE(changeButton->isEnabled());
    QTest::mouseClick(changeButton, Qt::LeftButton);

    EXPECT_TRUE(loadedRaceMarked); // the list opens at the race loaded
    const JvRaceCard last = raceOf(36);
    EXPECT_EQ(w().session().loadedJvRace().raceNumber, last.raceNumber);
    EXPECT_EQ(w().session().loadedJvRace().courseName, last.courseName);
    EXPECT_EQ(w().session().sheet().raceName, last.raceName);
    EXPECT_TRUE(resultsEmpty());
    EXPECT_TRUE(w().session().currentFilePath().isEmpty());
    EXPECT_TRUE(w().session().currentFileName().isEmpty());
}

TEST_F(JvCommandsTest, ThreeSelectedRacesBecomeANewspaperSetOpenedAtItsIndex) {
    const std::string before = w().session().sheet().raceName;
    int paints = 0;
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        clickRow(d, 0);
        clickRow(d, 13, Qt::ControlModifier);
        clickRow(d, 1, Qt::ControlModifier);
        ProgressPaints counter;
        clickButton(d, "newspaperButton");
        paints = counter.count;
        EXPECT_TRUE(d.isVisible()); // the list stays open for more
        clickButton(d, "cancelButton");
    });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));

    const JvRaceCard races[] = {raceOf(1), raceOf(2), raceOf(14)};
    const std::string folder = newspaperSetFolder(ui->folder(), races[0]);
    EXPECT_EQ(folder, ui->folder() + "HTML/Jv2026_0110/");
    for (const JvRaceCard& race : races) {
        const std::string page = folder + newspaperSetPageName(race);
        ASSERT_TRUE(fs::exists(page)) << page;
        const auto text = readWholeFile(page);
        ASSERT_TRUE(text);
        EXPECT_NE(text->find(race.courseName), std::string::npos);
    }
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 5u); // three pages, the menu and the index

    const auto menu = readWholeFile(folder + "2026-0110menu.html");
    ASSERT_TRUE(menu);
    EXPECT_NE(menu->find("<b>" + races[0].courseName + "競馬場</b>"), std::string::npos);
    EXPECT_NE(menu->find("<b>" + races[2].courseName + "競馬場</b>"), std::string::npos);
    const auto index = readWholeFile(folder + "index.html");
    ASSERT_TRUE(index);
    // The news frame first shows the last selected race in list order.
    EXPECT_NE(index->find("NAME=\"NEWS\""), std::string::npos);
    EXPECT_NE(index->find(addressPath(newspaperSetPageName(races[2]))), std::string::npos);
    ASSERT_EQ(ui->shell.documents.size(), 1u);
    EXPECT_EQ(ui->shell.documents[0], folder + "index.html");
    EXPECT_GE(paints, 3); // the progress window was drawn as the pages went
    EXPECT_FALSE(QApplication::overrideCursor());

    // Newspapers leave the window's race alone.
    EXPECT_EQ(w().session().sheet().raceName, before);
}

TEST_F(JvCommandsTest, OneSelectedRaceIsSavedWhereTheUserSays) {
    AppSettings odd = w().session().settings();
    odd.paperEdition = 7; // treated as the simple edition
    w().session().setSettings(odd);
    // When the list opens next: one race and 競馬新聞作成, the save dialog
    // answered with `path` (cancelled when it is empty).
    const auto paperOf = [&](int row, const QString& path) {
        whenModal<RaceSelectionDialog>(&watches, [this, row, path](RaceSelectionDialog& d) {
            clickRow(d, row);
            if (!path.isEmpty())
                ui->files.paths.push_back(path);
            clickButton(d, "newspaperButton");
            clickButton(d, "cancelButton");
        });
    };
    const QString chosen = QString::fromStdString(ui->folder() + "my paper.html");
    paperOf(12, chosen);
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));

    const JvRaceCard race = raceOf(13);
    ASSERT_EQ(ui->files.saveRequests.size(), 1u);
    const FileDialogRequest& request = ui->files.saveRequests[0];
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("html"));
    EXPECT_TRUE(request.filter.contains(QStringLiteral("*.htm")));
    // The suggestion writes the date without its leading zero.
    EXPECT_TRUE(request.initialName.endsWith(toQt(singleNewspaperFileName(race))));
    EXPECT_TRUE(
        QFileInfo(request.initialName).fileName().startsWith(QStringLiteral("Jv2026-110_")));
    EXPECT_TRUE(fs::exists(toNativePath(chosen)));
    ASSERT_EQ(ui->shell.documents.size(), 1u);
    EXPECT_EQ(ui->shell.documents[0], toNativePath(chosen));

    // A folder that is not there: the user is told the paper was not written.
    const QString nowhere = QString::fromStdString(ui->folder() + "no folder/paper.html");
    paperOf(12, nowhere);
    w().actions().changeRace->trigger();
    ASSERT_EQ(ui->prompt.messages.size(), 1u);
    EXPECT_EQ(toQt(ui->prompt.messages[0]),
              QStringLiteral("ファイル '%1' に書き込めませんでした").arg(nowhere));
    EXPECT_FALSE(fs::exists(toNativePath(nowhere)));

    // Cancelling the save dialog writes nothing.
    paperOf(3, QString());
    w().actions().changeRace->trigger();
    EXPECT_EQ(ui->files.saveRequests.size(), 3u);
    EXPECT_EQ(ui->shell.documents.size(), 2u); // the unwritten paper was offered to the browser
    EXPECT_EQ(ui->prompt.messages.size(), 1u);
}

TEST_F(JvCommandsTest, PredictAllWritesEveryRaceAndKeepsTheRaceBeingWorkedOn) {
    predictSomething();
    const RaceSheet before = w().session().sheet();
    std::string loadedWhileOpen;
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        clickRow(d, 4); // the selection does not matter
        clickButton(d, "predictAllButton");
        loadedWhileOpen = w().session().sheet().raceName;
        clickButton(d, "cancelButton");
    });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));

    const JvRaceCard first = raceOf(1);
    const JvRaceCard last = raceOf(36);
    const std::string folder = predictAllFolder(ui->folder(), first);
    EXPECT_EQ(folder, ui->folder() + "HTML/Jvzel2026_0110/");
    const auto summary = readWholeFile(folder + "2026-0110kaime.html");
    ASSERT_TRUE(summary);
    size_t rows = 0;
    for (size_t at = summary->find("<tr><td><font size=2>"); at != std::string::npos;
         at = summary->find("<tr><td><font size=2>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 36u);
    EXPECT_NE(summary->find("<TITLE>ゼルコ馬・買い目一覧</TITLE>"), std::string::npos);
    EXPECT_NE(summary->find(last.courseName + " 12R " + last.raceName), std::string::npos);
    EXPECT_TRUE(summary->ends_with("</table></BODY></HTML>"));
    for (int r : {1, 18, 36})
        EXPECT_TRUE(fs::exists(folder + predictAllPageName(raceOf(r)))) << r;
    ASSERT_EQ(ui->shell.documents.size(), 1u);
    EXPECT_EQ(ui->shell.documents[0], folder + "index.html");
    EXPECT_EQ(w().statusBar()->currentMessage(), q(u"すべてのレースの予想を書き出しました: ") +
                                                     QString::fromStdString(folder) +
                                                     QStringLiteral("index.html"));

    // The race being worked on stays in the sheet, the form and the viewer
    // with its prediction, whatever the batch went through.
    EXPECT_EQ(loadedWhileOpen, before.raceName);
    EXPECT_EQ(w().session().sheet().runners(), before.runners());
    EXPECT_EQ(w().session().sheet().result, before.result);
    EXPECT_EQ(w().session().loadedJvRace().raceNumber, 0);
    EXPECT_NE(w().viewer().browser()->toPlainText().indexOf(toQt(before.runner(1).name)), -1);
    EXPECT_FALSE(resultsEmpty());
    EXPECT_FALSE(QApplication::overrideCursor());
}

// キャンセル after three races: the pages written so far go, the user is
// told how many there were, and nothing is opened.
TEST_F(JvCommandsTest, CancelledSetsRemoveTheirPages) {
    for (const char* button : {"predictAllButton", "newspaperButton"}) {
        ui->prompt.messages.clear();
        CancelProgressAfter cancel(3);
        whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
            for (int row = 0; row < 6; ++row)
                clickRow(d, row, Qt::ControlModifier);
            clickButton(d, button);
            clickButton(d, "cancelButton");
        });
        openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));
        ASSERT_EQ(ui->prompt.messages.size(), 1u) << button;
        EXPECT_EQ(ui->prompt.messages[0], "ページの保存をキャンセルしました。\r\n"
                                          "それまでに書き込んだ4個のファイルは削除しました。");
        EXPECT_FALSE(fs::exists(ui->folder() + "HTML/Jvzel2026_0110")) << button;
        EXPECT_FALSE(fs::exists(ui->folder() + "HTML/Jv2026_0110")) << button;
        EXPECT_TRUE(ui->shell.documents.empty()) << button;
    }
}

TEST_F(JvCommandsTest, NewspaperSettingsOkWritesTheFileAndRedrawsThePage) {
    const std::string config = w().session().configPath();
    const auto original = readWholeFile(config);
    ASSERT_TRUE(original);
    const std::string pagePath = w().session().pageFilePath();
    ASSERT_NE(readWholeFile(pagePath)->find("Bg1.gif"), std::string::npos);

    // Cancel: the file is not rewritten, even with a corrected edition.
    AppSettings odd = w().session().settings();
    odd.paperEdition = 9;
    w().session().setSettings(odd);
    whenModal<NewspaperSettingsDialog>(&watches, [&](NewspaperSettingsDialog& d) {
        clickButton(d, "sportsImages");
        clickButton(d, "cancelButton");
    });
    w().actions().newspaperSettings->trigger();
    EXPECT_EQ(w().session().settings().paperEdition, 1);
    EXPECT_EQ(w().session().settings().sportsShowImages, 1);
    EXPECT_EQ(readWholeFile(config), original);

    whenModal<NewspaperSettingsDialog>(&watches, [&](NewspaperSettingsDialog& d) {
        clickButton(d, "sportsImages"); // pictures off
        QTest::keyClick(&d, Qt::Key_F1);
        clickButton(d, "okButton");
    });
    w().actions().newspaperSettings->trigger();
    EXPECT_EQ(w().session().settings().sportsShowImages, 0);
    const auto written = readWholeFile(config);
    ASSERT_TRUE(written);
    EXPECT_TRUE(
        written->starts_with("Zelkor sports Image file=0\r\nZelkor sports Name DB link=1\r\n"));
    EXPECT_NE(written->find("JRA-VAN Newsp kind=1\r\n"), std::string::npos);
    EXPECT_EQ(readWholeFile(pagePath)->find("Bg1.gif"), std::string::npos);
    ASSERT_FALSE(ui->shell.documents.empty());
    EXPECT_EQ(ui->shell.documents.back(), helpRedirectPath());
    EXPECT_EQ(readWholeFile(helpRedirectPath()), helpRedirectPage(kHelpNewspaperSettings));
}

TEST_F(JvCommandsTest, BacktestRunsOnTheOpenedArchivesHorseFileAndOpensItsReport) {
    QAction* backtest = w().actions().backtest;
    ASSERT_NE(backtest, nullptr);
    EXPECT_EQ(backtest->text(), q(u"過去レースで検証(&B)..."));
    EXPECT_FALSE(backtest->isEnabled()); // no archive yet

    whenModal<RaceSelectionDialog>(&watches,
                                   [&](RaceSelectionDialog& d) { clickButton(d, "cancelButton"); });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));
    ASSERT_TRUE(backtest->isEnabled());
    const RaceSheet before = w().session().sheet();

    ui->shell.documents.clear();
    ui->shell.fails = true; // no browser
    ProgressPaints paints;
    backtest->trigger();
    EXPECT_GT(paints.count, 0); // the progress window was drawn

    const std::string page = backtestPagePath(ui->folder());
    EXPECT_EQ(ui->shell.documents, std::vector<std::string>{page});
    EXPECT_EQ(w().statusBar()->currentMessage(),
              q(u"検証の結果を書き出しました: %1。ブラウザを起動できませんでした (%1)")
                  .arg(QString::fromStdString(page)));
    Backtest expected;
    RecordingAppPrompt quiet;
    SilentProgress none;
    ASSERT_TRUE(backtestHorseFile(working() + kHorseFileName, {}, expected, quiet, none));
    EXPECT_EQ(readWholeFile(page), backtestPage(expected, {}));
    for (const std::string& m : ui->prompt.messages)
        ADD_FAILURE() << cp932ToUtf8(m);
    // The race in the window is not touched.
    EXPECT_EQ(w().session().sheet().raceName, before.raceName);
    EXPECT_EQ(w().session().sheet().runners(), before.runners());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(JvCommandsTest, BacktestOfAVanishedHorseFileTellsTheUser) {
    whenModal<RaceSelectionDialog>(&watches,
                                   [&](RaceSelectionDialog& d) { clickButton(d, "cancelButton"); });
    openJraVan(sourceFile("resources/sample/JV_SAMPLE.lzh"));
    fs::remove(working() + kHorseFileName);
    ui->shell.documents.clear();
    w().actions().backtest->trigger();
    ASSERT_EQ(ui->prompt.messages.size(), 1u);
    EXPECT_EQ(ui->prompt.messages[0],
              "ファイル " + working() + kHorseFileName + " は開けませんでした。");
    EXPECT_TRUE(ui->shell.documents.empty());
}

} // namespace
} // namespace zelkor::test
