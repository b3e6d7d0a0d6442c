#include "app/pane_keys.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>

namespace zelkor {

namespace {

QDockWidget* dockOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* dock = qobject_cast<QDockWidget*>(w))
            return dock;
    }
    return nullptr;
}

// A pane in a dock the user closed is skipped; one in a dock behind
// another's tab is brought forward.
bool open(QWidget* area) {
    QDockWidget* dock = dockOf(area);
    if (!dock)
        return area->isVisible();
    if (!dock->toggleViewAction()->isChecked())
        return false;
    dock->show();
    dock->raise();
    if (dock->isFloating())
        dock->activateWindow();
    return true;
}

} // namespace

PaneKeys::PaneKeys(QMainWindow& window, QList<Pane> panes, QDockWidget& viewer, QMenu& viewMenu)
    : QObject(&window), window_(window), panes_(std::move(panes)), last_(panes_.size()),
      viewer_(viewer) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { remember(now); });
    viewMenu.addSeparator();
    QAction* next =
        viewMenu.addAction(QStringLiteral("次のペインへ(&N)"), this, [this] { move(1); });
    next->setShortcut(Qt::Key_F6);
    QAction* previous =
        viewMenu.addAction(QStringLiteral("前のペインへ(&P)"), this, [this] { move(-1); });
    previous->setShortcut(Qt::SHIFT | Qt::Key_F6);
    // The floating viewer is a window of its own; the keys work there too.
    for (QAction* a : {next, previous})
        a->setShortcutContext(Qt::ApplicationShortcut);

    viewMenu.addSeparator();
    QAction* floating = viewMenu.addAction(QStringLiteral("HTML競馬新聞を別ウィンドウに(&W)"));
    floating->setCheckable(true);
    connect(floating, &QAction::toggled, &viewer_, [this](bool on) {
        viewer_.show();
        viewer_.setFloating(on);
    });
    connect(&viewer_, &QDockWidget::topLevelChanged, floating, &QAction::setChecked);
    viewMenu.addAction(QStringLiteral("HTML競馬新聞を広く(&I)"), this, [this] { resizeViewer(1); });
    viewMenu.addAction(QStringLiteral("HTML競馬新聞を狭く(&D)"), this,
                       [this] { resizeViewer(-1); });
}

int PaneKeys::paneOf(const QWidget* widget) const {
    // The innermost pane: the results may lie inside the form.
    for (qsizetype i = panes_.size() - 1; widget && i >= 0; --i) {
        if (panes_[i].area == widget || panes_[i].area->isAncestorOf(widget))
            return int(i);
    }
    return -1;
}

void PaneKeys::remember(QWidget* now) {
    const int pane = paneOf(now);
    if (pane >= 0)
        last_[pane] = now;
}

void PaneKeys::move(int step) {
    const int count = int(panes_.size());
    const int current = std::max(0, paneOf(QApplication::focusWidget()));
    for (int i = 1; i <= count; ++i) {
        const int pane = ((current + step * i) % count + count) % count;
        if (!open(panes_[pane].area))
            continue;
        QWidget* target = last_[pane];
        if (!target || !target->isEnabled() || !target->isVisible())
            target = panes_[pane].first;
        target->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void PaneKeys::resizeViewer(int step) {
    viewer_.show();
    const int width = viewer_.width() + step * std::max(40, window_.width() / 10);
    if (viewer_.isFloating())
        viewer_.resize(width, viewer_.height());
    else
        window_.resizeDocks({&viewer_}, {width}, Qt::Horizontal);
}

} // namespace zelkor
