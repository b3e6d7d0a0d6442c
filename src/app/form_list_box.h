#pragma once

#include <QComboBox>

namespace zelkor {

// A drop-down list of the main form (a widget of its .ui), sized by its
// minimum contents length with room for an icon, from that length alone:
// asking Qt for the same through the size policy built every box's list
// window at the start, and sizing by the entries measured every one.
class FormListBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }
};

} // namespace zelkor
