#include "app/qt_text.h"

#include "text/cp932.h"

#include <QFile>

namespace zelkor {

QString toQt(std::string_view cp932) {
    return QString::fromStdU16String(cp932ToUtf16(cp932));
}

std::string toCp932(const QString& text) {
    return utf16ToCp932(text.toStdU16String());
}

std::string toNativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString fromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace zelkor
