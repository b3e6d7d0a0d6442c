#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "core/fixed_lists.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"
#include "support/rescan_race_source.h"
#include "text/file_io.h"

#include <gtest/gtest.h>
#include <memory>

namespace zelkor {
namespace {

using test::JvHorseData;
using test::JvRaceData;
using test::JvRunData;
using test::JvRunnerData;
using test::JvTestDir;
using test::RecordingPrompt;

JvRaceCard cardWith(std::string grade, std::array<int, 5> conditions) {
    JvRaceCard card;
    card.gradeCode = std::move(grade);
    card.conditionCodes = conditions;
    return card;
}

TEST(RaceConditions, GradeFromGradeCodeThenFirstConditionCode) {
    EXPECT_EQ(gradeOfRace(cardWith("A", {0, 999, 999, 0, 0})), 0);
    EXPECT_EQ(gradeOfRace(cardWith("B", {0, 5, 0, 0, 0})), 1);
    EXPECT_EQ(gradeOfRace(cardWith("C", {0, 0, 0, 0, 0})), 2);
    // 重賞 and 特別 go by their conditions; open races are オープン.
    EXPECT_EQ(gradeOfRace(cardWith("D", {0, 999, 0, 0, 0})), 3);
    EXPECT_EQ(gradeOfRace(cardWith("E", {0, 0, 16, 16, 0})), 4);
    EXPECT_EQ(gradeOfRace(cardWith(" ", {0, 9, 9, 0, 0})), 5);
    EXPECT_EQ(gradeOfRace(cardWith(" ", {0, 5, 16, 0, 0})), 6); // the first non-zero one
    EXPECT_EQ(gradeOfRace(cardWith(" ", {0, 703, 0, 0, 0})), 7);
    EXPECT_EQ(gradeOfRace(cardWith(" ", {702, 0, 0, 0, 0})), 8);
    EXPECT_EQ(gradeOfRace(cardWith(" ", {701, 0, 0, 0, 0})), 9);
    EXPECT_EQ(gradeOfRace(cardWith(" ", {0, 0, 10, 0, 0})), 5); // 1000万 (2勝クラス) as 900万
    EXPECT_EQ(gradeOfRace(cardWith("A ", {0, 0, 5, 0, 0})), 6); // "A " is not "A"
}

TEST(RaceConditions, AgeLimitFromWhichAgeGroupsRun) {
    EXPECT_EQ(ageLimitOfRace(cardWith(" ", {701, 703, 5, 0, 0})), 3); // ２歳 whatever follows
    EXPECT_EQ(ageLimitOfRace(cardWith(" ", {0, 0, 5, 5, 0})), 0);     // ４歳上
    EXPECT_EQ(ageLimitOfRace(cardWith(" ", {0, 703, 0, 0, 0})), 2);   // ３歳
    EXPECT_EQ(ageLimitOfRace(cardWith(" ", {0, 5, 5, 5, 0})), 1);     // ３歳上
}

TEST(RaceConditions, SexLimitLooksForTheTwoWordTextsFirst) {
    const std::pair<const char*, int> cases[] = {{"○混牡・せん○指", 3}, {"○混牡・牝", 4},
                                                 {"○混牡", 1},          {"○混牝", 2},
                                                 {"○国際○特指", 0},     {"", 0}};
    for (const auto& [symbol, limit] : cases) {
        JvRaceCard card;
        card.symbolText = symbol;
        EXPECT_EQ(sexLimitOfRace(card), limit) << symbol;
    }
}

TEST(RaceConditions, WeightRuleAndSurface) {
    JvRaceCard card;
    const int expected[] = {4, 2, 0, 3, 1, 4};
    for (int code = 0; code <= 5; ++code) {
        card.weightRuleCode = code;
        EXPECT_EQ(weightRuleOfRace(card), expected[code]) << code;
    }
    for (int track : {10, 17, 22, 29, 34, 54}) {
        card.trackCode = track;
        EXPECT_EQ(surfaceOfRace(card), 0) << track;
    }
    for (int track : {23, 24}) {
        card.trackCode = track;
        EXPECT_EQ(surfaceOfRace(card), 1) << track;
    }
}

TEST(OddsBand, FirstBoundNotExceeded) {
    const std::pair<int, int> cases[] = {{-40, 0},  {15, 0},   {16, 1},   {98, 9},  {100, 9},
                                         {150, 10}, {151, 11}, {500, 13}, {501, 14}};
    for (const auto& [odds, band] : cases)
        EXPECT_EQ(oddsBandOf(odds), band) << odds;
}

JvPastRun pastRun(int finish, int time, int otherTime) {
    JvPastRun run;
    run.read = true;
    run.courseCode = {'0', '5'};
    run.finish = static_cast<std::int8_t>(finish);
    run.fieldSize = 16;
    run.popularity = 3;
    run.distanceMetres = 1600;
    run.conditionCode = 5;
    run.weightCarried = 550;
    run.time = static_cast<std::int16_t>(time);
    run.timeDiff = static_cast<std::int16_t>(timeToTenths(otherTime) - timeToTenths(time));
    return run;
}

// A past run that was raced, by the indices of finish, field size, popularity,
// distance, class, weight and time gap.
PastRun raced(int finish, int field, int popularity, int distance, int raceClass, int weight,
              int timeDiff) {
    return {PastRunKind::Race, finish, field, popularity, distance, raceClass, weight, timeDiff};
}

TEST(PastRuns, TimeDifferenceInTenthsUpToTwoSeconds) {
    EXPECT_EQ(sheetPastRun(pastRun(1, 1345, 1347)).timeDiff, 0); // a winner is 0
    EXPECT_EQ(sheetPastRun(pastRun(2, 1345, 1338)).timeDiff, 7);
    EXPECT_EQ(sheetPastRun(pastRun(5, 1345, 1320)).timeDiff, 21); // 2.5 s: 大
    EXPECT_EQ(sheetPastRun(pastRun(5, 1345, 1325)).timeDiff, 20);
    // Across a minute: 1:59.8 and 2:00.3 are half a second apart.
    EXPECT_EQ(sheetPastRun(pastRun(3, 2003, 1598)).timeDiff, 5);
    EXPECT_EQ(timeDiffIndex(1598, 2003), 5);
}

TEST(PastRuns, ValuesBecomeClampedIndices) {
    EXPECT_EQ(sheetPastRun(pastRun(4, 1345, 1340)), raced(3, 12, 2, 6, 6, 18, 5));

    JvPastRun odd = pastRun(19, 1345, 1345);
    odd.fieldSize = 2;
    odd.popularity = 20;
    odd.distanceMetres = 900;
    odd.weightCarried = 440;
    EXPECT_EQ(sheetPastRun(odd), raced(17, 0, 17, 0, 6, 0, 0));
    odd.fieldSize = 30;
    odd.distanceMetres = 4000;
    odd.weightCarried = 700;
    EXPECT_EQ(sheetPastRun(odd), raced(17, 14, 17, 26, 6, 36, 0));
}

TEST(PastRuns, KindFromFinishRacecourseAndAbnormalFlag) {
    JvPastRun run = pastRun(3, 1345, 1340);
    run.abnormal = 1;
    EXPECT_EQ(sheetPastRun(run).kind, PastRunKind::Accident);
    EXPECT_EQ(sheetPastRun(pastRun(0, 1345, 1340)), (PastRun{.kind = PastRunKind::NotRun}));
    run = pastRun(3, 1345, 1340);
    run.read = false;
    EXPECT_EQ(sheetPastRun(run), (PastRun{.kind = PastRunKind::NotRun}));
}

TEST(PastRuns, ClassOfARun) {
    const struct {
        char grade;
        int condition;
        int index;
    } cases[] = {{'A', 5, 0},   {'B', 5, 1},   {'C', 5, 2}, {'D', 999, 3},
                 {' ', 16, 4},  {' ', 9, 5},   {' ', 5, 6}, {' ', 703, 7},
                 {' ', 702, 8}, {' ', 701, 9}, {' ', 10, 5}}; // 1000万 (2勝クラス) as 900万
    for (const auto& c : cases) {
        JvPastRun run;
        run.gradeCode = c.grade;
        run.conditionCode = static_cast<std::int16_t>(c.condition);
        EXPECT_EQ(pastRunClass(run), c.index) << c.grade << c.condition;
    }
}

// A race card and horse file written by the generator, loaded as the
// program does after the race selection.
class LoadRace : public ::testing::Test {
  protected:
    JvRunnerData runner(std::string id, std::string name, int sex = 1, int weight = 550) {
        JvRunnerData r;
        r.horseId = std::move(id);
        r.horseName = std::move(name);
        r.sexCode = sex;
        r.weightCarried = weight;
        return r;
    }
    void load(const JvRaceData& race, const std::vector<JvHorseData>& horses) {
        forgetJvFileIndexes();
        ASSERT_TRUE(test::writeJvRaceCard(dir.file("JracDen1.dat"), {race}));
        ASSERT_TRUE(test::writeJvHorseFile(dir.file("JracUmaj.dat"), horses));
        source = std::make_unique<ArchiveRaceSource>(dir.file("JracDen1.dat"), dir.path());
        ASSERT_TRUE(source->readRace(card, 1, prompt));
        loadJvRace(sheet, card, *source, prompt);
    }

    JvTestDir dir;
    std::unique_ptr<ArchiveRaceSource> source;
    JvRaceCard card;
    RaceSheet sheet;
    RecordingPrompt prompt;
};

TEST_F(LoadRace, RaceConditionsFromTheCard) {
    JvRaceData race;
    race.raceName = "テスト記念";
    race.raceNumber = 11;
    race.courseCode = "06";
    race.gradeCode = "C";
    race.symbolCode = "A20";
    race.weightRuleCode = 1;
    race.conditionCodes = {0, 0, 999, 999, 0};
    race.distanceMetres = 1800;
    race.trackCode = 24;
    race.runners = {runner("2020100001", "イチ"), runner("2020100002", "ニ")};
    load(race, {});
    EXPECT_EQ(sheet.raceName, "テスト記念");
    EXPECT_EQ(sheet.raceNumber, 11);
    EXPECT_EQ(sheet.racecourse, "中山");
    EXPECT_EQ(sheet.grade, 2);
    EXPECT_EQ(sheet.ageLimit, 0);
    EXPECT_EQ(sheet.sexLimit, 2);
    EXPECT_EQ(sheet.weightRule, 2);
    EXPECT_EQ(sheet.surface, 1);
    EXPECT_EQ(sheet.distance, 8);
    EXPECT_EQ(sheet.runnerCount, 2);
    EXPECT_EQ(sheet.liveRunnerCount, 2);
}

TEST_F(LoadRace, UnnamedRaceKeepsTheBuiltNameAndOnlyAnEmptyOneBecomesOrdinary) {
    JvRaceData race;
    race.kindCode = 12;
    race.conditionCodes = {0, 703, 0, 0, 0};
    race.runners = {runner("2020100001", "イチ")};
    load(race, {});
    EXPECT_EQ(sheet.raceName, "サラ系３歳　　未勝利");

    card.raceName.clear();
    loadJvRace(sheet, card, *source, prompt);
    EXPECT_EQ(sheet.raceName, "一般競走");
}

TEST_F(LoadRace, AgesCountInTheRacesYearNotTheClocks) {
    // A December race opened in any later year keeps its runners' ages.
    JvHorseData horse;
    horse.id = "1997100001";
    horse.birthYear = 1997;
    JvRaceData race;
    race.year = 2001;
    race.monthDay = 1228;
    race.runners = {runner(horse.id, "トシコシ")};
    load(race, {horse});
    EXPECT_EQ(sheet.runner(1).age, 4 - 2); // the list starts at 2 years
}

TEST_F(LoadRace, AHorseFileOfPartRecordsIsNotReadShifted) {
    JvHorseData horse;
    horse.id = "2020100001";
    horse.name = "ホンモノ";
    JvRaceData race;
    race.runners = {runner(horse.id, "カードノナマエ")};
    load(race, {horse});
    // The same file with a byte more: the runner comes from its card line.
    ASSERT_TRUE(writeWholeFile(dir.file("JracUmaj.dat"), test::jvHorseFileBytes({horse}) + "\n"));
    prompt.entries.clear();
    ArchiveRaceSource fresh(dir.file("JracDen1.dat"), dir.path());
    loadJvRace(sheet, card, fresh, prompt);
    EXPECT_EQ(sheet.runner(1).name, "カードノナマエ");
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"登録馬ファイルの読み込みに失敗しました"});
}

TEST_F(LoadRace, DistancesAndWeightsOutsideTheListsAreClamped) {
    JvRaceData race;
    race.distanceMetres = 3800;
    race.raceNumber = 25;
    race.runners = {runner("2020100001", "カルイ", 1, 440), runner("2020100002", "オモイ", 1, 650),
                    runner("2020100003", "フツウ", 1, 575)};
    load(race, {});
    EXPECT_EQ(sheet.distance, 26);
    EXPECT_EQ(sheet.raceNumber, 20);
    EXPECT_EQ(sheet.runner(1).weight, 0);
    EXPECT_EQ(sheet.runner(2).weight, 36);
    EXPECT_EQ(sheet.runner(3).weight, 23);
}

TEST_F(LoadRace, RunnersFromTheHorseFileAndMissingHorsesFromTheirCardLine) {
    // A: one GⅠ win, strength 469,225. B: not in the file. C: no runs, 10.
    JvHorseData a;
    a.id = "2020100001";
    a.name = "エース";
    a.sexCode = 2;
    a.birthYear = jvCurrentYear() - 4;
    a.bandCounts[0][0] = {2, 0, 0, 0};
    a.bandCounts[0][1] = {1, 0, 0, 0};
    JvRunData win;
    win.gradeCode = "A";
    win.finish = 1;
    win.corners = {5, 5, 4, 3};
    win.timeDiff = 3;
    a.runs = {win};
    JvHorseData c;
    c.id = "2020100003";
    c.name = "シンジン";
    c.birthYear = jvCurrentYear() - 30;
    JvRaceData race;
    race.runners = {runner("2020100001", "エース"), runner("2020100002", "ナゾノウマ", 3, 540),
                    runner("2020100003", "シンジン")};
    sheet.runner(2).pastRuns[0].finish = 9; // left over from an earlier race
    sheet.runner(4).name = "ベツノウマ";
    load(race, {a, c});

    // B's horse is reported once, although every runner is read twice.
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"登録馬ファイルの読み込みに失敗しました"});

    const RunnerEntry& ra = sheet.runner(1);
    EXPECT_EQ(ra.name, "エース");
    EXPECT_EQ(ra.sex, Sex::Filly);
    EXPECT_EQ(ra.age, 2);
    EXPECT_EQ(ra.weight, 18);
    EXPECT_EQ(ra.runningStyle, RunningStyle::Stalker);
    EXPECT_EQ(ra.aptitudeDistance, 6);
    EXPECT_EQ(ra.oddsBand, 0); // estimate 8 against a field total of 469,245
    EXPECT_EQ(ra.pastRuns[kLastRun], raced(0, 12, 2, 6, 0, 18, 0));
    EXPECT_EQ(ra.pastRuns[kRunBeforeLast], (PastRun{.kind = PastRunKind::NotRun}));

    // The missing horse: card name, sex and weight, a horse without runs.
    RunnerEntry rb;
    rb.name = "ナゾノウマ";
    rb.sex = Sex::Gelding;
    rb.weight = 16;
    rb.runningStyle = RunningStyle::Closer;
    rb.oddsBand = 14; // estimate 369,765
    rb.pastRuns[0].kind = PastRunKind::NotRun;
    rb.pastRuns[1].kind = PastRunKind::NotRun;
    EXPECT_EQ(sheet.runner(2), rb);

    const RunnerEntry& rc = sheet.runner(3);
    EXPECT_EQ(rc.name, "シンジン");
    EXPECT_EQ(rc.age, 18); // 30 years old: 20以上
    EXPECT_EQ(rc.runningStyle, RunningStyle::Closer);
    EXPECT_EQ(rc.aptitudeDistance, 10); // no counts: 2000 m
    EXPECT_EQ(rc.oddsBand, 14);
    EXPECT_EQ(rc.pastRuns[0].kind, PastRunKind::NotRun);
    EXPECT_EQ(rc.pastRuns[1].kind, PastRunKind::NotRun);

    EXPECT_EQ(sheet.runner(4).name, "ベツノウマ"); // beyond the field: untouched
}

TEST_F(LoadRace, LastTwoRunsInTheirSlots) {
    JvHorseData h;
    h.id = "2020100001";
    JvRunData last; // 5th, 2.5 s behind the winner
    last.finish = 5;
    last.time = 1598;
    last.timeDiff = 25;
    last.fieldSize = 18;
    last.popularity = 1;
    last.distanceMetres = 2400;
    last.weightCarried = 570;
    JvRunData before; // 3rd in a 1000万 race, 0.7 s behind
    before.finish = 3;
    before.conditionCode = 10;
    before.abnormal = 0;
    before.timeDiff = 7;
    JvRunData third;
    third.abnormal = 1;
    h.runs = {last, before, third};
    JvRaceData race;
    race.runners = {runner("2020100001", "ニバン")};
    load(race, {h});

    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(sheet.runner(1).pastRuns[kLastRun], raced(4, 14, 0, 14, 6, 22, 21));
    EXPECT_EQ(sheet.runner(1).pastRuns[kRunBeforeLast], raced(2, 12, 2, 6, 5, 18, 7));
}

TEST_F(LoadRace, AllHorsesMissingShowsOneMessageEach) {
    JvRaceData race;
    race.runners = {runner("2020100001", "イチ　"), runner("2020100002", "ニ")};
    load(race, {});
    EXPECT_EQ(prompt.entries.size(), 2u);
    EXPECT_EQ(sheet.runner(1).name, "イチ");
    EXPECT_EQ(sheet.runner(2).name, "ニ");
    EXPECT_EQ(sheet.runner(1).oddsBand, sheet.runner(2).oddsBand);
}

TEST(LoadRaceDay, IndexedAndRescanningReadersLoadTheSameSheets) {
    JvTestDir dir;
    test::JvRaceDay day = test::makeJvRaceDay(12, 300, 5);
    // A runner whose horse is missing, and a horse listed twice: the first
    // record in file order is the one found.
    day.races[3].runners[1].horseId = "9999999999";
    test::JvHorseData copy;
    for (const test::JvHorseData& h : day.horses)
        if (h.id == day.races[0].runners[0].horseId)
            copy = h;
    copy.name = "ニセモノ";
    day.horses.push_back(copy);
    forgetJvFileIndexes();
    ASSERT_TRUE(test::writeJvRaceCard(dir.file("JracDen1.dat"), day.races));
    ASSERT_TRUE(test::writeJvHorseFile(dir.file("JracUmaj.dat"), day.horses));

    RecordingPrompt indexedPrompt;
    RecordingPrompt rescanPrompt;
    ArchiveRaceSource source(dir.file("JracDen1.dat"), dir.path());
    test::RescanRaceSource reference(dir.file("JracDen1.dat"), dir.path());
    for (int n = 1; n <= 12; ++n) {
        JvRaceCard card;
        ASSERT_TRUE(source.readRace(card, n, indexedPrompt));
        RaceSheet indexed;
        RaceSheet rescanned;
        loadJvRace(indexed, card, source, indexedPrompt);
        loadJvRace(rescanned, card, reference, rescanPrompt);
        EXPECT_EQ(indexed.runners(), rescanned.runners()) << n;
        EXPECT_EQ(indexed.raceName, rescanned.raceName) << n;
        if (n == 1) {
            EXPECT_NE(indexed.runner(1).name, "ニセモノ");
        }
    }
    EXPECT_EQ(indexedPrompt.texts(), rescanPrompt.texts());
    EXPECT_EQ(indexedPrompt.entries.size(), 1u);
}

TEST(LoadRaceWithBlankFields, BlankFieldsLoadAsZeroNeverThePreviousRecordsValues) {
    JvTestDir dir;
    const test::JvRaceDay day = test::makeJvDayWithBlankFields();
    const std::string path = dir.file("JracDen1.dat");
    forgetJvFileIndexes();
    ASSERT_TRUE(test::writeJvRaceCard(path, day.races));
    ASSERT_TRUE(test::writeJvHorseFile(dir.file("JracUmaj.dat"), day.horses));
    RecordingPrompt prompt;

    // The second race loaded into the card and sheet of the first, as the
    // program loads one race after another.
    JvRaceCard card;
    RaceSheet sheet;
    ArchiveRaceSource source(path, dir.path());
    ASSERT_TRUE(loadChosenJvRace(source, 1, card, sheet, prompt));
    EXPECT_EQ(sheet.runner(2).weight, (530 - 460) / 5);
    ASSERT_TRUE(loadChosenJvRace(source, 2, card, sheet, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(card.year, 0);
    EXPECT_EQ(card.raceNumber, 0);
    EXPECT_EQ(card.runners[1].weightCarried, 0);
    EXPECT_EQ(sheet.raceNumber, 1); // race number 0 is below the list: its first entry
    EXPECT_EQ(sheet.runner(1).weight, (550 - 460) / 5);
    EXPECT_EQ(sheet.runner(2).weight, 0); // 0 kg: the list's first weight

    // The horse with values ran 2nd as 3rd favourite; the next one's last
    // run without a finish is 未出走, with nothing of the run before.
    EXPECT_EQ(sheet.runner(1).pastRuns[kLastRun].kind, PastRunKind::Race);
    EXPECT_EQ(sheet.runner(1).pastRuns[kLastRun].finish, 1);
    EXPECT_EQ(sheet.runner(1).pastRuns[kLastRun].popularity, 2);
    EXPECT_EQ(sheet.runner(2).pastRuns[kLastRun], (PastRun{.kind = PastRunKind::NotRun}));

    // Exactly what a new card and new horse records give.
    JvRaceCard freshCard;
    ASSERT_TRUE(readRace(freshCard, path, 2, dir.path()));
    EXPECT_EQ(card, freshCard);
    RaceSheet expected;
    ArchiveRaceSource freshSource(path, dir.path());
    loadJvRace(expected, freshCard, freshSource, prompt);
    EXPECT_EQ(sheet.runners(), expected.runners());
    test::RescanRaceSource reference(path, dir.path());
    RaceSheet rescanned;
    loadJvRace(rescanned, freshCard, reference, prompt);
    EXPECT_EQ(rescanned.runners(), expected.runners());
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
} // namespace zelkor
