// What only a real window manager decides, read back from the X server:
// where the viewer stands, who owns it, what is minimised with what, and
// that a batch job's progress window minimises nothing when it goes. Run
// through with_window_manager.sh (Xvfb + Openbox).
#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/race_selection_dialog.h"
#include "app_fakes.h"
#include "dialog_driving.h"
#include "jv/race_card.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

constexpr int kTimeoutMs = 10000;

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

class WindowManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui = std::make_unique<WindowUnderTest>();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return isNormal(main()) && isNormal(viewer()); }, kTimeoutMs))
            << "main " << wmState(main()).toStdString() << ", viewer "
            << wmState(viewer()).toStdString();
    }
    MainWindow& main() { return *ui->window; }
    PageViewer& viewer() { return ui->window->viewer(); }

    std::unique_ptr<WindowUnderTest> ui;
    QObject watches;
};

TEST_F(WindowManagerTest, TheViewerStandsBesideTheMainWindowOnItsScreen) {
    // Placed once the window manager has placed the main window; wait for
    // both to settle where they end up.
    QRect mainFrame, viewerFrame;
    const bool apart = QTest::qWaitFor(
        [&] {
            mainFrame = frameOnScreen(main());
            viewerFrame = frameOnScreen(viewer());
            return !mainFrame.intersects(viewerFrame);
        },
        kTimeoutMs);
    EXPECT_TRUE(apart) << "main " << mainFrame.x() << "," << mainFrame.y() << " "
                       << mainFrame.width() << "x" << mainFrame.height() << "; viewer "
                       << viewerFrame.x() << "," << viewerFrame.y() << " " << viewerFrame.width()
                       << "x" << viewerFrame.height();
    const QRect screen(0, 0, 1600, 1000);
    EXPECT_TRUE(screen.contains(mainFrame));
    EXPECT_TRUE(screen.contains(viewerFrame));
    // Side by side, level with each other.
    EXPECT_TRUE(viewerFrame.left() > mainFrame.right() || viewerFrame.right() < mainFrame.left());
    EXPECT_EQ(viewerFrame.top(), mainFrame.top());
    EXPECT_GE(viewerFrame.width(), 360);
}

TEST_F(WindowManagerTest, TheViewerIsAToolWindowOfTheMainWindowAndIsMinimisedWithIt) {
    EXPECT_TRUE(property(viewer(), "WM_TRANSIENT_FOR").contains(hexId(main())))
        << property(viewer(), "WM_TRANSIENT_FOR").toStdString();
    EXPECT_TRUE(property(viewer(), "_NET_WM_WINDOW_TYPE")
                    .contains(QStringLiteral("_NET_WM_WINDOW_TYPE_UTILITY")));

    // Above the main window even while that one is raised and active.
    main().raise();
    main().activateWindow();
    const auto viewerAbove = [&] {
        const QString stacking =
            run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
        const qsizetype mainAt = stacking.indexOf(hexId(main()));
        return mainAt >= 0 && stacking.indexOf(hexId(viewer())) > mainAt;
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QApplication::activeWindow() == &main() && viewerAbove(); }, kTimeoutMs));

    // The user minimises the main window through the window manager.
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowminimize"), QString::number(main().winId())});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return wmState(main()) == QStringLiteral("Iconic"); }, kTimeoutMs));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return wmState(viewer()) != QStringLiteral("Normal") || !viewer().isVisible(); },
        kTimeoutMs))
        << "the viewer stayed open: " << wmState(viewer()).toStdString();

    // Restored, both come back.
    main().showNormal();
    main().activateWindow();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return isNormal(main()) && isNormal(viewer()); }, kTimeoutMs));
}

// A real click of the X server's pointer at `where` (screen coordinates).
void clickOnScreen(const QPoint& where) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(where.x()),
         QString::number(where.y()), QStringLiteral("click"), QStringLiteral("1")});
}

TEST_F(WindowManagerTest, ChoosingInAnOpenListIsNotLeavingTheBox) {
    const MainForm::Controls& c = main().form().controls();
    QTest::mouseClick(c.next, Qt::LeftButton);
    QTest::mouseClick(c.next, Qt::LeftButton);
    ASSERT_EQ(main().session().sheet().currentRunner, 3);
    const QString title = main().windowTitle();

    // The user opens 出走頭数 with the mouse and picks １０ with the keys.
    QComboBox* box = c.fieldSize;
    clickOnScreen(box->mapToGlobal(box->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }, kTimeoutMs));
    run(QStringLiteral("xdotool"),
        {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20"),
         QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
         QStringLiteral("Down"), QStringLiteral("Return")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }, kTimeoutMs));
    EXPECT_EQ(box->currentIndex(), 6);
    EXPECT_EQ(main().session().sheet().runnerCount, 10);
    EXPECT_EQ(main().session().sheet().currentRunner, 3) << "the box has not been left";
    EXPECT_TRUE(box->hasFocus());

    // Opening the race-name list does not put the name into the caption.
    QComboBox* raceName = c.raceName;
    raceName->setFocus(Qt::TabFocusReason); // leaves 出走頭数: runner 1
    EXPECT_TRUE(QTest::qWaitFor([&] { return main().session().sheet().currentRunner == 1; }, kTimeoutMs));
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
