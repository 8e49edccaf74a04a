// Achievements and stats through the real steambridge library and the simulated client.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "host_support/e2e_session.h"

namespace {

constexpr const char* kSetStat = "SteamAPI_ISteamUserStats_SetStatInt32";
constexpr const char* kStoreStats = "SteamAPI_ISteamUserStats_StoreStats";
constexpr const char* kSetAchievement = "SteamAPI_ISteamUserStats_SetAchievement";
constexpr const char* kGetStat = "SteamAPI_ISteamUserStats_GetStatInt32";

// Stat indexes and achievement numbers of the game used below.
constexpr int kStatLevels = 0;    // STAT_LEVELS, leads to achievement 1
constexpr int kStatEnemies = 2;   // STAT_ENEMIES, leads to achievement 3
constexpr int kStatGems = 7;      // STAT_GEMS, leads to achievement 18
constexpr int kStatKeys = 13;     // STAT_KEYS, leads to achievement 30
constexpr int kStatEndings = 15;  // STAT_ENDINGS, target 3, leads to achievement 33
constexpr int kStatDeaths = 20;   // STAT_DEATHS, leads to achievement 42
constexpr int kFirstSteps = 4;    // ACH_FIRSTSTEPS, no stat
constexpr int kStoryteller = 33;  // ACH_STORYTELLER

// A game ID that names app 480 in its low half but is not the app itself.
constexpr std::uint64_t kModOfThisApp = 0x0100000000000000ull | 480u;

bool ServerAchieved(const char* apiName, std::uint32_t* unlockTime = nullptr) {
    bool achieved = false;
    std::uint32_t time = 0;
    EXPECT_TRUE(SIM(SteamSim_ServerAchievement)(apiName, &achieved, &time)) << apiName;
    if (unlockTime) *unlockTime = time;
    return achieved;
}

std::int32_t ServerStat(const char* apiName) {
    std::int32_t value = -12345;
    EXPECT_TRUE(SIM(SteamSim_ServerStat)(apiName, &value)) << apiName;
    return value;
}

// What the host sees of one achievement; the texts are not asked for.
AchievementInfo Details(int number) {
    AchievementInfo info{};
    Bridge().steamAchievementData(number, &info);
    return info;
}

std::int32_t LocalStatOf(int achievementNumber) {
    const AchievementInfo info = Details(achievementNumber);
    EXPECT_EQ(info.hasStat, 1) << "achievement " << achievementNumber << " has no stat";
    return info.statValue;
}

using AchievementSession = BridgeSession;

// ---- Arrival of the user's stats ----

TEST_F(AchievementSession, StatsArriveAtTheNextCallBacksInBothProfiles) {
    EXPECT_EQ(Bridge().steamStatus(), 0) << "before steamInit";
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamStatus(), 0);
    EXPECT_EQ(Bridge().steamAchievementsCount(), 0);
    if (!StatsComeWithoutRequest()) {
        EXPECT_GE(SIM(SteamSim_CallCount)("SteamAPI_ISteamUserStats_RequestCurrentStats"), 1);
    }
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), 1);
    EXPECT_EQ(Bridge().steamAchievementsCount(), STEAMBRIDGE_ACHIEVEMENT_COUNT);

    // A new session waits for its own stats again.
    ASSERT_TRUE(Bridge().steamFree());
    EXPECT_EQ(Bridge().steamStatus(), 0);
    EXPECT_EQ(Bridge().steamAchievementsCount(), 0);
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamStatus(), 0);
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), 1);
}

TEST_F(AchievementSession, StatsWaitForTheirRecord) {
    // Only 1.57 answers the request itself, so only there does the delay count.
    SIM(SteamSim_SetStatsReceivedDelay)(3);
    ASSERT_TRUE(Init());
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), StatsComeWithoutRequest() ? 1 : 0);
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), StatsComeWithoutRequest() ? 1 : 0);
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), 1);
}

TEST_F(AchievementSession, StatsReceivedThatFailedOrNamesAnotherGameAreIgnored) {
    // 1.63 has no request to answer: its only stats-received record is the
    // bridge's own, a success for this app.
    const bool ownAnswer = StatsComeWithoutRequest();
    SIM(SteamSim_SetStatsReceivedResult)(2);
    ASSERT_TRUE(Init());
    Bridge().steamCallBacks();
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), ownAnswer ? 1 : 0) << "failure result";
    EXPECT_EQ(Bridge().steamAchievementsCount(), ownAnswer ? STEAMBRIDGE_ACHIEVEMENT_COUNT : 0);
    SIM(SteamSim_PostStatsReceived)(1);
    Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), 1) << "a later success completes the arrival";
    ASSERT_TRUE(Bridge().steamFree());

    SIM(SteamSim_Reset)();
    SIM(SteamSim_SetRecordGameId)(kModOfThisApp);
    ASSERT_TRUE(Init());
    for (int frame = 0; frame < 3; ++frame) Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), ownAnswer ? 1 : 0) << "another game";
    if (!ownAnswer) {
        EXPECT_FALSE(Bridge().steamAchievement(kFirstSteps));
        EXPECT_FALSE(Bridge().steamStat(kStatLevels, 1));
        EXPECT_EQ(SIM(SteamSim_CallCount)(kSetAchievement), 0);
        EXPECT_EQ(SIM(SteamSim_CallCount)(kSetStat), 0);
    }
}

TEST_F(AchievementSession, AStatsReceivedBesideTheBridgesOwnKeepsEveryValue) {
    // From 1.61 the bridge answers itself; a client may still send its own
    // record, in the same frame or after progress is made.
    ASSERT_TRUE(Init());
    SIM(SteamSim_PostStatsReceived)(1);
    Pump();
    ASSERT_EQ(Bridge().steamStatus(), 1);
    Bridge().steamResetAchievements();
    SIM(SteamSim_SetClock)(1714000000u);
    ASSERT_TRUE(Bridge().steamAchievement(kFirstSteps));
    ASSERT_TRUE(Bridge().steamStat(kStatGems, 41));
    SIM(SteamSim_PostStatsReceived)(1);
    Pump(2);
    EXPECT_EQ(Bridge().steamStatus(), 1);
    EXPECT_EQ(Bridge().steamAchievementsCount(), STEAMBRIDGE_ACHIEVEMENT_COUNT);
    const AchievementInfo unlocked = Details(kFirstSteps);
    EXPECT_EQ(unlocked.achieved, 1);
    EXPECT_EQ(unlocked.unlockTime, 1714000000u);
    EXPECT_EQ(LocalStatOf(18), 41) << "STAT_GEMS read back from Steam";
    EXPECT_EQ(ServerStat("STAT_GEMS"), 41);
}

TEST_F(AchievementSession, UserNotLoggedOnAtStartNeverGetsStats) {
    SIM(SteamSim_SetLoggedOn)(false);
    ASSERT_TRUE(Init());
    for (int frame = 0; frame < 3; ++frame) Bridge().steamCallBacks();
    EXPECT_EQ(Bridge().steamStatus(), 0);
    EXPECT_EQ(Bridge().steamAchievementsCount(), 0);
    EXPECT_FALSE(Bridge().steamAchievement(kFirstSteps));
    EXPECT_FALSE(Bridge().steamStat(kStatLevels, 1));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kSetStat), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 0);
}

// ---- Unlocking ----

TEST_F(AchievementSession, UnlockBeforeTheStatsArriveIsRefusedAndChangesNothing) {
    ASSERT_TRUE(Init());
    EXPECT_FALSE(Bridge().steamAchievement(kFirstSteps));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kSetAchievement), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 0);
    Bridge().steamCallBacks();
    ASSERT_EQ(Bridge().steamStatus(), 1);
    EXPECT_FALSE(ServerAchieved("ACH_FIRSTSTEPS"));
    EXPECT_EQ(Details(kFirstSteps).achieved, 0);
}

TEST_F(AchievementSession, UnlockReachesSteamAndItsTimeFollowsTheStoreAnswer) {
    StartWithStatsArrived();
    SIM(SteamSim_SetClock)(1712345678u);
    EXPECT_TRUE(Bridge().steamAchievement(kFirstSteps));
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_SetAchievement(ACH_FIRSTSTEPS)"));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 1);
    std::uint32_t serverTime = 0;
    EXPECT_TRUE(ServerAchieved("ACH_FIRSTSTEPS", &serverTime));
    EXPECT_EQ(serverTime, 1712345678u);
    EXPECT_EQ(Details(kFirstSteps).achieved, 1) << "achieved as soon as the store accepted it";

    SIM(SteamSim_SetClock)(1712349999u);
    Bridge().steamCallBacks();
    const AchievementInfo info = Details(kFirstSteps);
    EXPECT_EQ(info.achieved, 1);
    EXPECT_EQ(info.unlockTime, 1712345678u);
}

TEST_F(AchievementSession, UnlockThatSteamDoesNotStoreIsRefusedAndStaysLocked) {
    StartWithStatsArrived();
    SIM(SteamSim_RefuseNextStore)();
    EXPECT_FALSE(Bridge().steamAchievement(kFirstSteps));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 1);
    EXPECT_EQ(Details(kFirstSteps).achieved, 0);
    Bridge().steamCallBacks();
    EXPECT_EQ(Details(kFirstSteps).achieved, 0);
    EXPECT_FALSE(ServerAchieved("ACH_FIRSTSTEPS"));
}

TEST_F(AchievementSession, UnlockedAgainAfterAResetShowsTheNewUnlockTime) {
    StartWithStatsArrived();
    SIM(SteamSim_SetClock)(1711000000u);
    ASSERT_TRUE(Bridge().steamAchievement(kFirstSteps));
    Bridge().steamCallBacks();
    ASSERT_EQ(Details(kFirstSteps).unlockTime, 1711000000u);

    Bridge().steamResetAchievements();
    SIM(SteamSim_SetClock)(1712000000u);
    ASSERT_TRUE(Bridge().steamAchievement(kFirstSteps));
    Bridge().steamCallBacks();
    std::uint32_t serverTime = 0;
    ASSERT_TRUE(ServerAchieved("ACH_FIRSTSTEPS", &serverTime));
    ASSERT_EQ(serverTime, 1712000000u);
    EXPECT_EQ(Details(kFirstSteps).unlockTime, serverTime)
        << "the unlock time must follow the answered store, not the one before the reset";
}

TEST_F(AchievementSession, LinkedStatReachingItsTargetUnlocksWithoutAnUnlockCall) {
    StartWithStatsArrived();
    SIM(SteamSim_SetClock)(1713000000u);
    EXPECT_TRUE(Bridge().steamStat(kStatEndings, 2));
    Bridge().steamCallBacks();
    EXPECT_EQ(Details(kStoryteller).achieved, 0) << "below the target";

    EXPECT_TRUE(Bridge().steamStat(kStatEndings, 3));
    EXPECT_TRUE(ServerAchieved("ACH_STORYTELLER"));
    Bridge().steamCallBacks();
    const AchievementInfo info = Details(kStoryteller);
    EXPECT_EQ(info.achieved, 1);
    EXPECT_EQ(info.unlockTime, 1713000000u);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kSetAchievement), 0);
}

TEST_F(AchievementSession, StoreAnswerForAnotherGameIsIgnored) {
    StartWithStatsArrived();
    SIM(SteamSim_SetRecordGameId)(kModOfThisApp);
    EXPECT_TRUE(Bridge().steamStat(kStatEndings, 3));
    ASSERT_TRUE(ServerAchieved("ACH_STORYTELLER"));
    Bridge().steamCallBacks();
    EXPECT_EQ(Details(kStoryteller).achieved, 0) << "picked up from another game's answer";

    // The next answer for this game picks it up.
    SIM(SteamSim_SetRecordGameId)(0);
    EXPECT_TRUE(Bridge().steamStat(kStatLevels, 1));
    Bridge().steamCallBacks();
    EXPECT_EQ(Details(kStoryteller).achieved, 1);
}

// ---- Stats ----

TEST_F(AchievementSession, StatBeforeTheStatsArriveStaysLocalUntilSteamsValueReplacesIt) {
    SIM(SteamSim_SetStatFromOtherDevice)("STAT_GEMS", 1234);
    ASSERT_TRUE(Init());
    EXPECT_FALSE(Bridge().steamStat(kStatGems, 77));
    EXPECT_FALSE(Bridge().steamStatIncrease(kStatGems, 3));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kSetStat), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 0);
    EXPECT_EQ(LocalStatOf(18), 80);
    Bridge().steamCallBacks();
    ASSERT_EQ(Bridge().steamStatus(), 1);
    EXPECT_EQ(LocalStatOf(18), 1234);
    EXPECT_EQ(ServerStat("STAT_GEMS"), 1234);
}

TEST_F(AchievementSession, IncreaseSendsEveryStatAndStoresOnce) {
    StartWithStatsArrived();
    EXPECT_TRUE(Bridge().steamStatIncrease(kStatEnemies, 5));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kSetStat), STEAMBRIDGE_STAT_COUNT);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kStoreStats), 1);
    std::set<std::string> sent;
    for (int i = 0; i < SIM(SteamSim_CallLogSize)(); ++i) {
        const std::string line = SIM(SteamSim_CallLogEntry)(i);
        if (line.rfind(std::string(kSetStat) + "(", 0) == 0)
            sent.insert(line.substr(line.find('(') + 1));
    }
    EXPECT_EQ(sent.size(), 24u) << "a stat sent twice or one missing";
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_SetStatInt32(STAT_ENEMIES, 5)"));
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_SetStatInt32(STAT_TROPHIES, 0)"));
    // StoreStats comes after the values it stores.
    EXPECT_EQ(std::string(SIM(SteamSim_CallLogEntry)(SIM(SteamSim_CallLogSize)() - 1)),
              kStoreStats + std::string("()"));

    EXPECT_TRUE(Bridge().steamStatIncrease(kStatEnemies, 7));
    EXPECT_EQ(ServerStat("STAT_ENEMIES"), 12);
    EXPECT_TRUE(Bridge().steamStatIncrease(kStatEnemies, -4));
    EXPECT_EQ(ServerStat("STAT_ENEMIES"), 8);
    EXPECT_EQ(LocalStatOf(3), 8);
}

TEST_F(AchievementSession, IncreaseWrapsAt32Bits) {
    StartWithStatsArrived();
    SIM(SteamSim_SetStatRange)("STAT_DEATHS", INT32_MIN, INT32_MAX);
    ASSERT_TRUE(Bridge().steamStat(kStatDeaths, INT32_MAX));
    EXPECT_TRUE(Bridge().steamStatIncrease(kStatDeaths, 1));
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_SetStatInt32(STAT_DEATHS, -2147483648)"));
    EXPECT_EQ(ServerStat("STAT_DEATHS"), INT32_MIN);
}

TEST_F(AchievementSession, RefusedValueMakesEveryStatReadBackFromSteam) {
    StartWithStatsArrived();
    SIM(SteamSim_SetStatRange)("STAT_KEYS", 0, 20);
    ASSERT_TRUE(Bridge().steamStat(kStatKeys, 12));
    // The store's answer is only known at the next callbacks.
    EXPECT_TRUE(Bridge().steamStat(kStatKeys, 25));
    EXPECT_EQ(LocalStatOf(30), 25);
    EXPECT_EQ(ServerStat("STAT_KEYS"), 12);
    // Changed elsewhere without a callback: only a full read-back sees it.
    SIM(SteamSim_SetStatFromOtherDevice)("STAT_GEMS", 321);
    SIM(SteamSim_ClearCallLog)();
    Bridge().steamCallBacks();
    EXPECT_EQ(LocalStatOf(30), 12);
    EXPECT_EQ(LocalStatOf(18), 321);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kGetStat), STEAMBRIDGE_STAT_COUNT);
}

TEST_F(AchievementSession, ResetClearsSteamAndTheLocalState) {
    StartWithStatsArrived();
    ASSERT_TRUE(Bridge().steamStat(kStatLevels, 10));
    ASSERT_TRUE(Bridge().steamAchievement(kFirstSteps));
    Bridge().steamCallBacks();
    ASSERT_EQ(Details(kFirstSteps).achieved, 1);

    Bridge().steamResetAchievements();
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_ResetAllStats(1)"));
    EXPECT_EQ(ServerStat("STAT_LEVELS"), 0);
    EXPECT_FALSE(ServerAchieved("ACH_FIRSTSTEPS"));
    EXPECT_EQ(LocalStatOf(1), 0);
    EXPECT_EQ(Details(kFirstSteps).achieved, 0);
    EXPECT_EQ(Bridge().steamStatus(), 1) << "the stats stay arrived";
}

// ---- Overlay and refused input ----

TEST_F(AchievementSession, OverlayOpensTheAchievementsPageOnlyWhileRunning) {
    Bridge().steamAchievementsOverlay();
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0);
    ASSERT_TRUE(Init());
    Bridge().steamAchievementsOverlay();
    EXPECT_STREQ(SIM(SteamSim_LastOverlayDialog)(), "Achievements");
    EXPECT_EQ(SIM(SteamSim_CallCount)("SteamAPI_ISteamFriends_ActivateGameOverlay"), 1);
}

TEST_F(AchievementSession, OutOfRangeNumbersAndIndexesAreRefusedWithoutAClientCall) {
    StartWithStatsArrived();
    ASSERT_TRUE(Bridge().steamStat(23, 9));
    SIM(SteamSim_ClearCallLog)();
    for (int number : {0, 62, -1, INT32_MIN, INT32_MAX})
        EXPECT_FALSE(Bridge().steamAchievement(number)) << number;
    for (int index : {-1, STEAMBRIDGE_STAT_COUNT, INT32_MIN}) {
        EXPECT_FALSE(Bridge().steamStat(index, 5)) << index;
        EXPECT_FALSE(Bridge().steamStatIncrease(index, 5)) << index;
    }
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0);
    EXPECT_EQ(LocalStatOf(61), 9) << "the last stat changed by an index past the table";
    EXPECT_EQ(LocalStatOf(1), 0) << "the first stat changed by index -1";
}

TEST_F(AchievementSession, EveryExportAnswersNotReadyAfterFree) {
    StartWithStatsArrived();
    ASSERT_TRUE(Bridge().steamFree());
    SIM(SteamSim_ClearCallLog)();
    EXPECT_EQ(Bridge().steamStatus(), 0);
    EXPECT_EQ(Bridge().steamAchievementsCount(), 0);
    EXPECT_FALSE(Bridge().steamAchievement(kFirstSteps));
    EXPECT_FALSE(Bridge().steamStat(kStatLevels, 1));
    EXPECT_FALSE(Bridge().steamStatIncrease(kStatLevels, 1));
    Bridge().steamResetAchievements();
    Bridge().steamAchievementsOverlay();
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0);
}

}  // namespace
