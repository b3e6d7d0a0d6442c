#pragma once

#include <QSize>

class QWidget;

namespace zelkor {

// Pixels of a size given in dialog units (a quarter of the average
// character width across, an eighth of the line height down) in the
// widget's font, so the dialogs keep their proportions with any font.
QSize dialogUnitsToPixels(const QWidget* widget, int x, int y);

// Resizes a dialog to `size`, or as much of it as the screen it opens on
// has room for with the window manager's frame, never below its minimum.
void resizeWithinScreen(QWidget* dialog, QSize size);

} // namespace zelkor
