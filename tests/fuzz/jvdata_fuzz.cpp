// The JV-Data reader and import: whatever a file holds, framing does not
// depend on how the bytes arrive, the import either keeps every record it
// counts or changes nothing after one message, and every race and horse of
// the store reads back.

#include "fuzz_support.h"
#include "jvdata/jvdata_record.h"
#include "store/jvdata_store.h"

#include <map>

namespace {

using namespace zelkor;

class CountingSink : public jvdata::RecordSink {
  public:
    std::string log;
    void record(std::string_view type, std::string_view body, std::uint64_t offset) override {
        ZELKOR_FUZZ_CHECK(jvdata::keptLength(type, body.size()) != 0);
        log += "r" + std::string(type) + std::to_string(offset) + ",";
    }
    void rejected(std::string_view type, std::uint64_t offset, std::string) override {
        log += "x" + std::string(type) + std::to_string(offset) + ",";
    }
    void skipped(std::string_view type) override { log += "s" + std::string(type) + ","; }
};

std::string frame(std::string_view bytes, size_t piece) {
    CountingSink sink;
    jvdata::RecordFramer framer(sink);
    for (size_t at = 0; at < bytes.size(); at += piece)
        framer.feed(bytes.substr(at, piece));
    framer.finish();
    return sink.log + (framer.sawJvData() ? "J" : "-");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const size_t piece = size == 0 ? 1 : 1 + data[0] % 97;
    ZELKOR_FUZZ_CHECK(frame(bytes, bytes.size() + 1) == frame(bytes, piece));

    const std::string input = fuzz::scratchFile("in.dat", bytes);
    const std::string store = fuzz::freshStorePath();
    fuzz::CountingPrompt prompt;
    fuzz::NoProgress progress;
    ImportSummary summary;
    const bool imported = importJvData({input}, store, summary, prompt, progress).ok();
    ZELKOR_FUZZ_CHECK(imported ? prompt.messages == 0 : prompt.messages == 1);
    for (const auto& [type, c] : summary.byType)
        ZELKOR_FUZZ_CHECK(c.read == c.added + c.replaced + c.olderIgnored + c.sameIgnored +
                                        c.deleted + c.rejected + c.skipped);
    if (!imported)
        return 0;
    const Result<std::vector<StoreDate>> read = readStoreDates(store);
    ZELKOR_FUZZ_CHECK(read);
    const std::vector<StoreDate>& dates = *read;
    for (size_t d = 0; d < dates.size() && d < 3; ++d) {
        auto opened = openStoreDay(store, dates[d].date);
        ZELKOR_FUZZ_CHECK(opened);
        RaceSource* day = opened->get();
        ZELKOR_FUZZ_CHECK(day->raceCount(prompt) == dates[d].races);
        for (int r = 1; r <= dates[d].races && r <= 40; ++r) {
            JvRaceCard card;
            ZELKOR_FUZZ_CHECK(day->readRace(card, r, prompt));
            ZELKOR_FUZZ_CHECK(card.runnerCount >= 0 && card.runnerCount <= kJvMaxRunners);
            for (int k = 1; k <= card.runnerCount; ++k) {
                JvHorseRecord horse;
                static_cast<void>(day->readHorse(horse, card, k, prompt));
            }
        }
    }
    return 0;
}
