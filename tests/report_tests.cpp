// The offline run's report, from hand-written journals: what it takes from
// each line, what it warns about, how it holds the run to the expectations,
// and the command that writes it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "exit_statuses.h"
#include "report.h"

namespace {

using nlohmann::json;
using offline_steam::Expectations;
using offline_tool::BuildReport;
using offline_tool::Report;
using Lines = std::vector<std::string>;

const std::string kOpen = R"({"event":"open","frame":0,"app":480,"pid":1,"time":1700000000})";
const std::string kStart = R"({"event":"start","frame":0,"ok":true})";
const std::string kShutdown = R"({"event":"shutdown","frame":9,"how":"api"})";
const std::string kExit = R"({"event":"shutdown","frame":9,"how":"exit"})";

std::string State(const std::string& achievements, const std::string& stats,
                  const std::string& boards) {
    return R"({"event":"state","frame":5,"achievements":{)" + achievements + R"(},"stats":{)" +
           stats + R"(},"leaderboards":{)" + boards + "}}";
}

json Json(const Report& report) { return json::parse(offline_tool::ReportJson(report)); }

std::vector<std::string> Codes(const Report& report) {
    std::vector<std::string> codes;
    for (const auto& warning : report.warnings) codes.push_back(warning.code);
    return codes;
}

// ---- what the journal's lines give ----

TEST(ReportJournal, FinalStateComesFromTheLastStateLineAcrossSessions) {
    const Lines journal{
        kOpen,
        kStart,
        State(
            R"("ACH_WIN":{"unlocked":true,"unlockTime":1700000100},"ACH_LOSE":{"unlocked":false,"unlockTime":0},"ACH_OLD":{"unlocked":true,"unlockTime":5})",
            R"("STAT_KILLS":3,"STAT_TIME":1.5)", R"("Best":{"score":100})"),
        kShutdown,
        kOpen,
        kStart,
        State(
            R"("ACH_WIN":{"unlocked":true,"unlockTime":1700000100},"ACH_LOSE":{"unlocked":true,"unlockTime":1700000200})",
            R"("STAT_KILLS":7,"STAT_TIME":2.25)", R"("Best":{"score":250})"),
        kShutdown};
    const Report report = BuildReport(journal, {});
    EXPECT_TRUE(report.started);
    EXPECT_EQ(report.sessions, 2);

    const json out = Json(report);
    EXPECT_EQ(out["achievements"].size(), 2u) << "ACH_OLD was only in the earlier state";
    EXPECT_EQ(out["achievements"]["ACH_LOSE"],
              json({{"unlocked", true}, {"unlockTime", 1700000200}}));
    EXPECT_EQ(out["stats"], json({{"STAT_KILLS", 7}, {"STAT_TIME", 2.25}}));
    EXPECT_TRUE(out["stats"]["STAT_KILLS"].is_number_integer());
    EXPECT_EQ(out["leaderboards"], json({{"Best", {{"score", 250}}}}));
    EXPECT_EQ(out["shutdown"], "clean");
    EXPECT_EQ(out["started"], true);
    EXPECT_FALSE(out.contains("startFailure"));
}

TEST(ReportJournal, CountsCallsUnlocksUploadsAndUnservedMethods) {
    const Lines journal{
        kOpen,
        kStart,
        R"({"event":"call","frame":1,"call":"SteamAPI_ISteamUserStats_SetAchievement","args":["ACH_WIN"]})",
        R"({"event":"call","frame":1,"call":"SteamAPI_ISteamUserStats_StoreStats","args":[]})",
        R"({"event":"unserved","frame":1,"call":"STEAMUSERSTATS_INTERFACE_VERSION012::GetAchievementIcon"})",
        R"({"event":"unserved","frame":2,"call":"STEAMFRIENDS_INTERFACE_VERSION017::GetPersonaState"})",
        R"({"event":"unserved","frame":3,"call":"STEAMUSERSTATS_INTERFACE_VERSION012::GetAchievementIcon"})",
        R"({"event":"unlock","frame":2,"name":"ACH_WIN","time":1700000100})",
        R"({"event":"unlock","frame":4,"name":"ACH_WIN","time":1700000400})",
        R"({"event":"score","frame":3,"board":"Best","score":10,"changed":true,"result":1})",
        R"({"event":"score","frame":4,"board":"Best","score":5,"changed":false,"result":1})",
        R"({"event":"teleport","frame":4,"call":"x"})",
        R"({"frame":4})",
        R"(["not","an","object"])",
        R"({"event":"call","frame":5,"call":"SteamAPI_RunCallbacks","args":[]})",
        kShutdown};
    const Report report = BuildReport(journal, {});
    const json out = Json(report);
    EXPECT_EQ(out["calls"], 3) << "unknown events and lines without one are not calls";
    EXPECT_EQ(out["unserved"],
              json::parse(
                  R"([{"call":"STEAMUSERSTATS_INTERFACE_VERSION012::GetAchievementIcon","count":2},
                             {"call":"STEAMFRIENDS_INTERFACE_VERSION017::GetPersonaState","count":1}])"));
    EXPECT_EQ(out["unlocks"], json::parse(R"([{"name":"ACH_WIN","time":1700000100}])"));
    ASSERT_EQ(out["uploads"].size(), 2u);
    EXPECT_EQ(out["uploads"][1],
              json::parse(R"({"board":"Best","score":5,"changed":false,"result":1})"));
    EXPECT_TRUE(report.warnings.empty()) << "a valid JSON line that is not an event is no cut";
}

TEST(ReportJournal, StoresAreCountedAndThoseNotAnsweredOneRefused) {
    const Lines journal{
        kOpen,
        kStart,
        R"({"event":"store","frame":1,"call":1,"result":1,"unlocked":["ACH_WIN"],"rejected":[]})",
        R"({"event":"store","frame":2,"call":2,"result":84,"unlocked":[],"rejected":[]})",
        R"({"event":"store","frame":3,"call":3,"result":1,"unlocked":[],"rejected":[{"stat":"STAT_KILLS","reason":"more than maxChange"}]})",
        R"({"event":"store","frame":4,"call":4,"result":2})",
        kShutdown};
    const json out = Json(BuildReport(journal, {}));
    EXPECT_EQ(out["stores"]["count"], 4);
    EXPECT_EQ(out["stores"]["refused"], 2);
    EXPECT_EQ(out["stores"]["refusedCalls"],
              json::parse(R"([{"call":2,"result":84},{"call":4,"result":2}])"));
    EXPECT_EQ(out["stores"]["rejectedStats"],
              json::parse(R"([{"stat":"STAT_KILLS","reason":"more than maxChange"}])"));
}

TEST(ReportJournal, WarningsAreKeptOnceEachInFirstSeenOrder) {
    const Lines journal{
        kOpen,
        kStart,
        R"({"event":"warning","frame":1,"code":"unknown-name","text":"ACH_NOPE is not in the schema"})",
        R"({"event":"warning","frame":2,"code":"frequent-stores","text":"11 stores in a minute"})",
        R"({"event":"warning","frame":3,"code":"unknown-name","text":"ACH_NOPE is not in the schema"})",
        R"({"event":"warning","frame":4,"code":"unknown-name","text":"STAT_NOPE is not in the schema"})",
        R"({"event":"warning","frame":5,"code":"wrong-type","text":"ACH_NOPE is not in the schema"})",
        kShutdown};
    const Report report = BuildReport(journal, {});
    EXPECT_EQ(Codes(report), (std::vector<std::string>{"unknown-name", "frequent-stores",
                                                       "unknown-name", "wrong-type"}));
    EXPECT_EQ(report.warnings[2].text, "STAT_NOPE is not in the schema");
    EXPECT_EQ(Json(report)["warnings"][0],
              json({{"code", "unknown-name"}, {"text", "ACH_NOPE is not in the schema"}}));
}

// ---- starts and shutdowns ----

TEST(ReportJournal, RichPresenceIsTheLastChangeOfTheLastProcess) {
    const std::string menu =
        R"({"event":"richPresence","frame":2,"keys":{"status":"In the menu"}})";
    const std::string level =
        R"({"event":"richPresence","frame":4,"keys":{"status":"Level 3","steam_display":"#Level"}})";
    const Report report = BuildReport({kOpen, kStart, menu, level, kShutdown}, {});
    ASSERT_TRUE(report.hasRichPresence);
    const json out = Json(report);
    EXPECT_EQ(out["richPresence"], json({{"status", "Level 3"}, {"steam_display", "#Level"}}));
    EXPECT_NE(offline_tool::ReportSummary(report).find(
                  "rich presence: status=Level 3, steam_display=#Level\n"),
              std::string::npos)
        << offline_tool::ReportSummary(report);

    // Cleared, and a later process that set none: Steam keeps none of an ended game.
    const std::string cleared = R"({"event":"richPresence","frame":6,"keys":{}})";
    const Report clearedReport = BuildReport({kOpen, kStart, level, cleared, kShutdown}, {});
    EXPECT_EQ(Json(clearedReport)["richPresence"], json::object());
    EXPECT_NE(offline_tool::ReportSummary(clearedReport).find("rich presence: none (cleared)"),
              std::string::npos);
    const Report later = BuildReport({kOpen, kStart, level, kShutdown, kOpen, kStart}, {});
    EXPECT_FALSE(later.hasRichPresence);
    EXPECT_EQ(Json(later)["richPresence"], json::object());
    EXPECT_EQ(offline_tool::ReportSummary(later).find("rich presence"), std::string::npos);
}

TEST(ReportSessions, ShutdownOnlyCountsAfterTheLastStart) {
    const Report clean = BuildReport({kOpen, kStart, kShutdown}, {});
    EXPECT_TRUE(clean.cleanShutdown);
    EXPECT_TRUE(clean.warnings.empty());

    // The first session's clean end says nothing of the second's.
    const Report second = BuildReport({kOpen, kStart, kShutdown, kOpen, kStart}, {});
    EXPECT_FALSE(second.cleanShutdown);
    EXPECT_EQ(Codes(second), std::vector<std::string>{"no-shutdown"});
    EXPECT_EQ(Json(second)["shutdown"], "missing");

    const Report exited = BuildReport({kOpen, kStart, kExit}, {});
    EXPECT_FALSE(exited.cleanShutdown);
    ASSERT_EQ(Codes(exited), std::vector<std::string>{"no-shutdown"});
    EXPECT_NE(exited.warnings[0].text.find("SteamAPI_Shutdown"), std::string::npos);
    EXPECT_NE(exited.warnings[0].text.find("pending changes at exit"), std::string::npos);

    // A shutdown with no session open, then a restart that ends at exit.
    const Report late = BuildReport({kOpen, kShutdown, kStart, kExit, kShutdown}, {});
    EXPECT_FALSE(late.cleanShutdown);
}

TEST(ReportSessions, JournalCutMidLineLosesOnlyThatLine) {
    const Lines journal{kOpen, kStart,
                        R"({"event":"call","frame":1,"call":"SteamAPI_RunCallbacks","args":[]})",
                        R"({"event":"shutdown","frame":9,"how":"ap)"};
    const Report report = BuildReport(journal, {});
    EXPECT_EQ(report.calls, 1);
    EXPECT_FALSE(report.cleanShutdown) << "the cut shutdown line is not taken";
    EXPECT_EQ(Codes(report), (std::vector<std::string>{"journal-cut", "no-shutdown"}));
    EXPECT_NE(report.warnings[1].text.find("crashed"), std::string::npos)
        << "no exit line: the process died";

    // Blank lines after the cut one do not hide it.
    const Report trailing = BuildReport({kOpen, kStart, R"({"event":"ca)", "", "  "}, {});
    EXPECT_EQ(Codes(trailing), (std::vector<std::string>{"journal-cut", "no-shutdown"}));
}

TEST(ReportSessions, ACutLastStateLineKeepsTheStateBefore) {
    const std::string won =
        State(R"("ACH_WIN":{"unlocked":true,"unlockTime":1700000100})", R"("STAT_KILLS":3)", "");
    Expectations expect;
    expect.achievementsUnlocked = {"ACH_WIN"};
    const Report report = BuildReport({kOpen, kStart, won, won.substr(0, won.size() - 9)}, expect);
    ASSERT_EQ(report.expectations.size(), 1u);
    EXPECT_TRUE(report.expectations[0].met) << report.expectations[0].detail;
    EXPECT_EQ(report.stats.at("STAT_KILLS"), 3);
    EXPECT_EQ(Codes(report), (std::vector<std::string>{"journal-cut", "no-shutdown"}));
}

TEST(ReportSessions, NextRunGluedToACutLineIsRecovered) {
    const Lines journal{kOpen, kStart, R"({"event":"call","frame":3,"ca)" + kOpen, kStart,
                        kShutdown};
    const Report report = BuildReport(journal, {});
    EXPECT_EQ(report.sessions, 2) << "the second run's start is on the next line";
    EXPECT_TRUE(report.cleanShutdown);
    ASSERT_EQ(Codes(report), std::vector<std::string>{"journal-cut"});
    EXPECT_NE(report.warnings[0].text.find("line 3"), std::string::npos);
}

TEST(ReportSessions, SplitKeepsAPartialLastLineAndDropsCarriageReturns) {
    EXPECT_EQ(offline_tool::SplitJournal("a\r\nb\n{\"ev"),
              (std::vector<std::string>{"a", "b", "{\"ev"}));
    EXPECT_EQ(offline_tool::SplitJournal("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(offline_tool::SplitJournal("").empty());
}

TEST(ReportSessions, FailedStartIsReportedWithItsReason) {
    const Report report = BuildReport(
        {kOpen,
         R"j({"event":"start","frame":0,"ok":false,"reason":"Steam is not running (fault steamNotRunning)"})j"},
        {});
    EXPECT_FALSE(report.started);
    const json out = Json(report);
    EXPECT_EQ(out["started"], false);
    EXPECT_EQ(out["startFailure"], "Steam is not running (fault steamNotRunning)");
    ASSERT_EQ(Codes(report), std::vector<std::string>{"never-started"});
    EXPECT_NE(report.warnings[0].text.find("Steam is not running"), std::string::npos);

    const Report silent = BuildReport({kOpen}, {});
    EXPECT_FALSE(silent.started);
    EXPECT_FALSE(silent.startFailure);
    EXPECT_EQ(Codes(silent), std::vector<std::string>{"never-started"});

    // A retry that works: started, the failure still told.
    const Report retried =
        BuildReport({R"({"event":"start","frame":0,"ok":false})", kStart, kShutdown}, {});
    EXPECT_TRUE(retried.started);
    EXPECT_EQ(retried.startFailure.value_or(""), "no reason given");
    EXPECT_TRUE(retried.warnings.empty());
}

// ---- expectations ----

Lines FinishedRun() {
    return {
        kOpen, kStart,
        State(
            R"("ACH_WIN":{"unlocked":true,"unlockTime":1700000100},"ACH_LOSE":{"unlocked":false,"unlockTime":0})",
            R"("STAT_KILLS":10,"STAT_TIME":0.5)", R"("Best":{"score":100})"),
        kShutdown};
}

TEST(ReportSessions, AStartTheLibraryGaveUpIsTakenBack) {
    const Report report = BuildReport(
        {kOpen, kStart,
         R"({"event":"interface","frame":0,"version":"SteamUtils010","served":true})",
         R"({"event":"interface","frame":0,"version":"SteamMadeUp001","served":false})",
         R"({"event":"start","frame":0,"ok":false,"reason":"the library refused the start: No SteamMadeUp001"})"},
        {});
    EXPECT_FALSE(report.started);
    EXPECT_EQ(report.sessions, 0);
    const json out = Json(report);
    EXPECT_EQ(out["startFailure"], "the library refused the start: No SteamMadeUp001");
    EXPECT_EQ(out["interfaces"],
              json::parse(R"({"served":["SteamUtils010"],"refused":["SteamMadeUp001"]})"));
    EXPECT_EQ(Codes(report), std::vector<std::string>{"never-started"})
        << "a start taken back is no session left up";

    // An earlier session that ran stays: the game did start Steam once.
    Lines twice = FinishedRun();
    twice.push_back(kStart);
    twice.push_back(R"({"event":"start","frame":9,"ok":false,"reason":"No SteamMadeUp001"})");
    const Report again = BuildReport(twice, {});
    EXPECT_TRUE(again.started);
    EXPECT_EQ(again.sessions, 1);
    EXPECT_TRUE(again.cleanShutdown);
}

TEST(ReportExpectations, AchievementsMustBeUnlockedInTheFinalState) {
    Expectations expect;
    expect.achievementsUnlocked = {"ACH_WIN", "ACH_LOSE", "ACH_GHOST"};
    const Report report = BuildReport(FinishedRun(), expect);
    ASSERT_EQ(report.expectations.size(), 3u);
    EXPECT_EQ(report.expectations[0].what, "achievement ACH_WIN unlocked");
    EXPECT_TRUE(report.expectations[0].met);
    EXPECT_FALSE(report.expectations[1].met);
    EXPECT_EQ(report.expectations[1].detail, "still locked");
    EXPECT_FALSE(report.expectations[2].met);
    EXPECT_EQ(report.FailedExpectations(), 2);

    const Report noState = BuildReport({kOpen, kStart, kShutdown}, expect);
    EXPECT_EQ(noState.FailedExpectations(), 3);
}

TEST(ReportExpectations, StatBoundsAreInclusive) {
    Expectations expect;
    expect.stats["STAT_KILLS"] = {1.0, 10.0};  // at the top bound
    expect.stats["STAT_TIME"] = {0.75, std::nullopt};
    expect.stats["STAT_NONE"] = {std::nullopt, 3.0};
    const Report report = BuildReport(FinishedRun(), expect);
    ASSERT_EQ(report.expectations.size(), 3u);  // by name
    EXPECT_EQ(report.expectations[0].what, "stat STAT_KILLS between 1 and 10");
    EXPECT_TRUE(report.expectations[0].met);
    EXPECT_EQ(report.expectations[1].what, "stat STAT_NONE at most 3");
    EXPECT_FALSE(report.expectations[1].met) << "a stat Steam does not have";
    EXPECT_EQ(report.expectations[2].what, "stat STAT_TIME at least 0.75");
    EXPECT_FALSE(report.expectations[2].met);
    EXPECT_EQ(report.expectations[2].detail, "is 0.5");

    Expectations above;
    above.stats["STAT_KILLS"] = {std::nullopt, 9.0};
    EXPECT_EQ(BuildReport(FinishedRun(), above).expectations[0].detail, "is 10");
}

TEST(ReportExpectations, ScoreBoundsAndShutdown) {
    Expectations expect;
    expect.leaderboards["Best"] = {100.0, std::nullopt};
    expect.leaderboards["Time"] = {std::nullopt, 60.0};
    expect.cleanShutdown = true;
    const Report report = BuildReport(FinishedRun(), expect);
    ASSERT_EQ(report.expectations.size(), 3u);
    EXPECT_EQ(report.expectations[0].what, "leaderboard Best score at least 100");
    EXPECT_TRUE(report.expectations[0].met);
    EXPECT_EQ(report.expectations[1].what, "leaderboard Time score at most 60");
    EXPECT_FALSE(report.expectations[1].met) << "no score on the board";
    EXPECT_EQ(report.expectations[2].what, "Steam shut down cleanly");
    EXPECT_TRUE(report.expectations[2].met);

    Lines crashed = FinishedRun();
    crashed.pop_back();
    const Report unclean = BuildReport(crashed, expect);
    EXPECT_FALSE(unclean.expectations[2].met);

    // A run meant to end without SteamAPI_Shutdown.
    Expectations leftRunning;
    leftRunning.cleanShutdown = false;
    EXPECT_TRUE(BuildReport(crashed, leftRunning).expectations[0].met);
    EXPECT_FALSE(BuildReport(FinishedRun(), leftRunning).expectations[0].met);

    const json out = Json(unclean);
    EXPECT_EQ(out["expectations"][2]["what"], "Steam shut down cleanly");
    EXPECT_EQ(out["expectations"][2]["met"], false);
    EXPECT_EQ(out["expectations"][0]["met"], true);
}

// ---- what a person reads ----

std::vector<std::string> SummaryLines(const Report& report) {
    std::vector<std::string> lines;
    std::istringstream in(offline_tool::ReportSummary(report));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ReportSummary, TellsTheRunInShortLines) {
    Lines journal = FinishedRun();
    journal.insert(
        journal.begin() + 2,
        {R"({"event":"unlock","frame":2,"name":"ACH_WIN","time":1700000100})",
         R"({"event":"store","frame":2,"call":1,"result":1})",
         R"({"event":"store","frame":3,"call":2,"result":84})",
         R"({"event":"score","frame":3,"board":"Best","score":100,"changed":true,"result":1})",
         R"({"event":"warning","frame":3,"code":"before-stats","text":"SetAchievement before the user's stats arrived: real Steam refuses it, and a game that relies on it loses the unlock without a word"})"});
    journal.pop_back();
    Expectations expect;
    expect.achievementsUnlocked = {"ACH_WIN", "ACH_LOSE"};
    const auto lines = SummaryLines(BuildReport(journal, expect));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_LE(lines.size(), 15u);
    for (const std::string& line : lines) EXPECT_LE(line.size(), 80u) << line;
    const std::string all = offline_tool::ReportSummary(BuildReport(journal, expect));
    EXPECT_NE(all.find("1 of 2 unlocked, new: ACH_WIN"), std::string::npos) << all;
    EXPECT_NE(all.find("stores: 2, 1 refused (call 2: result 84)"), std::string::npos) << all;
    EXPECT_NE(all.find("scores: Best 100 (1 upload)"), std::string::npos) << all;
    EXPECT_NE(all.find("warning before-stats:"), std::string::npos) << all;
    EXPECT_NE(all.find("warning no-shutdown:"), std::string::npos) << all;
    EXPECT_NE(all.find("ok      achievement ACH_WIN unlocked\n"), std::string::npos) << all;
    EXPECT_NE(all.find("FAILED  achievement ACH_LOSE unlocked: still locked\n"), std::string::npos)
        << all;
    EXPECT_EQ(lines.back(), "1 of 2 expectations failed");
}

TEST(ReportSummary, NamesWhySteamNeverStarted) {
    const auto lines = SummaryLines(BuildReport(
        {R"({"event":"start","frame":0,"ok":false,"reason":"the state file was refused"})"}, {}));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Steam never started: the state file was refused");
    EXPECT_EQ(lines.back(), "all expectations met (none were set)");

    Expectations expect;
    expect.achievementsUnlocked = {"ACH_WIN"};
    EXPECT_EQ(SummaryLines(BuildReport(FinishedRun(), expect)).back(), "all expectations met");
}

TEST(ReportSummary, NamesTheFiveMethodsMostAnsweredByDefault) {
    Lines journal = FinishedRun();
    const int counts[] = {1, 3, 2, 7, 1, 5, 4};
    for (int method = 0; method < 7; ++method) {
        for (int call = 0; call < counts[method]; ++call) {
            journal.push_back(R"({"event":"unserved","frame":3,"call":"SteamFriends018::M)" +
                              std::to_string(method) + "\"}");
        }
    }
    const std::string all = offline_tool::ReportSummary(BuildReport(journal, {}));
    EXPECT_NE(all.find("answered by default, most called: SteamFriends018::M3 x7, "
                       "SteamFriends018::M5\n  x5, SteamFriends018::M6 x4, SteamFriends018::M1 "
                       "x3, SteamFriends018::M2 x2 and\n  2 other methods\n"),
              std::string::npos)
        << all;
}

// ---- JUnit ----

std::string TestDirectory(const std::string& name) {
    const std::filesystem::path path =
        std::filesystem::path(testing::TempDir()) / ("report_tests_" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128; }

// A real parser (Python's expat) has the last word on well-formedness; it
// prints the names of the test cases it read, one per line.
std::string ParsedTestcases(const std::string& xmlPath) {
    const std::string out = xmlPath + ".names";
    const std::string command = std::string(PYTHON3_EXECUTABLE) +
                                " -c \"import sys, xml.dom.minidom as m; "
                                "d = m.parse(sys.argv[1]); "
                                "sys.stdout.buffer.write(''.join(c.getAttribute('name') + '|' + "
                                "str(len(c.getElementsByTagName('failure'))) + chr(10) "
                                "for c in d.getElementsByTagName('testcase')).encode())\" '" +
                                xmlPath + "' > '" + out + "'";
    if (ExitStatus(std::system(command.c_str())) != 0) return "not well-formed";
    return ReadFile(out);
}

TEST(ReportJUnit, WellFormedWithEscapedNames) {
    const std::string name = "ACH_<&\"'>\x01\tEND";
    const Lines journal{
        kOpen, kStart,
        State(R"("ACH_\u003c&\"'>\u0001\tEND":{"unlocked":true,"unlockTime":1})", "", ""),
        R"({"event":"warning","frame":3,"code":"unknown-name","text":"<&> is not a name"})"};
    Expectations expect;
    expect.achievementsUnlocked = {name, "ACH_\xC3\xA9t\xC3\xA9", "broken\xFF"};
    expect.cleanShutdown = true;
    const Report report = BuildReport(journal, expect);
    ASSERT_TRUE(report.expectations[0].met) << "the JSON escapes name the same achievement";
    const std::string xml = offline_tool::ReportJUnit(report);
    EXPECT_NE(xml.find("<testsuite name=\"steambridge-offline\" tests=\"5\" failures=\"3\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("ACH_&lt;&amp;&quot;&apos;&gt;\xEF\xBF\xBD&#9;END"), std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<system-out>"), std::string::npos);

    const std::string path = TestDirectory("junit") + "/report.xml";
    WriteFile(path, xml);
    EXPECT_EQ(ParsedTestcases(path),
              "Steam started|0\n"
              "achievement ACH_<&\"'>\xEF\xBF\xBD\tEND unlocked|0\n"
              "achievement ACH_\xC3\xA9t\xC3\xA9 unlocked|1\n"
              "achievement broken\xEF\xBF\xBD unlocked|1\n"
              "Steam shut down cleanly|1\n");
}

TEST(ReportJUnit, SteamStartedFailsWhenTheGameNeverStartedIt) {
    const Report report = BuildReport(
        {R"({"event":"start","frame":0,"ok":false,"reason":"scenario <x> refused"})"}, {});
    const std::string xml = offline_tool::ReportJUnit(report);
    EXPECT_NE(xml.find("<failure message=\"scenario &lt;x&gt; refused\"/>"), std::string::npos)
        << xml;
    const std::string path = TestDirectory("junit_start") + "/report.xml";
    WriteFile(path, xml);
    EXPECT_EQ(ParsedTestcases(path), "Steam started|1\n");
}

// ---- the command ----

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class ReportCommand : public testing::Test {
protected:
    void SetUp() override {
        dir_ = TestDirectory(testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Journal(const Lines& lines) const {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        WriteFile(Path("journal.jsonl"), text);
        return Path("journal.jsonl");
    }

    Outcome Run(const std::string& arguments) const {
        Outcome result;
        const std::string command = std::string("'") + STEAMBRIDGE_OFFLINE_TOOL + "' " + arguments +
                                    " > '" + Path("out") + "' 2> '" + Path("err") + "'";
        result.status = ExitStatus(std::system(command.c_str()));
        result.out = ReadFile(Path("out"));
        result.err = ReadFile(Path("err"));
        return result;
    }

    std::string dir_;
};

TEST_F(ReportCommand, WritesTheReportAndJUnitFiles) {
    const std::string log = Journal(FinishedRun());
    const Outcome result = Run("report '" + log + "' --report '" + Path("report.json") +
                               "' --junit=" + Path("junit.xml"));
    EXPECT_EQ(result.status, offline_tool::kAllMet) << result.err;
    EXPECT_NE(result.out.find("Steam started: 1 session"), std::string::npos) << result.out;
    const std::string text = ReadFile(Path("report.json"));
    EXPECT_EQ(text.rfind("{\n  \"started\": true,\n", 0), 0u) << text;
    EXPECT_EQ(json::parse(text)["stats"]["STAT_KILLS"], 10);
    EXPECT_EQ(ParsedTestcases(Path("junit.xml")), "Steam started|0\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
    }
}

TEST_F(ReportCommand, UsageErrorsExitTwo) {
    const std::string log = Journal(FinishedRun());
    EXPECT_EQ(Run("").status, offline_tool::kUsage);
    EXPECT_EQ(Run("fly").status, offline_tool::kUsage);
    EXPECT_EQ(Run("report").status, offline_tool::kUsage);
    EXPECT_EQ(Run("report '" + log + "' '" + log + "'").status, offline_tool::kUsage);
    EXPECT_EQ(Run("report '" + log + "' --verbose").status, offline_tool::kUsage);
    const Outcome missing = Run("report '" + log + "' --report");
    EXPECT_EQ(missing.status, offline_tool::kUsage);
    EXPECT_NE(missing.err.find("--report"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(Path("report.json")));

    const Outcome help = Run("report --help");
    EXPECT_EQ(help.status, offline_tool::kAllMet);
    for (const offline_tool::ExitStatusEntry& entry : offline_tool::kExitStatuses) {
        EXPECT_NE(help.out.find(std::to_string(entry.status) + "  " + entry.meaning),
                  std::string::npos)
            << help.out;
    }
}

TEST_F(ReportCommand, VersionIsTheProjects) {
    const Outcome version = Run("--version");
    EXPECT_EQ(version.status, offline_tool::kAllMet);
    EXPECT_EQ(version.out, std::string("steambridge-offline ") + STEAMBRIDGE_VERSION_TEXT + "\n");
}

TEST_F(ReportCommand, ExitStatusTellsHowTheRunWent) {
    const std::string log = Journal(FinishedRun());
    const std::string scenario = Path("scenario.json");
    WriteFile(scenario,
              R"({"achievements":[{"name":"ACH_WIN"},{"name":"ACH_LOSE"}],)"
              R"("stats":[{"name":"STAT_KILLS","type":"int"}],)"
              R"("expect":{"achievements":["ACH_LOSE"],"stats":{"STAT_KILLS":{"min":10}}}})");
    const Outcome unmet = Run("report '" + log + "' --scenario '" + scenario + "' --junit '" +
                              Path("junit.xml") + "'");
    EXPECT_EQ(unmet.status, offline_tool::kExpectationFailed) << unmet.err;
    EXPECT_NE(unmet.out.find("FAILED  achievement ACH_LOSE unlocked"), std::string::npos)
        << unmet.out;
    EXPECT_EQ(ParsedTestcases(Path("junit.xml")),
              "Steam started|0\nachievement ACH_LOSE unlocked|1\nstat STAT_KILLS at least 10|0\n");

    WriteFile(Path("refused.json"), R"({"achievements": 12})");
    const Outcome refused = Run("report '" + log + "' --scenario '" + Path("refused.json") + "'");
    EXPECT_EQ(refused.status, offline_tool::kScenarioRefused);
    EXPECT_NE(refused.err.find("refused.json"), std::string::npos) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;

    EXPECT_EQ(Run("report '" + Path("absent.jsonl") + "'").status,
              offline_tool::kJournalUnreadable);
    EXPECT_EQ(Run("report '" + dir_ + "'").status, offline_tool::kJournalUnreadable);

    const std::string failed = Journal(
        {kOpen, R"({"event":"start","frame":0,"ok":false,"reason":"Steam is not running"})"});
    const Outcome never = Run("report '" + failed + "' --report '" + Path("report.json") + "'");
    EXPECT_EQ(never.status, offline_tool::kNeverStarted);
    EXPECT_EQ(json::parse(ReadFile(Path("report.json")))["startFailure"], "Steam is not running");

    EXPECT_EQ(Run("report '" + log + "' --report '" + Path("no/such/dir/report.json") + "'").status,
              offline_tool::kOutputFailed);
}

}  // namespace
