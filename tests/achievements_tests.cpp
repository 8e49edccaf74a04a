// The achievement keeper seen from inside: rows, trace lines, game IDs.
#include <cstdint>
#include <cstring>
#include <string>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "host_support/keeper_fixture.h"
#include "host_support/utf_reference.h"

using namespace steambridge;

namespace {

using AchievementKeeper = KeeperTest;

const AchievementRow& Row(int number) { return AchievementTable()[number - 1]; }

bool IsValidUtf8(const char* text) {
    std::u16string units;
    return utf_reference::DecodeStrictUtf8(text, units);
}

TEST_F(AchievementKeeper, StartsRequestsAndTracesInOrder) {
    ASSERT_TRUE(Init());
    const std::vector<TraceId> expected = {TraceId::AchievementsStart, TraceId::RequestStats,
                                           TraceId::GoForStatsRequests};
    std::vector<TraceId> traced = TraceIds();
    ASSERT_GE(traced.size(), expected.size());
    traced.resize(expected.size());
    EXPECT_EQ(traced, expected);
}

TEST_F(AchievementKeeper, MirrorsEveryRowWhenTheStatsArrive) {
    SteamSim_SetClock(1712345678);
    SteamSim_SetAchievementFromOtherDevice("ACH_SEEKER", true);
    InitAndReceive();
    EXPECT_TRUE(Traced(TraceId::StatsArrived));
    EXPECT_TRUE(Row(11).achieved);
    EXPECT_EQ(Row(11).unlockTime, 1712345678u);
    EXPECT_FALSE(Row(12).achieved);
    EXPECT_STREQ(Row(1).name, "Level Veteran");
    EXPECT_STREQ(Row(1).description, "Complete 50 levels.");
    EXPECT_STREQ(Row(7).name, "Caf\xC3\xA9 R\xC3\xA9gulier");
    EXPECT_TRUE(TracedDetail("Caf\xC3\xA9 R\xC3\xA9gulier")) << "each new name is traced";
}

TEST_F(AchievementKeeper, OverlongTextsAreCutAtACharacterBoundaryAndTerminated) {
    InitAndReceive();
    const std::size_t nameLength = std::strlen(Row(5).name);
    EXPECT_LE(nameLength, 127u);
    EXPECT_GE(nameLength, 124u) << "cut no further than the straddling character";
    EXPECT_TRUE(IsValidUtf8(Row(5).name));
    EXPECT_EQ(std::strncmp(Row(5).name, "Tutorial Graduate", 17), 0);
    const std::size_t descriptionLength = std::strlen(Row(6).description);
    EXPECT_LE(descriptionLength, 255u);
    EXPECT_GE(descriptionLength, 252u);
    EXPECT_TRUE(IsValidUtf8(Row(6).description));
}

TEST_F(AchievementKeeper, ANullTextFromSteamIsStoredEmpty) {
    SteamSim_SetDisplayAttribute("ACH_TREASURER", "name", nullptr);
    SteamSim_SetDisplayAttribute("ACH_TREASURER", "desc", nullptr);
    InitAndReceive();
    EXPECT_STREQ(Row(2).name, "");
    EXPECT_STREQ(Row(2).description, "");
}

TEST_F(AchievementKeeper, AFailedAnswerIsTracedAndALaterGoodOneAccepted) {
    const bool libraryRequests = SteamSim_Profile() != 163;
    if (libraryRequests) SteamSim_SetStatsReceivedResult(2);
    ASSERT_TRUE(Init());
    if (!libraryRequests) SteamSim_PostStatsReceived(2);  // before the bridge's own answer
    if (libraryRequests) {
        Pump(2);
        EXPECT_EQ(steamStatus(), 0);
        EXPECT_FALSE(steamAchievement(1));
        EXPECT_STREQ(Row(1).name, "Level Veteran") << "the start title stays";
        SteamSim_PostStatsReceived(1);
    }
    Pump();
    // Each keeper traces each failed answer; with the 1.57 library both
    // keepers' requests were answered.
    EXPECT_EQ(TracedLines(TraceId::RequestStatsFailed),
              std::vector<std::string>(libraryRequests ? 4 : 2, "RequestStats - failed, 2"));
    EXPECT_EQ(steamStatus(), 1);
}

TEST_F(AchievementKeeper, RecordsOfAnotherGameAreIgnoredByBothKeepers) {
    const std::uint64_t appId = 480;
    // With the 1.63 library the bridge answers both requests itself, for
    // this application: two records, each seen by both keepers.
    const bool bridgeAnswers = SteamSim_Profile() == 163;
    // Same application in the low half but not a plain app game ID, and
    // another application: neither keeper's test accepts either.
    for (std::uint64_t otherGame : {appId | (std::uint64_t{1} << 32), std::uint64_t{481}}) {
        SCOPED_TRACE(otherGame);
        SteamSim_Reset();
        SteamSim_SetRecordGameId(otherGame);
        ClearTrace();
        ASSERT_TRUE(Init());
        SteamSim_PostStatsReceived(1);
        Pump(3);
        EXPECT_EQ(steamStatus(), bridgeAnswers ? 1 : 0);
        EXPECT_EQ(TraceCount(TraceId::StatsArrived), bridgeAnswers ? 4 : 0);
        const int records = 3;  // two answers to the keepers' requests and the posted one
        EXPECT_EQ(TraceCount(TraceId::AchievementsStatsReceived), records);
        EXPECT_EQ(TraceCount(TraceId::StatsReceived), records);
        EXPECT_EQ(TraceCount(TraceId::StatsReceivedOk), records);
        steamFree();
    }
}

TEST_F(AchievementKeeper, UnlockSetsStoresAndTracesTheAnswers) {
    InitAndReceive();
    SteamSim_ClearCallLog();
    ClearTrace();
    EXPECT_TRUE(steamAchievement(4));
    EXPECT_TRUE(Row(4).achieved);
    EXPECT_EQ(Row(4).unlockTime, 0u) << "the time comes with the store's answer";
    EXPECT_EQ(CallsStartingWith("SteamAPI_ISteamUserStats_SetAchievement"),
              std::vector<std::string>{"SteamAPI_ISteamUserStats_SetAchievement(ACH_FIRSTSTEPS)"});
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_StoreStats"), 1);
    Pump();
    EXPECT_TRUE(Traced(TraceId::AchievementsStatsStored));
    EXPECT_TRUE(Traced(TraceId::StoredStats));
    EXPECT_TRUE(Traced(TraceId::AchievementStored));
    EXPECT_NE(Row(4).unlockTime, 0u);

    // Unlocking it again sets and stores again.
    EXPECT_TRUE(steamAchievement(4));
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_SetAchievement"), 2);
}

TEST_F(AchievementKeeper, AFailedStoreIsOnlyTraced) {
    InitAndReceive();
    SteamSim_ForceNextStoreResult(2);
    EXPECT_TRUE(steamAchievement(4));
    Pump();
    EXPECT_EQ(TracedLines(TraceId::StatsStoredFailed),
              std::vector<std::string>{"StatsStored - failed, 2"});
    EXPECT_TRUE(Traced(TraceId::StoreStatsFailed));
}

TEST_F(AchievementKeeper, StoreAnswersForAnotherGameAreOnlyTracedAsArrived) {
    InitAndReceive();
    int number = 4;  // each pass unlocks a new one, so both answers come
    for (std::uint64_t otherGame : {480 | (std::uint64_t{1} << 32), std::uint64_t{481}}) {
        SCOPED_TRACE(otherGame);
        SteamSim_SetRecordGameId(otherGame);
        ASSERT_TRUE(steamAchievement(number++));
        ClearTrace();
        Pump();
        EXPECT_EQ(TraceIds(),
                  (std::vector<TraceId>{TraceId::AchievementsStatsStored, TraceId::StatsStored}));
    }
}

TEST_F(AchievementKeeper, ResetClearsStatesTimesAndValuesButKeepsTexts) {
    InitAndReceive();
    ASSERT_TRUE(steamAchievement(4));
    Pump();
    ASSERT_TRUE(steamStat(3, 17));
    const std::uint32_t unlockTime = Row(4).unlockTime;
    ASSERT_NE(unlockTime, 0u);
    SteamSim_ClearCallLog();
    steamResetAchievements();
    EXPECT_EQ(CallsStartingWith("SteamAPI_ISteamUserStats_ResetAllStats"),
              std::vector<std::string>{"SteamAPI_ISteamUserStats_ResetAllStats(1)"});
    EXPECT_FALSE(Row(4).achieved);
    EXPECT_EQ(Row(4).unlockTime, 0u);
    EXPECT_STREQ(Row(4).name, "First Steps");
    EXPECT_EQ(StatTable()[3].intValue, 0);
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_ISteamUserStats_StoreStats"), 0) << "no store follows";

    // Unlocked anew, it shows the new time, not the one from before the reset.
    SteamSim_SetClock(unlockTime + 1000);
    ASSERT_TRUE(steamAchievement(4));
    Pump();
    EXPECT_EQ(Row(4).unlockTime, unlockTime + 1000);
}

TEST_F(AchievementKeeper, NumbersOutsideTheTableTouchNothing) {
    InitAndReceive();
    SteamSim_ClearCallLog();
    for (int number : {0, -1, 62, 1000000}) EXPECT_FALSE(steamAchievement(number));
    EXPECT_EQ(SteamSim_CallLogSize(), 0);
}

}  // namespace
