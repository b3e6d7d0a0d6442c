#include "jvdata/jvdata_versions.h"

namespace zelkor::jvdata {
namespace {

// Data kinds of each type from oldest to newest.
std::string_view kindOrder(std::string_view type) {
    if (type == "RA" || type == "SE")
        return "1234567AB90";
    if (type == "HR")
        return "1290";
    if (type == "O1")
        return "1234590";
    if (type == "UM")
        return "123490";
    return {};
}

} // namespace

std::optional<int> kindRank(std::string_view type, char kind) {
    const size_t pos = kindOrder(type).find(kind);
    if (pos == std::string_view::npos)
        return std::nullopt;
    return static_cast<int>(pos);
}

bool isNewerVersion(std::string_view type, int madeOn, char kind, int oldMadeOn, char oldKind) {
    if (madeOn != oldMadeOn)
        return madeOn > oldMadeOn;
    // A kind outside the order ranks below every kind in it.
    return kindRank(type, kind) > kindRank(type, oldKind);
}

} // namespace zelkor::jvdata
