// Race cards (JracDen1.dat): the indexed readers and the reference readers
// that rescan the file must count the same races and read the same records
// with the same messages.

#include "archive/race_card_file.h"
#include "fuzz_support.h"
#include "race/race_card.h"
#include "race/race_info.h"
#include "support/recording_prompt.h"

#include <algorithm>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    const std::string path = fuzz::scratchFile("JracDen1.dat", fuzz::bytesOf(data, size));
    forgetJvFileIndexes(); // the file changed within the time stamp's resolution
    test::RecordingPrompt indexedPrompt, rescanPrompt;
    const int count = countRaces(path, indexedPrompt);
    ZELKOR_FUZZ_CHECK(count == rescan::countRaces(path, rescanPrompt));
    ZELKOR_FUZZ_CHECK(indexedPrompt.texts() == rescanPrompt.texts());

    std::set<int> positions = {0, 1, 2, count, count + 1};
    for (int n = 3; n <= std::min(count, 6); ++n)
        positions.insert(n);
    JvRaceCard indexed, rescanned;
    for (int n : positions) {
        const bool a = readRace(indexed, path, n, indexedPrompt, fuzz::scratchFolder());
        const bool b = rescan::readRace(rescanned, path, n, rescanPrompt, fuzz::scratchFolder());
        ZELKOR_FUZZ_CHECK(a == b);
        ZELKOR_FUZZ_CHECK(indexed == rescanned);
        ZELKOR_FUZZ_CHECK(indexedPrompt.texts() == rescanPrompt.texts());
        ZELKOR_FUZZ_CHECK(indexed.runnerCount >= 0 && indexed.runnerCount <= kJvMaxRunners);
        if (a) {
            raceInfoText(indexed);
            raceListRow(indexed);
        }
    }
    return 0;
}
