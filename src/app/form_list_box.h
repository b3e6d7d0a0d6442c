#pragma once

#include <QComboBox>

namespace zelkor {

// A drop-down list of the main form (a widget of its .ui), sized by its
// minimum contents length with room for an icon, from that length alone:
// asking Qt for the same through the size policy built every box's list
// window at the start, and sizing by the entries measured every one.
// Typed digits choose an entry whether the keyboard sends them half-width
// or full-width (the entries show half-width ones, see halfWidthDigits).
class FormListBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// `text` with its full-width digits (０-９) as ASCII ones.
QString halfWidthDigits(QString text);

} // namespace zelkor
