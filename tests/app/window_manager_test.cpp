// What only a real window manager decides, read back from the X server:
// that the window, its docked viewer and a full field fit the screen, the
// viewer floating as a window of its own, and that a batch job's progress
// window minimises nothing when it goes. Run through with_window_manager.sh
// (Xvfb + Openbox) at each screen setting.
#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/race_selection_dialog.h"
#include "app/race_session.h"
#include "app_fakes.h"
#include "dialog_driving.h"
#include "race/race_card.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

// Long enough for a machine busy with other tests; every wait ends as soon as
// what it waits for holds.
constexpr int kTimeoutMs = 30000;

QString hexId(const QWidget& w) {
    return QStringLiteral("0x%1").arg(w.winId(), 0, 16);
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kTimeoutMs))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString property(const QWidget& w, const char* name) {
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), hexId(w), QString::fromLatin1(name)});
}

// "Normal", "Iconic" or "Withdrawn", as the window manager keeps it.
QString wmState(const QWidget& w) {
    static const QRegularExpression state(QStringLiteral("window state: (\\w+)"));
    return state.match(property(w, "WM_STATE")).captured(1);
}

bool hiddenByWindowManager(const QWidget& w) {
    return property(w, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_HIDDEN"));
}

// The frame the user sees: the client area from xwininfo grown by the
// window manager's frame extents.
QRect frameOnScreen(const QWidget& w) {
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hexId(w)});
    auto field = [&](const char* label) {
        const QRegularExpression re(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return re.match(info).captured(1).toInt();
    };
    QRect client(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
    static const QRegularExpression extents(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const QRegularExpressionMatch m = extents.match(property(w, "_NET_FRAME_EXTENTS"));
    if (m.hasMatch())
        client.adjust(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(),
                      m.captured(4).toInt());
    return client;
}

// Returns once the window manager has handled every request sent before:
// it answers a title change of `w` by copying the title into
// _NET_WM_VISIBLE_NAME, and it handles requests in the order they came.
bool windowManagerCaughtUp(QWidget& w) {
    static int round = 0;
    const QString title = w.windowTitle();
    const QString marker = QStringLiteral("sync-%1").arg(++round);
    w.setWindowTitle(marker);
    const bool seen = QTest::qWaitFor(
        [&] { return property(w, "_NET_WM_VISIBLE_NAME").contains(marker); }, kTimeoutMs);
    w.setWindowTitle(title);
    return seen;
}

bool isNormal(const QWidget& w) {
    return wmState(w) == QStringLiteral("Normal") && !hiddenByWindowManager(w);
}

// The screen the test runs on (ZELKOR_SCREEN, as with_window_manager.sh
// made it) in the X server's pixels.
QSize screenSize() {
    const QStringList size =
        qEnvironmentVariable("ZELKOR_SCREEN", QStringLiteral("1600x1000")).split(u'x');
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize(1600, 1000);
}

// A widget's rectangle on screen in the X server's pixels.
QRect onScreen(const QWidget& w) {
    const qreal ratio = w.devicePixelRatioF();
    const QPoint at = w.mapToGlobal(QPoint(0, 0));
    return {QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)),
            QSize(qRound(w.width() * ratio), qRound(w.height() * ratio))};
}

class WindowManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui = std::make_unique<WindowUnderTest>();
        ASSERT_TRUE(QTest::qWaitFor([&] { return isNormal(main()); }, kTimeoutMs))
            << "main " << wmState(main()).toStdString();
        // A window floated while the window manager still handles the main
        // window's first requests may never be mapped.
        ASSERT_TRUE(windowManagerCaughtUp(main()));
    }
    MainWindow& main() { return *ui->window; }
    PageViewer& viewer() { return ui->window->viewer(); }

    std::unique_ptr<WindowUnderTest> ui;
    QObject watches;
};

// A screen lower than this (in the program's pixels, 1280×800 at 150 %)
// shows part of a full field at once, the rest by scrolling the list.
constexpr int kHeightForAFullField = 600;

TEST_F(WindowManagerTest, FormViewerAndAFullFieldFitTheScreenSideBySide) {
    RaceSheet s;
    s.runnerCount = s.liveRunnerCount = kMaxRunners;
    for (int h = 1; h <= kMaxRunners; ++h)
        s.runner(h).name = "ウマ";
    typeInRace(main(), s);
    main().predict();
    QTreeWidget* results = main().form().ui().resultList;
    ASSERT_EQ(results->topLevelItemCount(), kMaxRunners);
    // Settled where the window manager put it.
    ASSERT_TRUE(windowManagerCaughtUp(main()));

    // Every row whole inside the list, or on a low screen half of them, the
    // last reached by dragging the scroll bar down; on a screen too low for
    // the form above them they are a tab beside the viewer, brought forward
    // by the prediction, never over what the user sees of the form.
    const QRect screen(QPoint(0, 0), screenSize());
    const bool low = screen.height() / main().devicePixelRatioF() < kHeightForAFullField;
    ASSERT_TRUE(results->isVisible());
    const int rowHeight = results->visualItemRect(results->topLevelItem(0)).height();
    EXPECT_GE(results->viewport()->height() / std::max(1, rowHeight),
              low ? kMaxRunners / 2 : kMaxRunners);
    QScrollBar* bar = results->verticalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    if (low)
        bar->setValue(bar->maximum());
    const QRect last = results->visualItemRect(results->topLevelItem(kMaxRunners - 1));
    EXPECT_LE(last.bottom(), results->viewport()->height());
    const QRect form = onScreen(*main().centralWidget());
    if (!low) {
        EXPECT_TRUE(form.contains(onScreen(main().form()))) << "the form shows whole";
    }
    if (!main().form().isAncestorOf(results)) {
        EXPECT_FALSE(onScreen(*results).intersects(form));
    }

    viewer().raise();
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer().isVisible(); }, kTimeoutMs));
    const QRect frame = frameOnScreen(main());
    EXPECT_TRUE(screen.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    const QRect dock = onScreen(viewer());
    EXPECT_FALSE(dock.intersects(form));
    EXPECT_GT(dock.left(), form.right()) << "the viewer stands on the right";
    EXPECT_GE(dock.width(), 540);
}

TEST_F(WindowManagerTest, TheViewerFloatsAsAWindowOfItsOwnAndComesBackFromTheViewMenu) {
    viewer().setFloating(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return isNormal(viewer()); }, kTimeoutMs))
        << "viewer " << wmState(viewer()).toStdString();
    EXPECT_TRUE(property(viewer(), "_NET_WM_NAME").contains(QStringLiteral("HTML競馬新聞")))
        << property(viewer(), "_NET_WM_NAME").toStdString();
    EXPECT_FALSE(frameOnScreen(viewer()).intersects(onScreen(main().form())) &&
                 frameOnScreen(viewer()).contains(onScreen(main().form())));
    viewer().close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer().isVisible(); }, kTimeoutMs));
    EXPECT_TRUE(isNormal(main()));
    viewer().toggleViewAction()->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return isNormal(viewer()); }, kTimeoutMs));
    viewer().setFloating(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer().isVisible() && !viewer().isFloating(); },
                                kTimeoutMs));
}

// A floating viewer comes back at the next start as wide as it was left, in
// front of the main window.
TEST_F(WindowManagerTest, AFloatingViewerComesBackInFront) {
    viewer().setFloating(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return isNormal(viewer()); }, kTimeoutMs));
    const int width = viewer().width() + 40;
    viewer().resize(width, viewer().height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer().width() == width; }, kTimeoutMs));
    ui->prompt.answers = {true};
    main().actions().exit->trigger();
    ui->window =
        std::make_unique<MainWindow>(ui->folder(), AppServices{ui->prompt, ui->shell, ui->files});
    main().start(QString());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return isNormal(main()) && isNormal(viewer()); }, kTimeoutMs));
    ASSERT_TRUE(windowManagerCaughtUp(main()));
    EXPECT_EQ(viewer().width(), width);
    const QString stack =
        run(QStringLiteral("xprop"),
            {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    EXPECT_GT(stack.indexOf(hexId(viewer())), stack.indexOf(hexId(main()))) << stack.toStdString();
}

// A real click of the X server's pointer at `where` (screen coordinates).
void clickOnScreen(const QPoint& where) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(where.x()),
         QString::number(where.y()), QStringLiteral("click"), QStringLiteral("1")});
}

TEST_F(WindowManagerTest, ChoosingInAnOpenListIsNotLeavingTheBox) {
    const Ui::MainForm& c = main().form().ui();
    QTest::mouseClick(c.nextButton, Qt::LeftButton);
    QTest::mouseClick(c.nextButton, Qt::LeftButton);
    ASSERT_EQ(main().form().currentRunner(), 3);
    const QString title = main().windowTitle();

    // The user scrolls 出走頭数 into view, opens it with the mouse and picks
    // １０ with the keys.
    QComboBox* box = c.fieldSizeBox;
    qobject_cast<QScrollArea*>(main().centralWidget())->ensureWidgetVisible(box);
    clickOnScreen(onScreen(*box).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }, kTimeoutMs));
    run(QStringLiteral("xdotool"),
        {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20"),
         QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
         QStringLiteral("Down"), QStringLiteral("Return")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }, kTimeoutMs));
    EXPECT_EQ(box->currentIndex(), 6);
    EXPECT_EQ(main().session().sheet().runnerCount, 10);
    EXPECT_EQ(main().form().currentRunner(), 3) << "the box has not been left";
    EXPECT_TRUE(box->hasFocus());

    // Opening the race-name list does not put the name into the caption.
    QComboBox* raceName = c.raceNameBox;
    raceName->setFocus(Qt::TabFocusReason); // leaves 出走頭数: runner 1
    EXPECT_TRUE(QTest::qWaitFor([&] { return main().form().currentRunner() == 1; }, kTimeoutMs));
    raceName->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return raceName->view()->isVisible(); }, kTimeoutMs));
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !raceName->view()->isVisible(); }, kTimeoutMs));
    EXPECT_EQ(main().windowTitle(), title);
    EXPECT_TRUE(ui->prompt.questions.empty()) << "Esc on the open list asked to quit";
}

TEST_F(WindowManagerTest, BatchJobsLeaveTheWindowsBehindTheirProgressAsTheyWere) {
    bool selectionNormal = false;
    bool mainNormal = false;
    bool progressGone = false; // the window manager has seen it go
    whenModal<RaceSelectionDialog>(&watches, [&](RaceSelectionDialog& d) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return isNormal(d); }, kTimeoutMs));
        QTreeWidget* list = d.raceList();
        list->topLevelItem(0)->setSelected(true);
        list->topLevelItem(1)->setSelected(true);
        clickButton(d, "newspaperButton"); // a set of two, with its progress window
        clickButton(d, "predictAllButton");
        // Whatever the progress window asked of the window manager is done.
        progressGone = windowManagerCaughtUp(d);
        selectionNormal = isNormal(d);
        mainNormal = isNormal(main());
        clickButton(d, "cancelButton");
    });
    ui->files.paths.push_back(QString::fromStdString(sourceFile("resources/sample/JV_SAMPLE.lzh")));
    main().actions().openJraVan->trigger();
    EXPECT_TRUE(progressGone);
    EXPECT_TRUE(selectionNormal);
    EXPECT_TRUE(mainNormal);
    EXPECT_EQ(ui->shell.documents.size(), 2u); // both jobs ran and opened their index
    EXPECT_TRUE(isNormal(main()));
}

} // namespace
} // namespace zelkor::test
