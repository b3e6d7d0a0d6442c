#pragma once

#include "store/jv_store.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace zelkor {

// The horse numbers of the races an import writes runners to, each with the
// horse holding it, so that no two horses of a race share one. A race's
// runners already in the store are read at its first runner.
class DrawnNumbers {
  public:
    explicit DrawnNumbers(JvStore& store);

    // True when a horse other than `horse` holds `number` in `race`.
    bool heldByAnother(long long race, long long horse, int number);
    // `horse` now holds `number` in `race` (0: none, before the draw).
    void hold(long long race, long long horse, int number);
    // The SQLite result code of a failed read, 0 after none.
    int failed() const { return !runners_ ? 1 : runners_.failed(); }

  private:
    using Held = std::vector<std::pair<int, long long>>; // number, horse
    Held& heldIn(long long race);

    StoreStatement runners_;
    bool storeHasRunners_ = true;
    std::unordered_map<long long, Held> races_;
};

} // namespace zelkor
