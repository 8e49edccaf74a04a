// The leaderboard keeper seen from inside: trace lines, pending calls, and
// the board name's conversion under the C locale.
#include <string>
#include <vector>

#include "host_support/keeper_fixture.h"
#include "text/platform_conversion.h"

using namespace steambridge;

namespace {

using LeaderboardKeeper = KeeperTest;

void FindBoard(const char16_t* name) {
    ASSERT_TRUE(steamSetLeaderBoardName(name));
    steamCallBacks();
    ASSERT_EQ(steamLeaderBoardFound(), 1);
}

TEST_F(LeaderboardKeeper, FindIsTracedAndSetsTheBoard) {
    ASSERT_TRUE(Init());
    FindBoard(u"Fastest Escape");
    EXPECT_EQ(CallsStartingWith("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard"),
              std::vector<std::string>{
                  "SteamAPI_ISteamUserStats_FindOrCreateLeaderboard(Fastest Escape, 2, 1)"});
    EXPECT_TRUE(Traced(TraceId::FindLeaderboardCallback));
    EXPECT_TRUE(Traced(TraceId::FindLeaderboardSuccess));
    EXPECT_FALSE(Traced(TraceId::FindLeaderboardFailure));
}

TEST_F(LeaderboardKeeper, FailedFindsAreTracedAndLeaveNoBoard) {
    ASSERT_TRUE(Init());
    SteamSim_NextFindNotFound();
    ASSERT_TRUE(steamSetLeaderBoardName(u"Missing"));
    Pump();
    EXPECT_EQ(steamLeaderBoardFound(), 0);
    EXPECT_EQ(TraceCount(TraceId::FindLeaderboardFailure), 1);

    SteamSim_FailNextCallHandle();
    ASSERT_TRUE(steamSetLeaderBoardName(u"Refused"));
    EXPECT_TRUE(Traced(TraceId::CallHandleNull));
    Pump();
    EXPECT_EQ(steamLeaderBoardFound(), 0);
}

TEST_F(LeaderboardKeeper, UploadKeepsTheBestAndOnlyTheLastAnswerIsTraced) {
    ASSERT_TRUE(Init());
    FindBoard(u"Board");
    SteamSim_ClearCallLog();
    EXPECT_EQ(steamUploadScore(500), 1);
    EXPECT_EQ(steamUploadScore(300), 1);  // drops the first call's answer
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_UnregisterCallResult"), 1);
    ClearTrace();
    Pump();
    EXPECT_EQ(TraceCount(TraceId::ScoresUploaded), 1);
    const std::vector<std::string> uploads =
        CallsStartingWith("SteamAPI_ISteamUserStats_UploadLeaderboardScore");
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_NE(uploads[0].find(", 1, 500, "), std::string::npos) << uploads[0];
    int32_t best = 0;
    ASSERT_TRUE(SteamSim_LeaderboardScore("Board", &best));
    EXPECT_EQ(best, 500);
}

TEST_F(LeaderboardKeeper, FreeDropsThePendingUploadThenThePendingFind) {
    ASSERT_TRUE(Init());
    FindBoard(u"First");
    ASSERT_EQ(steamUploadScore(1), 1);
    ASSERT_TRUE(steamSetLeaderBoardName(u"Second"));
    const std::vector<std::string> registered = CallsStartingWith("SteamAPI_RegisterCallResult");
    ASSERT_EQ(registered.size(), 3u);
    SteamSim_ClearCallLog();
    steamFree();
    const std::vector<std::string> dropped = CallsStartingWith("SteamAPI_UnregisterCallResult");
    ASSERT_EQ(dropped.size(), 2u);
    const auto handleOf = [](const std::string& call) { return call.substr(call.find('(')); };
    EXPECT_EQ(handleOf(dropped[0]), handleOf(registered[1])) << "the upload first";
    EXPECT_EQ(handleOf(dropped[1]), handleOf(registered[2]));
}

// The module never sets the locale: these run under the C locale.
TEST(BoardNameConversion, ConvertsWholeNamesOrNothing) {
    char out[128];
    EXPECT_TRUE(ConvertToLocaleNarrow(u"Fastest Escape", out, sizeof out));
    EXPECT_STREQ(out, "Fastest Escape");

    const std::u16string longest(127, u'x');
    EXPECT_TRUE(ConvertToLocaleNarrow(longest.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out), std::string(127, 'x'));

    const std::u16string tooLong(128, u'x');
    for (const char16_t* refused : {tooLong.c_str(), u"\u65E5\u672C", u"a\xD800z", u"\xDC00"}) {
        out[0] = 'q';
        EXPECT_FALSE(ConvertToLocaleNarrow(refused, out, sizeof out));
        EXPECT_STREQ(out, "");
    }
    EXPECT_FALSE(ConvertToLocaleNarrow(nullptr, out, sizeof out));
}

}  // namespace
