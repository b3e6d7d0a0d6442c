#include "store/drawn_numbers.h"

#include "jvdata/jvdata_checks.h"
#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"

#include <algorithm>

namespace zelkor {

DrawnNumbers::DrawnNumbers(JvStore& store)
    : runners_(store.prepare("SELECT horse, kind, rec FROM se WHERE race = ?1")) {
    // Into an empty store every runner comes through hold(): no race to read.
    StoreStatement any = store.prepare("SELECT 1 FROM se LIMIT 1");
    storeHasRunners_ = any.step() || any.failed() != 0;
}

DrawnNumbers::Held& DrawnNumbers::heldIn(long long race) {
    const auto [it, added] = races_.try_emplace(race);
    if (!added || !storeHasRunners_)
        return it->second;
    runners_.reset();
    runners_.bind(1, race);
    while (runners_.step())
        if (jvdata::holdsHorseNumber(static_cast<char>(runners_.integer(1))))
            it->second.emplace_back(jvdata::number(runners_.blob(2), jvlayout::se::kHorseNo),
                                    runners_.integer(0));
    runners_.reset();
    return it->second;
}

bool DrawnNumbers::heldByAnother(long long race, long long horse, int number) {
    const Held& held = heldIn(race);
    return std::any_of(held.begin(), held.end(),
                       [&](const auto& h) { return h.first == number && h.second != horse; });
}

void DrawnNumbers::hold(long long race, long long horse, int number) {
    Held& held = heldIn(race);
    std::erase_if(held, [horse](const auto& h) { return h.second == horse; });
    if (number != 0)
        held.emplace_back(number, horse);
}

} // namespace zelkor
