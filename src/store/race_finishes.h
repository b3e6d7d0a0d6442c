#pragma once

#include "store/jv_store.h"

#include <map>

namespace zelkor {

// The statement that reads the SE of a race, for raceFinishes.
inline constexpr const char* kRaceRunnersSql = "SELECT kind, rec FROM se WHERE race = ?1";

// The official finishing positions of a race's runners by horse number
// (0: none), read with a statement of kRaceRunnersSql; deleted runners are
// left out. A failed read leaves its code in the statement.
std::map<int, int> raceFinishes(StoreStatement& runners, long long raceKey);

} // namespace zelkor
