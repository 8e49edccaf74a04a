// Trace lines: ids and texts to the sink, codes formatted and cut.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "bridge/trace.h"
#include "platform/os_services.h"

using namespace steambridge;

namespace {

std::vector<std::pair<TraceId, std::string>> g_lines;
void Capture(TraceId id, const char* line) { g_lines.emplace_back(id, line); }

class TraceLines : public testing::Test {
protected:
    void SetUp() override {
        g_lines.clear();
        SetTraceSink(&Capture);
    }
    void TearDown() override { SetTraceSink(nullptr); }
};

TEST_F(TraceLines, TheSinkReceivesEachLinesIdAndText) {
    Trace(TraceId::UserNotLoggedIn);
    TraceDetail(nullptr);
    TraceDetail("ACH_WIN_ONE_GAME");
    Trace(TraceId::RequestStatsFailed, -5);
    Trace(TraceId::StatsStoredFailed, INT_MIN);
    const std::vector<std::pair<TraceId, std::string>> expected = {
        {TraceId::UserNotLoggedIn, "User not logged in"},
        {TraceId::Detail, "ACH_WIN_ONE_GAME"},
        {TraceId::RequestStatsFailed, "RequestStats - failed, -5"},
        {TraceId::StatsStoredFailed, "StatsStored - failed, -2147483648"},
    };
    EXPECT_EQ(g_lines, expected);
}

TEST_F(TraceLines, ANullSinkRestoresTheDefault) {
    SetTraceSink(nullptr);
    Trace(TraceId::SteamNotLoaded);
    Trace(TraceId::StoreStatsFailed, 1);
    TraceDetail("name");
    EXPECT_TRUE(g_lines.empty());
}

// The keepers' lines, written out here rather than taken from trace.h, so a
// misspelt text there shows. The library and start lines are not held to a
// fixed wording.
TEST(TraceTexts, EveryKeeperLineReadsAsDocumented) {
    const std::pair<TraceId, const char*> lines[] = {
        {TraceId::AchievementsStart, "Start"},
        {TraceId::RequestStats, "CSteamAchievements::RequestStats()"},
        {TraceId::SteamNotLoaded, "Steam not loaded"},
        {TraceId::UserNotLoggedIn, "User not logged in"},
        {TraceId::GoForStatsRequests, "Go for stats requests"},
        {TraceId::AchievementsStatsReceived, "stat rec a"},
        {TraceId::StatsArrived, "Received stats and achievements from Steam"},
        {TraceId::RequestStatsFailed, "RequestStats - failed, %d"},
        {TraceId::AchievementsStatsStored, "stat sto a"},
        {TraceId::StoredStats, "Stored stats for Steam"},
        {TraceId::StatsStoredFailed, "StatsStored - failed, %d"},
        {TraceId::AchievementStored, "Stored Achievement for Steam"},
        {TraceId::StatsReceived, "stat rec"},
        {TraceId::StatsReceivedOk, "stat rec ok"},
        {TraceId::StatsStored, "stat sto"},
        {TraceId::StoreStatsSuccess, "StoreStats - success"},
        {TraceId::StoreStatsInvalid, "StoreStats - some failed to validate"},
        {TraceId::StoreStatsFailed, "StoreStats - failed, %d"},
        {TraceId::CallHandleNull, "SteamAPICall==NULL"},
        {TraceId::FindLeaderboardCallback, "OnFindLeaderboard callback"},
        {TraceId::FindLeaderboardFailure, "OnFindLeaderboard failure"},
        {TraceId::FindLeaderboardSuccess, "OnFindLeaderboard success"},
        {TraceId::ScoresUploaded, "Scores uploaded"},
    };
    for (const auto& [id, text] : lines) EXPECT_STREQ(TraceText(id), text) << static_cast<int>(id);
}

TEST(TraceFormat, ACodedLineIsCutAt127Characters) {
    const std::string x126(126, 'x');
    const std::string x127(127, 'x');
    const struct {
        std::string format;
        int code;
        std::string expected;
    } cases[] = {
        {"StoreStats - done", 3, "StoreStats - done"},
        {x126 + "%d", 7, x126 + "7"},
        {x127 + "%d", 7, x127},
        {std::string(200, 'y') + "%d", 42, std::string(127, 'y')},
    };
    for (const auto& c : cases) {
        char line[128];
        FormatTraceLine(line, sizeof line, c.format.c_str(), c.code);
        EXPECT_EQ(std::string(line), c.expected) << c.format.size() << " characters";
    }
}

}  // namespace
