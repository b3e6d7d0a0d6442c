#include "app/viewer_placement.h"

#include <algorithm>

namespace zelkor {

namespace {

constexpr int kGap = 8;           // between the two frames
constexpr int kUsableWidth = 360; // narrower, the race table is unreadable
constexpr int kUsableHeight = 200;

// Where a span of `length` starting at `start` must start to lie within
// [low, high] (at `low` when it is longer than that).
int within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length + 1));
}

} // namespace

WindowPair placeViewerBeside(const QRect& mainFrame, const QRect& available, const QSize& wanted) {
    QRect main = mainFrame;
    const int roomRight = available.right() - main.right() - kGap;
    const int roomLeft = main.left() - available.left() - kGap;
    const int roomBelow = available.bottom() - main.bottom() - kGap;
    const int height = std::min(wanted.height(), available.height());
    const int top = within(main.top(), height, available.top(), available.bottom());

    if (roomRight >= kUsableWidth)
        return {main,
                QRect(main.right() + 1 + kGap, top, std::min(wanted.width(), roomRight), height)};
    if (roomLeft >= kUsableWidth) {
        const int width = std::min(wanted.width(), roomLeft);
        return {main, QRect(main.left() - kGap - width, top, width, height)};
    }
    const int roomBeside = available.width() - main.width() - kGap;
    if (roomBeside >= kUsableWidth) {
        const int width = std::min(wanted.width(), roomBeside);
        main.moveLeft(available.left() + (roomBeside - width) / 2);
        return {main, QRect(main.right() + 1 + kGap, top, width, height)};
    }
    const int width = std::min(wanted.width(), available.width());
    if (roomBelow >= kUsableHeight) {
        const int left = within(main.left(), width, available.left(), available.right());
        return {main,
                QRect(left, main.bottom() + 1 + kGap, width, std::min(wanted.height(), roomBelow))};
    }
    // No room anywhere: against the edge of the side with more room, so it
    // covers as little of the main window as it can.
    const int left = roomRight >= roomLeft ? available.right() - width + 1 : available.left();
    return {main, QRect(left, top, width, height)};
}

} // namespace zelkor
