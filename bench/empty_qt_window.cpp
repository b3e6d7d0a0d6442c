// An empty Qt main window, shown until it is killed: what the desktop
// program's whole start is measured against (desktop_paint_bench).
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    return QApplication::exec();
}
