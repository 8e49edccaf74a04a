// The one-board leaderboard through the real steambridge library and the simulated client.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host_support/e2e_session.h"

namespace {

constexpr const char* kFind = "SteamAPI_ISteamUserStats_FindOrCreateLeaderboard";
constexpr const char* kUpload = "SteamAPI_ISteamUserStats_UploadLeaderboardScore";

// The user's score on a board, or nothing.
std::string ScoreOn(const char* board) {
    std::int32_t score = 0;
    return SIM(SteamSim_LeaderboardScore)(board, &score) ? std::to_string(score) : "none";
}

class Leaderboard : public BridgeSession {
protected:
    // Running, with the board `name` found.
    void StartWithBoard(const char16_t* name) {
        ASSERT_TRUE(Init());
        ASSERT_TRUE(Bridge().steamSetLeaderBoardName(name));
        Pump();
        ASSERT_EQ(Bridge().steamLeaderBoardFound(), 1);
        SIM(SteamSim_ClearCallLog)();
    }
};

// ---- Finding the board ----

TEST_F(Leaderboard, FoundOnlyOnceCallBacksDeliversTheFind) {
    ASSERT_TRUE(Init());
    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(u"Highscores"));
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kFind), 1);
    EXPECT_NE(SIM(SteamSim_LeaderboardHandle)("Highscores"), 0u);
    EXPECT_EQ(SIM(SteamSim_LeaderboardSortMethod)("Highscores"), 2) << "descending";
    EXPECT_EQ(SIM(SteamSim_LeaderboardDisplayType)("Highscores"), 1) << "numeric";
    Pump();
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);
}

TEST_F(Leaderboard, NewNameForgetsTheCurrentBoardAtOnce) {
    StartWithBoard(u"First");
    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(u"Second"));
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
    EXPECT_EQ(Bridge().steamUploadScore(10), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kUpload), 0);
    Pump();
    EXPECT_EQ(Bridge().steamUploadScore(10), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Second"), "10");
    EXPECT_EQ(ScoreOn("First"), "none");
}

TEST_F(Leaderboard, OnlyTheLastNamesResultSetsTheBoard) {
    ASSERT_TRUE(Init());
    // The replaced search answers first: its answer must be dropped.
    SIM(SteamSim_SetCallResultLatency)(1);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Early"));
    SIM(SteamSim_SetCallResultLatency)(2);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Late"));
    Pump();
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0) << "the replaced search's answer set a board";
    Pump();
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);

    // The replaced search answers last: it must not take the board back.
    SIM(SteamSim_SetCallResultLatency)(3);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Slow"));
    SIM(SteamSim_SetCallResultLatency)(1);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Quick"));
    Pump(4);
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);

    ASSERT_EQ(Bridge().steamUploadScore(7), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Quick"), "7");
    for (const char* other : {"Early", "Late", "Slow"}) EXPECT_EQ(ScoreOn(other), "none") << other;
}

TEST_F(Leaderboard, RefusedSearchLeavesNoBoardAndDropsThePendingOne) {
    StartWithBoard(u"Old");
    SIM(SteamSim_SetCallResultLatency)(2);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Pending"));
    SIM(SteamSim_FailNextCallHandle)();
    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(u"Refused"));
    Pump(3);
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
    EXPECT_EQ(SIM(SteamSim_PendingCallResults)(), 0);
    EXPECT_EQ(Bridge().steamUploadScore(5), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kUpload), 0);
}

TEST_F(Leaderboard, BoardNotFoundOrIoFailureLeavesNoBoard) {
    StartWithBoard(u"Old");
    SIM(SteamSim_NextFindNotFound)();
    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(u"Missing"));
    Pump(2);
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0) << "not found";

    StartWithBoard(u"Old");
    SIM(SteamSim_FailNextCallIo)();
    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(u"Broken"));
    Pump(2);
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0) << "I/O failure";
    EXPECT_EQ(Bridge().steamUploadScore(5), 0);
    EXPECT_EQ(SIM(SteamSim_CallCount)(kUpload), 0);
}

// ---- Names that cannot be used ----

TEST_F(Leaderboard, NamesTheLocaleCannotConvertAreRefusedAndKeepTheBoard) {
    StartWithBoard(u"Main");
    const char16_t* const refused[] = {
        u"\u65E5\u672C",  // CJK
        u"Board \xD800",  // lone high surrogate at the end
        u"\xDC00 Board",  // lone low surrogate
        u"\xD83D\xDED2",  // a character outside the BMP
    };
    for (const char16_t* name : refused) {
        EXPECT_FALSE(Bridge().steamSetLeaderBoardName(name))
            << std::u16string(name).size() << " units";
        EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);
    }
    EXPECT_FALSE(Bridge().steamSetLeaderBoardName(nullptr));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kFind), 0) << "a search started";
    EXPECT_EQ(Bridge().steamUploadScore(33), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Main"), "33");
}

TEST_F(Leaderboard, NameOf127BytesWorksAndOneMoreIsRefused) {
    StartWithBoard(u"Main");
    const std::u16string longest(127, u'L');
    const std::u16string tooLong(128, u'L');
    EXPECT_FALSE(Bridge().steamSetLeaderBoardName(tooLong.c_str()));
    EXPECT_EQ(SIM(SteamSim_CallCount)(kFind), 0);
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1) << "the refused name dropped the board";

    EXPECT_TRUE(Bridge().steamSetLeaderBoardName(longest.c_str()));
    Pump();
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);
    const std::string narrow(127, 'L');
    EXPECT_NE(SIM(SteamSim_LeaderboardHandle)(narrow.c_str()), 0u) << "name changed on the way";
}

// ---- Uploading ----

TEST_F(Leaderboard, UploadWithoutABoardSendsNothing) {
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamUploadScore(100), 0);
    ASSERT_TRUE(Bridge().steamSetLeaderBoardName(u"Highscores"));
    EXPECT_EQ(Bridge().steamUploadScore(100), 0) << "the find is not answered yet";
    EXPECT_EQ(SIM(SteamSim_CallCount)(kUpload), 0);
}

TEST_F(Leaderboard, UploadsKeepTheUsersBest) {
    StartWithBoard(u"Highscores");
    EXPECT_EQ(Bridge().steamUploadScore(500), 1);
    const std::string board = std::to_string(SIM(SteamSim_LeaderboardHandle)("Highscores"));
    EXPECT_TRUE(LoggedCall(std::string(kUpload) + "(" + board + ", 1, 500, [], 0)"))
        << "keep-best, no details";
    Pump();
    EXPECT_EQ(ScoreOn("Highscores"), "500");
    EXPECT_EQ(Bridge().steamUploadScore(300), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Highscores"), "500") << "a lower score replaced the best";
    EXPECT_EQ(Bridge().steamUploadScore(800), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Highscores"), "800");
    EXPECT_EQ(SIM(SteamSim_CallCount)(kUpload), 3);
}

TEST_F(Leaderboard, UploadCountsAsSentWhateverSteamAnswers) {
    StartWithBoard(u"Highscores");
    SIM(SteamSim_FailNextCallIo)();
    EXPECT_EQ(Bridge().steamUploadScore(40), 1);
    SIM(SteamSim_FailNextCallHandle)();
    EXPECT_EQ(Bridge().steamUploadScore(50), 1);
    Pump(2);
    EXPECT_EQ(ScoreOn("Highscores"), "none");
    // The board survives failed uploads.
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 1);
    EXPECT_EQ(Bridge().steamUploadScore(60), 1);
    Pump();
    EXPECT_EQ(ScoreOn("Highscores"), "60");
}

// ---- Not running ----

TEST_F(Leaderboard, EveryExportAnswersNotReadyBeforeInitAndAfterFree) {
    EXPECT_FALSE(Bridge().steamSetLeaderBoardName(u"Highscores"));
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
    EXPECT_EQ(Bridge().steamUploadScore(1), 0);
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "client called before steamInit";

    StartWithBoard(u"Highscores");
    ASSERT_TRUE(Bridge().steamFree());
    SIM(SteamSim_ClearCallLog)();
    EXPECT_FALSE(Bridge().steamSetLeaderBoardName(u"Highscores"));
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
    EXPECT_EQ(Bridge().steamUploadScore(1), 0);
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "client called after steamFree";

    // A new session knows no board until it finds one.
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamLeaderBoardFound(), 0);
}

}  // namespace
