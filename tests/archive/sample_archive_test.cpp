// The bundled sample archive is the program's out-of-the-box demo: it must
// unpack, list a full race day and load every race without a message.

#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "race/race_card.h"
#include "race/race_info.h"
#include "race/race_loader.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"
#include "text/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zelkor {
namespace {

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 0x100000001b3u;
    return h;
}

TEST(SampleArchive, AFullRaceDayThatLoadsCleanly) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    test::JvTestDir program;
    test::RecordingPrompt prompt;
    JvRaceCard card;
    ASSERT_TRUE(intakeJvArchive(std::string(root) + "/resources/sample/JV_SAMPLE.lzh",
                                program.path(), card, prompt));
    EXPECT_TRUE(prompt.entries.empty()); // no trainer or jockey file to ask about
    // The files exactly as the archiver stored them (sizes and FNV-1a hashes).
    const std::string den = readWholeFile(card.raceCardPath).value_or("");
    const std::string uma = readWholeFile(card.horseFilePath).value_or("");
    EXPECT_EQ(den.size(), 40572u);
    EXPECT_EQ(fnv1a(den), 0xf01a00d447d1a546u);
    EXPECT_EQ(uma.size(), 1728600u);
    EXPECT_EQ(fnv1a(uma), 0x9b4d987a97c7d12bu);

    ArchiveRaceSource source(card.raceCardPath, program.path());
    RaceList list = readRaceList(source, prompt);
    ASSERT_GE(list.raceCount, 24);
    ASSERT_EQ(static_cast<int>(list.rows.size()), list.raceCount);
    std::set<std::string> courses;
    for (const RaceListRow& row : list.rows)
        courses.insert(row.course);
    EXPECT_GE(courses.size(), 3u);

    int runnersWithRuns = 0;
    for (int n = 1; n <= list.raceCount; ++n) {
        RaceSheet sheet;
        ASSERT_TRUE(loadChosenJvRace(source, n, card, sheet, prompt)) << n;
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
