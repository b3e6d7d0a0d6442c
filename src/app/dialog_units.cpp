#include "app/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

namespace zelkor {

namespace {

double baseUnitX(const QWidget* widget) {
    const QFontMetrics metrics(widget->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return metrics.horizontalAdvance(alphabet) / 52.0;
}

} // namespace

QSize dialogUnitsToPixels(const QWidget* widget, int x, int y) {
    const double unitY = QFontMetrics(widget->font()).height() / 8.0;
    return QSize(int(x * baseUnitX(widget) / 4.0 + 0.5), int(y * unitY + 0.5));
}

int dialogUnitsToPixelsX(const QWidget* widget, int x) {
    return int(x * baseUnitX(widget) / 4.0 + 0.5);
}

} // namespace zelkor
