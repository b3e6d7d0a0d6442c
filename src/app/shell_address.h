#pragma once

#include <QString>
#include <string>

namespace zelkor {

// The address a browser requests for a link of one of our CP932 pages:
// the text in CP932 with every byte from 0x80 up and every blank written as
// %XX, so a horse name reaches the database as the Shift-JIS bytes the
// page holds.
std::string shellAddress(const QString& address);

} // namespace zelkor
