// The main window's commands: start-up, prediction and the result lists, the
// file commands through the dialog seam, the sports page, help and exit.
#include "app/help.h"
#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/qt_text.h"
#include "app/window_state.h"
#include "app_fakes.h"
#include "core/prediction_file.h"
#include "core/program_folder.h"
#include "html/sports_page.h"
#include "text/file_io.h"
#include "text/format.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

// A field of `n` named runners with varied form, shown in the window.
void enterRace(MainWindow& w, int n) {
    RaceSheet s;
    s.runnerCount = s.liveRunnerCount = n;
    s.raceName = "テスト記念";
    s.racecourse = "東京";
    s.weightRule = 2;
    for (int h = 1; h <= n; ++h) {
        RunnerEntry& r = s.runner(h);
        r.name = format("テスト%02d", h);
        r.oddsBand = (h * 7) % 15;
        r.weight = 10 + (h * 3) % 20;
        r.aptitudeDistance = (h * 5) % 27;
        r.pastRuns[kLastRun].finish = (h * 5) % 18;
        r.pastRuns[kLastRun].weight = 14 + (h * 7) % 20;
        r.pastRuns[kLastRun].timeDiff = (h * 3) % 22;
        r.pastRuns[kRunBeforeLast].finish = (h * 11) % 18;
        r.pastRuns[kRunBeforeLast].kind = h % 5 == 0 ? PastRunKind::Rested : PastRunKind::Race;
    }
    typeInRace(w, s);
}

void trigger(MainWindow& w, QAction* MainActions::*command) {
    QAction* action = w.actions().*command;
    ASSERT_NE(action, nullptr);
    QToolBar* bar = w.findChild<QToolBar*>(QStringLiteral("toolBar"));
    QWidget* button = bar ? bar->widgetForAction(action) : nullptr;
    if (button && button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        action->trigger();
}

// Clicks line `row` of the result list in `column`, where a user would.
void clickLine(QTreeWidget* results, int column, int row) {
    QTreeWidgetItem* item = results->topLevelItem(row);
    ASSERT_NE(item, nullptr);
    results->scrollToItem(item);
    const QModelIndex index = results->model()->index(row, column);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(index).center());
}

// The row of the result list that is selected, −1 for none.
int selectedLine(QTreeWidget* results) {
    const QList<QTreeWidgetItem*> items = results->selectedItems();
    return items.isEmpty() ? -1 : results->indexOfTopLevelItem(items.first());
}

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindow& w() { return *app.window; }
    const Ui::MainForm& c() { return w().form().ui(); }
    // The result list's lines, their five columns joined by "|".
    QStringList lines() {
        QStringList out;
        for (int i = 0; i < c().resultList->topLevelItemCount(); ++i) {
            QStringList columns;
            for (int column = 0; column < MainForm::kResultColumns; ++column)
                columns << c().resultList->topLevelItem(i)->text(column);
            out << columns.join(u'|');
        }
        return out;
    }
    WindowUnderTest app;
};

TEST_F(MainWindowTest, FirstStartPreparesTheFolderAndShowsTheFirstUseNoteOnce) {
    for (const char* folder : {"HTML", "JRA-VAN", "KTDAT"})
        EXPECT_TRUE(QFileInfo(app.dir.filePath(QString::fromLatin1(folder))).isDir()) << folder;
    EXPECT_TRUE(fileExists(app.folder() + "Zelkor2k.cfg"));
    ASSERT_EQ(app.prompt.messages.size(), 1u);
    EXPECT_EQ(app.prompt.messages[0], kFirstUseNote);
    EXPECT_EQ(app.prompt.captions[0], std::string(kAppTitle));
    EXPECT_EQ(app.prompt.icons[0], MessageIcon::Question);
    EXPECT_TRUE(fileExists(w().session().pageFilePath()));
    EXPECT_EQ(w().windowTitle(), q(u"Qorvex - ゼルコ馬 2000"));
    c().raceNameBox->setFocus();
    c().gradeBox->setFocus(); // passing through レース名 leaves the caption
    EXPECT_EQ(w().windowTitle(), q(u"Qorvex - ゼルコ馬 2000"));
    EXPECT_TRUE(w().viewer().isVisible());
    EXPECT_EQ(w().viewer().windowTitle(), q(u"HTML競馬新聞"));
    // The page, shown at start, in the viewer's smaller type.
    EXPECT_DOUBLE_EQ(w().viewer().browser()->font().pointSizeF(),
                     QApplication::font().pointSizeF() * 0.9);

    // Greyed at start: change race, bets, trainer and sports page.
    const MainActions& a = w().actions();
    for (QAction* greyed : {a.changeRace, a.bets, a.trainer, a.sports})
        EXPECT_FALSE(greyed->isEnabled()) << greyed->text().toStdString();
    EXPECT_TRUE(a.predict->isEnabled());

    // A second start over the same folder stays quiet.
    RecordingAppPrompt prompt;
    MainWindow second(app.folder(), AppServices{prompt, app.shell, app.files});
    second.start(QString());
    EXPECT_TRUE(prompt.messages.empty());
    const std::string page = second.session().pageFilePath();
    EXPECT_NE(page, w().session().pageFilePath());
    second.hide();

    // The first-use note stands over the empty sheet, not an empty viewer.
    QTemporaryDir fresh;
    RecordingAppPrompt freshPrompt;
    MainWindow third(fresh.path().toStdString() + "/",
                     AppServices{freshPrompt, app.shell, app.files});
    QString pageBehindNote;
    freshPrompt.onNote = [&] { pageBehindNote = third.viewer().pagePath(); };
    third.start(QString());
    EXPECT_FALSE(pageBehindNote.isEmpty());
    third.hide();
}

TEST_F(MainWindowTest, MenusCarryTheirTextsInOrder) {
    const auto texts = [](const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions)
            out << (a->isSeparator() ? QStringLiteral("—") : a->text());
        return out;
    };
    EXPECT_EQ(texts(w().menuBar()->actions()),
              (QStringList{q(u"ﾌｧｲﾙ(&F)"), q(u"予想(&R)"), q(u"表示(&V)"), q(u"設定(&S)"),
                           q(u"ﾍﾙﾌﾟ(&H)")}));
    EXPECT_EQ(
        texts(w().menuBar()->actions()[0]->menu()->actions()),
        (QStringList{q(u"新規レース入力(&N)"), q(u"ゼルコ馬ﾌｧｲﾙを開く(&O)..."),
                     q(u"JRA-VANﾌｧｲﾙを開く(&J)..."), q(u"JV-Dataを取り込む(&I)..."),
                     q(u"JV-Dataのレースを開く(&D)..."), q(u"JV-Dataの保存ファイルを検査(&K)"),
                     q(u"—"), q(u"予想ﾚｰｽを変更(&E)"), q(u"過去レースで検証(&B)..."), q(u"—"),
                     q(u"上書き保存(&S)"), q(u"名前を付けて保存(&A)..."), q(u"—"),
                     q(u"最近使ったファイル(&R)"), q(u"—"), q(u"ゼルコ馬の終了(&X)")}));
    EXPECT_EQ(texts(w().menuBar()->actions()[1]->menu()->actions()),
              (QStringList{q(u"予想(&Y)"), q(u"買い目(&B)"), q(u"調教師(&T)"), q(u"ZELスポ(&A)")}));
}

TEST_F(MainWindowTest, PredictWithANamelessRunnerIsRefused) {
    trigger(w(), &MainActions::predict);
    ASSERT_EQ(app.prompt.messages.size(), 2u);
    EXPECT_EQ(app.prompt.messages[1], "出走馬名をすべて入力してください。");
    EXPECT_EQ(c().resultList->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, PredictingFillsTheFiveListsInRankingOrder) {
    enterRace(w(), 18);
    trigger(w(), &MainActions::predict);
    EXPECT_EQ(lines(),
              (QStringList{
                  q(u" 1|4枠 8番|テスト08|402|15.1～20.0"), q(u" 2|1枠 2番|テスト02|397|50.1以上"),
                  q(u" 3|8枠17番|テスト17|397|50.1以上"), q(u" 4|5枠10番|テスト10|349|10.1～15.0"),
                  q(u" 5|7枠14番|テスト14|345|8.1～9.0"), q(u" 6|3枠 6番|テスト06|342|20.1～30.0"),
                  q(u" 7|1枠 1番|テスト01|322|7.1～8.0"), q(u" 8|8枠16番|テスト16|307|7.1～8.0"),
                  q(u" 9|2枠 4番|テスト04|293|30.1～50.0"), q(u"10|6枠12番|テスト12|271|9.1～10.0"),
                  q(u"11|2枠 3番|テスト03|  0|6.1～7.0"), q(u"12|3枠 5番|テスト05|  0|5.1～6.0"),
                  q(u"13|4枠 7番|テスト07|  0|4.1～5.0"), q(u"14|5枠 9番|テスト09|  0|3.1～4.0"),
                  q(u"15|6枠11番|テスト11|  0|2.1～3.0"), q(u"16|7枠13番|テスト13|  0|1.6～2.0"),
                  q(u"17|7枠15番|テスト15|  0|1.0～1.5"), q(u"18|8枠18番|テスト18|  0|6.1～7.0")}));
    EXPECT_EQ(
        c().reportPane->toPlainText(),
        q(u"＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\n【穴馬】\n   [テスト08]\n   [テスト02]\n"
          u"   [テスト17]\n"));
    EXPECT_TRUE(w().actions().bets->isEnabled());
    EXPECT_TRUE(w().actions().sports->isEnabled());
    EXPECT_FALSE(w().actions().trainer->isEnabled());
}

TEST_F(MainWindowTest, SelectingALineSelectsItInAllListsAndMovesTheForm) {
    enterRace(w(), 12);
    trigger(w(), &MainActions::predict);
    clickLine(c().resultList, MainForm::kOddsColumn, 2); // the third line of the odds list
    EXPECT_EQ(selectedLine(c().resultList), 2);
    // The whole row is selected: the same line of all five lists.
    EXPECT_EQ(c().resultList->selectionModel()->selectedIndexes().size(), MainForm::kResultColumns);
    for (const QModelIndex& index : c().resultList->selectionModel()->selectedIndexes())
        EXPECT_EQ(index.row(), 2);
    const int third = w().session().sheet().result.horseAt(3);
    EXPECT_EQ(w().form().currentRunner(), third);
    EXPECT_EQ(c().nameBox->text(), toQt(w().session().sheet().runner(third).name));
    EXPECT_TRUE(w().actions().trainer->isEnabled());

    clickLine(c().resultList, MainForm::kPositionColumn, 0);
    EXPECT_EQ(selectedLine(c().resultList), 0);
    EXPECT_EQ(w().form().currentRunner(), w().session().sheet().result.horseAt(1));
}

TEST_F(MainWindowTest, BetsAndTrainerViews) {
    enterRace(w(), 9);
    trigger(w(), &MainActions::predict);
    trigger(w(), &MainActions::bets);
    const QString bets =
        q(u"＝＝＝＝＝＝＝  買い目  ＝＝＝＝＝＝＝＝\n"
          u"【複勝】\n 8\t[テスト08]\n 2\t[テスト02]\n"
          u"【馬連】\n 1 - 8 \t[テスト01]-[テスト08]\n 3 - 8 \t[テスト03]-[テスト08]\n"
          u" 5 - 8 \t[テスト05]-[テスト08]\n 7 - 8 \t[テスト07]-[テスト08]\n"
          u" 8 - 9 \t[テスト08]-[テスト09]\n 1 - 2 \t[テスト01]-[テスト02]\n"
          u" 2 - 3 \t[テスト02]-[テスト03]\n 2 - 5 \t[テスト02]-[テスト05]\n");
    EXPECT_EQ(c().reportPane->toPlainText(), bets);

    // The trainer button is greyed until a line is chosen; the command
    // itself still explains why when reached.
    w().trainer();
    EXPECT_EQ(app.prompt.messages.back(), "ゼルコ馬予想の馬名を選択してください。");

    clickLine(c().resultList, MainForm::kNameColumn, 1);
    // Selecting keeps the bets view.
    EXPECT_EQ(c().reportPane->toPlainText(), bets);
    trigger(w(), &MainActions::trainer);
    EXPECT_EQ(
        c().reportPane->toPlainText(),
        q(u"＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\n 2番 テスト02\n\n"
          u"↑ ハンデ戦だから、前走より５kg以上軽くなった。これも前走わざと大敗したせいだろう。"));
    // In the trainer view a new selection explains the newly chosen runner.
    clickLine(c().resultList, MainForm::kScoreColumn, 4);
    EXPECT_EQ(c().reportPane->toPlainText(),
              q(u"＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\n 4番 テスト04\n\n"
                u"→ すでにこのクラスで連対している。実績なら十分だ。あとは調子が良ければ。"));
}

TEST_F(MainWindowTest, SaveThenOpenRoundTripThroughTheFileCommands) {
    enterRace(w(), 7);
    trigger(w(), &MainActions::predict);
    const QString path = app.dir.filePath(QStringLiteral("保存した.zel"));
    app.files.paths.push_back(path);
    trigger(w(), &MainActions::save); // no file yet: save as
    // Saving leaves the prediction on the screen.
    EXPECT_EQ(c().resultList->topLevelItemCount(), 7);
    EXPECT_TRUE(w().actions().sports->isEnabled());
    ASSERT_EQ(app.files.saveRequests.size(), 1u);
    const FileDialogRequest& r = app.files.saveRequests[0];
    EXPECT_EQ(r.title, q(u"ゼルコ馬ファイルとして保存"));
    EXPECT_EQ(r.initialName, q(u"テスト記念.zel"));
    EXPECT_EQ(r.defaultSuffix, QStringLiteral("zel"));
    EXPECT_TRUE(r.filter.startsWith(q(u"ゼルコ馬ファイル (*.zel)")));
    EXPECT_EQ(w().session().currentFilePath(), path);
    EXPECT_EQ(w().session().currentFileName(), q(u"保存した.zel"));
    const std::string saved = readWholeFile(toNativePath(path)).value_or("");
    // The race as typed, in the file's layout: the race, then runner 1.
    EXPECT_TRUE(
        saved.starts_with("ZELKOR 3.04,10,テスト記念,4,0,0,0,2,0,0,10,7,1,\r\n"
                          "8,テスト01,0,0,13,0,5,7,0,11,0,0,10,0,20,0,\r\n0,5,0,0,10,0,21,3,\r\n"))
        << saved;
    const RaceSheet before = w().session().sheet();

    trigger(w(), &MainActions::newRace);
    EXPECT_EQ(w().session().sheet().runner(1).name, "");
    EXPECT_TRUE(w().session().currentFilePath().isEmpty());
    EXPECT_EQ(w().windowTitle(), q(u"Qorvex - ゼルコ馬 2000"));

    app.files.paths.push_back(path);
    trigger(w(), &MainActions::openFile);
    ASSERT_EQ(app.files.openRequests.size(), 1u);
    EXPECT_EQ(app.files.openRequests[0].title, q(u"ゼルコ馬ファイルを開く"));
    EXPECT_EQ(w().session().currentFilePath(), path);
    EXPECT_EQ(w().windowTitle(), q(u"[テスト記念] - ゼルコ馬 2000"));
    EXPECT_EQ(w().session().sheet().runnerCount, 7);
    for (int h = 1; h <= 7; ++h)
        EXPECT_EQ(w().session().sheet().runner(h), before.runner(h)) << h;
    EXPECT_EQ(c().nameBox->text(), q(u"テスト01"));
    EXPECT_EQ(c().fieldSizeBox->currentText(), q(u"7"));
    EXPECT_EQ(c().resultList->topLevelItemCount(), 0); // a loaded race is not predicted yet

    // Save now writes to the same file without asking.
    c().nameBox->setFocus();
    c().nameBox->selectAll();
    typeThroughInputMethod(c().nameBox, q(u"カワッタ"));
    trigger(w(), &MainActions::save);
    EXPECT_EQ(app.files.saveRequests.size(), 1u);
    RaceSheet reread;
    EXPECT_TRUE(readPredictionFile(reread, toNativePath(path), app.prompt));
    EXPECT_EQ(toQt(reread.runner(1).name), q(u"カワッタ"));
}

TEST_F(MainWindowTest, CancelledDialogsChangeNothing) {
    enterRace(w(), 6);
    trigger(w(), &MainActions::predict);
    trigger(w(), &MainActions::saveAs);
    trigger(w(), &MainActions::openFile);
    EXPECT_TRUE(w().session().currentFilePath().isEmpty());
    EXPECT_EQ(c().resultList->topLevelItemCount(), 6);
    EXPECT_EQ(w().session().sheet().runner(1).name, "テスト01");
}

TEST_F(MainWindowTest, SaveAsSuggestsRacecourseAndNumberWithoutARaceName) {
    enterRace(w(), 6);
    c().raceNameBox->setFocus();
    c().raceNameBox->lineEdit()->selectAll();
    QTest::keyClick(c().raceNameBox->lineEdit(), Qt::Key_Delete);
    trigger(w(), &MainActions::saveAs);
    ASSERT_EQ(app.files.saveRequests.size(), 1u);
    EXPECT_EQ(app.files.saveRequests[0].initialName, q(u"東京_1R.zel"));
}

TEST_F(MainWindowTest, OpeningAFileOfAnotherVersionIsRefusedAndKeepsTheRace) {
    enterRace(w(), 6);
    const QString path = app.dir.filePath(QStringLiteral("old.zel"));
    ASSERT_TRUE(writeWholeFile(toNativePath(path), "ZELKOR 2.50,8,レース名,4,\r\n"));
    app.files.paths.push_back(path);
    trigger(w(), &MainActions::openFile);
    EXPECT_EQ(app.prompt.messages.back(),
              "ゼルコ馬ファイル'" + toNativePath(path) +
                  "'を読み込めませんでした。\r\n以前のバージョンのファイルは開けません\r\n"
                  "別のバージョンのゼルコ馬で作られたファイルです。");
    EXPECT_TRUE(w().session().currentFilePath().isEmpty());
    EXPECT_EQ(w().session().sheet().runner(1).name, "テスト01");
}

TEST_F(MainWindowTest, SportsPageIsWrittenAndOpened) {
    w().sportsPage();
    EXPECT_EQ(app.prompt.messages.back(), "先に予想してください。");
    enterRace(w(), 8);
    trigger(w(), &MainActions::predict);
    const QString path = app.dir.filePath(QStringLiteral("HTML/sports.html"));
    app.files.paths.push_back(path);
    trigger(w(), &MainActions::sports);
    ASSERT_EQ(app.files.saveRequests.size(), 1u);
    const FileDialogRequest& r = app.files.saveRequests[0];
    EXPECT_EQ(r.defaultSuffix, QStringLiteral("html"));
    EXPECT_TRUE(QFileInfo(r.initialName).fileName().startsWith(QStringLiteral("Zspo_")));
    EXPECT_TRUE(r.initialName.endsWith(q(u"_テスト記念.html")));
    ASSERT_EQ(app.shell.documents.size(), 1u);
    EXPECT_EQ(app.shell.documents[0], toNativePath(path));
    const std::string page = readWholeFile(toNativePath(path)).value_or("");
    EXPECT_NE(page.find("ゼルコ馬スポーツ"), std::string::npos);
}

TEST_F(MainWindowTest, HelpOpensTheDocumentAtItsContext) {
    // Opened through the redirect page, which carries the context's anchor.
    const auto openedAt = [&](int context) {
        return !app.shell.documents.empty() && app.shell.documents.back() == helpRedirectPath() &&
               readWholeFile(helpRedirectPath()) == helpRedirectPage(context);
    };
    trigger(w(), &MainActions::help);
    EXPECT_TRUE(openedAt(kHelpContents));
    QTest::keyClick(w().form().ui().oddsBox, Qt::Key_F1);
    EXPECT_TRUE(openedAt(kHelpMainWindow));
    w().viewer().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w().viewer()));
    QTest::keyClick(&w().viewer(), Qt::Key_F1);
    EXPECT_TRUE(openedAt(kHelpViewer));
    EXPECT_EQ(app.shell.documents.size(), 3u);
    EXPECT_TRUE(app.shell.urls.empty());
    // The document is the program's own, not one in the folder it works on.
    EXPECT_EQ(helpAddress(kHelpViewer), "file://" + programFilesFolder() + "zelkor2k.html#c131077");
    EXPECT_FALSE(helpAddress(kHelpViewer).starts_with("file://" + w().session().programFolder()));
}

TEST_F(MainWindowTest, ExitAnsweredNoKeepsTheWindow) {
    QTest::keyClick(&w(), Qt::Key_Escape);
    ASSERT_EQ(app.prompt.questions.size(), 1u);
    EXPECT_EQ(app.prompt.questions[0], "ゼルコ馬 2000を終了しますか？");
    EXPECT_EQ(app.prompt.captions.back(), "ゼルコ馬 2000 終了の確認");
    EXPECT_TRUE(w().isVisible());

    EXPECT_FALSE(w().close()); // the close box, answered No
    EXPECT_TRUE(w().isVisible());
    EXPECT_EQ(app.prompt.questions.size(), 2u);

    app.prompt.answers.push_back(true);
    trigger(w(), &MainActions::exit);
    EXPECT_FALSE(w().isVisible());
    EXPECT_EQ(app.prompt.questions.size(), 3u);
}

TEST_F(MainWindowTest, EscOnAnOpenListClosesTheListAndNothingElse) {
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    ASSERT_EQ(w().form().currentRunner(), 3);
    for (QComboBox* box : {c().fieldSizeBox, c().raceNameBox, c().oddsBox}) {
        box->setFocus(Qt::TabFocusReason);
        box->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }));
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(box->view(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }))
            << box->objectName().toStdString();
        EXPECT_TRUE(app.prompt.questions.empty()) << box->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), box);
        // Still in the field-size box: nothing committed, no jump to runner 1.
        if (box == c().fieldSizeBox) {
            EXPECT_EQ(w().form().currentRunner(), 3);
        }
    }

    // With no list open, Esc in any control is the exit command.
    for (QWidget* control : std::initializer_list<QWidget*>{
             c().fieldSizeBox, c().nameBox, c().resultList, c().reportPane, c().nextButton}) {
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    EXPECT_EQ(app.prompt.questions.size(), 5u);
    EXPECT_TRUE(w().isVisible());
}

TEST_F(MainWindowTest, AHorseNameLinkInTheViewerOpensTheDatabaseInTheBrowser) {
    ASSERT_EQ(w().session().settings().sportsLinkNames, 1);
    w().session().setRunnerName(1, "リンクノウマ");
    w().form().commit();
    QTextBrowser* browser = w().viewer().browser();
    const QTextCursor found = browser->document()->find(q(u"リンクノウマ"));
    ASSERT_FALSE(found.isNull());
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 1);
    browser->setTextCursor(inside);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                      browser->cursorRect(inside).center());
    ASSERT_EQ(app.shell.urls.size(), 1u);
    // The name goes as the page's Shift-JIS bytes, written %XX.
    const std::string& settingsUrl = w().session().settings().dbUrl1;
    EXPECT_EQ(app.shell.urls[0],
              settingsUrl + "%83%8A%83%93%83N%83m%83E%83}" + w().session().settings().dbUrl2);
    EXPECT_EQ(w().viewer().pagePath(), fromNativePath(w().session().pageFilePath()));
}

TEST_F(MainWindowTest, ASportsPageThatCannotBeWrittenIsReported) {
    enterRace(w(), 8);
    trigger(w(), &MainActions::predict);
    const QString path = app.dir.filePath(QStringLiteral("no such folder/sports.html"));
    app.files.paths.push_back(path);
    trigger(w(), &MainActions::sports);
    ASSERT_FALSE(app.prompt.messages.empty());
    EXPECT_EQ(toQt(app.prompt.messages.back()),
              QStringLiteral("ファイル '%1' に書き込めませんでした").arg(path));
    EXPECT_EQ(app.prompt.icons.back(), MessageIcon::Warning);
    EXPECT_TRUE(app.shell.documents.empty());
}

TEST_F(MainWindowTest, ThePageFileGoesWithTheWindowAndWithASignalDuringTheFirstUseNote) {
    const std::string page = w().session().pageFilePath();
    ASSERT_TRUE(fileExists(page));
    app.window.reset();
    EXPECT_FALSE(fileExists(page));
    QTemporaryDir fresh;
    RecordingAppPrompt prompt;
    MainWindow first(fresh.path().toStdString() + "/", AppServices{prompt, app.shell, app.files});
    std::string pageDuringNote;
    int status = 0;
    prompt.onNote = [&] {
        pageDuringNote = first.session().pageFilePath();
        const pid_t child = ::fork();
        if (child == 0) {
            ::raise(SIGTERM);
            ::_exit(0); // not reached
        }
        ::waitpid(child, &status, 0);
    };
    first.start(QString());
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(fileExists(pageDuringNote)) << pageDuringNote;
}

} // namespace
} // namespace zelkor::test

namespace zelkor::test {
namespace {

// One key of the window, pressed in a control, and what it must have done.
struct KeyPath {
    const char* name;
    QWidget* (*control)(const Ui::MainForm&);
    QKeyCombination key;
    bool (*done)(WindowUnderTest&);
};

TEST_F(MainWindowTest, CommandKeysWorkFromAnyControl) {
    using C = const Ui::MainForm&;
    const KeyPath paths[] = {
        {"Alt+Y in a box", [](C c) -> QWidget* { return c.racecourseBox; }, Qt::ALT | Qt::Key_Y,
         [](WindowUnderTest& u) {
             return u.window->form().ui().resultList->topLevelItemCount() == 12;
         }},
        {"Alt+B in the name box", [](C c) -> QWidget* { return c.nameBox; }, Qt::ALT | Qt::Key_B,
         [](WindowUnderTest& u) {
             return u.window->form().ui().reportPane->toPlainText().contains(u"【馬連】");
         }},
        {"Alt+T in a past-run box", [](C c) -> QWidget* { return c.pastFinishBox1; },
         Qt::ALT | Qt::Key_T,
         [](WindowUnderTest& u) {
             return u.window->form().ui().reportPane->toPlainText().contains(u"調教師の本音");
         }},
        {"Alt+A in the results", [](C c) -> QWidget* { return c.resultList; }, Qt::ALT | Qt::Key_A,
         [](WindowUnderTest& u) { return u.files.saveRequests.size() == 1; }},
        {"Ctrl+S", [](C c) -> QWidget* { return c.oddsBox; }, Qt::CTRL | Qt::Key_S,
         [](WindowUnderTest& u) { return u.files.saveRequests.size() == 2; }},
        {"Ctrl+Shift+S", [](C c) -> QWidget* { return c.nameBox; },
         Qt::CTRL | Qt::SHIFT | Qt::Key_S,
         [](WindowUnderTest& u) { return u.files.saveRequests.size() == 3; }},
        {"Ctrl+O", [](C c) -> QWidget* { return c.raceNameBox; }, Qt::CTRL | Qt::Key_O,
         [](WindowUnderTest& u) { return u.files.openRequests.size() == 1; }},
        {"Ctrl+Q", [](C c) -> QWidget* { return c.nextButton; }, Qt::CTRL | Qt::Key_Q,
         [](WindowUnderTest& u) { return u.prompt.saveQuestions == 2; }}, // the changed race
        {"Ctrl+N", [](C c) -> QWidget* { return c.weightBox; }, Qt::CTRL | Qt::Key_N,
         [](WindowUnderTest& u) { return u.window->session().sheet().runner(1).name.empty(); }},
    };
    enterRace(w(), 12);
    app.prompt.saveChoices = {SaveChoice::Discard, SaveChoice::Cancel}; // Ctrl+O, Ctrl+Q
    for (const KeyPath& path : paths) {
        if (path.key == (Qt::ALT | Qt::Key_T))
            clickLine(c().resultList, MainForm::kNameColumn, 0);
        const QString name = c().nameBox->text();
        QWidget* control = path.control(c());
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, path.key.key(), path.key.keyboardModifiers());
        EXPECT_TRUE(path.done(app)) << path.name;
        if (path.key != (Qt::CTRL | Qt::Key_N)) {
            EXPECT_EQ(c().nameBox->text(), name) << path.name << ": typed into the name box";
        }
    }
    EXPECT_TRUE(w().actions().predict->toolTip().contains(QStringLiteral("Alt+Y")));
    EXPECT_TRUE(w().actions().save->toolTip().contains(QStringLiteral("Ctrl+S")));
}

// Alt+letter of a greyed command, or of none, changes no field; Tab follows
// the race group row by row; F6 and Shift+F6 go from pane to pane, back to
// where the user was in each.
TEST_F(MainWindowTest, TheKeyboardTypesNothingAmissAndReachesEveryPane) {
    enterRace(w(), 3);
    for (QWidget* field :
         {(QWidget*)c().nameBox, (QWidget*)c().raceNameBox, (QWidget*)c().fieldSizeBox}) {
        field->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_B, Qt::Key_T, Qt::Key_A, Qt::Key_P, Qt::Key_Z, Qt::Key_1})
            QTest::keyClick(field, key, Qt::AltModifier);
    }
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    QTest::keyClick(c().nameBox, Qt::Key_N, Qt::AltModifier); // 次の馬 greyed at the last runner
    const RaceSheet& s = w().session().sheet();
    EXPECT_EQ(std::tie(s.runner(1).name, s.raceName, s.runnerCount),
              std::make_tuple("テスト01", "テスト記念", 3));
    EXPECT_EQ(c().nameBox->text(), q(u"テスト03"));

    c().racecourseBox->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited;
    for (int i = 0; i < 5; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
        visited << QApplication::focusWidget();
    c().weightBox->setFocus(Qt::TabFocusReason);
    for (auto shift : {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, shift);
        visited << QApplication::focusWidget();
    }
    EXPECT_EQ(visited,
              (QList<QWidget*>{c().racecourseBox, c().raceNumberBox, c().gradeBox, c().fieldSizeBox,
                               c().raceNameBox, c().resultList, w().viewer().browser(),
                               c().weightBox, w().viewer().browser()}));
}

// A command that replaces the race, and whether it went on.
struct ReplacingCommand {
    const char* name;
    QAction* MainActions::*action;
    bool (*wentOn)(WindowUnderTest&);
};

TEST_F(MainWindowTest, CommandsThatReplaceAChangedRaceAskToSaveIt) {
    const ReplacingCommand commands[] = {
        {"new", &MainActions::newRace,
         [](WindowUnderTest& u) { return u.window->session().sheet().runner(1).name.empty(); }},
        {"open", &MainActions::openFile,
         [](WindowUnderTest& u) {
             return !u.files.openRequests.empty() &&
                    u.files.openRequests.back().defaultSuffix == u"zel";
         }},
        {"JRA-VAN", &MainActions::openJraVan,
         [](WindowUnderTest& u) {
             return !u.files.openRequests.empty() &&
                    u.files.openRequests.back().defaultSuffix == u"lzh";
         }},
        {"JV-Data", &MainActions::openJvDataRaces,
         [](WindowUnderTest& u) {
             // The store is empty: its message, taken so the next round starts without it.
             const bool told =
                 !u.prompt.messages.empty() && u.prompt.messages.back().starts_with("JV-Data");
             u.prompt.messages.clear();
             return told;
         }},
        {"exit", &MainActions::exit, [](WindowUnderTest& u) { return !u.window->isVisible(); }},
    };
    const QString saved = app.dir.filePath(QStringLiteral("saved.zel"));
    int round = 0;
    for (const ReplacingCommand& command : commands) {
        for (SaveChoice choice : {SaveChoice::Cancel, SaveChoice::Save, SaveChoice::Discard}) {
            const QString typed = q(u"カワル") + QString::number(++round);
            app.files.openRequests.clear();
            enterRace(w(), 6);
            w().session().forgetCurrentFile();
            c().nameBox->setFocus();
            c().nameBox->selectAll();
            typeThroughInputMethod(c().nameBox, typed);
            EXPECT_EQ(w().statusBar()->findChild<QLabel*>(QStringLiteral("stateStatus"))->text(),
                      q(u"変更あり"))
                << command.name << " " << int(choice);
            const int asked = app.prompt.saveQuestions;
            const size_t yesNo = app.prompt.questions.size();
            app.prompt.saveChoices = {choice};
            if (choice == SaveChoice::Save)
                app.files.paths = {saved};
            trigger(w(), command.action);
            EXPECT_EQ(app.prompt.saveQuestions, asked + 1) << command.name;
            EXPECT_EQ(app.prompt.questions.size(), yesNo) << command.name; // one question
            EXPECT_EQ(command.wentOn(app), choice != SaveChoice::Cancel)
                << command.name << " " << int(choice);
            if (choice == SaveChoice::Save) {
                RaceSheet reread;
                EXPECT_TRUE(readPredictionFile(reread, toNativePath(saved), app.prompt));
                EXPECT_EQ(toQt(reread.runner(1).name), typed) << command.name;
            }
            w().show();
        }
    }
    // Nothing changed since the race was made: no question.
    trigger(w(), &MainActions::newRace);
    const int asked = app.prompt.saveQuestions;
    trigger(w(), &MainActions::newRace);
    trigger(w(), &MainActions::newRace);
    EXPECT_EQ(app.prompt.saveQuestions, asked);
}

TEST_F(MainWindowTest, RecentFilesDropsAndDialogFoldersRememberWhatWasUsed) {
    enterRace(w(), 5);
    QDir(app.dir.path()).mkdir(QStringLiteral("races"));
    const QString path = app.dir.filePath(QStringLiteral("races/最近.zel"));
    app.files.paths = {path};
    trigger(w(), &MainActions::saveAs);
    // Dialogs start at home, then where that kind of file was chosen last.
    EXPECT_EQ(app.files.saveRequests[0].folder, QDir::homePath());
    trigger(w(), &MainActions::openFile);
    EXPECT_EQ(app.files.openRequests[0].folder, QFileInfo(path).absolutePath());
    trigger(w(), &MainActions::openJraVan);
    EXPECT_EQ(app.files.openRequests[1].folder, QDir::homePath());

    // ファイル → 最近使ったファイル reopens it, in this window and the next.
    trigger(w(), &MainActions::newRace);
    QMenu* recent = w().findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_EQ(recent->actions()[0]->text(), q(u"&1 最近.zel"));
    recent->actions()[0]->trigger();
    EXPECT_EQ(w().session().sheet().runner(1).name, "テスト01");
    EXPECT_EQ(w().session().currentFilePath(), path);
    EXPECT_EQ(WindowState(app.folder()).recentFiles(), QStringList{path});

    // A file dropped on the window is opened as the menu command would,
    // copied even where the file manager proposes to move it.
    trigger(w(), &MainActions::newRace);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(&w(), &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return w().session().sheet().runner(1).name == "テスト01"; }));
}

// A file named on the command line (quoted, relative to where the program
// started) opens as the Open command opens it.
TEST_F(MainWindowTest, AFileOnTheCommandLineOpensAsTheOpenCommandDoes) {
    enterRace(w(), 5);
    const QString path = app.dir.filePath(QStringLiteral("起動.zel"));
    ASSERT_TRUE(w().session().savePredictionFile(path, app.prompt));
    MainWindow next(app.folder(), AppServices{app.prompt, app.shell, app.files});
    next.start(QStringLiteral(" \"%1\"").arg(QDir::current().relativeFilePath(path)));
    EXPECT_EQ(next.windowTitle(), q(u"[テスト記念] - ゼルコ馬 2000"));
    EXPECT_EQ(std::tie(next.session().currentFilePath(), next.session().currentFileName()),
              std::make_tuple(path, q(u"起動.zel")));
    EXPECT_EQ(WindowState(app.folder()).recentFiles(), QStringList{path});
    next.hide();
}

TEST_F(MainWindowTest, TheViewerClosesReopensAndStaysAsTheUserLeftIt) {
    PageViewer& viewer = w().viewer();
    EXPECT_FALSE(viewer.isFloating());
    EXPECT_EQ(w().dockWidgetArea(&viewer), Qt::RightDockWidgetArea);
    viewer.close();
    EXPECT_FALSE(viewer.isVisible());
    QAction* show = viewer.toggleViewAction();
    EXPECT_TRUE(w().menuBar()->actions()[2]->menu()->actions().contains(show));
    show->trigger();
    EXPECT_TRUE(viewer.isVisible());
    // Left closed at exit, it is closed at the next start too.
    viewer.close();
    app.prompt.answers = {true};
    trigger(w(), &MainActions::exit);
    RecordingAppPrompt prompt;
    MainWindow next(app.folder(), AppServices{prompt, app.shell, app.files});
    next.start(QString());
    EXPECT_FALSE(next.viewer().isVisible());
    next.viewer().toggleViewAction()->trigger();
    EXPECT_TRUE(next.viewer().isVisible());
    next.hide();
}

TEST(QtUserPrompt, BreaksInsideASentenceAreLeftToTheBox) {
    EXPECT_EQ(
        messageDisplayText(
            "初めて・・・\n\n[開く]\nで開いた後、\n押してください。\n　○ヘルプ\r\n次"),
        QString::fromUtf16(u"初めて・・・\n\n[開く]で開いた後、押してください。\n　○ヘルプ\r\n次"));
}

} // namespace
} // namespace zelkor::test
