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
    using Reader = std::function<bool(const std::string&, UserPrompt&)>;
    const Reader readers[] = {
        [](const std::string& p, UserPrompt& u) { return countRaces(p, u) != 0; },
        [](const std::string& p, UserPrompt& u) {
            JvRaceCard card;
            return readRace(card, p, 1, u);
        },
        [](const std::string& p, UserPrompt& u) { return rescan::countRaces(p, u) != 0; },
        [](const std::string& p, UserPrompt& u) {
            JvHorseRecord r;
            return readHorse(r, p, "2020000001", 0, u);
        },
        [](const std::string& p, UserPrompt& u) {
            JvHorseRecord r;
            return rescan::readHorse(r, p, "2020000001", 0, u);
        },
        [](const std::string& p, UserPrompt& u) {
            PastHorses horses;
            return readPastHorses(p, horses, u).ok();
        },
        [&](const std::string& p, UserPrompt& u) {
            JvRaceCard card;
            return openJvCard(p, dir.path(), card, u).ok() && countRaces(card.raceCardPath, u) != 0;
        },
        [&](const std::string& p, UserPrompt& u) {
            ImportSummary summary;
            test::SilentProgress progress;
            return importJvData({p}, jvStorePath(dir.path()), summary, u, progress).ok();
        },
    };
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        EXPECT_FALSE(isLzhArchive(path)) << path;
        for (const Reader& read : readers) {
            test::RecordingPrompt prompt;
            EXPECT_FALSE(read(path, prompt)) << path;
            EXPECT_EQ(prompt.entries.size(), 1u) << path;
        }
        // The import says what the path is.
        test::RecordingPrompt prompt;
        readers[std::size(readers) - 1](path, prompt);
        EXPECT_EQ(prompt.texts(),
                  std::vector<std::string>{"'" + path + "'は通常のファイルではありません"});
    }
}

} // namespace
} // namespace zelkor
