// The scenario and state files: what the loader reads into the model, what
// it refuses and where it says the fault is, and our game's schema file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "scenario.h"

namespace {

using offline_steam::Scenario;
using offline_steam::StartState;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The refusal of `text` read as game.json; empty when it was accepted.
std::string RefusalOf(const std::string& text) {
    Scenario scenario;
    std::string error;
    if (offline_steam::ParseScenario(text, "game.json", &scenario, &error)) return "";
    return error.empty() ? "(refused without a message)" : error;
}

// A folder of its own per test, removed afterwards; the working directory
// is put back too, for the tests that read relative names.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("scenario_tests_" + std::to_string(getpid()) + "_" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        previousDir_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(previousDir_);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        WriteAll(dir_ / name, text);
    }

    fs::path dir_;
    fs::path previousDir_;
};

// ---- reading ------------------------------------------------------------------

constexpr char kFullScenario[] = R"({
  "$schema": "scenario.schema.json",
  "app": {"id": 4000000000, "language": "german", "languages": ["german", "english"]},
  "user": {"steamId": "18446744073709551615", "loggedOn": false, "personaName": "Tester"},
  "clock": 1700000000,
  "achievements": [
    {"name": "ACH_A", "displayName": {"english": "Alpha", "german": "Älpha"},
     "description": {"english": "Do \u00e4 \ud83c\udfc6"}, "hidden": true,
     "progress": {"stat": "STAT_F", "min": 0.5, "max": 10.25}},
    {"name": "ACH_B"}
  ],
  "stats": [
    {"name": "STAT_I", "type": "int", "min": -5, "max": 100, "default": 3, "maxChange": 10.0,
     "incrementOnly": true},
    {"name": "STAT_F", "type": "float", "min": 0, "max": 20.5, "default": 0.5, "maxChange": 2.5},
    {"name": "STAT_R", "type": "avgrate", "window": 3600}
  ],
  "leaderboards": [
    {"name": "Fastest", "sort": "ascending", "display": "milliseconds",
     "scores": [{"steamId": "76561198000000002", "score": -2147483648},
                {"steamId": "0076561198000000003", "score": 2147483647}]},
    {"name": "Best", "display": "seconds"}
  ],
  "start": {"achievements": {"ACH_B": 4294967295}, "stats": {"STAT_I": 4, "STAT_F": 1.5},
            "leaderboards": {"Fastest": 900}},
  "faults": {
    "steamNotRunning": true,
    "stats": {"delayFrames": 0, "never": true, "result": -3},
    "stores": [{"result": 5, "fromCall": 3, "times": "once"}, {"result": 84}],
    "storeRateLimit": {"stores": 10, "seconds": 60},
    "leaderboards": {"latencyFrames": 7, "faults": [
      {"call": "upload", "fault": "ioFailure", "board": "Best", "times": "once"},
      {"call": "download", "fault": "notFound", "times": "always"},
      {"call": "find", "fault": "zeroCallHandle"}]},
    "refuseInterfaces": ["SteamFriends", "SteamClient"]
  },
  "expect": {"achievements": ["ACH_A", "ACH_B"],
             "stats": {"STAT_I": {"min": 5}, "STAT_F": {"min": 1, "max": 2}},
             "leaderboards": {"Made By The Game": {"max": 100}}, "cleanShutdown": false}
})";

TEST(ScenarioReading, EveryKeyReachesItsField) {
    Scenario s;
    std::string error = "stale";
    ASSERT_TRUE(offline_steam::ParseScenario(kFullScenario, "full.json", &s, &error)) << error;
    EXPECT_EQ(error, "");

    EXPECT_EQ(s.appId, 4000000000u);
    EXPECT_EQ(s.language, "german");
    EXPECT_EQ(s.languages, (std::vector<std::string>{"german", "english"}));
    EXPECT_EQ(s.steamId, 18446744073709551615ull);
    EXPECT_FALSE(s.loggedOn);
    EXPECT_EQ(s.personaName, "Tester");
    ASSERT_TRUE(s.clock.has_value());
    EXPECT_EQ(*s.clock, 1700000000u);

    ASSERT_EQ(s.achievements.size(), 2u);
    const offline_steam::AchievementSchema& a = s.achievements[0];
    EXPECT_EQ(a.name, "ACH_A");
    EXPECT_EQ(a.displayName,
              (offline_steam::LocalizedText{{"english", "Alpha"}, {"german", "Älpha"}}));
    // Escapes, a surrogate pair among them, arrive as UTF-8.
    EXPECT_EQ(a.description.at("english"), "Do \xC3\xA4 \xF0\x9F\x8F\x86");
    EXPECT_TRUE(a.hidden);
    ASSERT_TRUE(a.progress.has_value());
    EXPECT_EQ(a.progress->stat, "STAT_F");
    EXPECT_EQ(a.progress->min, 0.5);
    EXPECT_EQ(a.progress->max, 10.25);
    EXPECT_EQ(s.achievements[1].name, "ACH_B");
    EXPECT_FALSE(s.achievements[1].hidden);
    EXPECT_FALSE(s.achievements[1].progress.has_value());
    EXPECT_TRUE(s.achievements[1].displayName.empty());

    ASSERT_EQ(s.stats.size(), 3u);
    const offline_steam::StatSchema& i = s.stats[0];
    EXPECT_EQ(i.type, offline_steam::StatType::Int);
    EXPECT_EQ(i.min, -5.0);
    EXPECT_EQ(i.max, 100.0);
    EXPECT_EQ(i.defaultValue, 3.0);
    EXPECT_EQ(i.maxChange, 10.0);
    EXPECT_TRUE(i.incrementOnly);
    const offline_steam::StatSchema& f = s.stats[1];
    EXPECT_EQ(f.type, offline_steam::StatType::Float);
    EXPECT_EQ(f.max, 20.5);
    EXPECT_EQ(f.defaultValue, 0.5);
    EXPECT_EQ(f.maxChange, 2.5);
    EXPECT_FALSE(f.incrementOnly);
    const offline_steam::StatSchema& r = s.stats[2];
    EXPECT_EQ(r.type, offline_steam::StatType::AverageRate);
    EXPECT_EQ(r.window, 3600.0);
    EXPECT_FALSE(r.min.has_value());
    EXPECT_FALSE(r.max.has_value());
    EXPECT_FALSE(r.maxChange.has_value());

    ASSERT_EQ(s.leaderboards.size(), 2u);
    EXPECT_EQ(s.leaderboards[0].name, "Fastest");
    EXPECT_EQ(s.leaderboards[0].sort, offline_steam::LeaderboardSort::Ascending);
    EXPECT_EQ(s.leaderboards[0].display, offline_steam::LeaderboardDisplay::TimeMilliSeconds);
    ASSERT_EQ(s.leaderboards[0].scores.size(), 2u);
    EXPECT_EQ(s.leaderboards[0].scores[0].steamId, 76561198000000002ull);
    EXPECT_EQ(s.leaderboards[0].scores[0].score, INT32_MIN);
    EXPECT_EQ(s.leaderboards[0].scores[1].steamId, 76561198000000003ull);
    EXPECT_EQ(s.leaderboards[0].scores[1].score, INT32_MAX);
    EXPECT_EQ(s.leaderboards[1].sort, offline_steam::LeaderboardSort::Descending);
    EXPECT_EQ(s.leaderboards[1].display, offline_steam::LeaderboardDisplay::TimeSeconds);

    EXPECT_EQ(s.start.achievements, (std::map<std::string, uint32_t>{{"ACH_B", 4294967295u}}));
    EXPECT_EQ(s.start.stats, (std::map<std::string, double>{{"STAT_I", 4}, {"STAT_F", 1.5}}));
    EXPECT_EQ(s.start.leaderboards, (std::map<std::string, int32_t>{{"Fastest", 900}}));

    const offline_steam::Faults& faults = s.faults;
    EXPECT_TRUE(faults.steamNotRunning);
    EXPECT_EQ(faults.statsDelayFrames, 0);
    EXPECT_TRUE(faults.statsNever);
    EXPECT_EQ(faults.statsResult, -3);
    ASSERT_EQ(faults.stores.size(), 2u);
    EXPECT_EQ(faults.stores[0].result, 5);
    EXPECT_EQ(faults.stores[0].fromCall, 3);
    EXPECT_TRUE(faults.stores[0].once);
    EXPECT_EQ(faults.stores[1].result, 84);
    EXPECT_EQ(faults.stores[1].fromCall, 1);
    EXPECT_FALSE(faults.stores[1].once);
    ASSERT_TRUE(faults.storeRateLimit.has_value());
    EXPECT_EQ(faults.storeRateLimit->stores, 10);
    EXPECT_EQ(faults.storeRateLimit->seconds, 60);
    EXPECT_EQ(faults.leaderboardLatencyFrames, 7);
    ASSERT_EQ(faults.leaderboards.size(), 3u);
    EXPECT_EQ(faults.leaderboards[0].call, offline_steam::LeaderboardCall::Upload);
    EXPECT_EQ(faults.leaderboards[0].kind, offline_steam::LeaderboardFaultKind::IoFailure);
    EXPECT_EQ(faults.leaderboards[0].board, "Best");
    EXPECT_TRUE(faults.leaderboards[0].once);
    EXPECT_EQ(faults.leaderboards[1].call, offline_steam::LeaderboardCall::Download);
    EXPECT_EQ(faults.leaderboards[1].kind, offline_steam::LeaderboardFaultKind::NotFound);
    EXPECT_FALSE(faults.leaderboards[1].once);
    EXPECT_EQ(faults.leaderboards[2].call, offline_steam::LeaderboardCall::Find);
    EXPECT_EQ(faults.leaderboards[2].kind, offline_steam::LeaderboardFaultKind::ZeroCallHandle);
    EXPECT_EQ(faults.leaderboards[2].board, "");
    EXPECT_EQ(faults.refusedInterfaces, (std::vector<std::string>{"SteamFriends", "SteamClient"}));

    EXPECT_EQ(s.expect.achievementsUnlocked, (std::vector<std::string>{"ACH_A", "ACH_B"}));
    ASSERT_EQ(s.expect.stats.size(), 2u);
    EXPECT_EQ(s.expect.stats.at("STAT_I").min, 5.0);
    EXPECT_FALSE(s.expect.stats.at("STAT_I").max.has_value());
    EXPECT_EQ(s.expect.stats.at("STAT_F").max, 2.0);
    EXPECT_EQ(s.expect.leaderboards.at("Made By The Game").max, 100.0);
    EXPECT_FALSE(s.expect.leaderboards.at("Made By The Game").min.has_value());
    EXPECT_EQ(s.expect.cleanShutdown, false);
}

TEST(ScenarioReading, AnEmptyObjectKeepsTheModelsDefaults) {
    Scenario s;
    s.appId = 1;  // overwritten by the default
    std::string error;
    ASSERT_TRUE(offline_steam::ParseScenario("{}", "empty.json", &s, &error)) << error;
    const Scenario defaults;
    EXPECT_EQ(s.appId, defaults.appId);
    EXPECT_EQ(s.languages, defaults.languages);
    EXPECT_EQ(s.steamId, defaults.steamId);
    EXPECT_EQ(s.faults.statsDelayFrames, 1);
    EXPECT_EQ(s.faults.statsResult, 1);
    EXPECT_EQ(s.faults.leaderboardLatencyFrames, 1);
    EXPECT_FALSE(s.clock.has_value());
    EXPECT_FALSE(s.expect.cleanShutdown.has_value());
}

TEST(ScenarioReading, ARefusalLeavesTheScenarioAsItWas) {
    Scenario s;
    s.personaName = "kept";
    std::string error;
    EXPECT_FALSE(offline_steam::ParseScenario(R"({"user": {"personaName": "new"}, "clock": -1})",
                                              "game.json", &s, &error));
    EXPECT_EQ(s.personaName, "kept");
    EXPECT_FALSE(error.empty());
}

TEST(ScenarioReading, IntegersMayBeWrittenWithAZeroFraction) {
    // As JSON Schema counts integers: 480.0 is one, 480.5 is not.
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::ParseScenario(R"({"app": {"id": 480.0}, "clock": 1e3})", "g.json",
                                             &s, &error))
        << error;
    EXPECT_EQ(s.appId, 480u);
    EXPECT_EQ(s.clock, 1000u);
    EXPECT_NE(RefusalOf(R"({"app": {"id": 480.5}})"), "");
}

TEST(ScenarioReading, PercentagesOtherUsersAndGlobalStatsReachTheirFields) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::ParseScenario(R"({
  "achievements": [{"name": "ACH_A", "globalPercent": 12.5}, {"name": "ACH_B", "globalPercent": 0},
                   {"name": "ACH_C"}],
  "stats": [{"name": "STAT_I"}, {"name": "STAT_F", "type": "float"}],
  "users": [{"steamId": "76561198000000002", "achievements": {"ACH_A": 1500000000},
             "stats": {"STAT_I": 7, "STAT_F": 0.25}},
            {"steamId": "76561198000000003"}],
  "global": {"stats": {"STAT_I": {"total": 9007199254740992, "history": [3, 2, 1]},
                       "STAT_F": {"total": 0.5}},
             "currentPlayers": 0}
})",
                                             "game.json", &s, &error))
        << error;
    EXPECT_EQ(s.achievements[0].globalPercent, 12.5f);
    EXPECT_EQ(s.achievements[1].globalPercent, 0.0f);
    EXPECT_FALSE(s.achievements[2].globalPercent.has_value());
    EXPECT_EQ(s.achievements[0].icon, "");
    ASSERT_EQ(s.users.size(), 2u);
    EXPECT_EQ(s.users[0].steamId, 76561198000000002ull);
    EXPECT_EQ(s.users[0].achievements, (std::map<std::string, uint32_t>{{"ACH_A", 1500000000u}}));
    EXPECT_EQ(s.users[0].stats, (std::map<std::string, double>{{"STAT_I", 7}, {"STAT_F", 0.25}}));
    EXPECT_TRUE(s.users[1].stats.empty());
    ASSERT_EQ(s.globalStats.size(), 2u);
    // Held in key order.
    EXPECT_EQ(s.globalStats[0].name, "STAT_F");
    EXPECT_EQ(s.globalStats[0].total, 0.5);
    EXPECT_TRUE(s.globalStats[0].history.empty());
    EXPECT_EQ(s.globalStats[1].name, "STAT_I");
    EXPECT_EQ(s.globalStats[1].total, 9007199254740992.0);
    EXPECT_EQ(s.globalStats[1].history, (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(s.currentPlayers, 0);
    Scenario none;
    ASSERT_TRUE(offline_steam::ParseScenario("{}", "game.json", &none, &error));
    EXPECT_FALSE(none.currentPlayers.has_value());
    // Steam gives at most 60 days of history.
    std::string days = "0";
    for (int i = 1; i < 61; ++i) days += ", " + std::to_string(i);
    EXPECT_EQ(RefusalOf(R"({"stats": [{"name": "S"}], "global": {"stats": {"S": {"total": 1,
  "history": [)" + days +
                        "]}}}}"),
              "game.json: line 2: global.stats.S.history: holds 61 days; Steam gives at most 60");
}

// A 2 x 2 RGBA PNG file, whole.
constexpr unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xB6, 0x0D,
    0x24, 0x00, 0x00, 0x00, 0x13, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xF0,
    0x1F, 0x0C, 0x81, 0x34, 0x08, 0x34, 0x00, 0x00, 0x49, 0x49, 0x09, 0x78, 0x9C, 0x51, 0x17, 0x92,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

using ScenarioIcons = FileTest;

TEST_F(ScenarioIcons, AreFoundBesideTheFileThatNamesThemAndStoredResolved) {
    const std::string png(reinterpret_cast<const char*>(kPng), sizeof kPng);
    Write("icons/win.png", png);
    Write("icons/win_gray.png", png);
    Write("parts/more/achievements.json", R"({"achievements": [
  {"name": "ACH_WIN", "icon": "../../icons/win.png", "iconGray": "../../icons/win_gray.png"}]})");
    Write("game.json", R"({"include": ["parts/more/achievements.json"]})");
    Write("alone.json", R"({"achievements": [{"name": "ACH_WIN", "icon": "icons/win.png"}]})");
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(Path("game.json"), &s, &error)) << error;
    ASSERT_EQ(s.achievements.size(), 1u);
    EXPECT_EQ(fs::path(s.achievements[0].icon), fs::absolute(dir_ / "icons" / "win.png"));
    EXPECT_EQ(fs::path(s.achievements[0].iconGray), fs::absolute(dir_ / "icons" / "win_gray.png"));
    // A relative file name of the scenario: relative to where it is.
    fs::current_path(dir_ / "parts");
    ASSERT_TRUE(offline_steam::LoadScenarioFile("../alone.json", &s, &error)) << error;
    EXPECT_EQ(fs::path(s.achievements[0].icon), fs::absolute(dir_ / "icons" / "win.png"));
}

TEST_F(ScenarioIcons, AFileMissingOrNotAPngIsRefused) {
    Write("notes.png", "these are notes, not a picture");
    Write("cut.png", std::string(reinterpret_cast<const char*>(kPng), 20));
    std::string huge(reinterpret_cast<const char*>(kPng), sizeof kPng);
    huge[18] = 0x20;  // 8192 pixels wide
    Write("huge.png", huge);
    fs::create_directories(dir_ / "folder.png");
    auto refusal = [&](const std::string& icon) {
        Write("game.json", "{\"achievements\": [{\"name\": \"A\",\n \"icon\": \"" + icon + "\"}]}");
        Scenario s;
        std::string error;
        EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("game.json"), &s, &error));
        return error;
    };
    const std::string where = Path("game.json") + ": line 2: achievements[0].icon: ";
    EXPECT_EQ(refusal("notes.png"), where +
                                        "\"notes.png\" is not a PNG file (it lacks the PNG "
                                        "signature) (looked for " +
                                        fs::absolute(dir_ / "notes.png").string() + ")");
    EXPECT_EQ(refusal("cut.png"), where +
                                      "\"cut.png\" is not a PNG file that can be read (its "
                                      "header, IHDR, is missing or cut off) (looked for " +
                                      fs::absolute(dir_ / "cut.png").string() + ")");
    EXPECT_EQ(refusal("missing.png"), where + "\"missing.png\" cannot be opened (looked for " +
                                          fs::absolute(dir_ / "missing.png").string() + ")");
    EXPECT_EQ(refusal("folder.png"), where + "\"folder.png\" is not a file (looked for " +
                                         fs::absolute(dir_ / "folder.png").string() + ")");
    EXPECT_NE(refusal("huge.png").find("is 8194 x 2 pixels; an icon may have at most 4096"),
              std::string::npos);
    EXPECT_NE(refusal("").find("achievements[0].icon: must not be empty"), std::string::npos);
}

// ---- refusals -----------------------------------------------------------------

struct RefusalCase {
    const char* what;
    const char* text;
    const char* message;
};

constexpr char kSchemaPrefix[] =
    R"({"stats": [{"name": "S_INT"}, {"name": "S_FLOAT", "type": "float"},
  {"name": "S_RATE", "type": "avgrate"}, {"name": "S_BOUND", "min": 0, "max": 10}],
 "achievements": [{"name": "ACH_X"}], "leaderboards": [{"name": "Board"}],
)";

const RefusalCase kRefusals[] = {
    // Not JSON, or JSON we do not take.
    {"top level not an object", "[\n]",
     "game.json: line 1: top level: must be an object, not a list"},
    {"unknown top-level key", "{\n  \"app\": {},\n  \"apps\": {}\n}",
     "game.json: line 3: apps: unknown key; the top level takes $schema, include, app, user, "
     "friends, clock, "
     "achievements, stats, leaderboards, users, global, start, faults and expect"},
    {"duplicate key", "{\"app\": {\n  \"id\": 1,\n  \"id\": 2}}",
     "game.json: line 3: app.id: duplicate key (also on line 2)"},
    {"duplicate key in a list's object",
     "{\"achievements\": [{\"name\": \"A\"},\n {\"name\": \"B\",\n \"name\": \"C\"}]}",
     "game.json: line 3: achievements[1].name: duplicate key (also on line 2)"},
    {"nesting", "{\"app\": {\"id\":\n[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]}}",
     "game.json: line 2: app.id[0][0][0][0][0][0][0][0][0][0][0][0][0][0]: nested deeper than 16 "
     "levels"},
    {"control characters stay escaped", "{\"a\\nb\": 1}",
     "game.json: line 1: a\\nb: unknown key; the top level takes $schema, include, app, user, "
     "friends, clock, "
     "achievements, stats, leaderboards, users, global, start, faults and expect"},
    // app and user
    {"app.id type", "{\"app\": {\"id\": \"480\"}}",
     "game.json: line 1: app.id: must be an integer from 1 to 4294967295, not a string"},
    {"app.id zero", "{\"app\": {\"id\": 0}}",
     "game.json: line 1: app.id: must be an integer from 1 to 4294967295, not 0"},
    {"app.id too large", "{\"app\": {\"id\": 4294967296}}",
     "game.json: line 1: app.id: must be an integer from 1 to 4294967295, not 4294967296"},
    {"app.id fraction", "{\"app\": {\"id\": 2.5}}",
     "game.json: line 1: app.id: must be an integer from 1 to 4294967295, not 2.5"},
    {"app.language empty", "{\"app\": {\n\"language\": \"\"}}",
     "game.json: line 2: app.language: must not be empty"},
    {"app.languages element", "{\"app\": {\"languages\": [\"english\",\n \"\"]}}",
     "game.json: line 2: app.languages[1]: must not be empty"},
    {"app.languages not a list", "{\"app\": {\"languages\": \"english\"}}",
     "game.json: line 1: app.languages: must be a list, not a string"},
    {"steamId number", "{\"user\": {\"steamId\": 76561197960287930}}",
     "game.json: line 1: user.steamId: must be a string of decimal digits, not a number (a JSON "
     "number cannot hold every 64-bit ID exactly)"},
    {"steamId letters", "{\"user\": {\"steamId\": \"7656x\"}}",
     "game.json: line 1: user.steamId: \"7656x\" holds a character that is not a digit"},
    {"steamId sign", "{\"user\": {\"steamId\": \"-1\"}}",
     "game.json: line 1: user.steamId: \"-1\" holds a character that is not a digit"},
    {"steamId overflow", "{\"user\": {\"steamId\": \"18446744073709551616\"}}",
     "game.json: line 1: user.steamId: \"18446744073709551616\" does not fit in 64 bits"},
    {"loggedOn type", "{\"user\": {\"loggedOn\": 1}}",
     "game.json: line 1: user.loggedOn: must be true or false, not a number"},
    {"clock negative", "{\"clock\": -1}",
     "game.json: line 1: clock: must be an integer from 0 to 4294967295, not -1"},
    // achievements
    {"achievement without a name", "{\"achievements\": [\n  {\"hidden\": true}]}",
     "game.json: line 2: achievements[0]: an achievement needs \"name\""},
    {"achievement name too long",
     "{\"achievements\": [{\"name\": "
     "\"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
     "AAA"
     "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\"}]}",
     "game.json: line 1: achievements[0].name: \"AAAAAAAAAAAAAAAA...\" is 128 bytes; Steam takes "
     "at "
     "most 127"},
    {"duplicate achievement",
     "{\"achievements\": [{\"name\": \"A\"},\n{\"name\": \"B\"},\n{\"name\": \"A\"}]}",
     "game.json: line 3: achievements[2].name: \"A\" is already the name of achievements[0]"},
    {"unknown achievement key", "{\"achievements\": [{\"name\": \"A\",\n \"hiden\": true}]}",
     "game.json: line 2: achievements[0].hiden: unknown key; an achievement takes name, "
     "displayName, description, hidden, progress, icon, iconGray and globalPercent"},
    {"text not a string",
     "{\"achievements\": [{\"name\": \"A\", \"displayName\": {\"english\": 5}}]}",
     "game.json: line 1: achievements[0].displayName.english: must be a string, not a number"},
    {"progress stat unknown",
     "{\"stats\": [{\"name\": \"S\"}],\n\"achievements\": [{\"name\": \"A\",\n  \"progress\": {\n  "
     " "
     " \"stat\": \"STAT_X\", \"min\": 0, \"max\": 5}}]}",
     "game.json: line 4: achievements[0].progress.stat: \"STAT_X\" is not a stat of the schema"},
    {"progress stat avgrate",
     "{\"stats\": [{\"name\": \"S\", \"type\": \"avgrate\"}],\n\"achievements\": [{\"name\": "
     "\"A\", "
     "\"progress\": {\"stat\": \"S\", \"min\": 0, \"max\": 5}}]}",
     "game.json: line 2: achievements[0].progress.stat: \"S\" is an avgrate stat; progress needs "
     "an "
     "int or float stat"},
    {"progress min not below max",
     "{\"achievements\": [{\"name\": \"A\", \"progress\": {\"stat\": \"S\", \"min\": 5,\n \"max\": "
     "5}}]}",
     "game.json: line 2: achievements[0].progress.max: must be greater than min (5)"},
    {"progress without max",
     "{\"achievements\": [{\"name\": \"A\", \"progress\": {\"stat\": \"S\", \"min\": 0}}]}",
     "game.json: line 1: achievements[0].progress: progress needs \"max\""},
    // stats
    {"stat type", "{\"stats\": [{\"name\": \"S\", \"type\": \"double\"}]}",
     "game.json: line 1: stats[0].type: must be \"int\", \"float\" or \"avgrate\", not \"double\""},
    {"int stat fraction", "{\"stats\": [{\"name\": \"S\", \"min\": 1.5}]}",
     "game.json: line 1: stats[0].min: must be an integer from -2147483648 to 2147483647, not 1.5"},
    {"int stat beyond int32",
     "{\"stats\": [{\"name\": \"S\", \"type\": \"int\", \"max\": 2147483648}]}",
     "game.json: line 1: stats[0].max: must be an integer from -2147483648 to 2147483647, not "
     "2147483648"},
    {"stat max below min",
     "{\"stats\": [{\"name\": \"S\", \"type\": \"float\", \"min\": 1,\n \"max\": 0.5}]}",
     "game.json: line 2: stats[0].max: must not be less than min (1)"},
    {"stat default above max", "{\"stats\": [{\"name\": \"S\", \"max\": 5,\n\"default\": 6}]}",
     "game.json: line 2: stats[0].default: must not be greater than max (5)"},
    {"stat default below min", "{\"stats\": [{\"name\": \"S\", \"min\": 1, \"default\": 0}]}",
     "game.json: line 1: stats[0].default: must not be less than min (1)"},
    {"stat maxChange zero", "{\"stats\": [{\"name\": \"S\", \"maxChange\": 0}]}",
     "game.json: line 1: stats[0].maxChange: must be greater than 0"},
    {"window on an int stat", "{\"stats\": [{\"name\": \"S\", \"window\": 10}]}",
     "game.json: line 1: stats[0].window: only an avgrate stat has a window"},
    {"window negative", "{\"stats\": [{\"name\": \"S\", \"type\": \"avgrate\", \"window\": -1}]}",
     "game.json: line 1: stats[0].window: must not be negative"},
    {"duplicate stat", "{\"stats\": [{\"name\": \"S\"},\n {\"name\": \"S\"}]}",
     "game.json: line 2: stats[1].name: \"S\" is already the name of stats[0]"},
    // leaderboards
    {"duplicate board", "{\"leaderboards\": [{\"name\": \"B\"}, {\"name\": \"B\"}]}",
     "game.json: line 1: leaderboards[1].name: \"B\" is already the name of leaderboards[0]"},
    {"board sort", "{\"leaderboards\": [{\"name\": \"B\", \"sort\": \"none\"}]}",
     "game.json: line 1: leaderboards[0].sort: must be \"ascending\" or \"descending\", not "
     "\"none\""},
    {"board display", "{\"leaderboards\": [{\"name\": \"B\", \"display\": \"minutes\"}]}",
     "game.json: line 1: leaderboards[0].display: must be \"numeric\", \"seconds\" or "
     "\"milliseconds\", not \"minutes\""},
    {"two scores of one user",
     "{\"leaderboards\": [{\"name\": \"B\", \"scores\": [\n{\"steamId\": \"5\", \"score\": 1},\n"
     "{\"steamId\": \"05\", \"score\": 2}]}]}",
     "game.json: line 3: leaderboards[0].scores[1].steamId: this user already has a score in "
     "leaderboards[0].scores[0]"},
    {"score beyond int32",
     "{\"leaderboards\": [{\"name\": \"B\", \"scores\": [{\"steamId\": \"5\", \"score\": "
     "-2147483649}]}]}",
     "game.json: line 1: leaderboards[0].scores[0].score: must be an integer from -2147483648 to "
     "2147483647, not -2147483649"},
    // start, against the schema
    {"start unknown achievement", "{\"start\": {\"achievements\": {\n\"ACH_Y\": 5}}}",
     "game.json: line 2: start.achievements.ACH_Y: \"ACH_Y\" is not an achievement of the schema"},
    {"start unknown stat", "{\"start\": {\"stats\": {\"S\": 5}}}",
     "game.json: line 1: start.stats.S: \"S\" is not a stat of the schema"},
    {"start unknown board", "{\"start\": {\"leaderboards\": {\"Nowhere\": 5}}}",
     "game.json: line 1: start.leaderboards.Nowhere: \"Nowhere\" is not a leaderboard of the "
     "schema"},
    {"start unlock time negative",
     "{\"achievements\": [{\"name\": \"A\"}], \"start\": {\"achievements\": {\"A\": -5}}}",
     "game.json: line 1: start.achievements.A: must be an integer from 0 to 4294967295, not -5"},
    // faults
    {"faults.stats.delayFrames", "{\"faults\": {\"stats\": {\"delayFrames\": -1}}}",
     "game.json: line 1: faults.stats.delayFrames: must be an integer from 0 to 2147483647, not "
     "-1"},
    {"store fault without result", "{\"faults\": {\"stores\": [{\"fromCall\": 2}]}}",
     "game.json: line 1: faults.stores[0]: a store fault needs \"result\""},
    {"store fault fromCall", "{\"faults\": {\"stores\": [{\"result\": 2, \"fromCall\": 0}]}}",
     "game.json: line 1: faults.stores[0].fromCall: must be an integer from 1 to 2147483647, not "
     "0"},
    {"store fault times", "{\"faults\": {\"stores\": [{\"result\": 2, \"times\": \"twice\"}]}}",
     "game.json: line 1: faults.stores[0].times: must be \"once\" or \"always\", not \"twice\""},
    {"rate limit half given", "{\"faults\": {\"storeRateLimit\": {\"stores\": 3}}}",
     "game.json: line 1: faults.storeRateLimit: a rate limit needs \"seconds\""},
    {"board fault call",
     "{\"faults\": {\"leaderboards\": {\"faults\": [{\"call\": \"fetch\", \"fault\": "
     "\"notFound\"}]}}}",
     "game.json: line 1: faults.leaderboards.faults[0].call: must be \"find\", \"upload\" or "
     "\"download\", not \"fetch\""},
    {"board fault empty board",
     "{\"faults\": {\"leaderboards\": {\"faults\": [{\"call\": \"find\", \"fault\": \"notFound\", "
     "\"board\": \"\"}]}}}",
     "game.json: line 1: faults.leaderboards.faults[0].board: must not be empty"},
    {"refused interface unknown", "{\"faults\": {\"refuseInterfaces\": [\"SteamRemoteStorage\"]}}",
     "game.json: line 1: faults.refuseInterfaces[0]: must be \"SteamUser\", \"SteamUserStats\", "
     "\"SteamUtils\", \"SteamApps\", \"SteamFriends\" or \"SteamClient\", not "
     "\"SteamRemoteStorage\""},
    {"refused interface twice",
     "{\"faults\": {\"refuseInterfaces\": [\"SteamUser\",\n\"SteamUser\"]}}",
     "game.json: line 2: faults.refuseInterfaces[1]: \"SteamUser\" is already listed in "
     "faults.refuseInterfaces[0]"},
    // expect
    {"expect unknown achievement", "{\"expect\": {\"achievements\": [\n\"ACH_Z\"]}}",
     "game.json: line 2: expect.achievements[0]: \"ACH_Z\" is not an achievement of the schema"},
    {"expect achievement twice",
     "{\"achievements\": [{\"name\": \"A\"}], \"expect\": {\"achievements\": [\"A\", \"A\"]}}",
     "game.json: line 1: expect.achievements[1]: \"A\" is already listed in "
     "expect.achievements[0]"},
    {"expect unknown stat", "{\"expect\": {\"stats\": {\"S\": {\"min\": 1}}}}",
     "game.json: line 1: expect.stats.S: \"S\" is not a stat of the schema"},
    {"expect bounds empty", "{\"expect\": {\"leaderboards\": {\"B\": {}}}}",
     "game.json: line 1: expect.leaderboards.B: needs \"min\", \"max\" or both"},
    {"expect bounds reversed",
     "{\"expect\": {\"leaderboards\": {\"B\": {\"min\": 3, \"max\": 2}}}}",
     "game.json: line 1: expect.leaderboards.B.max: must not be less than min (3)"},
    {"cleanShutdown type", "{\"expect\": {\"cleanShutdown\": \"yes\"}}",
     "game.json: line 1: expect.cleanShutdown: must be true or false, not a string"},
    // global percentages, other users, global stats
    {"percentage above 100", "{\"achievements\": [{\"name\": \"A\",\n \"globalPercent\": 101}]}",
     "game.json: line 2: achievements[0].globalPercent: must be a number from 0 to 100, not 101"},
    {"percentage negative", "{\"achievements\": [{\"name\": \"A\", \"globalPercent\": -0.5}]}",
     "game.json: line 1: achievements[0].globalPercent: must be a number from 0 to 100, not -0.5"},
    {"unknown key of a user", "{\"users\": [{\"steamId\": \"5\",\n \"stat\": {}}]}",
     "game.json: line 2: users[0].stat: unknown key; a user of \"users\" takes steamId, "
     "achievements and stats"},
    {"user without an ID", "{\"users\": [{\"stats\": {}}]}",
     "game.json: line 1: users[0]: a user needs \"steamId\""},
    {"user listed twice", "{\"users\": [{\"steamId\": \"5\"},\n{\"steamId\": \"05\"}]}",
     "game.json: line 2: users[1].steamId: this user is already listed in users[0]"},
    {"user with the user's own ID",
     "{\"user\": {\"steamId\": \"76561197960000009\"},\n\"users\": [{\"steamId\": "
     "\"76561197960000009\"}]}",
     "game.json: line 2: users[0].steamId: is the user's own ID (user.steamId); the user's stats "
     "are the start state's"},
    {"user with the default user's ID", "{\"users\": [{\"steamId\": \"76561197960287930\"}]}",
     "game.json: line 1: users[0].steamId: is the user's own ID (user.steamId); the user's stats "
     "are the start state's"},
    {"user's unknown achievement",
     "{\"users\": [{\"steamId\": \"5\", \"achievements\": {\"ACH_Q\": 1}}]}",
     "game.json: line 1: users[0].achievements.ACH_Q: \"ACH_Q\" is not an achievement of the "
     "schema"},
    {"user's stat of another type",
     "{\"stats\": [{\"name\": \"S\"}], \"users\": [{\"steamId\": \"5\", \"stats\": {\"S\": "
     "1.5}}]}",
     "game.json: line 1: users[0].stats.S: must be an integer from -2147483648 to 2147483647, not "
     "1.5"},
    {"unknown key of global", "{\"global\": {\"players\": 5}}",
     "game.json: line 1: global.players: unknown key; global takes stats and currentPlayers"},
    {"currentPlayers negative", "{\"global\": {\"currentPlayers\": -1}}",
     "game.json: line 1: global.currentPlayers: must be an integer from 0 to 2147483647, not -1"},
    {"global stat unknown", "{\"global\": {\"stats\": {\"S\": {\"total\": 1}}}}",
     "game.json: line 1: global.stats.S: \"S\" is not a stat of the schema"},
    {"global stat avgrate",
     "{\"stats\": [{\"name\": \"S\", \"type\": \"avgrate\"}], \"global\": {\"stats\": {\"S\": "
     "{\"total\": 1}}}}",
     "game.json: line 1: global.stats.S: \"S\" is an avgrate stat; Steam aggregates only int and "
     "float stats"},
    {"global stat without total",
     "{\"stats\": [{\"name\": \"S\"}], \"global\": {\"stats\": {\"S\": {\"history\": []}}}}",
     "game.json: line 1: global.stats.S: a global stat needs \"total\""},
    {"global int stat fraction",
     "{\"stats\": [{\"name\": \"S\"}], \"global\": {\"stats\": {\"S\": {\"total\": 1,\n "
     "\"history\": [2, 2.5]}}}}",
     "game.json: line 2: global.stats.S.history[1]: must be an integer from -9007199254740992 to "
     "9007199254740992, not 2.5"},
};

TEST(ScenarioRefusals, EachNamesFileLineAndPath) {
    for (const RefusalCase& c : kRefusals)
        EXPECT_EQ(RefusalOf(c.text), c.message) << "case: " << c.what;
}

// Refusals that depend on a stat's type and bounds, against a fixed schema.
TEST(ScenarioRefusals, StartValuesMustFitTheirStat) {
    const std::string prefix = kSchemaPrefix;
    EXPECT_EQ(RefusalOf(prefix + R"("start": {"stats": {"S_INT": 1.5}}})"),
              "game.json: line 4: start.stats.S_INT: must be an integer from -2147483648 to "
              "2147483647, not 1.5");
    EXPECT_EQ(
        RefusalOf(prefix + R"("start": {"stats": {"S_BOUND": 11}}})"),
        "game.json: line 4: start.stats.S_BOUND: must not be greater than the stat's max (10)");
    EXPECT_EQ(RefusalOf(prefix + R"("start": {"stats": {"S_BOUND": -1}}})"),
              "game.json: line 4: start.stats.S_BOUND: must not be less than the stat's min (0)");
    EXPECT_EQ(RefusalOf(prefix + R"("start": {"stats": {"S_FLOAT": 1.5, "S_RATE": 0.25,
       "S_INT": 2147483647, "S_BOUND": 10}, "achievements": {"ACH_X": 0},
       "leaderboards": {"Board": -3}},
       "expect": {"achievements": ["ACH_X"], "stats": {"S_RATE": {"max": 1}},
                  "leaderboards": {"Any board at all": {"min": 0}}}})"),
              "");
}

TEST(ScenarioRefusals, SyntaxErrorsGiveTheirLine) {
    // nlohmann's own reason follows; we hold its position to the right line.
    const std::pair<const char*, const char*> cases[] = {
        {"{\n  \"app\": {\n    \"id\": 480,\n  }\n}", "game.json: line 4: syntax error: "},
        {"{\n// a comment\n}", "game.json: line 2: syntax error: "},
        {"{\"app\": {\"id\": 480}}\n\n{}", "game.json: line 3: syntax error: "},
        {"{\"a\": \"\xC3\x28\"}", "game.json: line 1: syntax error: "},
        {"{\n\n\"clock\": 1e400}", "game.json: line 3: syntax error: "},
        {"", "game.json: line 1: syntax error: "},
        {"{\"name\": \"unterminated\n\"}", "game.json: line 1: syntax error: "},
    };
    for (const auto& [text, prefix] : cases) {
        const std::string message = RefusalOf(text);
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_GT(message.size(), std::string(prefix).size()) << "no reason: " << message;
    }
    // nlohmann quotes what it read; a byte that is not UTF-8 comes out escaped,
    // so the message stays text that a journal or terminal can take.
    const std::string quoted = RefusalOf("{\"a\": \"\xC3\x28\"}");
    EXPECT_NE(quoted.find("\\xC3("), std::string::npos) << quoted;
}

// ---- the published schema -------------------------------------------------------

// The keys each object of the format takes, as the loader's unknown-key
// refusal lists them.
std::set<std::string> LoaderKeys(const std::string& text) {
    const std::string message = RefusalOf(text);
    const std::size_t takes = message.find(" takes ");
    if (takes == std::string::npos) return {"(no list in: " + message + ")"};
    std::string list = message.substr(takes + 7);
    std::set<std::string> keys;
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find_first_of(", ", at);
        if (end == std::string::npos) end = list.size();
        const std::string word = list.substr(at, end - at);
        if (!word.empty() && word != "and") keys.insert(word);
        at = end + 1;
    }
    return keys;
}

TEST(PublishedSchema, NamesTheKeysTheLoaderTakes) {
    std::ifstream in(STEAMBRIDGE_SCENARIO_SCHEMA);
    const nlohmann::json schema = nlohmann::json::parse(in);
    ASSERT_EQ(schema.at("$schema"), "https://json-schema.org/draft/2020-12/schema");
    auto resolve = [&](const nlohmann::json& node) -> const nlohmann::json& {
        if (!node.contains("$ref")) return node;
        const std::string ref = node.at("$ref");  // "#/$defs/name"
        return schema.at("$defs").at(ref.substr(ref.rfind('/') + 1));
    };
    auto keysAt = [&](std::initializer_list<const char*> pointer) {
        const nlohmann::json* node = &schema;
        for (const char* step : pointer) {
            node = &resolve(*node);
            node =
                std::string(step) == "[]" ? &node->at("items") : &node->at("properties").at(step);
            if (std::string(step) == "*") node = &node->at("additionalProperties");
        }
        node = &resolve(*node);
        std::set<std::string> keys;
        for (auto item = node->at("properties").begin(); item != node->at("properties").end();
             ++item) {
            keys.insert(item.key());
            EXPECT_TRUE(item.value().contains("description"))
                << item.key() << " has no description";
        }
        EXPECT_EQ(node->value("additionalProperties", true), false);
        return keys;
    };
    EXPECT_EQ(keysAt({}), LoaderKeys(R"({"?": 0})"));
    EXPECT_EQ(keysAt({"app"}), LoaderKeys(R"({"app": {"?": 0}})"));
    EXPECT_EQ(keysAt({"user"}), LoaderKeys(R"({"user": {"?": 0}})"));
    EXPECT_EQ(keysAt({"app", "dlc", "[]"}), LoaderKeys(R"({"app": {"dlc": [{"?": 0}]}})"));
    EXPECT_EQ(keysAt({"friends", "[]"}), LoaderKeys(R"({"friends": [{"?": 0}]})"));
    EXPECT_EQ(keysAt({"achievements", "[]"}), LoaderKeys(R"({"achievements": [{"?": 0}]})"));
    EXPECT_EQ(keysAt({"achievements", "[]", "progress"}),
              LoaderKeys(R"({"achievements": [{"name": "A", "progress": {"?": 0}}]})"));
    EXPECT_EQ(keysAt({"stats", "[]"}), LoaderKeys(R"({"stats": [{"?": 0}]})"));
    EXPECT_EQ(keysAt({"leaderboards", "[]"}), LoaderKeys(R"({"leaderboards": [{"?": 0}]})"));
    EXPECT_EQ(keysAt({"leaderboards", "[]", "scores", "[]"}),
              LoaderKeys(R"({"leaderboards": [{"name": "B", "scores": [{"?": 0}]}]})"));
    EXPECT_EQ(keysAt({"users", "[]"}), LoaderKeys(R"({"users": [{"?": 0}]})"));
    EXPECT_EQ(keysAt({"global"}), LoaderKeys(R"({"global": {"?": 0}})"));
    EXPECT_EQ(keysAt({"start"}), LoaderKeys(R"({"start": {"?": 0}})"));
    EXPECT_EQ(keysAt({"faults"}), LoaderKeys(R"({"faults": {"?": 0}})"));
    EXPECT_EQ(keysAt({"faults", "stats"}), LoaderKeys(R"({"faults": {"stats": {"?": 0}}})"));
    EXPECT_EQ(keysAt({"faults", "stores", "[]"}),
              LoaderKeys(R"({"faults": {"stores": [{"?": 0}]}})"));
    EXPECT_EQ(keysAt({"faults", "storeRateLimit"}),
              LoaderKeys(R"({"faults": {"storeRateLimit": {"?": 0}}})"));
    EXPECT_EQ(keysAt({"faults", "leaderboards"}),
              LoaderKeys(R"({"faults": {"leaderboards": {"?": 0}}})"));
    EXPECT_EQ(keysAt({"faults", "leaderboards", "faults", "[]"}),
              LoaderKeys(R"({"faults": {"leaderboards": {"faults": [{"?": 0}]}}})"));
    EXPECT_EQ(keysAt({"expect"}), LoaderKeys(R"({"expect": {"?": 0}})"));
}

// ---- the app's DLC, the user and friends ------------------------------------------

TEST(AppUserAndFriends, EveryKeyReachesItsField) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::ParseScenario(R"({
  "app": {"id": 2000, "buildId": 2147483647, "betaName": "beta", "installDir": "/games/g",
          "earliestPurchase": 4294967295, "freeWeekend": true, "vacBanned": true,
          "dlc": [{"id": 2001, "name": "Soundtrack"},
                  {"id": 2002, "name": "Expansion", "installed": false},
                  {"id": 2003, "name": "Not Bought", "owned": false},
                  {"id": 2004, "name": "Not Bought Either", "owned": false, "installed": false}]},
  "user": {"steamId": "76561197960287930", "steamLevel": 42, "uiLanguage": "koreana",
           "ipCountry": "DE", "onSteamDeck": true, "bigPicture": true, "overlayEnabled": true},
  "friends": [{"steamId": "76561197960000001", "personaName": "Ann"},
              {"steamId": "76561197960000002", "personaName": "Bob", "personaState": "snooze"},
              {"steamId": "76561197960000003", "personaName": "Cy",
               "personaState": "lookingToPlay"}]
})",
                                             "g.json", &s, &error))
        << error;
    EXPECT_EQ(s.buildId, 2147483647u);
    EXPECT_EQ(s.betaName, "beta");
    EXPECT_EQ(s.installDir, "/games/g");
    EXPECT_EQ(s.purchaseTime, 4294967295u);
    EXPECT_TRUE(s.freeWeekend);
    EXPECT_TRUE(s.vacBanned);
    ASSERT_EQ(s.dlc.size(), 4u);
    EXPECT_EQ(s.dlc[0].appId, 2001u);
    EXPECT_EQ(s.dlc[0].name, "Soundtrack");
    EXPECT_TRUE(s.dlc[0].owned);
    EXPECT_TRUE(s.dlc[0].installed);
    EXPECT_TRUE(s.dlc[1].owned);
    EXPECT_FALSE(s.dlc[1].installed);
    // Not owned: not installed unless said (and then refused, below).
    EXPECT_FALSE(s.dlc[2].owned);
    EXPECT_FALSE(s.dlc[2].installed);
    EXPECT_FALSE(s.dlc[3].installed);
    EXPECT_EQ(s.steamLevel, 42);
    EXPECT_EQ(s.uiLanguage, "koreana");
    EXPECT_EQ(s.ipCountry, "DE");
    EXPECT_TRUE(s.onSteamDeck);
    EXPECT_TRUE(s.bigPicture);
    EXPECT_TRUE(s.overlayEnabled);
    ASSERT_EQ(s.friends.size(), 3u);
    EXPECT_EQ(s.friends[0].steamId, 76561197960000001ull);
    EXPECT_EQ(s.friends[0].personaName, "Ann");
    EXPECT_EQ(s.friends[0].personaState, offline_steam::PersonaState::Online);
    EXPECT_EQ(s.friends[1].personaState, offline_steam::PersonaState::Snooze);
    EXPECT_EQ(s.friends[2].personaState, offline_steam::PersonaState::LookingToPlay);

    // Without them: no DLC, no friends, the default branch, Steam's defaults.
    ASSERT_TRUE(offline_steam::ParseScenario("{}", "g.json", &s, &error)) << error;
    EXPECT_TRUE(s.dlc.empty());
    EXPECT_TRUE(s.friends.empty());
    EXPECT_EQ(s.betaName, "");
    EXPECT_EQ(s.installDir, "");
    EXPECT_EQ(s.uiLanguage, "english");
    EXPECT_EQ(s.ipCountry, "US");
    EXPECT_FALSE(s.overlayEnabled);
}

const RefusalCase kAppUserFriendRefusals[] = {
    {"unknown app key", "{\"app\": {\"dlcs\": []}}",
     "game.json: line 1: app.dlcs: unknown key; app takes id, language, languages, dlc, buildId, "
     "betaName, installDir, earliestPurchase, freeWeekend and vacBanned"},
    {"unknown user key", "{\"user\": {\"steamlevel\": 3}}",
     "game.json: line 1: user.steamlevel: unknown key; user takes steamId, loggedOn, "
     "personaName, steamLevel, uiLanguage, ipCountry, onSteamDeck, bigPicture and "
     "overlayEnabled"},
    {"unknown DLC key", "{\"app\": {\"dlc\": [{\"id\": 5, \"name\": \"D\", \"own\": true}]}}",
     "game.json: line 1: app.dlc[0].own: unknown key; a DLC takes id, name, owned and "
     "installed"},
    {"DLC without a name", "{\"app\": {\"dlc\": [{\"id\": 5}]}}",
     "game.json: line 1: app.dlc[0]: a DLC needs \"name\""},
    {"duplicate DLC",
     "{\"app\": {\"dlc\": [{\"id\": 5, \"name\": \"A\"},\n {\"id\": 5, \"name\": \"B\"}]}}",
     "game.json: line 2: app.dlc[1].id: 5 is already the ID of app.dlc[0]"},
    {"DLC with the game's own ID",
     "{\"app\": {\"dlc\": [\n{\"id\": 2000, \"name\": \"A\"}], \"id\": 2000}}",
     "game.json: line 2: app.dlc[0].id: 2000 is the game's own app ID"},
    {"DLC with the default app ID", "{\"app\": {\"dlc\": [{\"id\": 480, \"name\": \"A\"}]}}",
     "game.json: line 1: app.dlc[0].id: 480 is the game's own app ID"},
    {"DLC installed but not owned",
     "{\"app\": {\"dlc\": [{\"id\": 5, \"name\": \"A\", \"owned\": false,\n \"installed\": "
     "true}]}}",
     "game.json: line 2: app.dlc[0].installed: a DLC the user does not own cannot be installed "
     "(\"owned\" is false)"},
    {"buildId beyond int", "{\"app\": {\"buildId\": 2147483648}}",
     "game.json: line 1: app.buildId: must be an integer from 0 to 2147483647, not 2147483648"},
    {"betaName public", "{\"app\": {\"betaName\": \"public\"}}",
     "game.json: line 1: app.betaName: \"public\" is Steam's default branch, on which "
     "GetCurrentBetaName answers false: leave betaName out"},
    {"steamLevel negative", "{\"user\": {\"steamLevel\": -1}}",
     "game.json: line 1: user.steamLevel: must be an integer from 0 to 2147483647, not -1"},
    {"ipCountry lowercase", "{\"user\": {\"ipCountry\": \"us\"}}",
     "game.json: line 1: user.ipCountry: must be two uppercase letters (an ISO 3166-1 code such "
     "as \"US\"), not \"us\""},
    {"ipCountry three letters", "{\"user\": {\"ipCountry\": \"USA\"}}",
     "game.json: line 1: user.ipCountry: must be two uppercase letters (an ISO 3166-1 code such "
     "as \"US\"), not \"USA\""},
    {"uiLanguage empty", "{\"user\": {\"uiLanguage\": \"\"}}",
     "game.json: line 1: user.uiLanguage: must not be empty"},
    {"friend with the user's own ID",
     "{\"user\": {\"steamId\": \"76561197960287931\"},\n \"friends\": [\n{\"steamId\": "
     "\"76561197960287931\", \"personaName\": \"Me\"}]}",
     "game.json: line 3: friends[0].steamId: is the user's own Steam ID (user.steamId)"},
    {"friend with the default user's ID",
     "{\"friends\": [{\"steamId\": \"76561197960287930\", \"personaName\": \"Me\"}]}",
     "game.json: line 1: friends[0].steamId: is the user's own Steam ID (user.steamId)"},
    {"duplicate friend",
     "{\"friends\": [{\"steamId\": \"5\", \"personaName\": \"A\"},\n{\"steamId\": \"05\", "
     "\"personaName\": \"B\"}]}",
     "game.json: line 2: friends[1].steamId: this user is already friends[0]"},
    {"friend without a name", "{\"friends\": [{\"steamId\": \"5\"}]}",
     "game.json: line 1: friends[0]: a friend needs \"personaName\""},
    {"friend with an empty name", "{\"friends\": [{\"steamId\": \"5\", \"personaName\": \"\"}]}",
     "game.json: line 1: friends[0].personaName: must not be empty"},
    {"friend's state",
     "{\"friends\": [{\"steamId\": \"5\", \"personaName\": \"A\", \"personaState\": "
     "\"invisible\"}]}",
     "game.json: line 1: friends[0].personaState: must be \"offline\", \"online\", \"busy\", "
     "\"away\", \"snooze\", \"lookingToTrade\" or \"lookingToPlay\", not \"invisible\""},
    {"friends not a list", "{\"friends\": {}}",
     "game.json: line 1: friends: must be a list, not an object"},
};

TEST(AppUserAndFriends, RefusalsNameFileLineAndPath) {
    for (const RefusalCase& c : kAppUserFriendRefusals)
        EXPECT_EQ(RefusalOf(c.text), c.message) << "case: " << c.what;
}

// ---- includes -----------------------------------------------------------------

using ScenarioIncludes = FileTest;

TEST_F(ScenarioIncludes, ListsAreReplacedAndObjectsMergedFieldByField) {
    Write("base.json", R"({
  "app": {"id": 111, "language": "french"},
  "achievements": [{"name": "ACH_BASE_1"}, {"name": "ACH_BASE_2"}],
  "stats": [{"name": "STAT_BASE"}],
  "faults": {"steamNotRunning": true, "stats": {"delayFrames": 9, "result": 3}},
  "clock": 5
})");
    Write("more/middle.json", R"({"include": ["../base.json"], "app": {"id": 222}, "clock": 6})");
    Write("main.json", R"({
  "include": ["more/middle.json"],
  "app": {"language": "german"},
  "achievements": [{"name": "ACH_MAIN", "progress": {"stat": "STAT_BASE", "min": 0, "max": 3}}],
  "faults": {"stats": {"never": true}},
  "start": {"stats": {"STAT_BASE": 2}, "achievements": {"ACH_MAIN": 10}}
})");
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error)) << error;
    EXPECT_EQ(s.appId, 222u);         // the middle file's field over the base's
    EXPECT_EQ(s.language, "german");  // the main file's, beside it
    EXPECT_EQ(s.clock, 6u);
    ASSERT_EQ(s.achievements.size(), 1u);  // the main list replaces the base's whole
    EXPECT_EQ(s.achievements[0].name, "ACH_MAIN");
    ASSERT_EQ(s.stats.size(), 1u);  // kept from the base
    EXPECT_TRUE(s.faults.steamNotRunning);
    // faults.stats is one field: replaced, not merged with the base's.
    EXPECT_TRUE(s.faults.statsNever);
    EXPECT_EQ(s.faults.statsDelayFrames, 1);
    EXPECT_EQ(s.faults.statsResult, 1);
    EXPECT_EQ(s.start.stats.at("STAT_BASE"), 2.0);
}

// friends is a list (replaced whole); dlc is one field of app, beside its id;
// the own-ID checks see the merged app and user.
TEST_F(ScenarioIncludes, FriendsAndDlcAreReplacedWholeAndCheckedAfterMerging) {
    Write("base.json", R"({
  "app": {"id": 3000, "buildId": 7, "dlc": [{"id": 3001, "name": "Old"}]},
  "user": {"steamId": "76561197960000009", "steamLevel": 5},
  "friends": [{"steamId": "76561197960000001", "personaName": "Ann"},
              {"steamId": "76561197960000002", "personaName": "Bob"}]
})");
    Write("main.json", R"({"include": ["base.json"],
  "app": {"dlc": [{"id": 3002, "name": "New"}]}, "user": {"ipCountry": "FR"},
  "friends": [{"steamId": "76561197960000003", "personaName": "Cy"}]})");
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error)) << error;
    EXPECT_EQ(s.appId, 3000u);
    EXPECT_EQ(s.buildId, 7u);
    ASSERT_EQ(s.dlc.size(), 1u);
    EXPECT_EQ(s.dlc[0].appId, 3002u);
    EXPECT_EQ(s.steamLevel, 5);
    EXPECT_EQ(s.ipCountry, "FR");
    ASSERT_EQ(s.friends.size(), 1u);
    EXPECT_EQ(s.friends[0].personaName, "Cy");

    // The game's own ID and the user's own come from the base file.
    Write("main.json",
          "{\"include\": [\"base.json\"],\n"
          "  \"app\": {\"dlc\": [{\"id\": 3000, \"name\": \"Self\"}]}}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error));
    EXPECT_EQ(error, Path("main.json") + ": line 2: app.dlc[0].id: 3000 is the game's own app ID");
    Write("main.json",
          "{\"include\": [\"base.json\"],\n"
          "  \"friends\": [{\"steamId\": \"76561197960000009\", \"personaName\": \"Me\"}]}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error));
    EXPECT_EQ(error, Path("main.json") +
                         ": line 2: friends[0].steamId: is the user's own Steam ID (user.steamId)");
}

TEST_F(ScenarioIncludes, GlobalIsMergedFieldByFieldAndUsersWhole) {
    Write("base.json", R"({
  "stats": [{"name": "STAT_KILLS"}],
  "users": [{"steamId": "5"}, {"steamId": "6"}],
  "global": {"stats": {"STAT_KILLS": {"total": 10}}, "currentPlayers": 5}
})");
    Write("main.json", R"({"include": ["base.json"], "users": [{"steamId": "7"}],
  "global": {"currentPlayers": 7}})");
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error)) << error;
    ASSERT_EQ(s.users.size(), 1u);
    EXPECT_EQ(s.users[0].steamId, 7u);
    EXPECT_EQ(s.currentPlayers, 7);
    ASSERT_EQ(s.globalStats.size(), 1u);
    EXPECT_EQ(s.globalStats[0].total, 10.0);
}

TEST_F(ScenarioIncludes, LaterIncludesWinAndNamesAreCheckedAfterMerging) {
    Write("a.json", R"({"achievements": [{"name": "ACH_A"}], "user": {"personaName": "A"}})");
    Write("b.json", R"({"achievements": [{"name": "ACH_B"}]})");
    Write("main.json",
          R"({"include": ["a.json", "b.json"], "expect": {"achievements": ["ACH_B"]}})");
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error)) << error;
    ASSERT_EQ(s.achievements.size(), 1u);
    EXPECT_EQ(s.achievements[0].name, "ACH_B");
    EXPECT_EQ(s.personaName, "A");

    // ACH_A was replaced by b.json's list, so main's expectation names nothing.
    Write("main.json",
          "{\"include\": [\"a.json\", \"b.json\"],\n"
          "  \"expect\": {\"achievements\": [\"ACH_A\"]}}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error));
    EXPECT_EQ(error, Path("main.json") +
                         ": line 2: expect.achievements[0]: \"ACH_A\" is not an achievement of "
                         "the schema");
}

TEST_F(ScenarioIncludes, ARefusalNamesTheFileTheValueCameFrom) {
    // The progress link is in base.json; the stats that break it, in main.json.
    Write("base.json",
          "{\"achievements\": [{\"name\": \"A\",\n"
          "  \"progress\": {\"stat\": \"S\", \"min\": 0, \"max\": 1}}],\n"
          "  \"stats\": [{\"name\": \"S\"}]}");
    Write("main.json", R"({"include": ["base.json"], "stats": [{"name": "T"}]})");
    Scenario s;
    std::string error;
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error));
    EXPECT_EQ(error,
              Path("base.json") +
                  ": line 2: achievements[0].progress.stat: \"S\" is not a stat of the schema");

    // A value that a later file replaces is still held to the rules.
    Write("base.json", "{\n\"app\": {\"id\": \"480\"}}");
    Write("main.json", R"({"include": ["base.json"], "app": {"id": 480}})");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("main.json"), &s, &error));
    EXPECT_EQ(error, Path("base.json") +
                         ": line 2: app.id: must be an integer from 1 to 4294967295, not a string");
}

TEST_F(ScenarioIncludes, CyclesDepthAndMissingFilesAreRefused) {
    Scenario s;
    std::string error;
    Write("self.json", "{\"include\": [\"self.json\"]}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("self.json"), &s, &error));
    EXPECT_EQ(error, Path("self.json") + ": line 1: include[0]: include cycle: " +
                         Path("self.json") + " -> " + Path("self.json"));

    Write("a.json", "{\"include\": [\"b.json\"]}");
    Write("b.json", "{\n  \"include\": [\"sub/../a.json\"]}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("a.json"), &s, &error));
    EXPECT_EQ(error, Path("b.json") + ": line 2: include[0]: include cycle: " + Path("a.json") +
                         " -> " + Path("b.json") + " -> " + Path("sub/../a.json"));

    // The same file twice side by side is no cycle.
    Write("leaf.json", "{\"clock\": 3}");
    Write("twice.json", "{\"include\": [\"leaf.json\", \"leaf.json\"]}");
    EXPECT_TRUE(offline_steam::LoadScenarioFile(Path("twice.json"), &s, &error)) << error;

    // level0 includes level1 ... up to level<deepest>.
    auto chain = [&](int deepest) {
        for (int i = 0; i < deepest; ++i)
            Write("level" + std::to_string(i) + ".json",
                  "{\"include\": [\"level" + std::to_string(i + 1) + ".json\"]}");
        Write("level" + std::to_string(deepest) + ".json", "{\"clock\": 8}");
    };
    chain(8);
    EXPECT_TRUE(offline_steam::LoadScenarioFile(Path("level0.json"), &s, &error)) << error;
    EXPECT_EQ(s.clock, 8u);
    chain(9);
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("level0.json"), &s, &error));
    EXPECT_EQ(error,
              Path("level8.json") + ": line 1: include[0]: includes nest deeper than 8 files");

    Write("missing.json", "{\"include\": [\n\"nowhere.json\"]}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("missing.json"), &s, &error));
    EXPECT_EQ(error, Path("missing.json") + ": line 2: include[0]: \"" + Path("nowhere.json") +
                         "\" cannot be opened");
}

TEST_F(ScenarioIncludes, AFanOutOfIncludesIsRefusedAtTheTreesCaps) {
    Scenario s;
    std::string error;
    // fan0 lists fan1 ten times, fan1 lists fan2 ten times ...: 10^8 reads uncapped.
    const std::string tenTimes = [] {
        std::string list;
        for (int i = 0; i < 10; ++i) list += std::string(i ? ", " : "") + "\"NEXT\"";
        return list;
    }();
    for (int i = 0; i < 8; ++i) {
        std::string list = tenTimes;
        for (std::size_t at; (at = list.find("NEXT")) != std::string::npos;)
            list.replace(at, 4, "fan" + std::to_string(i + 1) + ".json");
        Write("fan" + std::to_string(i) + ".json", "{\"include\": [" + list + "]}");
    }
    Write("fan8.json", "{\"clock\": 3}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("fan0.json"), &s, &error));
    EXPECT_NE(error.find(": line 1: include["), std::string::npos) << error;
    EXPECT_NE(error.find("]: the includes read more than 64 files in all"), std::string::npos)
        << error;

    // Sixteen files of 1 MiB each are read; a seventeenth is one byte too many.
    std::string mebibyte = "{\"clock\": 3}";
    mebibyte.resize(std::size_t{1} << 20, ' ');
    Write("mebibyte.json", mebibyte);
    std::string list;
    for (int i = 0; i < 17; ++i) list += std::string(i ? ", " : "") + "\"mebibyte.json\"";
    Write("big.json", "{\"include\": [" + list + "]}");
    EXPECT_FALSE(offline_steam::LoadScenarioFile(Path("big.json"), &s, &error));
    EXPECT_EQ(error, Path("big.json") +
                         ": line 1: include[16]: the includes read more than 16 MiB in all");
    Write("big.json", "{\"include\": [" + list.substr(0, list.rfind(", ")) + "]}");
    EXPECT_TRUE(offline_steam::LoadScenarioFile(Path("big.json"), &s, &error)) << error;
}

TEST_F(ScenarioIncludes, FileNamesStayAsGiven) {
    Write("dir/main.json", R"({"include": ["sub/base.json"]})");
    Write("dir/sub/base.json", "{\"clock\": \"noon\"}");
    fs::current_path(dir_);
    Scenario s;
    std::string error;
    EXPECT_FALSE(offline_steam::LoadScenarioFile("dir/main.json", &s, &error));
    EXPECT_EQ(error,
              "dir/sub/base.json: line 1: clock: must be an integer from 0 to 4294967295, "
              "not a string");
    // Text in memory anchors its includes at the folder its name gives.
    EXPECT_FALSE(offline_steam::ParseScenario(R"({"include": ["sub/base.json"]})",
                                              "dir/virtual.json", &s, &error));
    EXPECT_EQ(error.rfind("dir/sub/base.json: line 1: clock:", 0), 0u) << error;

    EXPECT_FALSE(offline_steam::LoadScenarioFile("dir/absent.json", &s, &error));
    EXPECT_EQ(error, "dir/absent.json: cannot be opened");
    EXPECT_FALSE(offline_steam::LoadScenarioFile("dir", &s, &error));
    EXPECT_EQ(error, "dir: is not a file");
}

// ---- the state file -----------------------------------------------------------

class StateFile : public FileTest {
protected:
    // What the test's folder holds: a save leaves no temporary file behind.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(StateFile, SavedStateLoadsBackAndReadsAsWritten) {
    StartState state;
    state.achievements = {{"ACH_B", 1700000000u}, {"ACH_A", 0u}};
    state.stats = {{"STAT_INT", 42}, {"STAT_FLOAT", 0.1}, {"STAT_NEG", -3}, {"STAT_BIG", 1e300}};
    state.leaderboards = {{"Board", -7}};
    std::string error;
    ASSERT_TRUE(offline_steam::SaveStateFile(Path("state.json"), state, &error)) << error;
    EXPECT_EQ(Files(), std::vector<std::string>{"state.json"});

    const std::string text = ReadAll(Path("state.json"));
    EXPECT_EQ(text, R"({
  "version": 1,
  "achievements": {
    "ACH_A": 0,
    "ACH_B": 1700000000
  },
  "stats": {
    "STAT_BIG": 1e+300,
    "STAT_FLOAT": 0.1,
    "STAT_INT": 42,
    "STAT_NEG": -3
  },
  "leaderboards": {
    "Board": -7
  }
}
)");

    StartState loaded;
    ASSERT_TRUE(offline_steam::LoadStateFile(Path("state.json"), &loaded, &error)) << error;
    EXPECT_EQ(loaded.achievements, state.achievements);
    EXPECT_EQ(loaded.stats, state.stats);  // exactly: doubles are written to round-trip
    EXPECT_EQ(loaded.leaderboards, state.leaderboards);

    // Saving again replaces the file.
    state.stats = {{"STAT_INT", 43}};
    ASSERT_TRUE(offline_steam::SaveStateFile(Path("state.json"), state, &error)) << error;
    ASSERT_TRUE(offline_steam::LoadStateFile(Path("state.json"), &loaded, &error)) << error;
    EXPECT_EQ(loaded.stats, state.stats);
    EXPECT_EQ(Files(), std::vector<std::string>{"state.json"});
}

TEST_F(StateFile, ARefusedFileIsLeftExactlyAsItWas) {
    const std::pair<const char*, const char*> cases[] = {
        {"{\"version\": 1, \"stats\": {\"S\": 1},}", ": line 1: syntax error: "},
        {"{\n\"achievements\": {}}", ": line 1: top level: \"version\" is required"},
        {"{\"version\": 2}",
         ": line 1: version: must be 1, the only version this program reads, not 2"},
        {"{\"version\": \"1\"}",
         ": line 1: version: must be 1, the only version this program reads, not \"1\""},
        {"{\"version\": 1,\n\"extra\": {}}",
         ": line 2: extra: unknown key; a state file takes version, "
         "achievements, stats, leaderboards and boards"},
        {"{\"version\": 1, \"achievements\": {\n\"A\": -1}}",
         ": line 2: achievements.A: must be an integer from 0 to 4294967295, not -1"},
        {"{\"version\": 1, \"stats\": {\"S\": \"5\"}}",
         ": line 1: stats.S: must be a number, not a string"},
        {"{\"version\": 1, \"leaderboards\": {\"B\": 2.5}}",
         ": line 1: leaderboards.B: must be an integer from -2147483648 to 2147483647, not 2.5"},
        {"{\"version\": 1, \"version\": 1}", ": line 1: version: duplicate key (also on line 1)"},
        {"[]", ": line 1: top level: must be an object, not a list"},
    };
    for (const auto& [text, suffix] : cases) {
        Write("state.json", text);
        StartState state;
        state.stats["kept"] = 1;
        std::string error;
        EXPECT_FALSE(offline_steam::LoadStateFile(Path("state.json"), &state, &error)) << text;
        EXPECT_EQ(error.rfind(Path("state.json") + suffix, 0), 0u) << error;
        EXPECT_EQ(state.stats.count("kept"), 1u);
        EXPECT_EQ(ReadAll(Path("state.json")), text);
        EXPECT_EQ(Files(), std::vector<std::string>{"state.json"});
    }
}

TEST_F(StateFile, AMissingFileIsToldApartFromAnUnreadableOne) {
    StartState state;
    std::string error;
    EXPECT_FALSE(offline_steam::StateFileExists(Path("state.json")));
    EXPECT_FALSE(offline_steam::LoadStateFile(Path("state.json"), &state, &error));
    EXPECT_EQ(error, Path("state.json") + ": cannot be opened");

    fs::create_directories(Path("folder.json"));
    EXPECT_TRUE(offline_steam::StateFileExists(Path("folder.json")));
    EXPECT_FALSE(offline_steam::LoadStateFile(Path("folder.json"), &state, &error));
    EXPECT_EQ(error, Path("folder.json") + ": is not a file");
}

TEST_F(StateFile, AFailedSaveKeepsThePreviousFile) {
    StartState state;
    state.stats["S"] = 1;
    std::string error;
    ASSERT_TRUE(offline_steam::SaveStateFile(Path("state.json"), state, &error)) << error;
    const std::string before = ReadAll(Path("state.json"));

    // JSON has no NaN: refused before anything is written.
    state.stats["S"] = std::nan("");
    EXPECT_FALSE(offline_steam::SaveStateFile(Path("state.json"), state, &error));
    EXPECT_EQ(error, Path("state.json") + ": stats.S: NaN cannot be written in JSON");
    EXPECT_EQ(ReadAll(Path("state.json")), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"state.json"});

    state.stats["S"] = 2;
    EXPECT_FALSE(offline_steam::SaveStateFile(Path("no/such/dir/state.json"), state, &error));
    EXPECT_EQ(error.rfind(Path("no/such/dir/state.json") + ": cannot be written: ", 0), 0u)
        << error;
}

// ---- language codes -----------------------------------------------------------

TEST(LanguageCodes, AreSteamsOwnNotIsoCodesOrEnglishNames) {
    // Steam's codes for Korean, the two Chinese scripts and the American
    // variants are the easy ones to get wrong.
    for (const char* code : {"koreana", "schinese", "tchinese", "brazilian", "latam", "english"})
        EXPECT_TRUE(offline_steam::IsSteamLanguageCode(code)) << code;
    for (const char* code : {"korean", "chinese", "ko", "en", "English", "english ", ""})
        EXPECT_FALSE(offline_steam::IsSteamLanguageCode(code)) << code;
}

// ---- our game's schema file ---------------------------------------------------

TEST(GameSchemaFile, LoadsAsOurGameIsPublished) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(STEAMBRIDGE_GAME_SCHEMA, &s, &error)) << error;
    EXPECT_EQ(s.appId, 480u);
    EXPECT_EQ(s.language, "english");
    EXPECT_EQ(s.languages, (std::vector<std::string>{"english", "german", "french", "japanese"}));
    EXPECT_EQ(s.steamId, 76561197960287930ull);
    EXPECT_TRUE(s.loggedOn);
    for (const std::string& code : s.languages)
        EXPECT_TRUE(offline_steam::IsSteamLanguageCode(code)) << code;
    for (const offline_steam::AchievementSchema& a : s.achievements) {
        EXPECT_EQ(a.displayName.count("english"), 1u) << a.name;
        EXPECT_EQ(a.description.count("english"), 1u) << a.name;
    }
    for (const offline_steam::StatSchema& stat : s.stats) {
        EXPECT_EQ(stat.type, offline_steam::StatType::Int) << stat.name;
        EXPECT_EQ(stat.min, 0.0) << stat.name;
        EXPECT_EQ(stat.max, 2000000000.0) << stat.name;
        EXPECT_EQ(stat.defaultValue, 0.0) << stat.name;
    }
    // Texts whose byte lengths the bridge's cut tests depend on.
    ASSERT_GE(s.achievements.size(), 6u);
    EXPECT_EQ(s.achievements[4].displayName.at("english").size(), 149u);
    EXPECT_EQ(s.achievements[5].description.at("english").size(), 299u);
}

TEST(GameSchemaFile, MatchesTheBridgesTables) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(offline_steam::LoadScenarioFile(STEAMBRIDGE_GAME_SCHEMA, &s, &error)) << error;

    const steambridge::AchievementRow* achievements = steambridge::AchievementTable();
    ASSERT_EQ(s.achievements.size(), static_cast<std::size_t>(steambridge::kAchievementCount));
    for (int i = 0; i < steambridge::kAchievementCount; ++i)
        EXPECT_EQ(s.achievements[i].name, achievements[i].apiName) << "achievement " << i + 1;

    const steambridge::StatRow* stats = steambridge::StatTable();
    ASSERT_EQ(s.stats.size(), static_cast<std::size_t>(steambridge::kStatCount));
    for (int i = 0; i < steambridge::kStatCount; ++i)
        EXPECT_EQ(s.stats[i].name, stats[i].apiName) << "stat " << i;

    steambridge::StatLinks links{};
    steambridge::FillStatLinks(links);
    std::size_t linked = 0;
    for (const steambridge::StatLink& link : links.pairs) {
        const offline_steam::AchievementSchema& a = s.achievements.at(link.achievementNumber - 1);
        ASSERT_TRUE(a.progress.has_value()) << a.name << " should show progress";
        EXPECT_EQ(a.progress->stat, stats[link.statIndex].apiName) << a.name;
        EXPECT_EQ(a.progress->min, 0.0) << a.name;
        EXPECT_EQ(a.progress->max, static_cast<double>(stats[link.statIndex].maxValue)) << a.name;
        ++linked;
    }
    std::size_t withProgress = 0;
    for (const offline_steam::AchievementSchema& a : s.achievements)
        withProgress += a.progress.has_value();
    EXPECT_EQ(withProgress, linked) << "an achievement the bridge does not link shows progress";
}

}  // namespace
