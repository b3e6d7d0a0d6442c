#include "app/shell_address.h"

#include "app/qt_text.h"

namespace zelkor {

std::string shellAddress(const QString& address) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : toCp932(address)) {
        if (c >= 0x80 || c == ' ') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += char(c);
        }
    }
    return out;
}

} // namespace zelkor
