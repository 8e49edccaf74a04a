// Steam's documented rules for what ISteamUserStats reads beyond the user's
// own stats, in the offline client's model: global achievement percentages,
// other users' stats, global stats, the number of players, achievement icons
// and their images, leaderboard content and the entries of named users and
// friends. Linked beside steam_rules_tests.cpp, which gives the model its face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "achievement_icons.h"
#include "leaderboards.h"
#include "model_session_test.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"
#include "steam_calls.h"
#include "user_stats_calls.h"

namespace {

using namespace offline_steam;

constexpr uint64_t kUser = 76561197960287930ULL;
constexpr uint64_t kRival = 76561197960000001ULL;
constexpr uint64_t kFriend = 76561197960000002ULL;
constexpr uint64_t kStranger = 76561197960000003ULL;
constexpr uint64_t kNobody = 76561197960999999ULL;
constexpr uint64_t kUgcHandleInvalid = ~uint64_t{0};

Scenario CommunityScenario() {
    Scenario scenario;
    scenario.appId = 2000;
    scenario.clock = 1800000000;
    AchievementSchema win;
    win.name = "ACH_WIN";
    win.globalPercent = 12.5f;
    AchievementSchema play;
    play.name = "ACH_PLAY_A_VERY_LONG_NAMED_ROUND";
    play.globalPercent = 80.0f;
    AchievementSchema secret;
    secret.name = "ACH_SECRET";  // no global data
    AchievementSchema rare;
    rare.name = "ACH_RARE";
    rare.globalPercent = 12.5f;  // as many as ACH_WIN: schema order
    scenario.achievements = {win, play, secret, rare};
    StatSchema kills;
    kills.name = "STAT_KILLS";
    StatSchema accuracy;
    accuracy.name = "STAT_ACCURACY";
    accuracy.type = StatType::Float;
    accuracy.defaultValue = 0.5;
    scenario.stats = {kills, accuracy};
    OtherUserStats rival;
    rival.steamId = kRival;
    rival.achievements = {{"ACH_WIN", 1234}};
    rival.stats = {{"STAT_KILLS", 7}};
    scenario.users = {rival};
    scenario.globalStats = {GlobalStat{"STAT_KILLS", 1e6, {50, 40, 30, 20, 10}},
                            GlobalStat{"STAT_ACCURACY", 0.75, {0.5}}};
    scenario.currentPlayers = 4321;
    LeaderboardSchema board;
    board.name = "Board";
    board.scores = {{kRival, 300}, {kFriend, 200}, {kStranger, 100}};
    scenario.leaderboards = {board};
    scenario.friends = {Friend{kFriend, "Friend", PersonaState::Online}};
    return scenario;
}

class UserStatsRules : public ModelSessionTest {
protected:
    void SetUp() override { Use(CommunityScenario()); }
    void TearDown() override {
        InstallPngDecoder(nullptr);
        ModelSessionTest::TearDown();
    }

    // The answer to `call` on the next frame, as its record type.
    template <typename Record>
    Record Answer(uint64_t call, int callbackId) {
        Record record{};
        bool found = false;
        for (const QueuedRecord& queued : Frame()) {
            if (queued.call != call) continue;
            EXPECT_EQ(queued.callbackId, callbackId);
            EXPECT_EQ(queued.bytes.size(), sizeof record);
            std::memcpy(&record, queued.bytes.data(), std::min(sizeof record, queued.bytes.size()));
            found = true;
        }
        EXPECT_TRUE(found) << "no answer to call " << call;
        return record;
    }
};

uint64_t SteamIdOf(const ByteAlignedSteamId& id) {
    uint64_t value = 0;
    std::memcpy(&value, id.bytes, sizeof value);
    return value;
}

TEST_F(UserStatsRules, PercentagesComeMostAchievedFirstOnceTheAnswerArrived) {
    char name[128] = "untouched";
    float percent = -1;
    bool achieved = true;
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, name, sizeof name, &percent, &achieved),
              -1);
    EXPECT_FALSE(calls::StatsAchievementAchievedPercent(true, "ACH_WIN", &percent));
    const uint64_t call = calls::StatsRequestGlobalAchievementPercentages(true);
    ASSERT_NE(call, 0u);
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, name, sizeof name, &percent, nullptr),
              -1)
        << "not before the answer is handed over";
    const auto ready = Answer<GameResultRecord>(call, kGlobalPercentagesReadyId);
    EXPECT_EQ(ready.result, kResultOk);
    EXPECT_EQ(static_cast<uint64_t>(ready.gameId), 2000u);

    std::vector<std::string> order;
    std::vector<float> percents;
    int at = calls::StatsMostAchievedAchievementInfo(true, name, sizeof name, &percent, &achieved);
    while (at >= 0) {
        order.push_back(name);
        percents.push_back(percent);
        EXPECT_FALSE(achieved);
        at = calls::StatsNextMostAchievedAchievementInfo(true, at, name, sizeof name, &percent,
                                                         &achieved);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"ACH_PLAY_A_VERY_LONG_NAMED_ROUND", "ACH_WIN",
                                               "ACH_RARE"}));
    EXPECT_EQ(percents, (std::vector<float>{80.0f, 12.5f, 12.5f}));
    EXPECT_EQ(
        calls::StatsNextMostAchievedAchievementInfo(true, 7, name, sizeof name, nullptr, nullptr),
        -1);

    // The name is cut to the buffer, never past it, and always terminated.
    char shortName[8];
    std::memset(shortName, 'x', sizeof shortName);
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, shortName, 5, nullptr, nullptr), 0);
    EXPECT_STREQ(shortName, "ACH_");
    EXPECT_EQ(shortName[5], 'x');
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, nullptr, 128, nullptr, nullptr), 0);
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, shortName, 0, nullptr, nullptr), 0);

    EXPECT_TRUE(calls::StatsAchievementAchievedPercent(true, "ACH_WIN", &percent));
    EXPECT_FLOAT_EQ(percent, 12.5f);
    EXPECT_FALSE(calls::StatsAchievementAchievedPercent(true, "ACH_SECRET", &percent));
    EXPECT_FALSE(calls::StatsAchievementAchievedPercent(true, "ACH_NONE", &percent));

    // The user's own state comes with each.
    ReceiveStats();
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_PLAY_A_VERY_LONG_NAMED_ROUND"));
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, name, sizeof name, nullptr, &achieved),
              0);
    EXPECT_TRUE(achieved);
}

TEST_F(UserStatsRules, WithoutAnyPercentageTheRequestFails) {
    Scenario none = CommunityScenario();
    for (AchievementSchema& achievement : none.achievements) achievement.globalPercent.reset();
    Use(none);
    const uint64_t call = calls::StatsRequestGlobalAchievementPercentages(true);
    EXPECT_EQ(Answer<GameResultRecord>(call, kGlobalPercentagesReadyId).result, kResultFail);
    char name[32];
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, name, sizeof name, nullptr, nullptr),
              -1);
    EXPECT_EQ(calls::StatsRequestGlobalAchievementPercentages(false), 0u) << "a dead interface";
}

TEST_F(UserStatsRules, OtherUsersStatsAreReadableOnceReceived) {
    int32_t kills = -1;
    float accuracy = -1;
    bool achieved = false;
    uint32_t time = 0;
    EXPECT_FALSE(calls::StatsUserStatInt32(true, kRival, "STAT_KILLS", &kills));
    const uint64_t call = calls::StatsRequestUserStats(true, kRival);
    EXPECT_FALSE(calls::StatsUserStatInt32(true, kRival, "STAT_KILLS", &kills));
    const auto received = Answer<StatsReceivedRecord>(call, kStatsReceivedId);
    EXPECT_EQ(received.result, kResultOk);
    EXPECT_EQ(SteamIdOf(received.userId), kRival);
    EXPECT_FALSE(TheStatsServer().StatsAvailable()) << "another user's stats are not the user's";

    EXPECT_TRUE(calls::StatsUserStatInt32(true, kRival, "STAT_KILLS", &kills));
    EXPECT_EQ(kills, 7);
    EXPECT_TRUE(calls::StatsUserStatFloat(true, kRival, "STAT_ACCURACY", &accuracy));
    EXPECT_FLOAT_EQ(accuracy, 0.5f) << "a stat the scenario leaves out is at its default";
    EXPECT_FALSE(calls::StatsUserStatFloat(true, kRival, "STAT_KILLS", &accuracy)) << "wrong type";
    EXPECT_FALSE(calls::StatsUserStatInt32(true, kRival, "STAT_NONE", &kills));
    EXPECT_TRUE(
        calls::StatsUserAchievementAndUnlockTime(true, kRival, "ACH_WIN", &achieved, &time));
    EXPECT_TRUE(achieved);
    EXPECT_EQ(time, 1234u);
    EXPECT_TRUE(calls::StatsUserAchievement(true, kRival, "ACH_RARE", &achieved));
    EXPECT_FALSE(achieved);

    // A user Steam holds no stats for: k_EResultFail, and nothing to read.
    const uint64_t unknown = calls::StatsRequestUserStats(true, kNobody);
    EXPECT_EQ(Answer<StatsReceivedRecord>(unknown, kStatsReceivedId).result, kResultFail);
    EXPECT_FALSE(calls::StatsUserAchievement(true, kNobody, "ACH_WIN", &achieved));
}

TEST_F(UserStatsRules, TheUsersOwnStatsAreWhatSteamHolds) {
    Scenario started = CommunityScenario();
    started.start.stats = {{"STAT_KILLS", 3}};
    started.start.achievements = {{"ACH_RARE", 99}};
    Use(started);
    const uint64_t call = calls::StatsRequestUserStats(true, kUser);
    EXPECT_EQ(Answer<StatsReceivedRecord>(call, kStatsReceivedId).result, kResultOk);
    int32_t kills = 0;
    EXPECT_TRUE(calls::StatsUserStatInt32(true, kUser, "STAT_KILLS", &kills));
    EXPECT_EQ(kills, 3);
    bool achieved = false;
    uint32_t time = 0;
    EXPECT_TRUE(
        calls::StatsUserAchievementAndUnlockTime(true, kUser, "ACH_RARE", &achieved, &time));
    EXPECT_TRUE(achieved);
    EXPECT_EQ(time, 99u);
}

TEST_F(UserStatsRules, GlobalStatsGiveTotalsAndTheDaysAskedFor) {
    int64_t total = 0;
    double real = 0;
    EXPECT_FALSE(calls::StatsGlobalStatInt64(true, "STAT_KILLS", &total));
    const uint64_t call = calls::StatsRequestGlobalStats(true, 3);
    const auto received = Answer<GameResultRecord>(call, kGlobalStatsReceivedId);
    EXPECT_EQ(received.result, kResultOk);
    EXPECT_TRUE(calls::StatsGlobalStatInt64(true, "STAT_KILLS", &total));
    EXPECT_EQ(total, 1000000);
    EXPECT_FALSE(calls::StatsGlobalStatDouble(true, "STAT_KILLS", &real)) << "an int stat";
    EXPECT_TRUE(calls::StatsGlobalStatDouble(true, "STAT_ACCURACY", &real));
    EXPECT_DOUBLE_EQ(real, 0.75);

    int64_t days[10];
    std::fill(std::begin(days), std::end(days), -1);
    // cubData counts bytes; three days were asked for.
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS", days, sizeof days), 3);
    EXPECT_EQ(days[0], 50);
    EXPECT_EQ(days[2], 30);
    EXPECT_EQ(days[3], -1);
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS", days, 2 * sizeof days[0] + 7),
              2);
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS", days, 7), 0);
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS", nullptr, sizeof days), 0);
    double reals[4];
    EXPECT_EQ(calls::StatsGlobalStatHistoryDouble(true, "STAT_ACCURACY", reals, sizeof reals), 1);
    EXPECT_DOUBLE_EQ(reals[0], 0.5);
    EXPECT_EQ(calls::StatsGlobalStatHistoryDouble(true, "STAT_KILLS", reals, sizeof reals), 0);

    // More than Steam's 60 days asked: 60 given, as many as the scenario has.
    const uint64_t more = calls::StatsRequestGlobalStats(true, 1000);
    Answer<GameResultRecord>(more, kGlobalStatsReceivedId);
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS", days, sizeof days), 5);
}

TEST_F(UserStatsRules, TheNumberOfPlayersIsTheScenariosElseTheCallFails) {
    const auto players =
        Answer<CurrentPlayersRecord>(calls::StatsNumberOfCurrentPlayers(true), kCurrentPlayersId);
    EXPECT_EQ(players.success, 1);
    EXPECT_EQ(players.players, 4321);
    Scenario none = CommunityScenario();
    none.currentPlayers.reset();
    Use(none);
    EXPECT_EQ(
        Answer<CurrentPlayersRecord>(calls::StatsNumberOfCurrentPlayers(true), kCurrentPlayersId)
            .success,
        0);
}

TEST_F(UserStatsRules, AnIconIsFetchedOnFirstAskThenServedAsRgba) {
    EXPECT_EQ(calls::StatsAchievementIcon(true, "ACH_WIN"), 0) << "the user's stats first";
    ReceiveStats();
    EXPECT_EQ(calls::StatsAchievementIcon(true, "ACH_WIN"), 0) << "being fetched";
    EXPECT_EQ(calls::StatsAchievementIcon(true, "ACH_WIN"), 0) << "still being fetched";
    const std::vector<QueuedRecord> due = Frame();
    ASSERT_EQ(due.size(), 1u) << "one UserAchievementIconFetched_t for both asks";
    EXPECT_EQ(due[0].callbackId, kAchievementIconFetchedId);
    EXPECT_EQ(due[0].call, 0u) << "a callback, not a call result";
    AchievementIconFetchedRecord fetched;
    ASSERT_EQ(due[0].bytes.size(), sizeof fetched);
    std::memcpy(&fetched, due[0].bytes.data(), sizeof fetched);
    EXPECT_STREQ(fetched.achievementName, "ACH_WIN");
    EXPECT_FALSE(fetched.achieved);
    ASSERT_NE(fetched.iconHandle, 0);
    const int handle = calls::StatsAchievementIcon(true, "ACH_WIN");
    EXPECT_EQ(handle, fetched.iconHandle);

    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(calls::UtilsImageSize(true, handle, &width, &height));
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 64u);
    std::vector<uint8_t> pixels(64 * 64 * 4);
    EXPECT_FALSE(calls::UtilsImageRgba(true, handle, pixels.data(), 64 * 64 * 4 - 1));
    ASSERT_TRUE(calls::UtilsImageRgba(true, handle, pixels.data(), 64 * 64 * 4));
    const std::size_t centre = (32 * 64 + 32) * 4;
    EXPECT_EQ(pixels[centre + 3], 0xFF);
    EXPECT_EQ(pixels[centre], pixels[centre + 2]) << "the unachieved icon is grey";
    EXPECT_FALSE(calls::UtilsImageSize(true, handle + 100, &width, &height));
    EXPECT_EQ(calls::StatsAchievementIcon(true, "ACH_NONE"), 0);

    // Unlocked: the achieved icon, another image.
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    EXPECT_EQ(calls::StatsAchievementIcon(true, "ACH_WIN"), 0);
    Frame();
    const int achievedHandle = calls::StatsAchievementIcon(true, "ACH_WIN");
    EXPECT_NE(achievedHandle, 0);
    EXPECT_NE(achievedHandle, handle);
}

// A decoder standing in for libpng: a 2 x 1 image of the file name's length.
bool FakeDecoder(const std::string& path, RgbaImage* image) {
    image->width = 2;
    image->height = 1;
    image->rgba.assign(8, static_cast<unsigned char>(path.size()));
    return true;
}

TEST_F(UserStatsRules, AnIconFileGoesThroughTheInstalledDecoder) {
    Scenario withIcon = CommunityScenario();
    withIcon.achievements[0].iconGray = "/icons/gray.png";
    Use(withIcon);
    InstallPngDecoder(&FakeDecoder);
    ReceiveStats();
    calls::StatsAchievementIcon(true, "ACH_WIN");
    Frame();
    const int handle = calls::StatsAchievementIcon(true, "ACH_WIN");
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(calls::UtilsImageSize(true, handle, &width, &height));
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 1u);
    uint8_t pixels[8] = {};
    ASSERT_TRUE(calls::UtilsImageRgba(true, handle, pixels, sizeof pixels));
    EXPECT_EQ(pixels[0], std::strlen("/icons/gray.png"));
    // Another achievement without a file: the generated icon.
    calls::StatsAchievementIcon(true, "ACH_RARE");
    Frame();
    ASSERT_TRUE(calls::UtilsImageSize(true, calls::StatsAchievementIcon(true, "ACH_RARE"), &width,
                                      &height));
    EXPECT_EQ(width, 64u);
}

// Every call with null pointers and zero sizes, then with a zeroed buffer for
// every pointer and its address (cut to the parameter) for every number, as
// a careless game passes them, after every answer was handed over.
TEST_F(UserStatsRules, CarelessArgumentsAreSurvived) {
    ReceiveStats();
    calls::StatsRequestGlobalAchievementPercentages(true);
    calls::StatsRequestUserStats(true, kRival);
    calls::StatsRequestGlobalStats(true, 60);
    calls::StatsAchievementIcon(true, "ACH_WIN");
    Frame();
    std::vector<unsigned char> buffer(1 << 16);
    for (const uintptr_t word : {uintptr_t{0}, reinterpret_cast<uintptr_t>(buffer.data())}) {
        std::fill(buffer.begin(), buffer.end(), 0);
        auto* text = reinterpret_cast<char*>(word);
        auto* bytes = reinterpret_cast<uint8_t*>(word);
        const auto number = static_cast<uint32_t>(word);
        const auto signedNumber = static_cast<int>(number);
        for (const int previous : {signedNumber, std::numeric_limits<int>::max(), -1, 0}) {
            calls::StatsNextMostAchievedAchievementInfo(true, previous, text, number,
                                                        reinterpret_cast<float*>(word),
                                                        reinterpret_cast<bool*>(word));
        }
        calls::StatsMostAchievedAchievementInfo(true, text, number, reinterpret_cast<float*>(word),
                                                reinterpret_cast<bool*>(word));
        calls::StatsAchievementAchievedPercent(true, text, reinterpret_cast<float*>(word));
        calls::StatsUserStatInt32(true, word, text, reinterpret_cast<int32_t*>(word));
        calls::StatsUserStatFloat(true, word, text, reinterpret_cast<float*>(word));
        calls::StatsUserAchievementAndUnlockTime(true, word, text, reinterpret_cast<bool*>(word),
                                                 reinterpret_cast<uint32_t*>(word));
        calls::StatsRequestGlobalStats(true, signedNumber);
        calls::StatsGlobalStatInt64(true, text, reinterpret_cast<int64_t*>(word));
        calls::StatsGlobalStatDouble(true, text, reinterpret_cast<double*>(word));
        calls::StatsGlobalStatHistoryInt64(true, text, reinterpret_cast<int64_t*>(word), number);
        calls::StatsGlobalStatHistoryDouble(true, text, reinterpret_cast<double*>(word), number);
        calls::StatsAchievementIcon(true, text);
        calls::StatsAttachLeaderboardUgc(true, word, word);
        calls::StatsDownloadLeaderboardEntriesForUsers(
            true, word, reinterpret_cast<const uint64_t*>(word), signedNumber);
        for (const int image : {signedNumber, 1, 2}) {
            calls::UtilsImageSize(true, image, reinterpret_cast<uint32_t*>(word),
                                  reinterpret_cast<uint32_t*>(word));
            calls::UtilsImageRgba(true, image, bytes, signedNumber);
        }
        Frame();
    }
    // With the real names, the buffers still hold what is written.
    calls::StatsRequestGlobalStats(true, 60);
    Frame();
    char name[128];
    EXPECT_EQ(calls::StatsGlobalStatHistoryInt64(true, "STAT_KILLS",
                                                 reinterpret_cast<int64_t*>(buffer.data()),
                                                 static_cast<uint32_t>(buffer.size())),
              5);
    EXPECT_EQ(calls::StatsMostAchievedAchievementInfo(true, name, 1, nullptr, nullptr), 0);
    EXPECT_STREQ(name, "");
}

class LeaderboardContent : public UserStatsRules {
protected:
    uint64_t Board() {
        const uint64_t call = calls::StatsFindLeaderboard(true, "Board");
        return Answer<LeaderboardFindRecord>(call, kLeaderboardFindId).boardHandle;
    }
    std::vector<LeaderboardEntryRecord> Entries(uint64_t call) {
        const auto downloaded = Answer<ScoresDownloadedRecord>(call, kScoresDownloadedId);
        std::vector<LeaderboardEntryRecord> entries;
        for (int i = 0; i < downloaded.entryCount; ++i) {
            LeaderboardEntryRecord entry{};
            EXPECT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, downloaded.entriesHandle, i,
                                                               &entry, nullptr, 0));
            entries.push_back(entry);
        }
        return entries;
    }
};

TEST_F(LeaderboardContent, AttachedContentComesWithTheUsersEntry) {
    const uint64_t board = Board();
    ASSERT_NE(board, 0u);
    const auto refused = Answer<LeaderboardUgcSetRecord>(
        calls::StatsAttachLeaderboardUgc(true, board, 77), kLeaderboardUgcSetId);
    EXPECT_EQ(refused.result, kResultFail) << "the user has no entry yet";
    EXPECT_EQ(static_cast<uint64_t>(refused.boardHandle), board);
    calls::StatsUploadLeaderboardScore(true, board, 1, 250, nullptr, 0);
    Frame();
    const auto attached = Answer<LeaderboardUgcSetRecord>(
        calls::StatsAttachLeaderboardUgc(true, board, 77), kLeaderboardUgcSetId);
    EXPECT_EQ(attached.result, kResultOk);
    const std::vector<LeaderboardEntryRecord> entries =
        Entries(calls::StatsDownloadLeaderboardEntries(true, board, 0, 1, 10));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(SteamIdOf(entries[1].userId), kUser);
    EXPECT_EQ(static_cast<uint64_t>(entries[1].ugcHandle), 77u);
    EXPECT_EQ(static_cast<uint64_t>(entries[0].ugcHandle), kUgcHandleInvalid)
        << "no content: k_UGCHandleInvalid";
    EXPECT_EQ(Answer<LeaderboardUgcSetRecord>(calls::StatsAttachLeaderboardUgc(true, 999, 1),
                                              kLeaderboardUgcSetId)
                  .result,
              kResultInvalidParam);
}

TEST_F(LeaderboardContent, NamedUsersComeInRankOrderAndOnlyWithAnEntry) {
    const uint64_t board = Board();
    const uint64_t users[] = {kStranger, kNobody, kRival, kStranger};
    const std::vector<LeaderboardEntryRecord> entries =
        Entries(calls::StatsDownloadLeaderboardEntriesForUsers(true, board, users, 4));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(SteamIdOf(entries[0].userId), kRival);
    EXPECT_EQ(entries[0].globalRank, 1);
    EXPECT_EQ(SteamIdOf(entries[1].userId), kStranger);
    EXPECT_EQ(entries[1].globalRank, 3);
    // Steam takes at most 100 users in one call.
    std::vector<uint64_t> many(101, kRival);
    EXPECT_EQ(calls::StatsDownloadLeaderboardEntriesForUsers(true, board, many.data(), 101), 0u);
    EXPECT_NE(calls::StatsDownloadLeaderboardEntriesForUsers(true, board, many.data(), 100), 0u);
    EXPECT_EQ(calls::StatsDownloadLeaderboardEntriesForUsers(true, board, nullptr, 1), 0u);
}

TEST_F(LeaderboardContent, FriendsAreTheUserAndTheScenariosFriendsWithAnEntry) {
    const uint64_t board = Board();
    calls::StatsUploadLeaderboardScore(true, board, 1, 150, nullptr, 0);
    Frame();
    const std::vector<LeaderboardEntryRecord> entries =
        Entries(calls::StatsDownloadLeaderboardEntries(true, board, 2, 0, 0));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(SteamIdOf(entries[0].userId), kFriend);
    EXPECT_EQ(entries[0].globalRank, 2);
    EXPECT_EQ(SteamIdOf(entries[1].userId), kUser);
    EXPECT_EQ(entries[1].globalRank, 3);
}

}  // namespace
