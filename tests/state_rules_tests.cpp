// What the state file keeps and what may reach it, in the offline client's
// model: a non-finite float or rate is refused as an invalid value, a reset
// waits for the stats, and boards come back as the game made them. Linked
// beside steam_rules_tests.cpp, which gives the model its face.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "leaderboards.h"
#include "model_session_test.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"
#include "steam_calls.h"

namespace {

using namespace offline_steam;

class StateRules : public ModelSessionTest {
protected:
    void SetUp() override {
        Scenario scenario;
        scenario.clock = 1800000000;
        AchievementSchema win;
        win.name = "ACH_WIN";
        scenario.achievements = {win};
        StatSchema accuracy;
        accuracy.name = "STAT_ACCURACY";
        accuracy.type = StatType::Float;
        StatSchema rate;
        rate.name = "STAT_RATE";
        rate.type = StatType::AverageRate;
        rate.window = 10;
        scenario.stats = {accuracy, rate};
        scenario.start.achievements["ACH_WIN"] = 1700000000;
        scenario.start.stats = {{"STAT_ACCURACY", 0.25}, {"STAT_RATE", 2}};
        // Made by the game in an earlier run: one with a score and details, one never uploaded to.
        scenario.start.leaderboards["Fastest"] = 30;
        scenario.start.boards["Fastest"] = {
            LeaderboardSort::Ascending, LeaderboardDisplay::TimeSeconds, {7, 8}};
        scenario.start.boards["Empty"] = {
            LeaderboardSort::Ascending, LeaderboardDisplay::TimeMilliSeconds, {}};
        Use(scenario);
    }

    int StoredRecords(int32_t* result) {
        int count = 0;
        for (const QueuedRecord& record : Frame()) {
            if (record.callbackId != kStatsStoredId) continue;
            StatsStoredRecord stored;
            std::memcpy(&stored, record.bytes.data(), sizeof stored);
            *result = stored.result;
            ++count;
        }
        return count;
    }

    double Server(const char* stat) { return TheStatsServer().ServerStatValue(StatIndex(stat)); }
};

TEST_F(StateRules, ANonFiniteFloatOrRateIsRefusedAndSteamKeepsItsValue) {
    ASSERT_TRUE(calls::StatsRequestCurrentStats(true));
    Frame();
    const float infinite = std::numeric_limits<float>::infinity();
    for (float value : {infinite, -infinite, std::numeric_limits<float>::quiet_NaN()}) {
        ASSERT_TRUE(calls::StatsSetStatFloat(true, "STAT_ACCURACY", value));
        ASSERT_TRUE(calls::StatsStoreStats(true));
        int32_t result = 0;
        ASSERT_EQ(StoredRecords(&result), 1);
        EXPECT_EQ(result, kResultInvalidParam) << value;
        EXPECT_EQ(Server("STAT_ACCURACY"), 0.25) << value;
    }
    // A rate that overflows is no better.
    ASSERT_TRUE(calls::StatsUpdateAvgRateStat(true, "STAT_RATE", infinite, 1.0));
    ASSERT_TRUE(calls::StatsStoreStats(true));
    int32_t result = 0;
    ASSERT_EQ(StoredRecords(&result), 1);
    EXPECT_EQ(result, kResultInvalidParam);
    EXPECT_EQ(Server("STAT_RATE"), 2);
}

TEST_F(StateRules, AResetBeforeTheStatsArrivedIsRefusedAndWipesNothing) {
    EXPECT_FALSE(calls::StatsResetAllStats(true, true));
    int32_t result = 0;
    EXPECT_EQ(StoredRecords(&result), 0) << "no UserStatsStored_t";
    EXPECT_EQ(Server("STAT_ACCURACY"), 0.25);
    bool achieved = false;
    uint32_t time = 0;
    TheStatsServer().ServerAchievement(AchievementIndex("ACH_WIN"), &achieved, &time);
    EXPECT_TRUE(achieved);
}

TEST_F(StateRules, BoardsComeBackAsTheGameMadeThemThroughTheStateFile) {
    Leaderboards& boards = TheLeaderboards();
    EXPECT_EQ(boards.SortMethodOf("Fastest"), 1);
    EXPECT_EQ(boards.DisplayTypeOf("Fastest"), 2);
    EXPECT_EQ(boards.SortMethodOf("Empty"), 1);
    EXPECT_EQ(boards.DisplayTypeOf("Empty"), 3);
    int32_t score = 0;
    EXPECT_FALSE(boards.ScoreOf("Empty", &score));

    // Ascending: a lower time is the better one, and its details replace the old.
    const int32_t details[] = {1, 2, 3};
    ASSERT_NE(
        calls::StatsUploadLeaderboardScore(true, boards.HandleOf("Fastest"), 1, 20, details, 3),
        0u);
    ASSERT_TRUE(boards.ScoreOf("Fastest", &score));
    EXPECT_EQ(score, 20);

    StartState state;
    state.leaderboards = boards.UserScores();
    for (const Leaderboards::KeptBoardState& board : boards.KeptBoards())
        state.boards[board.name] = {static_cast<LeaderboardSort>(board.sortMethod),
                                    static_cast<LeaderboardDisplay>(board.displayType),
                                    board.details};
    const std::string path =
        (std::filesystem::temp_directory_path() / "state_rules_boards.json").string();
    std::string error;
    ASSERT_TRUE(SaveStateFile(path, state, &error)) << error;
    StartState read;
    ASSERT_TRUE(LoadStateFile(path, &read, &error)) << error;
    std::remove(path.c_str());
    EXPECT_EQ(read.leaderboards, (std::map<std::string, int32_t>{{"Fastest", 20}}));
    ASSERT_EQ(read.boards.count("Fastest"), 1u);
    EXPECT_EQ(read.boards["Fastest"].sort, LeaderboardSort::Ascending);
    EXPECT_EQ(read.boards["Fastest"].display, LeaderboardDisplay::TimeSeconds);
    EXPECT_EQ(read.boards["Fastest"].details, (std::vector<int32_t>{1, 2, 3}));
    ASSERT_EQ(read.boards.count("Empty"), 1u);
    EXPECT_EQ(read.boards["Empty"].display, LeaderboardDisplay::TimeMilliSeconds);
}

}  // namespace
