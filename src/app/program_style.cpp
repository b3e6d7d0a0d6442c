#include "app/program_style.h"

#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>

namespace zelkor {

namespace {

// Drop-down lists that scroll after 20 entries whatever the style's own
// habit (some, Fusion among them, open a list as tall as all its entries),
// and boxes that keep no room for an icon, since none has one. It is the
// whole program's style: set on each box, a style or an icon size made
// every box build its list at once, which made the start slow.
class ProgramStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_SmallIconSize && qobject_cast<const QComboBox*>(widget))
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void installProgramStyle() {
    if (!dynamic_cast<ProgramStyle*>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
}

} // namespace zelkor
