#include "store/race_finishes.h"

#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"

namespace zelkor {

std::map<int, int> raceFinishes(StoreStatement& runners, long long raceKey) {
    std::map<int, int> out;
    runners.reset();
    runners.bind(1, raceKey);
    while (runners.step())
        if (runners.integer(0) != jvdata::kDeleteKind)
            out[jvdata::number(runners.blob(1), jvlayout::se::kHorseNo)] =
                jvdata::number(runners.blob(1), jvlayout::se::kFinish);
    return out;
}

} // namespace zelkor
