#include "app/form_list_box.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>
#include <algorithm>

namespace zelkor {

QSize FormListBox::minimumSizeHint() const {
    // As Qt sizes a box by its minimum contents length with an icon's room:
    // the width of as many letters "X", the height of a line of text.
    const QFontMetrics& metrics = fontMetrics();
    const QSize icon = iconSize();
    const QSize contents(minimumContentsLength() * metrics.horizontalAdvance(u'X') + icon.width() +
                             4,
                         std::max({qCeil(QFontMetricsF(metrics).height()), 14, icon.height()}) + 2);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
}

QString halfWidthDigits(QString text) {
    for (QChar& c : text) {
        if (c >= u'０' && c <= u'９')
            c = QChar(c.unicode() - u'０' + u'0');
    }
    return text;
}

void FormListBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = halfWidthDigits(event->text());
    if (isEditable() || typed == event->text()) {
        QComboBox::keyPressEvent(event);
        return;
    }
    QKeyEvent folded(event->type(), event->key(), event->modifiers(), typed, event->isAutoRepeat(),
                     ushort(event->count()));
    QComboBox::keyPressEvent(&folded);
    event->setAccepted(folded.isAccepted());
}

} // namespace zelkor
