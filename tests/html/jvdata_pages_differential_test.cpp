// One race day described once, written as JV-Data (imported into the store)
// and as an archive: both race sources give the same race list, loaded
// races, newspapers and predict-all pages.

#include "archive/archive_race_source.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "html/newspaper_edition.h"
#include "html/predict_all.h"
#include "paper_test_data.h"
#include "race/race_info.h"
#include "race/race_loader.h"
#include "store/jvdata_store.h"
#include "support/jvdata_generator.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"
#include "text/file_io.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace zelkor {
namespace {

using namespace test;
namespace fs = std::filesystem;

struct Sources {
    TempFolder folder{"jvpages"};
    RecordingPrompt prompt;
    SilentProgress progress;
    std::unique_ptr<RaceSource> store;
    std::unique_ptr<ArchiveRaceSource> archive;
    Sources() {
        const JvdDay described = makeJvdDay(24, 400, 9);
        std::ofstream(folder.file("day.jvd"), std::ios::binary) << jvdRecords(described);
        ImportSummary summary;
        EXPECT_TRUE(importJvData({folder.file("day.jvd")}, jvStorePath(folder.path()), summary,
                                 prompt, progress));
        store = openStoreDay(jvStorePath(folder.path()), 20250301, prompt);
        const JvRaceDay day = jvdArchiveDay(described, 20250301);
        fs::create_directory(folder.file("JRA-VAN"));
        EXPECT_TRUE(writeJvRaceCard(folder.file("JRA-VAN/JracDen1.dat"), day.races));
        EXPECT_TRUE(writeJvHorseFile(folder.file("JRA-VAN/JracUmaj.dat"), day.horses));
        archive =
            std::make_unique<ArchiveRaceSource>(folder.file("JRA-VAN/JracDen1.dat"), folder.path());
    }
};

// Every file the predict-all of `source` writes, by name.
std::map<std::string, std::string> predictAllFiles(RaceSource& source, Sources& s) {
    RaceSheet sheet;
    JvRaceCard current;
    RecordingShell shell;
    std::tm saturday{};
    saturday.tm_year = 125;
    saturday.tm_mon = 2;
    saturday.tm_mday = 1;
    const std::string html = s.folder.file("HTML");
    fs::remove_all(html);
    EXPECT_NE(predictAll(source, sheet, current, paperSettings(1, 1, 1), s.folder.path(), saturday,
                         s.prompt, s.progress, shell),
              "");
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(html))
        if (entry.is_regular_file())
            files[entry.path().string()] = readWholeFile(entry.path().string()).value_or("?");
    return files;
}

TEST(JvDataPagesDifferential, SameListLoadsNewspapersAndPredictAll) {
    Sources s;
    ASSERT_TRUE(s.store);
    const RaceList fromStore = readRaceList(*s.store, s.prompt);
    EXPECT_EQ(fromStore.rows, readRaceList(*s.archive, s.prompt).rows);
    ASSERT_EQ(fromStore.rows.size(), 24u);
    for (int r = 1; r <= 24; ++r) {
        JvRaceCard a, b;
        ASSERT_TRUE(s.store->readRace(a, r, s.prompt));
        ASSERT_TRUE(s.archive->readRace(b, r, s.prompt));
        RaceSheet sheetA, sheetB;
        loadJvRace(sheetA, a, *s.store, s.prompt);
        loadJvRace(sheetB, b, *s.archive, s.prompt);
        EXPECT_EQ(sheetA.runners, sheetB.runners) << "race " << r;
        for (NewspaperEdition edition : {NewspaperEdition::Simple, NewspaperEdition::Detailed,
                                         NewspaperEdition::WithPastResults})
            EXPECT_EQ(buildNewspaper(edition, a, *s.store, paperSettings(1, 1, 1, 3),
                                     s.folder.path(), s.prompt),
                      buildNewspaper(edition, b, *s.archive, paperSettings(1, 1, 1, 3),
                                     s.folder.path(), s.prompt))
                << "race " << r;
    }
    EXPECT_EQ(predictAllFiles(*s.store, s), predictAllFiles(*s.archive, s));
    EXPECT_TRUE(s.prompt.entries.empty());
}

} // namespace
} // namespace zelkor
