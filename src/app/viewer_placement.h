#pragma once

#include <QRect>
#include <QSize>

namespace zelkor {

// Frames, in screen coordinates, of the main window and of the viewer
// beside it.
struct WindowPair {
    QRect mainFrame;
    QRect viewerFrame;
};

// Places the viewer's frame beside the main window's frame `mainFrame` on
// the screen area `available`: to its right, else to its left; when neither
// side has room for a usable viewer but the screen is wide enough for both,
// the main window moves so the two stand side by side in the middle; else
// below it; and only over the main window when the screen has no room at
// all. `wanted` is the frame size the viewer would like; it shrinks to the
// room there is.
WindowPair placeViewerBeside(const QRect& mainFrame, const QRect& available, const QSize& wanted);

} // namespace zelkor
