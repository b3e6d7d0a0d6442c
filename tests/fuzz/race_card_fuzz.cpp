// Race cards (JracDen1.dat): the indexed readers and the reference readers
// that rescan the file must count the same races and read the same records
// with the same messages.

#include "archive/race_card_file.h"
#include "fuzz_support.h"
#include "race/race_card.h"
#include "race/race_info.h"

#include <algorithm>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    const std::string path = fuzz::scratchFile("JracDen1.dat", fuzz::bytesOf(data, size));
    forgetJvFileIndexes(); // the file changed within the time stamp's resolution
    const Result<int> counted = countRaces(path);
    const Result<int> rescanCounted = rescan::countRaces(path);
    ZELKOR_FUZZ_CHECK(counted.valueOr(-1) == rescanCounted.valueOr(-1));
    ZELKOR_FUZZ_CHECK(counted.message() == rescanCounted.message());
    const int count = counted.valueOr(0);

    std::set<int> positions = {0, 1, 2, count, count + 1};
    for (int n = 3; n <= std::min(count, 6); ++n)
        positions.insert(n);
    JvRaceCard indexed, rescanned;
    for (int n : positions) {
        const Outcome a = readRace(indexed, path, n, fuzz::scratchFolder());
        const Outcome b = rescan::readRace(rescanned, path, n, fuzz::scratchFolder());
        ZELKOR_FUZZ_CHECK(a.ok() == b.ok() && a.message() == b.message());
        ZELKOR_FUZZ_CHECK(indexed == rescanned);
        ZELKOR_FUZZ_CHECK(indexed.runnerCount >= 0 && indexed.runnerCount <= kJvMaxRunners);
        if (a) {
            raceInfoText(indexed);
            raceListRow(indexed);
        }
    }
    return 0;
}
