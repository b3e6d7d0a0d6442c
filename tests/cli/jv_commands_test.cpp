// Runs the built zelkor2k-cli on JRA-VAN race cards and archives as a user
// would: races, races --info and load.

#include "archive/archive_race_source.h"
#include "cli_run.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "store/jvdata_store.h"
#include "support/jv_generator.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "text/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <unistd.h>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

using cli_test::Outcome;
using cli_test::u8;

class JvCommands : public cli_test::ProgramFolderTest {
  protected:
    std::string sampleArchive() const {
        return (source_ / "resources/sample/JV_SAMPLE.lzh").string();
    }
    std::string fixture(const std::string& name) const {
        return (source_ / "tests/archive/fixtures" / name).string();
    }

    // `races` as a race card and `horses` as the horse file beside it, in a
    // folder of their own (not the program's working folder).
    std::string writeDay(const std::vector<test::JvRaceData>& races,
                         const std::vector<test::JvHorseData>& horses) {
        fs::create_directories(temp_ / "card");
        const std::string card = (temp_ / "card/JracDen1.dat").string();
        EXPECT_TRUE(test::writeJvRaceCard(card, races));
        EXPECT_TRUE(test::writeJvHorseFile((temp_ / "card/JracUmaj.dat").string(), horses));
        return card;
    }

    // A race card of two races and their horses.
    std::string writeCard(bool withAllHorses = true) {
        test::JvRaceData first;
        first.raceName = "ハツユキ特別";
        first.courseCode = "08";
        first.monthDay = 1207;
        first.raceNumber = 9;
        first.gradeCode = "E";
        first.edition = 0;
        first.weekdayCode = 2;
        first.postTime = 1425;
        first.symbolCode = "A10";
        first.kindCode = 13;
        first.weightRuleCode = 2;
        first.conditionCodes = {0, 16, 16, 16, 0};
        first.distanceMetres = 1800;
        first.trackCode = 24;
        first.prizeMoney = {15000, 6000, 3800, 2300, 1500};
        first.addedMoney = {1234, 352, 176};
        first.saleCode = 2;
        test::JvRunnerData a;
        a.horseId = "2021100001";
        a.horseName = "ミナミカゼ";
        test::JvRunnerData b = a;
        b.horseId = "2021100002";
        b.horseName = "キタカゼ";
        b.sexCode = 2;
        b.weightCarried = 530;
        first.runners = {a, b};
        test::JvRaceData second;
        second.monthDay = 1207;
        second.courseCode = "08";
        second.raceNumber = 10;
        second.kindCode = 12;
        second.conditionCodes = {0, 703, 0, 0, 0};
        second.runners = {b};

        test::JvHorseData ha;
        ha.id = "2021100001";
        ha.name = "ミナミカゼ";
        ha.bandCounts[0][1] = {1, 0, 0, 2};
        test::JvRunData run;
        ha.runs = {run, run};
        test::JvHorseData hb;
        hb.id = "2021100002";
        hb.name = "キタカゼ";
        hb.sexCode = 2;
        std::vector<test::JvHorseData> horses = {ha};
        if (withAllHorses)
            horses.push_back(hb);
        return writeDay({first, second}, horses);
    }

    // Race `position` of `card` loaded by the command, which must save
    // without a word on stderr what the loader makes in this process.
    RaceSheet loadedAsHere(const std::string& card, int position) {
        const Outcome r = run({"load", card, "--race", std::to_string(position), "-o", zel_});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        test::RecordingPrompt prompt;
        JvRaceCard race;
        ArchiveRaceSource source(card, program_.string() + "/");
        EXPECT_TRUE(source.readRace(race, position, prompt));
        RaceSheet sheet;
        loadJvRace(sheet, race, source, prompt);
        EXPECT_EQ(readWholeFile(zel_).value_or(""), predictionFileText(sheet));
        return sheet;
    }

    const std::string zel_ = (temp_ / "race.zel").string(); // where load saves
};

TEST_F(JvCommands, RacesListsOneLinePerRace) {
    Outcome r = run({"races", writeCard()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, u8(u8"1207\t京都\t9\tハツユキ特別\n"
                        u8"1207\t京都\t10\tサラ系３歳　　未勝利\n"));
}

TEST_F(JvCommands, ControlCharactersFromTheDataAreShownAsEscapes) {
    test::JvRaceData race;
    race.raceName = "ア\tイ\x1b]0;x\x07";
    test::JvRunnerData runner;
    runner.horseId = "2021100001";
    runner.horseName = "ミナ\x1b[2J";
    race.runners = {runner, runner};
    const std::string card = writeDay({race}, {});
    ASSERT_EQ(run({"load", card, "--race", "1", "-o", zel_}).status, 0);

    const Outcome list = run({"races", card}), predicted = run({"predict", zel_});
    EXPECT_EQ(list.out.substr(list.out.rfind('\t')), u8(u8"\tア\\x09イ\\x1B]0;x\\x07\n"));
    for (const Outcome& r : {list, run({"races", card, "--info", "1"}), predicted}) {
        EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find('\x07'), std::string::npos) << r.out;
    }
    EXPECT_NE(predicted.out.find(u8(u8"ミナ\\x1B[2J")), std::string::npos);
}

TEST_F(JvCommands, RaceInformationWithLineFeeds) {
    Outcome r = run({"races", writeCard(), "--info", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, u8(u8"京都競馬場 第1回 1日目  9Ｒ 2026年12月7日 日曜日 14:25 発走\n"
                        u8"\t [ハツユキ特別]\n"
                        u8"\n"
                        u8"-競争情報-\n"
                        u8"\t ダート　右回り 2頭 1800m\n"
                        u8"\t ○混牡 サラ系３歳以上 別定\n"
                        u8"-条件-\n"
                        u8"\t３歳　　 3勝クラス\n"
                        u8"\t４歳　　 3勝クラス\n"
                        u8"\t５歳以上 3勝クラス\n"
                        u8"-本賞金-\n"
                        u8"\t1着    1500万\n"
                        u8"\t2着     600万\n"
                        u8"\t3着     380万\n"
                        u8"\t4着     230万\n"
                        u8"\t5着     150万\n"
                        u8"-付加賞金-\n"
                        u8"\t1着     123万\n"
                        u8"\t2着      35万\n"
                        u8"\t3着      17万\n"
                        u8"-要項-\n"
                        u8"\t全国発売・当日売り\n"));
}

TEST_F(JvCommands, LoadSavesTheSheetTheLoaderMakes) {
    const RaceSheet expected = loadedAsHere(writeCard(), 1);
    EXPECT_EQ(expected.raceName, "ハツユキ特別");
    EXPECT_EQ(expected.runner(2).name, "キタカゼ");
}

TEST_F(JvCommands, LoadReportsMissingHorsesAndGoesOn) {
    Outcome r = run({"load", writeCard(false), "--race", "1", "-o", zel_});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, u8(u8"登録馬ファイルの読み込みに失敗しました\n"));
    EXPECT_NE(readWholeFile(zel_).value_or("").find("キタカゼ"), std::string::npos);
}

TEST_F(JvCommands, LoadRefusesBadArguments) {
    std::string card = writeCard();
    EXPECT_EQ(run({"load", card, "-o", zel_}).status, 1);
    EXPECT_EQ(run({"load", card, "--race", "0", "-o", zel_}).status, 1);
    EXPECT_EQ(run({"load", card, "--race", "x", "-o", zel_}).status, 1);
    EXPECT_EQ(run({"load", card, "--race", "1"}).status, 1);
    EXPECT_EQ(run({"load", card, "--race", "1", "-o", zel_, "--bogus"}).status, 1);
    Outcome past = run({"load", card, "--race", "3", "-o", zel_});
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(past.err, u8(u8"出馬表ファイルの読み込みに失敗しました\n"));
    EXPECT_FALSE(fs::exists(zel_));
}

TEST_F(JvCommands, BlankFieldsShowZeroNeverThePreviousRecordsValues) {
    const test::JvRaceDay day = test::makeJvDayWithBlankFields();
    const std::string card = writeDay(day.races, day.horses);

    Outcome list = run({"races", card});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, u8(u8"1207\t京都\t9\tサキノ特別\n"
                           u8"1207\t京都\t0\tアトノ特別\n"));

    Outcome info = run({"races", card, "--info", "2"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.substr(0, info.out.find('\n')),
              u8(u8"京都競馬場 第1回 1日目  0Ｒ 0年12月7日 土曜日 10:25 発走"));

    // The loaded race as new records give it: runner 2 carries 0 kg (the
    // list's first weight) and its last run without a finish is 未出走.
    const RaceSheet expected = loadedAsHere(card, 2);
    EXPECT_EQ(expected.runner(2).weight, 0);
    EXPECT_EQ(expected.runner(2).pastRuns[kLastRun].kind, PastRunKind::NotRun);
    EXPECT_EQ(expected.runner(1).pastRuns[kLastRun].kind, PastRunKind::Race);
}

TEST_F(JvCommands, ArchivesAreUnpackedIntoTheProgramFolder) {
    Outcome r = run({"races", sampleArchive()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), u8(u8"0110\t中山\t1\tサラ系３歳　　未勝利\n"));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 36);
    EXPECT_TRUE(fs::exists(program_ / "JRA-VAN/JracDen1.dat"));
    EXPECT_TRUE(fs::exists(program_ / "JRA-VAN/JracUmaj.dat"));

    Outcome load = run({"load", sampleArchive(), "--race", "11", "-o", zel_});
    EXPECT_EQ(load.status, 0) << load.err;
    EXPECT_EQ(load.err, "");
    EXPECT_TRUE(fs::exists(zel_));
}

TEST_F(JvCommands, StaffFilesAreKeptOnlyWhenAsked) {
    Outcome r = run({"races", fixture("good.lzh"), "--update-trainers"});
    EXPECT_NE(r.err.find(u8(u8"調教師データを更新しますか？")), std::string::npos);
    EXPECT_TRUE(fs::exists(program_ / "KTDAT/JracChok.dat"));
    EXPECT_FALSE(fs::exists(program_ / "KTDAT/JracKisi.dat"));
    run({"races", fixture("good.lzh"), "--update-jockeys"});
    EXPECT_TRUE(fs::exists(program_ / "KTDAT/JracKisi.dat"));
}

TEST_F(JvCommands, ACardUnderAnotherNameUsesTheHorseFileOfItsFolder) {
    const fs::path renamed = temp_ / "card" / "day.dat";
    fs::rename(writeCard(), renamed);
    loadedAsHere(renamed.string(), 1); // no word of a missing horse file
}

// A page of a set that cannot be written (a folder stands in its place) is
// left out of the menu, and the command fails.
TEST_F(JvCommands, SetCommandsFailAndLinkNoPageThatWasNotWritten) {
    const std::string card = writeCard();
    struct Case {
        std::vector<std::string> args;
        std::string folder;
        std::string secondPage;
    };
    const Case cases[] = {
        {{"paper", card, "--races", "all"}, "Jv2026_1207", u8(u8"Jv2026-1207_京都10R.html")},
        {{"predict-all", card}, "Jvzel2026_1207", u8(u8"Jvzel2026-1207_京都10R.html")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const fs::path set = program_ / "HTML" / c.folder;
        fs::create_directories(set / c.secondPage);
        Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        // Told after the progress of the whole set, which is buffered.
        EXPECT_LT(r.err.rfind("] 100%"), r.err.rfind(c.secondPage)) << r.err;
        const std::string menu = cli_test::fileText(set / "2026-1207menu.html");
        EXPECT_NE(menu.find("<b>9R</b>"), std::string::npos);
        EXPECT_EQ(menu.find("<b>10R</b>"), std::string::npos);
    }
}

// The option tables drive what every command refuses, and how it says so.
TEST_F(JvCommands, EachCommandRefusesWhatItsTableDoesNotAllow) {
    const std::string card = writeCard();
    const std::string pre = "zelkor2k-cli: ";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"races", card, "--jsn"},
         u8(u8"--jsn というオプションはありません (races --help を参照)")},
        {{"sheet", "a.zel", "--json"},
         u8(u8"--json というオプションはありません (sheet --help を参照)")},
        {{"predict", "a.zel", "b.zel"},
         u8(u8"predict には予想ファイルを 1 つ、または --date YYYYMMDD を指定してください "
            u8"(predict --help を参照)")},
        {{"predict-all"},
         u8(u8"predict-all には出馬表または圧縮ファイルを 1 つ、または --date "
            u8"YYYYMMDD を指定してください (predict-all --help を参照)")},
        {{"races", card, "--date", "20250105"},
         u8(u8"races には出馬表または圧縮ファイルと --date を一緒に指定できません "
            u8"(races --help を参照)")},
        {{"paper", "--date", "2025-01-05", "--races", "1"},
         u8(u8"--date には年月日を YYYYMMDD の形で指定してください")},
        {{"import"},
         u8(u8"import にはJV-Dataのファイル、フォルダまたは圧縮ファイルを 1 つ以上"
            u8"指定してください (import --help を参照)")},
        {{"dates", "x"}, u8(u8"dates には引数を指定できません (dates --help を参照)")},
        {{"check", "--json"}, u8(u8"--json というオプションはありません (check --help を参照)")},
    };
    for (const Case& c : cases) {
        Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, pre + c.err + "\n");
    }
}

// The sample JV-Data season imported, then its days listed, loaded and
// predicted as the days of an archive are; a cancelled race is listed,
// refused and left out.
TEST_F(JvCommands, JvDataImportedThenItsDaysListedLoadedAndPredicted) {
    const std::string sample = (source_ / "resources/sample/JV-Data_sample.dat").string();
    using Json = nlohmann::json;
    Outcome r = run({"import", sample, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json first = Json::parse(r.out);
    EXPECT_EQ(first["RA"]["added"], 291);
    EXPECT_EQ(first["rejected"], Json::array());
    EXPECT_EQ(first["files"], Json::parse(R"([{"file": ")" + sample + R"(", "jvData": true,
        "records": 6714, "rejected": 0, "passedOver": 0}])"));
    for (const auto& [type, counts] : first.items()) {
        if (!counts.is_object())
            continue;
        int parts = 0;
        for (const char* part :
             {"added", "replaced", "olderIgnored", "sameIgnored", "deleted", "rejected", "skipped"})
            parts += counts[part].get<int>();
        EXPECT_EQ(counts["read"], parts) << type;
    }
    // The same file again changes nothing.
    const Json again = Json::parse(run({"import", sample, "--json"}).out);
    EXPECT_EQ(again["RA"]["added"], 0);
    EXPECT_EQ(again["RA"]["sameIgnored"], 291);

    const Json dates = Json::parse(run({"dates", "--json"}).out);
    ASSERT_EQ(dates.size(), 12u);
    EXPECT_EQ(dates[0], (Json{{"date", "20250316"}, {"races", 24}}));
    EXPECT_TRUE(run({"dates"}).out.starts_with("20250316\t24\n20250315\t24\n"));

    // Race 9 of 5 January (中山 9R) was cancelled.
    r = run({"races", "--date", "20250105"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 24);
    EXPECT_NE(r.out.find(u8(u8"\t9\tサラ系４歳以上2勝クラス (中止)\n")), std::string::npos);
    const Json races = Json::parse(run({"races", "--date", "20250105", "--json"}).out);
    EXPECT_EQ(races["raceCount"], 24);
    EXPECT_EQ(races["races"][8]["loadable"], false);

    r = run({"load", "--date", "20250105", "--race", "9", "-o", zel_});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, u8(u8"このレースは中止されました\n"));
    EXPECT_FALSE(fs::exists(zel_));
    r = run({"load", "--date", "20250105", "--race", "1", "-o", zel_, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json loaded = Json::parse(r.out);
    EXPECT_EQ(loaded["raceNumber"], races["races"][0]["raceNumber"]);
    EXPECT_EQ(loaded["runners"].size(), loaded["runnerCount"].get<size_t>());
    EXPECT_TRUE(fs::exists(zel_));
    // Horse 10 of race 5 was scratched: the runners keep their numbers, and
    // only the file renumbers them, saying so once.
    r = run({"load", "--date", "20250105", "--race", "5", "-o", zel_, "--json"});
    EXPECT_EQ(Json::parse(r.out)["runners"][9]["horse"], 11);
    EXPECT_EQ(r.err, u8(u8"出走取消で馬番に欠番があるため、予想ファイルには出走馬を1番から順に"
                        u8"付け直して保存しました。\n"));

    // Every race but the cancelled one gets its page and summary row.
    r = run({"predict-all", "--date", "20250105"});
    EXPECT_EQ(r.status, 0) << r.err;
    const fs::path set = program_ / "HTML/Jvzel2025_0105";
    EXPECT_EQ(r.out, (set / "index.html").string() + "\n");
    const std::string summary = cli_test::fileText(set / "2025-0105kaime.html");
    size_t rows = 0;
    for (size_t at = summary.find("<tr><td><font size=2>"); at != std::string::npos;
         at = summary.find("<tr><td><font size=2>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 23u);
}

// A store with a damaged page: every job that meets it fails with one
// message naming the store and the way out, never shows a horse blank; check
// says so in one line, as it says that a sound store is sound.
TEST_F(JvCommands, ADamagedStoreFailsEveryJobThatMeetsItAndCheckSaysSo) {
    const std::string store = jvStorePath(program_.string() + "/");
    ASSERT_EQ(run({"import", (source_ / "resources/sample/JV-Data_sample.dat").string()}).status,
              0);
    const std::string counts = u8(u8"（RA 291件、SE 4048件、UM 1800件、HR 287件、O1 288件）。");
    const std::string way = u8(u8"別の名前に変えてから、JV-Dataを取り込み直してください。\n");
    EXPECT_EQ(run({"check"}).out,
              u8(u8"JV-Dataの保存ファイル'") + store + u8(u8"'は正常です") + counts + "\n");
    test::damageStoreTable(store, "um");
    const std::string damaged = u8(u8"ファイル'") + store +
                                u8(u8"'はJV-Dataの保存ファイルではないか、壊れています。\n"
                                   u8"ファイルには手を付けていません。") +
                                way;
    const std::vector<std::string> jobs[] = {
        {"load", "--date", "20250201", "--race", "1", "-o", (temp_ / "x.zel").string()},
        {"paper", "--date", "20250201", "--races", "1", "-o", (temp_ / "x.html").string()},
        {"paper", "--date", "20250201", "--races", "all"},
        {"predict-all", "--date", "20250201"},
        {"backtest", "--from", "20250201", "--to", "20250201"}};
    for (const std::vector<std::string>& job : jobs) {
        const Outcome r = run(job);
        EXPECT_EQ(r.status, 1) << job[0];
        EXPECT_TRUE(r.err.ends_with(damaged) && r.err.find(damaged) == r.err.rfind(damaged))
            << r.err;
    }
    EXPECT_FALSE(fs::exists(temp_ / "x.zel") || fs::exists(temp_ / "x.html"));
    const Outcome r = run({"check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, u8(u8"zelkor2k-cli: JV-Dataの保存ファイル'") + store +
                         u8(u8"'は壊れています") + counts + way);
}

TEST_F(JvCommands, NotAnArchive) {
    Outcome r = run({"races", fixture("not_archive.lzh")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, u8(u8"ファイル 'not_archive.lzh' は書庫ではありません\n"));
    Outcome damaged =
        run({"load", fixture("damaged.lzh"), "--race", "1", "-o", (temp_ / "x.zel").string()});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.err, u8(u8"ファイルを解凍できませんでした\n"));
}

} // namespace
} // namespace zelkor
