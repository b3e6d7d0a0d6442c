#pragma once

#include "core/race_sheet.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace zelkor {

// The ranking of the main form (a widget of its .ui), asking to be tall
// enough for a full field of 18 runners when there is room for it.
class ResultList : public QTreeWidget {
  public:
    using QTreeWidget::QTreeWidget;
    QSize sizeHint() const override {
        const int row = topLevelItemCount() > 0 ? rowHeight(indexFromItem(topLevelItem(0)))
                                                : fontMetrics().height() + 4;
        return {width(), header()->sizeHint().height() + kMaxRunners * row + 2 * frameWidth()};
    }
};

} // namespace zelkor
