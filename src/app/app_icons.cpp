#include "app/app_icons.h"

#include <QImageReader>

namespace zelkor {

namespace {

// The resource files are written by zelkor2k-icons (icon_writer_main.cpp).
// Read as PNG without guessing: to guess a file's format, Qt first loads
// every image plugin there is, which made the window late.
QIcon iconOf(std::initializer_list<QString> files) {
    QIcon icon;
    for (const QString& file : files) {
        QImageReader reader(QStringLiteral(":/art/") + file, "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

// Each at twice the size too, for dense screens.
QIcon commandIcon(CommandArt art) {
    const QString name = QLatin1String(commandArtName(art));
    return iconOf({name + QStringLiteral(".png"), name + QStringLiteral("@2x.png")});
}

QIcon applicationIcon() {
    return iconOf({QStringLiteral("zelkor2k-16.png"), QStringLiteral("zelkor2k-32.png"),
                   QStringLiteral("zelkor2k-48.png"), QStringLiteral("zelkor2k-64.png")});
}

} // namespace zelkor
