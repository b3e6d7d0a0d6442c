// Where the viewer goes beside the main window, for the screens a user has.
#include "app/viewer_placement.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

const QSize kWanted(660, 640);

TEST(PlaceViewerBeside, TakesTheRightWhereThereIsRoomElseTheLeft) {
    const QRect screen(0, 0, 1920, 1040);
    const WindowPair right = placeViewerBeside(QRect(100, 120, 880, 640), screen, kWanted);
    EXPECT_EQ(right.mainFrame, QRect(100, 120, 880, 640));
    EXPECT_EQ(right.viewerFrame, QRect(988, 120, 660, 640));

    const WindowPair left = placeViewerBeside(QRect(1000, 50, 880, 640), screen, kWanted);
    EXPECT_EQ(left.mainFrame, QRect(1000, 50, 880, 640));
    EXPECT_EQ(left.viewerFrame, QRect(332, 50, 660, 640));

    // Less room than wanted: the viewer narrows to it.
    const WindowPair narrow = placeViewerBeside(QRect(0, 0, 1400, 640), screen, kWanted);
    EXPECT_EQ(narrow.viewerFrame, QRect(1408, 0, 512, 640));
}

TEST(PlaceViewerBeside, ACentredMainWindowMovesSoBothStandSideBySide) {
    // The window manager centred the main window; neither side alone has room.
    const QRect screen(0, 0, 1600, 1000);
    const WindowPair pair = placeViewerBeside(QRect(360, 180, 880, 640), screen, kWanted);
    EXPECT_FALSE(pair.mainFrame.intersects(pair.viewerFrame));
    EXPECT_TRUE(screen.contains(pair.mainFrame));
    EXPECT_TRUE(screen.contains(pair.viewerFrame));
    EXPECT_EQ(pair.mainFrame.top(), 180);
    EXPECT_EQ(pair.viewerFrame.size(), kWanted);
    // Together in the middle of the screen.
    EXPECT_EQ(pair.mainFrame.left() - screen.left(), screen.right() - pair.viewerFrame.right());
}

TEST(PlaceViewerBeside, BelowOnANarrowScreenAndOverOnlyWithoutAnyRoom) {
    const WindowPair below =
        placeViewerBeside(QRect(100, 0, 880, 500), QRect(0, 0, 1024, 1200), kWanted);
    EXPECT_EQ(below.viewerFrame, QRect(100, 508, 660, 640));

    // A screen the size of the main window: the viewer stays on the screen.
    const QRect small(0, 0, 900, 650);
    const WindowPair over = placeViewerBeside(QRect(10, 5, 880, 640), small, kWanted);
    EXPECT_TRUE(small.contains(over.viewerFrame));
    EXPECT_EQ(over.mainFrame, QRect(10, 5, 880, 640));

    // A screen that does not start at the origin (a second monitor).
    const QRect second(1920, 0, 1920, 1080);
    const WindowPair there = placeViewerBeside(QRect(2000, 100, 880, 640), second, kWanted);
    EXPECT_TRUE(second.contains(there.viewerFrame));
    EXPECT_EQ(there.viewerFrame.left(), 2888);
}

} // namespace
} // namespace zelkor
