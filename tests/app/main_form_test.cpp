// The main form driven through its real widgets: typing, keys, clicks and
// focus changes, as a user would.
#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/qt_text.h"
#include "app_fakes.h"
#include "core/race_sheet.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

class MainFormTest : public ::testing::Test {
  protected:
    MainForm& form() { return app.window->form(); }
    const Ui::MainForm& c() { return form().ui(); }
    const RaceSheet& sheet() { return app.window->session().sheet(); }

    void typeName(const QString& name) {
        c().nameBox->setFocus(Qt::TabFocusReason);
        c().nameBox->selectAll();
        QTest::keyClick(c().nameBox, Qt::Key_Backspace);
        typeThroughInputMethod(c().nameBox, name);
    }
    // Moves the focus on with the Tab key, which leaves the focused box.
    void leave(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    void pressKey(QComboBox* box, Qt::Key key, int times = 1) {
        box->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(box, key);
    }

    WindowUnderTest app;
};

// Fusion, the style of these tests, opens a list as tall as all its entries.
TEST_F(MainFormTest, ListsScrollAfterTwentyEntries) {
    for (QComboBox* box : {c().racecourseBox, c().weightBox}) {
        EXPECT_EQ(box->maxVisibleItems(), 20);
        QStyleOptionComboBox option;
        option.initFrom(box);
        EXPECT_EQ(box->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, box), 0);
    }
}

// Boxes are as wide as their contents length says, whatever their entries,
// and build their list window only when one is opened.
TEST_F(MainFormTest, BoxesAreSizedByLengthAndBuildNoListAtStart) {
    // (The typed race name's completer has a view of its own.)
    for (const QComboBox* box : form().findChildren<QComboBox*>())
        EXPECT_TRUE(box->isEditable() || box->findChildren<QAbstractItemView*>().isEmpty())
            << box->objectName().toStdString();
    QComboBox* box = c().weightBox;
    const int width = box->sizeHint().width();
    box->addItem(QString(40, u'W'));
    EXPECT_EQ(box->sizeHint().width(), width);
    box->setMinimumContentsLength(box->minimumContentsLength() + 10);
    EXPECT_EQ(box->sizeHint().width(), width + 10 * box->fontMetrics().horizontalAdvance(u'X'));
}

// Typed numbers choose their entry, in half-width or full-width digits
// alike; no entry of a list shows full-width ones.
TEST_F(MainFormTest, TypedDigitsChooseTheEntry) {
    const std::tuple<QComboBox*, const char16_t*, const char16_t*> typed[] = {
        {c().fieldSizeBox, u"１５", u"15"},
        {c().pastPopularityBox1, u"１２", u"12"},
        {c().distanceBox, u"２４", u"2400"}};
    for (const auto& [box, digits, shown] : typed) {
        box->setFocus(Qt::TabFocusReason);
        for (QChar digit : QString::fromUtf16(digits))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(digit), {});
        EXPECT_EQ(box->currentText(), QString::fromUtf16(shown));
    }
    EXPECT_EQ(sheet().runnerCount, 15);
    for (const QComboBox* box : form().findChildren<QComboBox*>())
        for (int i = 0; !box->isEditable() && i < box->count(); ++i)
            EXPECT_FALSE(box->itemText(i).contains(QRegularExpression(QStringLiteral("[０-９]"))));
}

TEST_F(MainFormTest, StartsOnRunnerOneOfSixWithPreviousOff) {
    EXPECT_EQ(c().runnerLabel->text(), q(u"白 1枠 1番 "));
    EXPECT_EQ(c().fieldSizeBox->currentText(), q(u"6"));
    EXPECT_EQ(c().raceNameBox->currentText(), q(u"レース名"));
    EXPECT_EQ(c().distanceBox->currentText(), q(u"2000"));
    EXPECT_FALSE(c().previousButton->isEnabled());
    EXPECT_TRUE(c().nextButton->isEnabled());
    EXPECT_EQ(c().nextButton->toolTip(), q(u"次の出走馬のデータを表示"));
    EXPECT_EQ(c().previousButton->toolTip(), q(u"前の出走馬のデータを表示"));
    EXPECT_EQ(c().nextButton->text(), q(u"次の馬(&N)"));
    EXPECT_EQ(c().previousButton->text(), q(u"前の馬(&P)"));
}

TEST_F(MainFormTest, TypingSixNamesEnablesPredictAndClearingOneDisablesIt) {
    const QString names[] = {q(u"サクラボーイ"), q(u"メジロフジ"),   q(u"タマモクロス"),
                             q(u"ナリタヒカリ"), q(u"ダイワノホシ"), q(u"ニシノカゼ")};
    for (int i = 0; i < 6; ++i) {
        typeName(names[i]);
        // Until the last name is typed some runner is still nameless.
        EXPECT_EQ(app.window->session().prediction().predictEnabled(), i == 5) << i;
        if (i < 5)
            QTest::mouseClick(c().nextButton, Qt::LeftButton);
    }
    for (int h = 1; h <= 6; ++h)
        EXPECT_EQ(toQt(sheet().runner(h).name), names[h - 1]);

    c().nameBox->setFocus();
    c().nameBox->selectAll();
    QTest::keyClick(c().nameBox, Qt::Key_Delete);
    EXPECT_FALSE(app.window->session().prediction().predictEnabled());
    typeThroughInputMethod(c().nameBox, q(u"ニシノ"));
    EXPECT_TRUE(app.window->session().prediction().predictEnabled());
}

TEST_F(MainFormTest, NextAndPreviousStopAtTheEndsOfTheField) {
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(c().nextButton->isEnabled()) << i;
        QTest::mouseClick(c().nextButton, Qt::LeftButton);
    }
    EXPECT_EQ(form().currentRunner(), 6);
    EXPECT_FALSE(c().nextButton->isEnabled());
    EXPECT_TRUE(c().previousButton->isEnabled());
    EXPECT_EQ(c().runnerLabel->text(), q(u"緑 6枠 6番 "));
    EXPECT_TRUE(c().nameBox->hasFocus());

    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(c().previousButton, Qt::LeftButton);
    EXPECT_EQ(form().currentRunner(), 2);
    EXPECT_TRUE(c().previousButton->isEnabled());
    QTest::mouseClick(c().previousButton, Qt::LeftButton);
    EXPECT_EQ(form().currentRunner(), 1);
    EXPECT_FALSE(c().previousButton->isEnabled());
    EXPECT_TRUE(c().nextButton->isEnabled());
}

TEST_F(MainFormTest, EnterMovesToTheNextRunnerAndKeepsTheEdits) {
    typeName(q(u"オグリ"));
    QTest::keyClick(c().nameBox, Qt::Key_Return);
    EXPECT_EQ(form().currentRunner(), 2);
    EXPECT_EQ(toQt(sheet().runner(1).name), q(u"オグリ"));
    EXPECT_TRUE(c().nameBox->text().isEmpty());
}

TEST_F(MainFormTest, EditsAreKeptWhenMovingBetweenRunners) {
    typeName(q(u"イチバン"));
    pressKey(c().oddsBox, Qt::Key_Down, 3);        // 3.1～4.0
    pressKey(c().pastFinishBox1, Qt::Key_Down, 4); // 5th last time
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    QTest::mouseClick(c().previousButton, Qt::LeftButton);
    EXPECT_EQ(c().nameBox->text(), q(u"イチバン"));
    EXPECT_EQ(c().oddsBox->currentText(), q(u"3.1～4.0"));
    EXPECT_EQ(c().pastFinishBox1->currentText(), q(u"5"));
    EXPECT_EQ(sheet().runner(1).oddsBand, 3);
    EXPECT_EQ(sheet().runner(1).pastRuns[kLastRun].finish, 4);
    EXPECT_EQ(sheet().runner(2).oddsBand, 0);
}

TEST_F(MainFormTest, FieldSizeChangeKeepsRunnerFivesEditsAndShowsRunnerOne) {
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(c().nextButton, Qt::LeftButton);
    ASSERT_EQ(form().currentRunner(), 5);
    typeName(q(u"ゴバンメ"));
    pressKey(c().weightBox, Qt::Key_Up, 4);  // 54.0
    pressKey(c().styleBox, Qt::Key_Down, 2); // 差し

    pressKey(c().fieldSizeBox, Qt::Key_Down, 4); // ６ → １０ at once
    EXPECT_EQ(sheet().runnerCount, 10);
    EXPECT_EQ(sheet().liveRunnerCount, 10);
    EXPECT_EQ(form().currentRunner(), 5) << "the runner row changes only on leaving";

    QTest::keyClick(c().fieldSizeBox, Qt::Key_Tab);
    EXPECT_EQ(form().currentRunner(), 1);
    EXPECT_EQ(toQt(sheet().runner(5).name), q(u"ゴバンメ"));
    EXPECT_EQ(sheet().runner(5).weight, 16);
    EXPECT_EQ(sheet().runner(5).runningStyle, RunningStyle::Closer);
    EXPECT_TRUE(c().nameBox->text().isEmpty());
    EXPECT_EQ(c().runnerLabel->text(), q(u"白 1枠 1番 "));
    EXPECT_FALSE(c().previousButton->isEnabled());
    EXPECT_TRUE(c().nextButton->isEnabled());
}

// Opens the box's list and reports the window as losing the focus to it,
// as X11 window systems do when the list takes the keyboard.
void openListAsTheWindowSystemDoes(QComboBox* box) {
    box->setFocus(Qt::TabFocusReason);
    box->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }));
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box, &lost);
}

// Walks the open list to `entry` and takes it with Enter.
void chooseInOpenList(QComboBox* box, int entry) {
    QAbstractItemView* view = box->view();
    view->setCurrentIndex(view->model()->index(entry, 0));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }));
}

TEST_F(MainFormTest, ChoosingInAListCommitsOnlyWhenTheBoxIsLeft) {
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    ASSERT_EQ(form().currentRunner(), 3);

    openListAsTheWindowSystemDoes(c().fieldSizeBox);
    chooseInOpenList(c().fieldSizeBox, 6); // １０
    EXPECT_EQ(sheet().runnerCount, 10);
    EXPECT_EQ(form().currentRunner(), 3) << "still in the box";
    EXPECT_TRUE(c().runnerLabel->text().contains(q(u" 3番 ")));
    QTest::keyClick(c().fieldSizeBox, Qt::Key_Tab);
    EXPECT_EQ(form().currentRunner(), 1);

    const QString title = app.window->windowTitle();
    openListAsTheWindowSystemDoes(c().raceNameBox);
    EXPECT_EQ(app.window->windowTitle(), title) << "opening the list is not leaving";
    chooseInOpenList(c().raceNameBox, 19); // 有馬記念
    EXPECT_EQ(app.window->windowTitle(), title);
    QTest::keyClick(c().raceNameBox, Qt::Key_Tab);
    EXPECT_EQ(app.window->windowTitle(), q(u"[有馬記念] - ゼルコ馬 2000"));
}

TEST_F(MainFormTest, CharactersShiftJisLacksAreReplacedAndTheUserIsTold) {
    app.prompt.messages.clear();
    app.prompt.icons.clear();
    typeName(q(u"한국馬"));
    QTest::keyClick(c().nameBox, Qt::Key_Tab);
    EXPECT_EQ(sheet().runner(1).name, "??馬");
    EXPECT_EQ(c().nameBox->text(), q(u"??馬"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.prompt.messages.empty(); }));
    ASSERT_EQ(app.prompt.messages.size(), 1u);
    EXPECT_EQ(toQt(app.prompt.messages[0]),
              q(u"馬名にはShift-JISで表せない文字があるため、「??馬」として記録しました。"));
    EXPECT_EQ(app.prompt.icons[0], MessageIcon::Information);

    // The race name the same way; a name CP932 holds passes silently.
    c().raceNameBox->setFocus(Qt::TabFocusReason);
    c().raceNameBox->lineEdit()->selectAll();
    typeThroughInputMethod(c().raceNameBox->lineEdit(), q(u"Ωステークス☃"));
    QTest::keyClick(c().raceNameBox, Qt::Key_Tab);
    EXPECT_EQ(toQt(sheet().raceName), q(u"Ωステークス?"));
    EXPECT_EQ(app.window->windowTitle(), q(u"[Ωステークス?] - ゼルコ馬 2000"));
    typeName(q(u"ＧⅠ馬～①"));
    QTest::keyClick(c().nameBox, Qt::Key_Tab);
    EXPECT_EQ(toQt(sheet().runner(1).name), q(u"ＧⅠ馬～①"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.prompt.messages.size() == 2; }));
    EXPECT_EQ(toQt(app.prompt.messages[1]),
              q(u"レース名にはShift-JISで表せない文字があるため、「Ωステークス?」として記録しまし"
                u"た。"));
}

TEST_F(MainFormTest, SakurashoPresetThenArimaKinen) {
    // The suggestions are walked with the arrow key; each one chosen applies
    // its preset.
    pressKey(c().raceNameBox, Qt::Key_Down, 2); // フェブラリーステークス, 桜花賞
    EXPECT_EQ(c().raceNameBox->currentText(), q(u"桜花賞"));
    EXPECT_EQ(c().racecourseBox->currentText(), q(u"阪神"));
    EXPECT_EQ(c().gradeBox->currentText(), q(u"ＧⅠ"));
    EXPECT_EQ(c().ageLimitBox->currentText(), q(u"3歳"));
    EXPECT_EQ(c().sexLimitBox->currentText(), q(u"牝"));
    EXPECT_EQ(c().weightRuleBox->currentText(), q(u"定量"));
    EXPECT_EQ(c().surfaceBox->currentText(), q(u"芝"));
    EXPECT_EQ(c().distanceBox->currentText(), q(u"1600"));
    EXPECT_EQ(c().sexBox->currentText(), q(u"牝"));
    EXPECT_EQ(c().ageBox->currentText(), q(u"3"));
    for (int h = 1; h <= kMaxRunners; ++h) {
        EXPECT_EQ(sheet().runner(h).sex, Sex::Filly) << h;
        EXPECT_EQ(sheet().runner(h).age, 1) << h;
    }
    EXPECT_EQ(toQt(sheet().raceName), q(u"桜花賞"));
    EXPECT_EQ(toQt(sheet().racecourse), q(u"阪神"));

    pressKey(c().raceNameBox, Qt::Key_Down, 18); // down to 有馬記念
    EXPECT_EQ(c().raceNameBox->currentText(), q(u"有馬記念"));
    EXPECT_EQ(c().racecourseBox->currentText(), q(u"中山"));
    EXPECT_EQ(c().ageLimitBox->currentText(), q(u"3歳上"));
    EXPECT_EQ(c().sexLimitBox->currentText(), q(u"なし"));
    EXPECT_EQ(c().weightRuleBox->currentText(), q(u"馬齢"));
    EXPECT_EQ(c().distanceBox->currentText(), q(u"2500"));
    EXPECT_EQ(c().sexBox->currentText(), q(u"牡"));
    EXPECT_EQ(c().ageBox->currentText(), q(u"4"));
    for (int h = 1; h <= kMaxRunners; ++h)
        EXPECT_EQ(sheet().runner(h).sex, Sex::Colt) << h;

    // Leaving the box puts the race name into the caption.
    QTest::keyClick(c().raceNameBox, Qt::Key_Tab);
    EXPECT_EQ(app.window->windowTitle(), q(u"[有馬記念] - ゼルコ馬 2000"));
}

TEST_F(MainFormTest, UnknownAgeLimitClearsTheAgeBoxButKeepsTheAges) {
    pressKey(c().ageLimitBox, Qt::Key_Down, 3); // ３歳上, ３歳, ２歳
    EXPECT_EQ(c().ageBox->currentText(), q(u"2"));
    QTest::keyClick(c().ageLimitBox, Qt::Key_Down); // ？
    EXPECT_EQ(c().ageBox->currentIndex(), -1);
    QTest::keyClick(c().ageLimitBox, Qt::Key_Tab);
    // The emptied box does not write a position of −1 into the sheet.
    EXPECT_EQ(sheet().runner(1).age, 0);
    EXPECT_EQ(sheet().ageLimit, 4);

    pressKey(c().ageLimitBox, Qt::Key_Up, 1); // ２歳
    EXPECT_EQ(c().ageBox->currentText(), q(u"2"));
    EXPECT_EQ(sheet().runner(7).age, 0);
}

TEST_F(MainFormTest, PastRunBoxStatesFollowKindAndFinish) {
    const Ui::MainForm& u = c();
    QComboBox* others[] = {u.pastFinishBox1,   u.pastFieldSizeBox1, u.pastPopularityBox1,
                           u.pastDistanceBox1, u.pastClassBox1,     u.pastWeightBox1};
    // A new runner ran and won: everything but the time difference is open.
    for (QComboBox* b : others)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(u.pastTimeDiffBox1->isEnabled());

    pressKey(u.pastKindBox1, Qt::Key_Down); // 放牧
    EXPECT_EQ(u.pastKindBox1->currentText(), q(u"放牧"));
    for (QComboBox* b : others)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(u.pastTimeDiffBox1->isEnabled());
    EXPECT_TRUE(u.pastFinishBox0->isEnabled()) << "the other row is not touched";

    pressKey(u.pastKindBox1, Qt::Key_Up); // レース again
    for (QComboBox* b : others)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(u.pastTimeDiffBox1->isEnabled());
    pressKey(u.pastFinishBox1, Qt::Key_Down); // 2nd
    EXPECT_TRUE(u.pastTimeDiffBox1->isEnabled());

    // The states follow the runner shown.
    QTest::mouseClick(c().nextButton, Qt::LeftButton);
    EXPECT_FALSE(u.pastTimeDiffBox1->isEnabled());
    QTest::mouseClick(c().previousButton, Qt::LeftButton);
    EXPECT_TRUE(u.pastTimeDiffBox1->isEnabled());
    EXPECT_EQ(sheet().runner(1).pastRuns[kLastRun].finish, 1);
}

TEST_F(MainFormTest, LeavingABoxRewritesThePageInTheViewer) {
    typeName(q(u"ミエルカナ"));
    QTest::keyClick(c().nameBox, Qt::Key_Tab);
    const std::string page = app.window->session().pageFilePath();
    ASSERT_FALSE(page.empty());
    EXPECT_NE(app.window->viewer().browser()->toPlainText().indexOf(q(u"ミエルカナ")), -1);

    pressKey(c().surfaceBox, Qt::Key_Down); // ダート
    QTest::keyClick(c().surfaceBox, Qt::Key_Tab);
    EXPECT_EQ(sheet().surface, 1);
    EXPECT_NE(app.window->viewer().browser()->toPlainText().indexOf(q(u"ダート")), -1);
}

} // namespace
} // namespace zelkor::test
