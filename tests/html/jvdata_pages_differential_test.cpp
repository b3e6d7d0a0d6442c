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
    explicit Sources(const JvdDay& described = makeJvdDay(24, 400, 9), int date = 20250301) {
        std::ofstream(folder.file("day.jvd"), std::ios::binary) << jvdRecords(described);
        ImportSummary summary;
        EXPECT_TRUE(importJvData({folder.file("day.jvd")}, jvStorePath(folder.path()), summary,
                                 prompt, progress));
        if (auto opened = openStoreDay(jvStorePath(folder.path()), date))
            store = std::move(*opened);
        const JvRaceDay day = jvdArchiveDay(described, date);
        fs::create_directory(folder.file("JRA-VAN"));
        EXPECT_TRUE(writeJvRaceCard(folder.file("JRA-VAN/JracDen1.dat"), day.races));
        EXPECT_TRUE(writeJvHorseFile(folder.file("JRA-VAN/JracUmaj.dat"), day.horses));
        archive =
            std::make_unique<ArchiveRaceSource>(folder.file("JRA-VAN/JracDen1.dat"), folder.path());
    }
};

// Every file the predict-all of `source` writes, by name.
std::map<std::string, std::string> predictAllFiles(RaceSource& source, Sources& s) {
    RecordingShell shell;
    std::tm saturday{};
    saturday.tm_year = 125;
    saturday.tm_mon = 2;
    saturday.tm_mday = 1;
    const std::string html = s.folder.file("HTML");
    fs::remove_all(html);
    const AppSettings settings = paperSettings(1, 1, 1);
    EXPECT_TRUE(
        predictAll({source, settings, s.folder.path(), s.prompt, s.progress, shell}, saturday));
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
        EXPECT_EQ(sheetA.runners(), sheetB.runners()) << "race " << r;
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

JvdRunner runner(int number, char horse, int finish = 0, int abnormal = 0) {
    JvdRunner s;
    s.horseNo = s.bracket = number;
    s.horseId = std::string("201610000") + horse;
    s.finish = finish;
    s.abnormal = abnormal;
    return s;
}

// A day as members' data has it: horse 2 scratched after the draw, coats 09
// and 10, a name padded with half-width blanks, classes named by wins, and
// past runs on either side of the renaming.
JvdDay realDataDay() {
    JvdDay day;
    const auto add = [&day](int date, int raceNo, int condition, std::vector<JvdRunner> runners) {
        JvdRace r;
        r.key = {date / 10000, date % 10000, "05", 1, 1, raceNo};
        r.conditions = {0, condition, condition, condition, condition};
        return &day.races.emplace_back(JvdRaceEntry{r, std::move(runners)}).race;
    };
    add(20190608, 1, 5, {runner(1, '1'), runner(2, '2', 0, 1), runner(3, '3'), runner(4, '4')});
    add(20190608, 2, 10, {runner(1, '2')})->name = "テスト特別" + std::string(44, ' ');
    add(20190602, 5, 16, {runner(2, '1', 1)});
    add(20190525, 5, 10, {runner(2, '3', 2)});
    for (char horse : {'1', '3'}) {
        JvdHorse& h = day.horses.emplace_back();
        h.horseId = std::string("201610000") + horse;
        h.coat = horse == '1' ? 9 : 10;
    }
    return day;
}

TEST(JvDataPagesDifferential, RealNumbersCoatsUnpaddedNamesAndClassesByDate) {
    Sources s(realDataDay(), 20190608);
    ASSERT_TRUE(s.store);
    for (RaceSource* source :
         {static_cast<RaceSource*>(s.store.get()), static_cast<RaceSource*>(s.archive.get())}) {
        JvRaceCard scratched, padded;
        ASSERT_TRUE(source->readRace(scratched, 1, s.prompt));
        ASSERT_TRUE(source->readRace(padded, 2, s.prompt));
        EXPECT_EQ(scratched.raceName, "サラ系３歳以上1勝クラス");
        EXPECT_EQ(padded.raceName, "テスト特別");
        EXPECT_EQ(ageConditionsText(padded), "　3歳上2勝クラス");
        std::string pages;
        for (NewspaperEdition edition : {NewspaperEdition::Simple, NewspaperEdition::Detailed,
                                         NewspaperEdition::WithPastResults}) {
            const std::string page = buildNewspaper(
                edition, scratched, *source, paperSettings(0, 0, 0), s.folder.path(), s.prompt);
            EXPECT_NE(page.find("4枠  4番"), std::string::npos);
            EXPECT_EQ(page.find("枠  2番"), std::string::npos);
            pages += page;
        }
        for (const char* wanted : {"3枠  3番", "鹿粕毛", "青粕毛", "<b>3勝</b>", "<b>1000万</b>"})
            EXPECT_NE(pages.find(wanted), std::string::npos) << wanted;
    }
    EXPECT_TRUE(s.prompt.entries.empty());
}

} // namespace
} // namespace zelkor
