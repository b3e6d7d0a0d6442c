#pragma once

#include <optional>
#include <string_view>

namespace zelkor::jvdata {

// Versions of one record key: the later made-on date wins, on the same date
// the later data kind in the type's order. Kind 0 (delete) is the latest of
// every order, so a delete stays the newest version until a later date.

// Position of data kind `kind` in the order of record type `type`; none when
// the type has no such kind.
std::optional<int> kindRank(std::string_view type, char kind);

// True when (madeOn, kind) is a newer version than (oldMadeOn, oldKind).
// Equal versions are not newer: the one read first stays.
bool isNewerVersion(std::string_view type, int madeOn, char kind, int oldMadeOn, char oldKind);

inline constexpr char kDeleteKind = '0';
// RA, SE: Thursday entries, before the race card.
inline constexpr char kThursdayKind = '1';
inline constexpr char kCancelKind = '9';

} // namespace zelkor::jvdata
