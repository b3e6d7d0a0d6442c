#include "core/fixed_lists.h"
#include "core/race_presets.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

struct Conditions {
    std::string racecourse;
    int grade, ageLimit, sexLimit, weightRule, surface, distance;
    bool operator==(const Conditions&) const = default;
};

Conditions conditionsOf(const RaceSheet& s) {
    return {s.racecourse, s.grade, s.ageLimit, s.sexLimit, s.weightRule, s.surface, s.distance};
}

TEST(RacePreset, SetsTheConditionsOfTheChosenRace) {
    RaceSheet s;
    s.grade = 5;
    ASSERT_TRUE(applyRacePreset(s, 0));
    EXPECT_EQ(s.raceName, "フェブラリーステークス");
    EXPECT_EQ(conditionsOf(s), (Conditions{"東京", 0, 0, 0, 1, 1, 6}));
    ASSERT_TRUE(applyRacePreset(s, 1));
    EXPECT_EQ(conditionsOf(s), (Conditions{"阪神", 0, 2, 2, 1, 0, 6}));
    ASSERT_TRUE(applyRacePreset(s, 3)); // 天皇賞（春） 3200 m
    EXPECT_EQ(conditionsOf(s), (Conditions{"京都", 0, 0, 4, 1, 0, 22}));
    ASSERT_TRUE(applyRacePreset(s, 16)); // 阪神３歳牝馬ステークス
    EXPECT_EQ(conditionsOf(s), (Conditions{"阪神", 0, 3, 2, 3, 0, 6}));
    ASSERT_TRUE(applyRacePreset(s, 17)); // 朝日杯３歳ステークス
    EXPECT_EQ(conditionsOf(s), (Conditions{"中山", 0, 3, 3, 1, 0, 6}));
    ASSERT_TRUE(applyRacePreset(s, 19));
    EXPECT_EQ(s.raceName, "有馬記念");
    EXPECT_EQ(conditionsOf(s), (Conditions{"中山", 0, 1, 0, 3, 0, 15}));
}

TEST(RacePreset, EveryPresetNamesARacecourseOfTheList) {
    for (int i = 0; i < 20; ++i) {
        RaceSheet s;
        ASSERT_TRUE(applyRacePreset(s, i));
        EXPECT_EQ(s.raceName, kRaceNameSuggestions[i]);
        bool listed = false;
        for (std::string_view c : kRacecourseList)
            listed = listed || c == s.racecourse;
        EXPECT_TRUE(listed) << i;
    }
}

TEST(RacePreset, PositionOutsideTheListChangesNothing) {
    RaceSheet s;
    s.raceName = "自作";
    EXPECT_FALSE(applyRacePreset(s, -1));
    EXPECT_FALSE(applyRacePreset(s, 20));
    EXPECT_EQ(s.raceName, "自作");
    EXPECT_EQ(s.distance, 10);
}

TEST(SexLimitRule, FilliesRaceMakesEverySlotAFillyOtherwiseAColt) {
    RaceSheet s;
    s.runner(3).sex = Sex::Gelding;
    s.sexLimit = 2; // 牝
    applySexLimitRule(s);
    for (const RunnerEntry& r : s.runners())
        EXPECT_EQ(r.sex, Sex::Filly);
    for (int limit : {0, 1, 3, 4, 5}) {
        s.sexLimit = limit;
        applySexLimitRule(s);
        for (const RunnerEntry& r : s.runners())
            EXPECT_EQ(r.sex, Sex::Colt) << limit;
    }
}

TEST(AgeLimitRule, AgeFollowsTheLimitAndUnknownLeavesTheRunners) {
    RaceSheet s;
    const int expected[] = {2, 2, 1, 0};
    for (int limit = 0; limit < 4; ++limit) {
        s.ageLimit = limit;
        EXPECT_TRUE(applyAgeLimitRule(s));
        for (const RunnerEntry& r : s.runners())
            EXPECT_EQ(r.age, expected[limit]) << limit;
    }
    s.runner(2).age = 7;
    for (int limit : {4, -1, 9}) {
        s.ageLimit = limit;
        EXPECT_FALSE(applyAgeLimitRule(s));
        EXPECT_EQ(s.runner(2).age, 7);
        EXPECT_EQ(s.runner(1).age, 0);
    }
}

} // namespace
} // namespace zelkor
