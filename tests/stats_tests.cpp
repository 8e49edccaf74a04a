// The stat keeper seen from inside: what a store sends, read-back after a
// refused value, the achievement refresh after every answered store.
#include <climits>
#include <string>
#include <vector>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "host_support/keeper_fixture.h"

using namespace steambridge;

namespace {

using StatKeeper = KeeperTest;

StatRow& Stat(int index) { return StatTable()[index]; }

TEST_F(StatKeeper, ValuesSetBeforeTheStatsArriveStayLocalAndAreReplaced) {
    SteamSim_SetStatFromOtherDevice("STAT_JUMPS", 42);
    ASSERT_TRUE(Init());
    EXPECT_FALSE(steamStat(3, 7));
    EXPECT_EQ(Stat(3).intValue, 7);
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_SetStatInt32"), 0);
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_StoreStats"), 0);
    for (int frame = 0; frame < 5 && steamStatus() == 0; ++frame) Pump();
    EXPECT_EQ(Stat(3).intValue, 42);
    EXPECT_TRUE(Traced(TraceId::StatsReceivedOk));
}

TEST_F(StatKeeper, EveryChangeSendsTheWholeTableInOrderThenStores) {
    InitAndReceive();
    SteamSim_ClearCallLog();
    EXPECT_TRUE(steamStatIncrease(3, 5));
    const std::vector<std::string> sets =
        CallsStartingWith("SteamAPI_ISteamUserStats_SetStatInt32");
    ASSERT_EQ(sets.size(), 24u);
    EXPECT_EQ(sets[0], "SteamAPI_ISteamUserStats_SetStatInt32(STAT_LEVELS, 0)");
    EXPECT_EQ(sets[3], "SteamAPI_ISteamUserStats_SetStatInt32(STAT_JUMPS, 5)");
    EXPECT_EQ(sets[23], "SteamAPI_ISteamUserStats_SetStatInt32(STAT_TROPHIES, 0)");
    EXPECT_EQ(std::string(SteamSim_CallLogEntry(SteamSim_CallLogSize() - 1)),
              "SteamAPI_ISteamUserStats_StoreStats()");
    EXPECT_TRUE(steamStatIncrease(3, -2));
    EXPECT_EQ(Stat(3).intValue, 3);
}

TEST_F(StatKeeper, IncreaseWrapsAsA32BitAddition) {
    InitAndReceive();
    Stat(0).intValue = INT_MAX;
    steamStatIncrease(0, 1);
    EXPECT_EQ(Stat(0).intValue, INT_MIN);
}

TEST_F(StatKeeper, ARefusedValueIsReadBackWithEveryOtherStat) {
    SteamSim_SetStatRange("STAT_COINS", 0, 1000);
    InitAndReceive();
    ASSERT_TRUE(steamStat(0, 12));
    Pump();
    ClearTrace();
    const int receivedByAchievementKeeper = TraceCount(TraceId::AchievementsStatsReceived);
    ASSERT_TRUE(steamStat(1, 5000));  // outside the range Steam accepts
    Pump();
    EXPECT_TRUE(Traced(TraceId::StoreStatsInvalid));
    // The made-up record goes to the stat keeper alone.
    EXPECT_EQ(TraceCount(TraceId::StatsReceived), 1);
    EXPECT_EQ(TraceCount(TraceId::AchievementsStatsReceived), receivedByAchievementKeeper);
    EXPECT_EQ(Stat(1).intValue, 0) << "Steam kept its own value";
    EXPECT_EQ(Stat(0).intValue, 12);
    int32_t server = -1;
    ASSERT_TRUE(SteamSim_ServerStat("STAT_COINS", &server));
    EXPECT_EQ(server, 0);
}

TEST_F(StatKeeper, AnyAnsweredStoreRefreshesOnlyUnconfirmedAchievements) {
    InitAndReceive();
    ASSERT_TRUE(steamAchievement(4));
    Pump();  // achievement 4 now has its time
    SteamSim_ClearCallLog();
    // Steam unlocks achievement 33 itself when its stat reaches the target.
    ASSERT_TRUE(steamStat(15, 3));
    EXPECT_FALSE(AchievementTable()[32].achieved);
    Pump();
    EXPECT_TRUE(AchievementTable()[32].achieved);
    EXPECT_NE(AchievementTable()[32].unlockTime, 0u);
    const std::vector<std::string> reads =
        CallsStartingWith("SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime");
    EXPECT_EQ(reads.size(), 60u) << "every row but the confirmed one";
    for (const std::string& read : reads) EXPECT_EQ(read.find("ACH_FIRSTSTEPS"), std::string::npos);
}

TEST_F(StatKeeper, AFailedStoreStillRefreshesTheAchievements) {
    InitAndReceive();
    SteamSim_SetAchievementFromOtherDevice("ACH_HERO", true);
    SteamSim_ForceNextStoreResult(2);
    ASSERT_TRUE(steamStat(0, 1));
    Pump();
    EXPECT_EQ(TracedLines(TraceId::StoreStatsFailed),
              std::vector<std::string>{"StoreStats - failed, 2"});
    EXPECT_TRUE(AchievementTable()[58].achieved);
}

TEST_F(StatKeeper, FloatAndAverageRateRowsUseTheirOwnCalls) {
    InitAndReceive();
    // The game's stats are all integers; the other kinds are exercised on
    // borrowed rows.
    Stat(4).kind = StatKind::Float;
    Stat(4).floatValue = 2.5f;
    Stat(5).kind = StatKind::AvgRate;
    Stat(5).avgNumerator = 3.0f;
    Stat(5).avgDenominator = 1.5f;
    SteamSim_ClearCallLog();
    ASSERT_TRUE(steamStat(0, 1));
    EXPECT_EQ(CallsStartingWith("SteamAPI_ISteamUserStats_SetStatFloat"),
              std::vector<std::string>{"SteamAPI_ISteamUserStats_SetStatFloat(STAT_SECRETS, 2.5)"});
    EXPECT_EQ(
        CallsStartingWith("SteamAPI_ISteamUserStats_UpdateAvgRateStat"),
        std::vector<std::string>{"SteamAPI_ISteamUserStats_UpdateAvgRateStat(STAT_SCORE, 3, 1.5)"});
    EXPECT_EQ(CallsStartingWith("SteamAPI_ISteamUserStats_GetStatFloat"),
              std::vector<std::string>{"SteamAPI_ISteamUserStats_GetStatFloat(STAT_SCORE)"});
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_SetStatInt32"), 22);
}

TEST_F(StatKeeper, StatusAndCountNeedBothKeepersToHaveReceived) {
    ASSERT_TRUE(Init());
    EXPECT_EQ(steamStatus(), 0);
    EXPECT_EQ(steamAchievementsCount(), 0);
    InitAndReceive();
    EXPECT_EQ(steamAchievementsCount(), 61);
    steamFree();
    EXPECT_EQ(steamStatus(), 0);
    EXPECT_EQ(steamAchievementsCount(), 0);
}

TEST_F(StatKeeper, IndexesOutsideTheTableTouchNothing) {
    InitAndReceive();
    SteamSim_ClearCallLog();
    for (int index : {-1, 24, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(steamStat(index, 1));
        EXPECT_FALSE(steamStatIncrease(index, 1));
    }
    EXPECT_EQ(SteamSim_CallLogSize(), 0);
}

}  // namespace
