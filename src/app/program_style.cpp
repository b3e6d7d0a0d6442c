#include "app/program_style.h"

#include <QApplication>
#include <QComboBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <optional>

namespace zelkor {

namespace {

// A picture of the style asked for when it is first drawn. Qt's own
// pictures for the buttons that show what a narrow menu bar or tool bar
// cannot are image files, and reading the first of them loads every image
// plugin there is: that made the window late for buttons seldom shown.
class PictureWhenDrawn : public QIconEngine {
  public:
    PictureWhenDrawn(const QProxyStyle& style, QStyle::StandardPixmap which)
        : style_(&style), which_(which) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        picture().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture().actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new PictureWhenDrawn(*this); }

  private:
    const QIcon& picture() {
        if (!picture_)
            picture_ = style_ ? style_->baseStyle()->standardIcon(which_) : QIcon();
        return *picture_;
    }
    QPointer<const QProxyStyle> style_;
    QStyle::StandardPixmap which_;
    std::optional<QIcon> picture_;
};

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
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new PictureWhenDrawn(*this, which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

void installProgramStyle() {
    if (!dynamic_cast<ProgramStyle*>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
}

} // namespace zelkor
