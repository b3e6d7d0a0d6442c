#pragma once

#include "core/race_sheet.h"
#include "core/settings.h"

#include <string>

namespace zelkor::test {

inline const std::string kMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\"><meta "
    "http-equiv=\"Content-Language\" content=\"ja\">";

inline constexpr const char* kDbUrl1 = "http://db.example.jp/jrasrch.cgi?type=top&key=";

inline AppSettings pageSettings(int images, int links) {
    AppSettings s;
    s.sportsShowImages = images;
    s.sportsLinkNames = links;
    s.dbUrl1 = kDbUrl1;
    s.dbUrl2 = "&s=1";
    return s;
}

inline PastRun raced(int finish, int fieldSize, int popularity) {
    PastRun run;
    run.finish = finish;
    run.fieldSize = fieldSize;
    run.popularity = popularity;
    return run;
}

inline PastRun notRaced(PastRunKind kind) {
    PastRun run;
    run.kind = kind;
    return run;
}

// A four-runner Japan Cup: one runner with two races, one rested last time,
// one without races and one without a name.
inline RaceSheet fourRunnerSheet() {
    RaceSheet sheet;
    sheet.racecourse = "東京";
    sheet.raceNumber = 11;
    sheet.raceName = "ジャパンカップ";
    sheet.grade = 0;
    sheet.ageLimit = 1;   // ３歳上
    sheet.sexLimit = 0;   // なし
    sheet.weightRule = 1; // 定量
    sheet.surface = 0;
    sheet.distance = 14; // ２４００
    sheet.runnerCount = sheet.liveRunnerCount = 4;

    RunnerEntry& a = sheet.runner(1);
    a.name = "ステイヤー";
    a.age = 2;
    a.weight = 20;
    a.runningStyle = RunningStyle::Stalker;
    a.aptitudeDistance = 14;
    a.oddsBand = 3;
    a.pastRuns = {raced(0, 12, 1), raced(4, 14, 6)};

    RunnerEntry& b = sheet.runner(2);
    b.name = "サクラハナコ";
    b.sex = Sex::Filly;
    b.age = 1;
    b.weight = 16;
    b.runningStyle = RunningStyle::Closer;
    b.aptitudeDistance = 10;
    b.oddsBand = 10;
    b.pastRuns = {raced(2, 8, 3), notRaced(PastRunKind::Rested)};

    RunnerEntry& c = sheet.runner(3);
    c.name = "ミドリ";
    c.sex = Sex::Gelding;
    c.age = 5;
    c.weight = 22;
    c.runningStyle = RunningStyle::DeepCloser;
    c.aptitudeDistance = 12;
    c.oddsBand = 14;
    c.pastRuns = {notRaced(PastRunKind::NotRun), notRaced(PastRunKind::Accident)};
    return sheet; // runner 4 keeps its reset values and no name
}

} // namespace zelkor::test
