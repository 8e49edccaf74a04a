// The report of one offline run, built from the client's journal alone (its
// lines are described in model/journal.h) and held to the scenario's
// expectations: a JSON document, a short summary for the terminal, and JUnit
// XML for CI. journal_reader.cpp builds it; summary.cpp, report_json.cpp and
// junit.cpp each write it one way.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scenario.h"

namespace offline_tool {

struct ReportWarning {
    std::string code;
    std::string text;
};

struct ExpectationResult {
    std::string what;  // "achievement ACH_WIN unlocked"
    bool met = false;
    std::string detail;  // what was found instead; empty when met
};

struct AchievementState {
    bool unlocked = false;
    std::optional<int64_t> unlockTime;
};

struct Unlock {
    std::string name;
    int64_t time = 0;
};

struct Upload {
    std::string board;
    double score = 0;
    bool changed = false;
    int64_t result = 0;
};

struct StoreRefusal {
    int64_t call = 0;  // the n-th StoreStats
    int64_t result = 0;
};

struct StatRejection {
    std::string stat;
    std::string reason;
};

struct Report {
    bool started = false;                     // some start succeeded and was not taken back
    std::optional<std::string> startFailure;  // the last start failed, and why
    int sessions = 0;                         // successful starts
    bool cleanShutdown = false;               // SteamAPI_Shutdown after the last successful start
    int64_t calls = 0;

    // Steam's side at the last "state" line; empty without one.
    bool hasState = false;
    std::map<std::string, AchievementState> achievements;
    std::map<std::string, double> stats;
    std::map<std::string, double> leaderboards;  // board to the user's score

    std::vector<Unlock> unlocks;  // unlocked during the journal, first unlock of each
    std::vector<Upload> uploads;
    int stores = 0;
    std::vector<StoreRefusal> refusedStores;  // result other than 1
    std::vector<StatRejection> rejectedStats;

    // The user's rich presence (key to value) at its last change in the
    // journal's last process; hasRichPresence: the game set or cleared it.
    bool hasRichPresence = false;
    std::map<std::string, std::string> richPresence;

    std::vector<ReportWarning> warnings;                // distinct, in first-seen order
    std::vector<std::pair<std::string, int>> unserved;  // method, times; first-seen order
    // Interface versions asked for, distinct, first-seen order: served, and
    // answered NULL (or unknown to the library's check).
    std::vector<std::string> servedInterfaces;
    std::vector<std::string> refusedInterfaces;
    std::vector<ExpectationResult> expectations;

    // What steambridge traced, when the game uses it: why a start failed,
    // above all when the client library was never reached.
    std::vector<std::string> bridgeTrace;

    int FailedExpectations() const {
        int failed = 0;
        for (const ExpectationResult& expectation : expectations) failed += expectation.met ? 0 : 1;
        return failed;
    }
};

// Splits a journal file's text into lines ("\n" or "\r\n"); a text ending
// without a newline keeps its last, perhaps partial, line.
std::vector<std::string> SplitJournal(const std::string& text);

// Reads a journal file; false, with `error` set to one line, when it cannot.
bool ReadJournalFile(const std::string& path, std::vector<std::string>* lines, std::string* error);

// Lines that are not JSON objects are skipped (one cut mid-line gives the
// warning "journal-cut"), events it does not know are ignored.
Report BuildReport(const std::vector<std::string>& journalLines,
                   const offline_steam::Expectations& expect);

// The report as JSON, indented by two spaces, ending with a newline.
std::string ReportJson(const Report& report);
// Lines for a person at an 80-column terminal, each ending with a newline.
std::string ReportSummary(const Report& report);
// One <testsuite name="steambridge-offline">: "Steam started", then one
// testcase per expectation; the warnings in its <system-out>.
std::string ReportJUnit(const Report& report);

}  // namespace offline_tool
