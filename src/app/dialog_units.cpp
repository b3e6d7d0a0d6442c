#include "app/dialog_units.h"

#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

namespace zelkor {

QSize dialogUnitsToPixels(const QWidget* widget, int x, int y) {
    const QFontMetrics metrics(widget->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double unitX = metrics.horizontalAdvance(alphabet) / 52.0;
    const double unitY = metrics.height() / 8.0;
    return QSize(int(x * unitX / 4.0 + 0.5), int(y * unitY + 0.5));
}

void resizeWithinScreen(QWidget* dialog, QSize size) {
    const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : dialog;
    if (const QScreen* screen = owner->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    dialog->resize(size.expandedTo(dialog->minimumSizeHint()));
}

} // namespace zelkor
