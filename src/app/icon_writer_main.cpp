// Writes the application icon as PNG files for the desktop's icon theme:
// <folder>/<size>x<size>/apps/<name>.png. Run by the build.

#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: zelkor2k-icons FOLDER NAME\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString path = folder + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !zelkor::applicationPixmap(size).save(path, "PNG")) {
            std::fprintf(stderr, "zelkor2k-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
