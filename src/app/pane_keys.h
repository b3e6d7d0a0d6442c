#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QDockWidget;
class QMainWindow;
class QMenu;

namespace zelkor {

// The keyboard's way around the main window: F6 and Shift+F6 move the focus
// from pane to pane (the form, the results, the viewer) as desktop programs
// do, back to the control of a pane that had it last; and the viewer dock
// floats, docks, widens and narrows from the 表示 menu, not only with the
// mouse.
class PaneKeys : public QObject {
  public:
    struct Pane {
        QWidget* area;
        QWidget* first; // the control a pane not yet visited starts at
    };
    PaneKeys(QMainWindow& window, QList<Pane> panes, QDockWidget& viewer, QMenu& viewMenu);

    // Moves to the next pane (`step` 1) or the one before (−1) that is open.
    void move(int step);

  private:
    int paneOf(const QWidget* widget) const;
    void remember(QWidget* now);
    void resizeViewer(int step);

    QMainWindow& window_;
    QList<Pane> panes_;
    QList<QPointer<QWidget>> last_; // one per pane
    QDockWidget& viewer_;
};

} // namespace zelkor
