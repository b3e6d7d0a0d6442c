// Horse files (JracUmaj.dat): the indexed search and the reference search
// from the file's start must find the same record, derive the same values
// and fail with the same message.

#include "archive/horse_file.h"
#include "archive/race_card_file.h"
#include "fuzz_support.h"
#include "race/horse_record.h"
#include "race/race_card.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::scratchFile("JracUmaj.dat", bytes);
    forgetJvFileIndexes(); // the file changed within the time stamp's resolution

    // The keys of the first records, one that is surely absent, and the
    // empty key.
    std::vector<std::string> keys = {"", "0000000000"};
    for (size_t pos = 0; pos < bytes.size() && keys.size() < 6; pos += kJvHorseRecordBytes)
        keys.emplace_back(bytes.substr(pos, kJvHorseKeyBytes));
    for (long long total : {0LL, 1234LL}) {
        for (const std::string& key : keys) {
            JvHorseRecord indexed, rescanned;
            const Outcome a = readHorse(indexed, path, key, total);
            const Outcome b = rescan::readHorse(rescanned, path, key, total);
            ZELKOR_FUZZ_CHECK(a.ok() == b.ok() && a.message() == b.message());
            ZELKOR_FUZZ_CHECK(indexed == rescanned);
        }
    }
    return 0;
}
