#pragma once

#include <string>
#include <string_view>

namespace zelkor {

// The horse name without the owner's crown name (冠名) at its front. A name
// that is exactly a crown name is kept, and a crown name met further inside
// the name is not touched. Matching goes character by character, so a
// two-byte character is never split.
std::string stripCrownName(std::string_view name);

} // namespace zelkor
