#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zelkor {

// Library texts are CP932 bytes; widgets want QString. These are the only
// crossings between the two.
QString toQt(std::string_view cp932);
std::string toCp932(const QString& text);

// File paths go to the libraries as the bytes the operating system uses for
// names, and come back the same way.
std::string toNativePath(const QString& path);
QString fromNativePath(const std::string& path);

} // namespace zelkor
