// Prediction files (.zel) as anyone may hand them to the program: whatever
// reads without a message must write back to a file that reads as the same
// race.

#include "core/prediction_file.h"
#include "fuzz_support.h"
#include "support/recording_prompt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    test::RecordingPrompt prompt;
    RaceSheet sheet;
    const RaceSheet before = sheet;
    if (!readPredictionFile(sheet, fuzz::scratchFile("in.zel", fuzz::bytesOf(data, size)),
                            prompt)) {
        // A refused file tells why once and changes nothing.
        ZELKOR_FUZZ_CHECK(prompt.entries.size() == 1);
        ZELKOR_FUZZ_CHECK(predictionFileText(sheet) == predictionFileText(before));
        return 0;
    }
    ZELKOR_FUZZ_CHECK(prompt.entries.empty());
    const std::string written = fuzz::scratchFolder() + "out.zel";
    ZELKOR_FUZZ_CHECK(writePredictionFile(sheet, written, prompt));
    RaceSheet again;
    ZELKOR_FUZZ_CHECK(readPredictionFile(again, written, prompt));
    ZELKOR_FUZZ_CHECK(predictionFileText(again) == predictionFileText(sheet));
    for (int h = 1; h <= sheet.usableRunnerCount(); ++h)
        ZELKOR_FUZZ_CHECK(again.runner(h) == sheet.runner(h));
    return 0;
}
