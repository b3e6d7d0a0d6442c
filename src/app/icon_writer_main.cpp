// Draws the program's pictures; run by the build.
//   zelkor2k-icons FOLDER NAME       the application icon for the desktop's
//                                    icon theme: FOLDER/<n>x<n>/apps/NAME.png
//   zelkor2k-icons --resources FOLDER  the icons the windows show, each also
//                                    at twice the size for dense screens, as
//                                    bare pixels (kIconPixelFormat)

#include "app/artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

bool save(const QPixmap& picture, const QString& folder, const QString& file) {
    const QString path = folder + u'/' + file;
    if (QDir().mkpath(folder) && picture.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "zelkor2k-icons: cannot write %s\n", qPrintable(path));
    return false;
}

// The pixels alone: the side of the square follows from the file's size.
bool savePixels(const QPixmap& picture, const QString& folder, const QString& file) {
    const QString path = folder + u'/' + file;
    const QImage image = picture.toImage().convertToFormat(zelkor::kIconPixelFormat);
    QFile out(path);
    if (QDir().mkpath(folder) && image.width() == image.height() &&
        image.bytesPerLine() == image.width() * 4 && out.open(QIODevice::WriteOnly) &&
        out.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) ==
            image.sizeInBytes())
        return true;
    std::fprintf(stderr, "zelkor2k-icons: cannot write %s\n", qPrintable(path));
    return false;
}

bool writeThemeIcons(const QString& root, const QString& name) {
    for (int size : {16, 32, 48, 64, 128, 256})
        if (!save(zelkor::applicationPixmap(size),
                  QStringLiteral("%1/%2x%2/apps").arg(root).arg(size),
                  name + QStringLiteral(".png")))
            return false;
    return true;
}

bool writeResourceIcons(const QString& folder) {
    for (int art = 0; art < zelkor::kCommandArtCount; ++art) {
        const auto command = static_cast<zelkor::CommandArt>(art);
        const QString name = QLatin1String(zelkor::commandArtName(command));
        if (!savePixels(zelkor::commandPixmap(command, 32), folder,
                        name + QStringLiteral(".rgba")) ||
            !savePixels(zelkor::commandPixmap(command, 64), folder,
                        name + QStringLiteral("@2x.rgba")))
            return false;
    }
    for (int size : {16, 32, 48, 64})
        if (!savePixels(zelkor::applicationPixmap(size), folder,
                        QStringLiteral("zelkor2k-%1.rgba").arg(size)))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--resources") == 0)
        return writeResourceIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc == 3 && argv[1][0] != '-')
        return writeThemeIcons(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]))
                   ? 0
                   : 1;
    std::fputs("usage: zelkor2k-icons FOLDER NAME | zelkor2k-icons --resources FOLDER\n", stderr);
    return 2;
}
