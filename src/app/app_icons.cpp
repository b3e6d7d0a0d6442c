#include "app/app_icons.h"

#include <QResource>
#include <cmath>

namespace zelkor {

namespace {

// The resource files are written by zelkor2k-icons (icon_writer_main.cpp)
// as bare pixels and stored uncompressed, so an icon is read where it lies:
// reading PNG files made Qt look through its image plugins and inflate
// each picture before the window could first be shown.
QPixmap pictureOf(const QString& file) {
    const QResource resource(QStringLiteral(":/art/") + file);
    const QByteArray pixels = resource.uncompressedData();
    const auto side = qsizetype(std::sqrt(double(pixels.size() / 4)));
    if (side == 0 || side * side * 4 != pixels.size())
        return {};
    return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels.constData()), int(side),
                                     int(side), int(side * 4), kIconPixelFormat));
}

QIcon iconOf(std::initializer_list<QString> files) {
    QIcon icon;
    for (const QString& file : files)
        icon.addPixmap(pictureOf(file));
    return icon;
}

} // namespace

// Each at twice the size too, for dense screens.
QIcon commandIcon(CommandArt art) {
    const QString name = QLatin1String(commandArtName(art));
    return iconOf({name + QStringLiteral(".rgba"), name + QStringLiteral("@2x.rgba")});
}

QIcon applicationIcon() {
    return iconOf({QStringLiteral("zelkor2k-16.rgba"), QStringLiteral("zelkor2k-32.rgba"),
                   QStringLiteral("zelkor2k-48.rgba"), QStringLiteral("zelkor2k-64.rgba")});
}

} // namespace zelkor
