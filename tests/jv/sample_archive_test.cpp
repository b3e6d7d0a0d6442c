// The bundled sample archive is the program's out-of-the-box demo: it must
// unpack, list a full race day and load every race without a message.

#include "jv/archive_intake.h"
#include "jv/jv_test_dir.h"
#include "jv/race_card.h"
#include "jv/race_info.h"
#include "jv/race_loader.h"
#include "support/recording_prompt.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zelkor {
namespace {

TEST(SampleArchive, AFullRaceDayThatLoadsCleanly) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    test::JvTestDir program;
    test::RecordingPrompt prompt;
    JvRaceCard card;
    ASSERT_TRUE(intakeJvArchive(std::string(root) + "/resources/sample/JV_SAMPLE.lzh",
                                program.path(), card, prompt));
    EXPECT_TRUE(prompt.entries.empty()); // no trainer or jockey file to ask about

    RaceList list = readRaceList(card.raceCardPath, prompt);
    ASSERT_GE(list.raceCount, 24);
    ASSERT_EQ(static_cast<int>(list.rows.size()), list.raceCount);
    std::set<std::string> courses;
    for (const RaceListRow& row : list.rows)
        courses.insert(row.course);
    EXPECT_GE(courses.size(), 3u);

    int runnersWithRuns = 0;
    for (int n = 1; n <= list.raceCount; ++n) {
        RaceSheet sheet;
        ASSERT_TRUE(loadChosenJvRace(card, n, sheet, prompt, program.path())) << n;
        EXPECT_GE(sheet.runnerCount, 4) << n;
        for (int h = 1; h <= sheet.runnerCount; ++h) {
            EXPECT_FALSE(sheet.runner(h).name.empty()) << n << " " << h;
            if (sheet.runner(h).pastRuns[kLastRun].kind == 0)
                ++runnersWithRuns;
        }
    }
    EXPECT_TRUE(prompt.entries.empty()) << prompt.entries.size() << " messages";
    EXPECT_GT(runnersWithRuns, 100);
}

} // namespace
} // namespace zelkor
