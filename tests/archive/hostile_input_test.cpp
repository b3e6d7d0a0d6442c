#include "archive/archive_intake.h"
#include "archive/horse_file.h"
#include "archive/lzh_archive.h"
#include "archive/past_horses.h"
#include "archive/race_card_file.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "store/jvdata_store.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zelkor {
namespace {

// A FIFO nobody writes and an endless device: every reader refuses them at
// once with one message, never waiting or reading on.
TEST(HostileInput, FifosAndDevicesAreRefusedWithoutWaiting) {
    test::JvTestDir dir;
    const std::string fifo = dir.file("JracDen1.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.file("JracUmaj.dat").c_str(), 0600), 0);
    // What a reader tells of the path: its failure, or the one message it
    // showed (empty when it read the path or said more than one thing).
    using Reader = std::function<std::string(const std::string&)>;
    const Reader readers[] = {
        [](const std::string& p) { return countRaces(p).message(); },
        [](const std::string& p) {
            JvRaceCard card;
            return readRace(card, p, 1).message();
        },
        [](const std::string& p) { return rescan::countRaces(p).message(); },
        [](const std::string& p) {
            JvHorseRecord r;
            return readHorse(r, p, "2020000001", 0).message();
        },
        [](const std::string& p) {
            JvHorseRecord r;
            return rescan::readHorse(r, p, "2020000001", 0).message();
        },
        [](const std::string& p) {
            PastHorses horses;
            return readPastHorses(p, horses).message();
        },
        [&](const std::string& p) {
            test::RecordingPrompt prompt;
            JvRaceCard card;
            if (!openJvCard(p, dir.path(), card, prompt))
                return prompt.onlyText();
            return prompt.entries.empty() ? countRaces(card.raceCardPath).message() : "";
        },
        [&](const std::string& p) {
            test::RecordingPrompt prompt;
            ImportSummary summary;
            test::SilentProgress progress;
            static_cast<void>(
                importJvData({p}, jvStorePath(dir.path()), summary, prompt, progress));
            return prompt.onlyText();
        },
    };
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        EXPECT_FALSE(isLzhArchive(path)) << path;
        for (const Reader& read : readers)
            EXPECT_NE(read(path), "") << path;
        // The import says what the path is.
        EXPECT_EQ(readers[std::size(readers) - 1](path),
                  "'" + path + "'は通常のファイルではありません");
    }
}

} // namespace
} // namespace zelkor
