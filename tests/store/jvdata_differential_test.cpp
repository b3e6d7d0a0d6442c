// One race day described once and written both as JV-Data and as an
// archive's race card and horse file: the store and the archive give the
// same races and the same horses wherever both formats carry the facts.

#include "archive/horse_file.h"
#include "archive/race_card_file.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "store/jvdata_store.h"
#include "support/jvdata_generator.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace test;

// What only one of the two has: where the files lie, and the age (the
// archive's horse file counts it in the current year, the store at the race).
template <typename Record> Record comparable(Record record) {
    if constexpr (std::is_same_v<Record, JvRaceCard>) {
        record.raceCardPath = record.horseFilePath = "";
        record.jockeyFilePath = record.trainerFilePath = "";
    } else {
        record.age = 0;
    }
    return record;
}

TEST(JvDataDifferential, StoreAndArchiveGiveTheSameRacesAndHorses) {
    TempFolder folder("jvdiff");
    RecordingPrompt prompt;
    SilentProgress progress;
    const JvdDay described = makeJvdDay(24, 400, 5);
    std::ofstream(folder.file("day.jvd"), std::ios::binary) << jvdRecords(described);
    const JvRaceDay archive = jvdArchiveDay(described, 20250301);
    ASSERT_TRUE(writeJvRaceCard(folder.file("JracDen1.dat"), archive.races));
    ASSERT_TRUE(writeJvHorseFile(folder.file("JracUmaj.dat"), archive.horses));

    const std::string store = jvStorePath(folder.path());
    ImportSummary summary;
    ASSERT_TRUE(importJvData({folder.file("day.jvd")}, store, summary, prompt, progress));
    auto opened = openStoreDay(store, 20250301);
    ASSERT_TRUE(opened) << opened.message();
    RaceSource* source = opened->get();
    ASSERT_EQ(source->raceCount(prompt), countRaces(folder.file("JracDen1.dat")).valueOr(-1));
    int horses = 0, runs = 0;
    for (int r = 1; r <= source->raceCount(prompt); ++r) {
        JvRaceCard fromStore, fromArchive;
        ASSERT_TRUE(source->readRace(fromStore, r, prompt));
        ASSERT_TRUE(readRace(fromArchive, folder.file("JracDen1.dat"), r));
        EXPECT_EQ(comparable(fromStore), comparable(fromArchive)) << "race " << r;
        for (int k = 1; k <= fromStore.runnerCount; ++k) {
            JvHorseRecord a, b;
            ASSERT_TRUE(source->readHorse(a, fromStore, k, prompt));
            ASSERT_TRUE(
                readHorse(b, folder.file("JracUmaj.dat"), fromArchive.runner(k).horseId, 0));
            EXPECT_EQ(comparable(a), comparable(b)) << "race " << r << " runner " << k;
            ++horses;
            for (const JvPastRun& run : a.pastRuns)
                runs += run.present();
        }
    }
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_GT(horses, 200);
    EXPECT_GT(runs, 500);
}

} // namespace
} // namespace zelkor
