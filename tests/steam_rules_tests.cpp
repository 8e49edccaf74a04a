// Steam's documented rules in the offline client's model, driven through the
// calls a game's interface methods land in, for a scenario that is not ours.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "leaderboards.h"
#include "model_events.h"
#include "model_session_test.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"
#include "steam_calls.h"
#include "user_app_calls.h"

// A face of the model for these tests alone: a library that requests stats
// (before 1.61) or one that has them at start.
namespace offline_steam {
namespace {
bool g_statsArriveOnRequest = true;
}
int FaceProfile() { return 2; }
bool StatsArriveOnRequest() { return g_statsArriveOnRequest; }
void ResetFace() {}
int RegisteredCallbackCount(int) { return 0; }
int PendingCallResultCount() { return 0; }
int SizeMismatchCount() { return 0; }
void SetInterfaceRefused(const char*, bool) {}
void SetShutdownClearsHolderFlags(bool) {}
}  // namespace offline_steam

namespace {

using namespace offline_steam;

Scenario GameScenario() {
    Scenario scenario;
    scenario.appId = 2000;
    scenario.language = "german";
    scenario.languages = {"english", "german"};
    scenario.clock = 1800000000;
    AchievementSchema win;
    win.name = "ACH_WIN";
    win.displayName = {{"english", "Winner"}, {"german", "Sieger"}};
    win.description = {{"english", "Win once."}};
    AchievementSchema travel;
    travel.name = "ACH_TRAVEL";
    travel.displayName = {{"english", "Traveller"}};
    travel.hidden = true;
    travel.progress = AchievementProgress{"STAT_DISTANCE", 0, 100};
    scenario.achievements = {win, travel};
    StatSchema distance;
    distance.name = "STAT_DISTANCE";
    distance.min = 0;
    distance.max = 1000;
    distance.incrementOnly = true;
    StatSchema kills;
    kills.name = "STAT_KILLS";
    kills.min = 0;
    kills.max = 50;
    kills.maxChange = 10;
    StatSchema accuracy;
    accuracy.name = "STAT_ACCURACY";
    accuracy.type = StatType::Float;
    accuracy.defaultValue = 0.5;
    StatSchema rate;
    rate.name = "STAT_RATE";
    rate.type = StatType::AverageRate;
    rate.window = 10;
    scenario.stats = {distance, kills, accuracy, rate};
    LeaderboardSchema fastest;
    fastest.name = "Fastest";
    fastest.sort = LeaderboardSort::Ascending;
    fastest.display = LeaderboardDisplay::TimeSeconds;
    fastest.scores = {{76561197960000001ULL, 30}, {76561197960000002ULL, 60}};
    scenario.leaderboards = {fastest};
    return scenario;
}

class SteamRules : public ModelSessionTest {
protected:
    void SetUp() override { Use(GameScenario()); }
    void TearDown() override {
        g_statsArriveOnRequest = true;
        ModelSessionTest::TearDown();
    }

    int32_t StoredResult() {
        for (const QueuedRecord& record : Frame()) {
            if (record.callbackId != kStatsStoredId) continue;
            StatsStoredRecord stored;
            std::memcpy(&stored, record.bytes.data(), sizeof stored);
            return stored.result;
        }
        ADD_FAILURE() << "no UserStatsStored_t";
        return 0;
    }

    double Server(const char* stat) { return TheStatsServer().ServerStatValue(StatIndex(stat)); }
};

TEST_F(SteamRules, StatsArriveOnlyAfterTheRequestUntilTheLibraryHasThemAtStart) {
    int32_t value = -1;
    EXPECT_FALSE(calls::StatsGetStatInt32(true, "STAT_KILLS", &value));
    EXPECT_FALSE(calls::StatsSetAchievement(true, "ACH_WIN"));
    EXPECT_FALSE(calls::StatsStoreStats(true));
    ReceiveStats();
    EXPECT_TRUE(calls::StatsGetStatInt32(true, "STAT_KILLS", &value));
    EXPECT_EQ(value, 0);

    g_statsArriveOnRequest = false;
    Use(GameScenario());
    EXPECT_TRUE(calls::StatsGetStatInt32(true, "STAT_KILLS", &value));
}

TEST_F(SteamRules, StatsFaultsDelayFailOrWithholdThem) {
    Scenario late = GameScenario();
    late.faults.statsDelayFrames = 3;
    Use(late);
    ASSERT_TRUE(calls::StatsRequestCurrentStats(true));
    Frame();
    Frame();
    EXPECT_FALSE(TheStatsServer().StatsAvailable());
    Frame();
    EXPECT_TRUE(TheStatsServer().StatsAvailable());

    Scenario failing = GameScenario();
    failing.faults.statsResult = kResultFail;
    Use(failing);
    ASSERT_TRUE(calls::StatsRequestCurrentStats(true));
    Frame();
    EXPECT_FALSE(TheStatsServer().StatsAvailable());

    Scenario never = GameScenario();
    never.faults.statsNever = true;
    Use(never);
    ASSERT_TRUE(calls::StatsRequestCurrentStats(true));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Frame().empty());
    g_statsArriveOnRequest = false;
    Use(never);
    EXPECT_FALSE(TheStatsServer().StatsAvailable());

    Scenario loggedOff = GameScenario();
    loggedOff.loggedOn = false;
    g_statsArriveOnRequest = true;
    Use(loggedOff);
    EXPECT_FALSE(calls::UserLoggedOn(true));
    EXPECT_FALSE(calls::StatsRequestCurrentStats(true));
}

TEST_F(SteamRules, UnknownNamesAndStatsOfAnotherTypeAreRefused) {
    ReceiveStats();
    int32_t integer = 0;
    float real = 0;
    bool achieved = false;
    EXPECT_FALSE(calls::StatsSetAchievement(true, "ACH_UNKNOWN"));
    EXPECT_FALSE(calls::StatsGetAchievement(true, "ACH_UNKNOWN", &achieved));
    EXPECT_FALSE(calls::StatsSetStatInt32(true, "STAT_UNKNOWN", 1));
    EXPECT_FALSE(calls::StatsGetStatInt32(true, "STAT_UNKNOWN", &integer));
    EXPECT_FALSE(calls::StatsSetStatInt32(true, nullptr, 1));
    // Each type through its own calls only.
    EXPECT_FALSE(calls::StatsGetStatFloat(true, "STAT_KILLS", &real));
    EXPECT_FALSE(calls::StatsSetStatFloat(true, "STAT_KILLS", 1.0f));
    EXPECT_FALSE(calls::StatsGetStatInt32(true, "STAT_ACCURACY", &integer));
    EXPECT_FALSE(calls::StatsSetStatFloat(true, "STAT_RATE", 1.0f));
    EXPECT_FALSE(calls::StatsUpdateAvgRateStat(true, "STAT_ACCURACY", 1.0f, 1.0));
    EXPECT_TRUE(calls::StatsGetStatFloat(true, "STAT_ACCURACY", &real));
    EXPECT_FLOAT_EQ(real, 0.5f);
    EXPECT_TRUE(calls::StatsGetStatFloat(true, "STAT_RATE", &real));
}

TEST_F(SteamRules, AStoreRejectsBrokenConstraintsAndSteamKeepsItsValues) {
    ReceiveStats();
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_DISTANCE", 40));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    EXPECT_EQ(StoredResult(), kResultOk);
    EXPECT_EQ(Server("STAT_DISTANCE"), 40);

    struct Case {
        const char* stat;
        int32_t value;
    };
    for (const Case& broken : {Case{"STAT_DISTANCE", 30},    // increment-only, lowered
                               Case{"STAT_DISTANCE", 1001},  // above its maximum
                               Case{"STAT_KILLS", 11},       // beyond maxChange 10
                               Case{"STAT_KILLS", -1}}) {    // below its minimum
        const double before = Server(broken.stat);
        ASSERT_TRUE(calls::StatsSetStatInt32(true, broken.stat, broken.value));
        ASSERT_TRUE(calls::StatsStoreStats(true));
        EXPECT_EQ(StoredResult(), kResultInvalidParam) << broken.stat << " " << broken.value;
        EXPECT_EQ(Server(broken.stat), before) << broken.stat;
        int32_t seen = 0;
        ASSERT_TRUE(calls::StatsGetStatInt32(true, broken.stat, &seen));
        EXPECT_EQ(seen, before) << "the client's view follows Steam's";
    }
    // At the edge, one more than which is refused above: a change of exactly maxChange.
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_KILLS", 10));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    EXPECT_EQ(StoredResult(), kResultOk);
    EXPECT_EQ(Server("STAT_KILLS"), 10);
    // A refused stat does not hold back the others of the same store.
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_KILLS", 100));
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_DISTANCE", 50));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    EXPECT_EQ(StoredResult(), kResultInvalidParam);
    EXPECT_EQ(Server("STAT_DISTANCE"), 50);
    EXPECT_EQ(Server("STAT_KILLS"), 10);
}

TEST_F(SteamRules, AProgressStatReachingItsMaximumUnlocksOnSteamsSide) {
    ReceiveStats();
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_DISTANCE", 99));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    Frame();
    bool achieved = true;
    ASSERT_TRUE(calls::StatsGetAchievement(true, "ACH_TRAVEL", &achieved));
    EXPECT_FALSE(achieved);

    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_DISTANCE", 100));
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    std::vector<std::string> stored;
    for (const QueuedRecord& record : Frame()) {
        if (record.callbackId != kAchievementStoredId) continue;
        AchievementStoredRecord notice;
        std::memcpy(&notice, record.bytes.data(), sizeof notice);
        stored.push_back(notice.achievementName);
    }
    // One notice per achievement the store unlocked, in schema order.
    EXPECT_EQ(stored, (std::vector<std::string>{"ACH_WIN", "ACH_TRAVEL"}));
    uint32_t time = 0;
    ASSERT_TRUE(calls::StatsGetAchievementAndUnlockTime(true, "ACH_TRAVEL", &achieved, &time));
    EXPECT_TRUE(achieved);
    EXPECT_EQ(time, 1800000000u);
    int32_t minimum = -1, maximum = -1;
    ASSERT_TRUE(calls::StatsAchievementProgressLimitsInt32(true, "ACH_TRAVEL", &minimum, &maximum));
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 100);
    EXPECT_FALSE(calls::StatsAchievementProgressLimitsInt32(true, "ACH_WIN", &minimum, &maximum));
}

TEST_F(SteamRules, ProgressNoticesNeedAnAchievementStillLockedAndShortOfItsEnd) {
    ReceiveStats();
    EXPECT_TRUE(calls::StatsIndicateAchievementProgress(true, "ACH_TRAVEL", 10, 100));
    EXPECT_FALSE(calls::StatsIndicateAchievementProgress(true, "ACH_TRAVEL", 100, 100));
    EXPECT_FALSE(calls::StatsIndicateAchievementProgress(true, "ACH_UNKNOWN", 1, 100));
    const std::vector<QueuedRecord> due = Frame();
    ASSERT_EQ(due.size(), 1u);
    AchievementStoredRecord notice;
    std::memcpy(&notice, due[0].bytes.data(), sizeof notice);
    EXPECT_EQ(notice.currentProgress, 10u);
    EXPECT_EQ(notice.maxProgress, 100u);
    bool achieved = true;
    ASSERT_TRUE(calls::StatsGetAchievement(true, "ACH_TRAVEL", &achieved));
    EXPECT_FALSE(achieved) << "a notice unlocks nothing";
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_TRAVEL"));
    EXPECT_FALSE(calls::StatsIndicateAchievementProgress(true, "ACH_TRAVEL", 10, 100));
}

TEST_F(SteamRules, DisplayTextsComeInTheScenariosLanguageElseInEnglish) {
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "name"), "Sieger");
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "desc"), "Win once.");
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_TRAVEL", "hidden"), "1");
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "hidden"), "0");
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "icon"), "");
    EXPECT_STREQ(calls::AppsCurrentGameLanguage(true), "german");
    EXPECT_STREQ(calls::AppsAvailableGameLanguages(true), "english,german");
}

TEST_F(SteamRules, DisplayTextsFallBackToSteamsUiLanguageBeforeEnglish) {
    Scenario scenario = GameScenario();  // the game in German
    scenario.uiLanguage = "french";
    scenario.achievements[0].displayName = {{"english", "Winner"}, {"french", "Vainqueur"}};
    Use(scenario);
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "name"), "Vainqueur");
    EXPECT_STREQ(calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "desc"), "Win once.")
        << "neither German nor French: English";
}

TEST_F(SteamRules, TextsHandedToTheGameStayValidForTheSession) {
    ReceiveStats();
    const char* achievement = calls::StatsAchievementName(true, 0);
    const char* display = calls::StatsAchievementDisplayAttribute(true, "ACH_WIN", "name");
    ASSERT_TRUE(calls::FriendsSetRichPresence(true, "status", "In the first level of many"));
    const char* presence = calls::FriendsFriendRichPresence(true, TheSession().UserId(), "status");
    ASSERT_TRUE(calls::FriendsSetRichPresence(true, "status", "In the menu, waiting a while"));
    SetActiveScenario(BuiltInScenario());  // what a SteamSim_Reset does to the schema
    EXPECT_STREQ(achievement, "ACH_WIN");
    EXPECT_STREQ(display, "Sieger");
    EXPECT_STREQ(presence, "In the first level of many");
}

TEST_F(SteamRules, AchievementsAreCountedNamedAndClearedByTheSchema) {
    ReceiveStats();
    EXPECT_EQ(calls::StatsNumAchievements(true), 2u);
    EXPECT_STREQ(calls::StatsAchievementName(true, 1), "ACH_TRAVEL");
    EXPECT_EQ(calls::StatsAchievementName(true, 2), nullptr);
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    Frame();
    ASSERT_TRUE(calls::StatsClearAchievement(true, "ACH_WIN"));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    Frame();
    bool achieved = true;
    uint32_t time = 1;
    TheStatsServer().ServerAchievement(AchievementIndex("ACH_WIN"), &achieved, &time);
    EXPECT_FALSE(achieved);
}

TEST_F(SteamRules, ChangesNotStoredAreStoredWhenSteamShutsDown) {
    ReceiveStats();
    ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_KILLS", 5));
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    StopSession();
    EXPECT_EQ(Server("STAT_KILLS"), 5);
    bool achieved = false;
    uint32_t time = 0;
    TheStatsServer().ServerAchievement(AchievementIndex("ACH_WIN"), &achieved, &time);
    EXPECT_TRUE(achieved);
}

TEST_F(SteamRules, StoreFaultsAnswerTheirResultAndCommitNothing) {
    Scenario faulty = GameScenario();
    faulty.faults.stores = {StoreFault{kResultFail, 2, true}};
    Use(faulty);
    ReceiveStats();
    std::vector<int32_t> results;
    for (int32_t kills : {1, 2, 3}) {
        ASSERT_TRUE(calls::StatsSetStatInt32(true, "STAT_KILLS", kills));
        ASSERT_TRUE(calls::StatsStoreStats(true));
        results.push_back(StoredResult());
        if (kills == 2) {
            EXPECT_EQ(Server("STAT_KILLS"), 1) << "the refused store committed nothing";
        }
    }
    EXPECT_EQ(results, (std::vector<int32_t>{kResultOk, kResultFail, kResultOk}));
    EXPECT_EQ(Server("STAT_KILLS"), 3);

    faulty.faults.stores = {StoreFault{kResultFail, 2, false}};
    Use(faulty);
    ReceiveStats();
    results.clear();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(calls::StatsStoreStats(true));
        results.push_back(StoredResult());
    }
    EXPECT_EQ(results, (std::vector<int32_t>{kResultOk, kResultFail, kResultFail}));
}

TEST_F(SteamRules, StoresBeyondTheRateLimitAreRefusedUntilTheWindowPasses) {
    Scenario limited = GameScenario();
    limited.faults.storeRateLimit = StoreRateLimit{2, 60};
    Use(limited);
    ReceiveStats();
    std::vector<int32_t> results;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(calls::StatsStoreStats(true));
        results.push_back(StoredResult());
    }
    TheSession().SetClock(1800000060);
    ASSERT_TRUE(calls::StatsStoreStats(true));
    results.push_back(StoredResult());
    EXPECT_EQ(results,
              (std::vector<int32_t>{kResultOk, kResultOk, kResultRateLimitExceeded, kResultOk}));
}

TEST_F(SteamRules, ResetPutsEveryStatBackToItsDefault) {
    ReceiveStats();
    ASSERT_TRUE(calls::StatsSetStatFloat(true, "STAT_ACCURACY", 0.9f));
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    ASSERT_TRUE(calls::StatsResetAllStats(true, false));
    EXPECT_DOUBLE_EQ(Server("STAT_ACCURACY"), 0.5);
    bool achieved = false;
    ASSERT_TRUE(calls::StatsGetAchievement(true, "ACH_WIN", &achieved));
    EXPECT_TRUE(achieved) << "achievements stay unless asked";
    ASSERT_TRUE(calls::StatsResetAllStats(true, true));
    ASSERT_TRUE(calls::StatsGetAchievement(true, "ACH_WIN", &achieved));
    EXPECT_FALSE(achieved);
}

TEST_F(SteamRules, TheStartStateIsWhereTheServerBegins) {
    Scenario resumed = GameScenario();
    resumed.start.achievements = {{"ACH_WIN", 1700000123}};
    resumed.start.stats = {{"STAT_KILLS", 7}};
    resumed.start.leaderboards = {{"Fastest", 45}};
    Use(resumed);
    ReceiveStats();
    bool achieved = false;
    uint32_t time = 0;
    ASSERT_TRUE(calls::StatsGetAchievementAndUnlockTime(true, "ACH_WIN", &achieved, &time));
    EXPECT_TRUE(achieved);
    EXPECT_EQ(time, 1700000123u);
    int32_t kills = 0;
    ASSERT_TRUE(calls::StatsGetStatInt32(true, "STAT_KILLS", &kills));
    EXPECT_EQ(kills, 7);
    int32_t score = 0;
    ASSERT_TRUE(TheLeaderboards().ScoreOf("Fastest", &score));
    EXPECT_EQ(score, 45);
}

// A sink that keeps what it receives, installed for its lifetime.
class RecordedEvents : public ModelEvents {
public:
    RecordedEvents() { SetModelEvents(this); }
    ~RecordedEvents() override { SetModelEvents(nullptr); }

    void Started(int, bool, const std::string&) override { events.push_back("start"); }
    void StatsReceived(int, int) override { events.push_back("statsReceived"); }
    void Stored(int, const StoreEvent&) override { events.push_back("store"); }
    void Scored(int, const char*, int, bool, bool) override { events.push_back("score"); }
    void InterfaceAsked(int, const std::string& version, bool served) override {
        events.push_back(std::string(served ? "served " : "refused ") + version);
    }
    void Unserved(int, const std::string&) override { events.push_back("unserved"); }
    void Warned(int, WarningCode code, const std::string& text) override {
        events.push_back("warning");
        warnings.emplace_back(code, text);
    }
    void StateNow(int, const SteamState&) override { events.push_back("state"); }
    void ShutDown(int, const char*) override { events.push_back("shutdown"); }
    void Called(int, const char* name, const std::vector<CallArgument>&) override {
        events.push_back(name);
    }

    std::vector<std::string> events;
    std::vector<std::pair<WarningCode, std::string>> warnings;
};

TEST_F(SteamRules, WithNoSinkInstalledTheModelReportsNothing) {
    RecordedEvents removed;
    SetModelEvents(nullptr);
    ReceiveStats();
    EXPECT_FALSE(calls::StatsSetAchievement(true, "ACH_NOT_REPORTED"));
    ASSERT_TRUE(calls::StatsSetAchievement(true, "ACH_WIN"));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    StopSession();
    EXPECT_TRUE(removed.events.empty());
}

TEST_F(SteamRules, AnInstalledSinkReceivesAWarningWithItsCode) {
    RecordedEvents recorded;
    ReceiveStats();
    EXPECT_FALSE(calls::StatsSetAchievement(true, "ACH_REPORTED"));
    ASSERT_EQ(recorded.warnings.size(), 1u);
    EXPECT_EQ(recorded.warnings[0].first, WarningCode::kUnknownName);
    EXPECT_NE(recorded.warnings[0].second.find("\"ACH_REPORTED\""), std::string::npos)
        << recorded.warnings[0].second;
}

class LeaderboardRules : public SteamRules {
protected:
    uint64_t Board(const char* name, bool create) {
        const uint64_t call = create ? calls::StatsFindOrCreateLeaderboard(true, name, 2, 1)
                                     : calls::StatsFindLeaderboard(true, name);
        EXPECT_NE(call, 0u);
        for (const QueuedRecord& record : Frame()) {
            if (record.call != call) continue;
            LeaderboardFindRecord found;
            std::memcpy(&found, record.bytes.data(), sizeof found);
            return found.found ? found.boardHandle : 0;
        }
        ADD_FAILURE() << "no find answer";
        return 0;
    }
    ScoreUploadedRecord Upload(uint64_t board, int method, int32_t score) {
        const uint64_t call =
            calls::StatsUploadLeaderboardScore(true, board, method, score, nullptr, 0);
        ScoreUploadedRecord uploaded{};
        for (const QueuedRecord& record : Frame())
            if (record.call == call) std::memcpy(&uploaded, record.bytes.data(), sizeof uploaded);
        return uploaded;
    }
};

TEST_F(LeaderboardRules, KeepBestFollowsTheBoardsSortAndForceUpdateAlwaysReplaces) {
    const uint64_t fastest = Board("Fastest", false);
    ASSERT_NE(fastest, 0u);
    EXPECT_EQ(calls::StatsLeaderboardSortMethod(true, fastest), 1);
    EXPECT_EQ(calls::StatsLeaderboardDisplayType(true, fastest), 2);
    EXPECT_STREQ(calls::StatsLeaderboardName(true, fastest), "Fastest");
    EXPECT_EQ(calls::StatsLeaderboardEntryCount(true, fastest), 2);

    ScoreUploadedRecord first = Upload(fastest, 1, 45);
    EXPECT_TRUE(first.success && first.scoreChanged);
    EXPECT_EQ(first.newGlobalRank, 2);  // between 30 and 60, lower is better
    ScoreUploadedRecord worse = Upload(fastest, 1, 50);
    EXPECT_FALSE(worse.scoreChanged);
    ScoreUploadedRecord better = Upload(fastest, 1, 20);
    EXPECT_TRUE(better.scoreChanged);
    EXPECT_EQ(better.previousGlobalRank, 2);
    EXPECT_EQ(better.newGlobalRank, 1);
    ScoreUploadedRecord forced = Upload(fastest, 2, 90);
    EXPECT_TRUE(forced.scoreChanged);
    EXPECT_EQ(forced.newGlobalRank, 3);

    const uint64_t highest = Board("Highest", true);
    Upload(highest, 1, 10);
    EXPECT_TRUE(Upload(highest, 1, 11).scoreChanged) << "descending: higher is better";
    EXPECT_EQ(Board("Nowhere", false), 0u) << "FindLeaderboard creates nothing";
}

TEST_F(LeaderboardRules, DownloadedEntriesComeInRankOrder) {
    const uint64_t fastest = Board("Fastest", false);
    Upload(fastest, 1, 45);
    const uint64_t call = calls::StatsDownloadLeaderboardEntries(true, fastest, 0, 1, 10);
    ScoresDownloadedRecord downloaded{};
    for (const QueuedRecord& record : Frame())
        if (record.call == call) std::memcpy(&downloaded, record.bytes.data(), sizeof downloaded);
    ASSERT_EQ(downloaded.entryCount, 3);
    std::vector<int32_t> scores;
    for (int i = 0; i < 3; ++i) {
        LeaderboardEntryRecord entry{};
        ASSERT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, downloaded.entriesHandle, i,
                                                           &entry, nullptr, 0));
        EXPECT_EQ(entry.globalRank, i + 1);
        scores.push_back(entry.score);
    }
    EXPECT_EQ(scores, (std::vector<int32_t>{30, 45, 60}));
    LeaderboardEntryRecord entry{};
    EXPECT_FALSE(calls::StatsDownloadedLeaderboardEntry(true, downloaded.entriesHandle, 3, &entry,
                                                        nullptr, 0));
}

TEST_F(LeaderboardRules, ABoardsNameStaysValidWhileTheGameCreatesMoreBoards) {
    const uint64_t fastest = Board("Fastest", false);
    const char* name = calls::StatsLeaderboardName(true, fastest);
    for (int i = 0; i < 100; ++i)
        Board(("A board the game made at run time, number " + std::to_string(i)).c_str(), true);
    EXPECT_STREQ(name, "Fastest");
}

TEST_F(LeaderboardRules, AroundTheUserAtTheTopOrBottomTheRangeIsShiftedNotCut) {
    Scenario scenario = GameScenario();
    std::vector<LeaderboardEntry>& scores = scenario.leaderboards[0].scores;  // ascending
    scores.clear();
    for (int32_t i = 0; i < 8; ++i) scores.push_back({76561197960000100ULL + i, 100 + 10 * i});
    Use(scenario);
    const uint64_t fastest = Board("Fastest", false);
    auto ranksAround = [&](int32_t score) {
        Upload(fastest, 2, score);
        const uint64_t call = calls::StatsDownloadLeaderboardEntries(true, fastest, 1, -2, 2);
        ScoresDownloadedRecord downloaded{};
        for (const QueuedRecord& record : Frame())
            if (record.call == call)
                std::memcpy(&downloaded, record.bytes.data(), sizeof downloaded);
        std::vector<int> ranks;
        for (int i = 0; i < downloaded.entryCount; ++i) {
            LeaderboardEntryRecord entry{};
            EXPECT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, downloaded.entriesHandle, i,
                                                               &entry, nullptr, 0));
            ranks.push_back(entry.globalRank);
        }
        return ranks;
    };
    EXPECT_EQ(ranksAround(1), (std::vector<int>{1, 2, 3, 4, 5})) << "the user is #1";
    EXPECT_EQ(ranksAround(1000), (std::vector<int>{5, 6, 7, 8, 9})) << "the user is last";
    EXPECT_EQ(ranksAround(145), (std::vector<int>{4, 5, 6, 7, 8})) << "the user is #6";
}

TEST_F(LeaderboardRules, DownloadedEntriesAreFreedOnceAllAreRead) {
    const uint64_t fastest = Board("Fastest", false);
    const uint64_t call = calls::StatsDownloadLeaderboardEntries(true, fastest, 0, 1, 10);
    ScoresDownloadedRecord downloaded{};
    for (const QueuedRecord& record : Frame())
        if (record.call == call) std::memcpy(&downloaded, record.bytes.data(), sizeof downloaded);
    ASSERT_EQ(downloaded.entryCount, 2);
    LeaderboardEntryRecord entry{};
    const uint64_t handle = downloaded.entriesHandle;
    EXPECT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, handle, 1, &entry, nullptr, 0));
    EXPECT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, handle, 1, &entry, nullptr, 0))
        << "an entry may be read again while others are unread";
    EXPECT_TRUE(calls::StatsDownloadedLeaderboardEntry(true, handle, 0, &entry, nullptr, 0));
    EXPECT_FALSE(calls::StatsDownloadedLeaderboardEntry(true, handle, 0, &entry, nullptr, 0))
        << "every entry was read: the handle is invalid";
}

TEST_F(LeaderboardRules, ScenarioFaultsHitTheirCallAndBoard) {
    Scenario faulty = GameScenario();
    faulty.faults.leaderboards = {
        LeaderboardFault{LeaderboardCall::Find, LeaderboardFaultKind::NotFound, "Fastest", true},
        LeaderboardFault{LeaderboardCall::Upload, LeaderboardFaultKind::ZeroCallHandle, "", true}};
    faulty.faults.leaderboardLatencyFrames = 2;
    Use(faulty);
    EXPECT_NE(calls::StatsFindLeaderboard(true, "Fastest"), 0u);
    EXPECT_TRUE(Frame().empty()) << "two frames of latency";
    const std::vector<QueuedRecord> answer = Frame();
    ASSERT_EQ(answer.size(), 1u);
    LeaderboardFindRecord found;
    std::memcpy(&found, answer[0].bytes.data(), sizeof found);
    EXPECT_FALSE(found.found);
    const uint64_t call = calls::StatsFindLeaderboard(true, "Fastest");
    Frame();
    const std::vector<QueuedRecord> again = Frame();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].call, call);
    std::memcpy(&found, again[0].bytes.data(), sizeof found);
    EXPECT_TRUE(found.found) << "the fault was once";
    EXPECT_EQ(calls::StatsUploadLeaderboardScore(true, found.boardHandle, 1, 5, nullptr, 0), 0u);
    EXPECT_NE(calls::StatsUploadLeaderboardScore(true, found.boardHandle, 1, 5, nullptr, 0), 0u);
}

// ---- the app, the user, friends and the computer (user_app_calls.h) ----

class AppAndFriends : public SteamRules {
protected:
    static Scenario WithDlcAndFriends() {
        Scenario scenario = GameScenario();  // app 2000, clock 1800000000
        scenario.dlc = {{2001, "Expansion", true, true},
                        {2002, "Soundtrack", true, false},
                        {2003, "Not Bought", false, false}};
        scenario.buildId = 77;
        scenario.installDir = "/games/two-thousand";
        scenario.purchaseTime = 1600000000;
        scenario.steamLevel = 12;
        scenario.uiLanguage = "french";
        scenario.ipCountry = "CA";
        scenario.friends = {{76561197960000001ULL, "Ann", PersonaState::Away},
                            {76561197960000002ULL, "Bob", PersonaState::Online}};
        return scenario;
    }
    void SetUp() override { Use(WithDlcAndFriends()); }
    static uint64_t User() { return TheSession().UserId(); }
};

TEST_F(AppAndFriends, OwnedDlcIsSubscribedAndInstalledOnlyWhenTheScenarioSaysSo) {
    EXPECT_TRUE(calls::AppsIsSubscribedApp(true, 2000)) << "the game itself";
    EXPECT_TRUE(calls::AppsIsSubscribedApp(true, 2001));
    EXPECT_TRUE(calls::AppsIsSubscribedApp(true, 2002));
    EXPECT_FALSE(calls::AppsIsSubscribedApp(true, 2003));
    EXPECT_FALSE(calls::AppsIsSubscribedApp(true, 9999));
    EXPECT_TRUE(calls::AppsIsDlcInstalled(true, 2001));
    EXPECT_FALSE(calls::AppsIsDlcInstalled(true, 2002)) << "owned, not installed";
    EXPECT_FALSE(calls::AppsIsDlcInstalled(true, 2003));
    EXPECT_FALSE(calls::AppsIsDlcInstalled(false, 2001)) << "a dead interface";
    EXPECT_EQ(calls::UserHasLicenseForApp(true, User(), 2001), 0);
    EXPECT_EQ(calls::UserHasLicenseForApp(true, User(), 2000), 0);
    EXPECT_EQ(calls::UserHasLicenseForApp(true, User(), 2003), 1);
    EXPECT_EQ(calls::UserHasLicenseForApp(true, 76561197960000001ULL, 2001), 2)
        << "another user: no auth session";
    EXPECT_EQ(calls::AppsEarliestPurchaseUnixTime(true, 2000), 1600000000u);
    EXPECT_EQ(calls::AppsEarliestPurchaseUnixTime(true, 2002), 1600000000u);
    EXPECT_EQ(calls::AppsEarliestPurchaseUnixTime(true, 2003), 0u);

    // Every DLC is listed, owned or not; names are cut to the buffer, always terminated.
    EXPECT_EQ(calls::AppsDlcCount(true), 3);
    uint32_t appId = 0;
    bool available = false;
    char name[5];
    std::memset(name, 'x', sizeof name);
    ASSERT_TRUE(calls::AppsDlcDataByIndex(true, 0, &appId, &available, name, 4));
    EXPECT_EQ(appId, 2001u);
    EXPECT_TRUE(available);
    EXPECT_STREQ(name, "Exp");
    EXPECT_EQ(name[4], 'x') << "nothing written past the buffer's size";
    EXPECT_TRUE(calls::AppsDlcDataByIndex(true, 2, nullptr, nullptr, nullptr, 0));
    EXPECT_FALSE(calls::AppsDlcDataByIndex(true, 3, &appId, &available, name, 5));
    EXPECT_EQ(appId, 0u);
    EXPECT_FALSE(available);
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(calls::AppsDlcDataByIndex(true, -1, &appId, &available, name, 5));
}

TEST_F(AppAndFriends, TheAppsFolderBuildAndBranch) {
    char folder[8];
    std::memset(folder, 'x', sizeof folder);
    EXPECT_EQ(calls::AppsAppInstallDir(true, 2000, folder, 7), 6u);
    EXPECT_STREQ(folder, "/games");
    EXPECT_EQ(folder[7], 'x');
    char whole[64];
    EXPECT_EQ(calls::AppsAppInstallDir(true, 2001, whole, sizeof whole), 19u);
    EXPECT_STREQ(whole, "/games/two-thousand");
    EXPECT_EQ(calls::AppsAppInstallDir(true, 2002, whole, sizeof whole), 0u) << "not installed";
    EXPECT_STREQ(whole, "");
    EXPECT_EQ(calls::AppsAppInstallDir(true, 2000, nullptr, 10), 0u);
    EXPECT_EQ(calls::AppsAppBuildId(true), 77);
    EXPECT_EQ(calls::AppsAppOwner(true), User());

    char beta[16] = "stale";
    EXPECT_FALSE(calls::AppsCurrentBetaName(true, beta, sizeof beta)) << "the default branch";
    EXPECT_STREQ(beta, "");
    Scenario onBeta = WithDlcAndFriends();
    onBeta.betaName = "experimental";
    Use(onBeta);
    EXPECT_TRUE(calls::AppsCurrentBetaName(true, beta, 6));
    EXPECT_STREQ(beta, "exper");
    EXPECT_STREQ(calls::AppsLaunchQueryParam(true, "connect"), "");
    EXPECT_STREQ(calls::AppsLaunchQueryParam(false, nullptr), "");

    // Without a folder in the scenario: the working folder when the files were read.
    Scenario noFolder = WithDlcAndFriends();
    noFolder.installDir.clear();
    Use(noFolder);
    const std::string here = std::filesystem::current_path().string();
    std::vector<char> buffer(here.size() + 1, 'x');
    EXPECT_EQ(
        calls::AppsAppInstallDir(true, 2000, buffer.data(), static_cast<uint32_t>(buffer.size())),
        here.size());
    EXPECT_EQ(std::string(buffer.data()), here);
}

TEST_F(AppAndFriends, FriendsAreTheScenariosRegularFriends) {
    EXPECT_EQ(calls::FriendsFriendCount(true, 0x04), 2);    // k_EFriendFlagImmediate
    EXPECT_EQ(calls::FriendsFriendCount(true, 0xFFFF), 2);  // k_EFriendFlagAll
    EXPECT_EQ(calls::FriendsFriendCount(true, 0x01), 0);    // blocked: none
    EXPECT_EQ(calls::FriendsFriendCount(false, 0x04), 0);
    EXPECT_EQ(calls::FriendsFriendByIndex(true, 1, 0x04), 76561197960000002ULL);
    EXPECT_EQ(calls::FriendsFriendByIndex(true, 2, 0x04), 0u) << "beyond the range: nil";
    EXPECT_EQ(calls::FriendsFriendByIndex(true, -1, 0x04), 0u);
    EXPECT_EQ(calls::FriendsFriendByIndex(true, 0, 0x01), 0u);
    EXPECT_STREQ(calls::FriendsFriendPersonaName(true, 76561197960000001ULL), "Ann");
    EXPECT_STREQ(calls::FriendsFriendPersonaName(true, 76561197960000009ULL), "[unknown]");
    EXPECT_STREQ(calls::FriendsFriendPersonaName(true, 0), "");
    EXPECT_STREQ(calls::FriendsFriendPersonaName(false, 76561197960000001ULL), "");
    EXPECT_EQ(calls::FriendsFriendPersonaState(true, 76561197960000001ULL), 3);  // away
    EXPECT_EQ(calls::FriendsFriendPersonaState(true, 76561197960000009ULL), 0);  // offline
    EXPECT_EQ(calls::FriendsPersonaState(true), 1);
    EXPECT_TRUE(calls::FriendsHasFriend(true, 76561197960000002ULL, 0x04));
    EXPECT_FALSE(calls::FriendsHasFriend(true, 76561197960000002ULL, 0x01));
    EXPECT_FALSE(calls::FriendsHasFriend(true, User(), 0x04));
    EXPECT_EQ(calls::UserPlayerSteamLevel(true), 12);
    EXPECT_EQ(calls::FriendsFriendSteamLevel(true, User()), 12);
    EXPECT_EQ(calls::FriendsFriendSteamLevel(true, 76561197960000001ULL), 0);
}

TEST_F(AppAndFriends, TheComputerAsTheScenarioDescribesIt) {
    EXPECT_STREQ(calls::UtilsSteamUiLanguage(true), "french");
    EXPECT_STREQ(calls::UtilsIpCountry(true), "CA");
    EXPECT_STREQ(calls::UtilsIpCountry(false), "");
    EXPECT_FALSE(calls::UtilsIsOverlayEnabled(true));
    EXPECT_FALSE(calls::UtilsIsSteamRunningOnSteamDeck(true));
    EXPECT_FALSE(calls::UtilsIsSteamInBigPictureMode(true));
    EXPECT_EQ(calls::UtilsCurrentBatteryPower(true), 255) << "AC power";
    EXPECT_EQ(calls::UtilsConnectedUniverse(true), 1);
    EXPECT_EQ(calls::UtilsSecondsSinceAppActive(true), 0u) << "a fixed clock";
    TheSession().SetClock(1800000030);
    EXPECT_EQ(calls::UtilsSecondsSinceAppActive(true), 30u);
}

// A sink that keeps the rich presence it is told of, and the warnings.
class RichPresenceEvents : public RecordedEvents {
public:
    void RichPresenceNow(int,
                         const std::vector<std::pair<std::string, std::string>>& keys) override {
        presence.push_back(keys);
    }
    std::vector<std::vector<std::pair<std::string, std::string>>> presence;
};

TEST_F(AppAndFriends, RichPresenceKeepsSteamsLimitsAtTheirEdges) {
    RichPresenceEvents recorded;
    const std::string key63(63, 'k');
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, key63.c_str(), "v"));
    EXPECT_FALSE(calls::FriendsSetRichPresence(true, (key63 + "k").c_str(), "v"));
    const std::string value255(255, 'v');
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "status", value255.c_str()));
    EXPECT_FALSE(calls::FriendsSetRichPresence(true, "status", (value255 + "v").c_str()));
    EXPECT_STREQ(calls::FriendsFriendRichPresence(true, User(), "status"), value255.c_str())
        << "a refused value leaves the old one";
    EXPECT_FALSE(calls::FriendsSetRichPresence(true, "", "v"));
    EXPECT_FALSE(calls::FriendsSetRichPresence(true, nullptr, "v"));
    EXPECT_FALSE(calls::FriendsSetRichPresence(false, "status", "v")) << "a dead interface";

    // 30 keys (k_cchMaxRichPresenceKeys), the 31st refused; a key set again
    // or deleted is no new key.
    for (int i = 2; i < 30; ++i)
        ASSERT_TRUE(calls::FriendsSetRichPresence(true, ("key" + std::to_string(i)).c_str(), "x"));
    EXPECT_EQ(calls::FriendsFriendRichPresenceKeyCount(true, User()), 30);
    EXPECT_FALSE(calls::FriendsSetRichPresence(true, "key30", "x"));
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "status", "Level 3"));
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "key2", ""));
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "key3", nullptr));
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "never-set", nullptr));
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "key30", "x"));
    EXPECT_EQ(calls::FriendsFriendRichPresenceKeyCount(true, User()), 29);
    EXPECT_STREQ(calls::FriendsFriendRichPresenceKeyByIndex(true, User(), 1), "status");
    EXPECT_STREQ(calls::FriendsFriendRichPresenceKeyByIndex(true, User(), 29), "");
    EXPECT_STREQ(calls::FriendsFriendRichPresence(true, User(), "key2"), "");
    EXPECT_STREQ(calls::FriendsFriendRichPresence(true, 76561197960000001ULL, "status"), "")
        << "friends set none";
    EXPECT_EQ(calls::FriendsFriendRichPresenceKeyCount(true, 76561197960000001ULL), 0);

    std::vector<std::string> refused;
    for (const auto& [code, text] : recorded.warnings)
        if (code == WarningCode::kRichPresenceRefused) refused.push_back(text);
    ASSERT_EQ(refused.size(), 5u);
    EXPECT_NE(refused[0].find("the key is 64 bytes; Steam takes at most 63"), std::string::npos)
        << refused[0];
    EXPECT_NE(refused[1].find("the value is 256 bytes; Steam takes at most 255"), std::string::npos)
        << refused[1];
    EXPECT_NE(refused[4].find("beyond the 30 Steam keeps"), std::string::npos) << refused[4];

    // Each change is told whole; setting a value again is no change.
    const std::size_t told = recorded.presence.size();
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "status", "Level 3"));
    EXPECT_EQ(recorded.presence.size(), told);
    calls::FriendsClearRichPresence(true);
    ASSERT_EQ(recorded.presence.size(), told + 1);
    EXPECT_TRUE(recorded.presence.back().empty());
    EXPECT_EQ(calls::FriendsFriendRichPresenceKeyCount(true, User()), 0);
    calls::FriendsClearRichPresence(true);
    EXPECT_EQ(recorded.presence.size(), told + 1) << "nothing left to clear";
    EXPECT_TRUE(calls::FriendsSetRichPresence(true, "status", "In the menu"));
    ASSERT_EQ(recorded.presence.size(), told + 2);
    EXPECT_EQ(recorded.presence.back(),
              (std::vector<std::pair<std::string, std::string>>{{"status", "In the menu"}}));
}

TEST_F(AppAndFriends, ACallResultCanBePolledAndIsReadOnce) {
    // What the client face does each frame with a due call result.
    auto finishDue = [&] {
        for (QueuedRecord& record : Frame())
            if (record.call != 0)
                TheFinishedCalls().Finish(record.call, record.callbackId, std::move(record.bytes),
                                          record.ioFailure);
    };
    const uint64_t call = calls::StatsFindLeaderboard(true, "Fastest");
    ASSERT_NE(call, 0u);
    bool failed = true;
    EXPECT_FALSE(calls::UtilsIsApiCallCompleted(true, call, &failed));
    EXPECT_FALSE(failed) << "pending";
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, call), CallFailure::None);
    LeaderboardFindRecord found{};
    EXPECT_FALSE(
        calls::UtilsApiCallResult(true, call, &found, sizeof found, kLeaderboardFindId, &failed));
    EXPECT_FALSE(failed);

    finishDue();
    failed = true;
    EXPECT_TRUE(calls::UtilsIsApiCallCompleted(true, call, &failed));
    EXPECT_FALSE(failed);
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, call), CallFailure::None);
    // Asked as another callback, or with another size: refused, and kept.
    EXPECT_FALSE(
        calls::UtilsApiCallResult(true, call, &found, sizeof found, kStatsStoredId, &failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, call), CallFailure::MismatchedCallback);
    EXPECT_FALSE(calls::UtilsApiCallResult(true, call, &found, sizeof found - 1, kLeaderboardFindId,
                                           &failed));
    EXPECT_FALSE(
        calls::UtilsApiCallResult(true, call, nullptr, sizeof found, kLeaderboardFindId, &failed));
    ASSERT_TRUE(
        calls::UtilsApiCallResult(true, call, &found, sizeof found, kLeaderboardFindId, &failed));
    EXPECT_FALSE(failed);
    EXPECT_TRUE(found.found);
    EXPECT_NE(found.boardHandle, 0u);

    // Read once: neither a second poll nor the library's own read finds it.
    EXPECT_FALSE(
        calls::UtilsApiCallResult(true, call, &found, sizeof found, kLeaderboardFindId, &failed));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(calls::UtilsIsApiCallCompleted(true, call, &failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, call), CallFailure::InvalidHandle);
    EXPECT_EQ(TheFinishedCalls().Take(call, &found, sizeof found, kLeaderboardFindId, &failed),
              FinishedCalls::Read::NotFinished);

    // The library read it first: the poll finds nothing, and nothing breaks.
    const uint64_t second = calls::StatsFindLeaderboard(true, "Fastest");
    finishDue();
    ASSERT_EQ(TheFinishedCalls().Take(second, &found, sizeof found, kLeaderboardFindId, &failed),
              FinishedCalls::Read::Done);
    EXPECT_FALSE(
        calls::UtilsApiCallResult(true, second, &found, sizeof found, kLeaderboardFindId, &failed));
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, second), CallFailure::InvalidHandle);

    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, 12345), CallFailure::InvalidHandle);
    EXPECT_EQ(calls::UtilsApiCallFailureReason(false, call), CallFailure::SteamGone);
}

TEST_F(AppAndFriends, AnIoFailureIsACompletedCallThatFailed) {
    Scenario faulty = WithDlcAndFriends();
    faulty.faults.leaderboards = {
        LeaderboardFault{LeaderboardCall::Find, LeaderboardFaultKind::IoFailure, "", false}};
    Use(faulty);
    const uint64_t call = calls::StatsFindLeaderboard(true, "Fastest");
    for (QueuedRecord& record : Frame())
        TheFinishedCalls().Finish(record.call, record.callbackId, std::move(record.bytes),
                                  record.ioFailure);
    bool failed = false;
    EXPECT_TRUE(calls::UtilsIsApiCallCompleted(true, call, &failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(calls::UtilsApiCallFailureReason(true, call), CallFailure::NetworkFailure);
    LeaderboardFindRecord found{};
    failed = false;
    EXPECT_TRUE(
        calls::UtilsApiCallResult(true, call, &found, sizeof found, kLeaderboardFindId, &failed));
    EXPECT_TRUE(failed);
}

}  // namespace
