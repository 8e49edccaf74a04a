// Loading the run's files, the journal's event lines and the state file.
#include "offline_run.h"

#include <cstdlib>
#include <deque>
#include <set>
#include <utility>

#include "journal.h"
#include "leaderboards.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "sim_lock.h"

#if defined(_WIN32)
#include <process.h>
#define CURRENT_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define CURRENT_PROCESS_ID getpid()
#endif

namespace steam_sim::offline {
namespace {

// Valve advises storing "on the order of minutes": more than this many
// stores within the window is worth a warning.
constexpr int kAdvisedStores = 10;
constexpr uint32_t kAdvisedWindowSeconds = 60;

struct Run {
    bool prepared = false;
    bool active = false;
    std::string refusal;  // why the start must fail, when a file was refused
    std::string statePath;
    bool stateWritable = false;
    std::set<std::pair<std::string, std::string>> warned;
    std::deque<uint32_t> storeTimes;
    bool frequentWarned = false;
};

Run& run() {
    static Run state;
    return state;
}

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

std::string stateJson() {
    std::string achievements;
    for (int i = 0; i < achievementCount(); ++i) {
        bool achieved = false;
        uint32_t time = 0;
        statsServer().serverAchievement(i, &achieved, &time);
        if (!achievements.empty()) achievements += ',';
        achievements += JsonString(achievementAt(i).name) + ":{\"unlocked\":" +
                        (achieved ? "true" : "false") + ",\"unlockTime\":" + std::to_string(time) +
                        "}";
    }
    std::string stats;
    for (int i = 0; i < statCount(); ++i) {
        if (!stats.empty()) stats += ',';
        stats += JsonString(statAt(i).name) + ":" + JsonNumber(statsServer().serverStatValue(i));
    }
    std::string boards;
    for (const auto& [name, score] : leaderboards().userScores()) {
        if (!boards.empty()) boards += ',';
        boards += JsonString(name) + ":{\"score\":" + std::to_string(score) + "}";
    }
    return ",\"achievements\":{" + achievements + "},\"stats\":{" + stats +
           "},\"leaderboards\":{" + boards + "}";
}

StartState serverState() {
    StartState state;
    for (int i = 0; i < achievementCount(); ++i) {
        bool achieved = false;
        uint32_t time = 0;
        statsServer().serverAchievement(i, &achieved, &time);
        if (achieved) state.achievements[achievementAt(i).name] = time;
    }
    for (int i = 0; i < statCount(); ++i)
        state.stats[statAt(i).name] = statsServer().serverStatValue(i);
    state.leaderboards = leaderboards().userScores();
    return state;
}

// At process exit with Steam still up: Steam stores what was set and not stored.
struct ExitWatch {
    ~ExitWatch() {
        SimGuard guard;
        if (!session().running()) return;
        if (statsServer().hasPendingChanges())
            noteStore(statsServer().store(session().clock()), "exit");
        noteShutdown("exit");
        journal().close();
    }
};

void loadFiles() {
    Run& state = run();
    const char* scenarioPath = environment("STEAMBRIDGE_OFFLINE_SCENARIO");
    const char* statePath = environment("STEAMBRIDGE_OFFLINE_STATE");
    const char* journalPath = environment("STEAMBRIDGE_OFFLINE_JOURNAL");
    if (scenarioPath == nullptr && statePath == nullptr && journalPath == nullptr) return;
    state.active = true;
    if (journalPath != nullptr && !journal().open(journalPath))
        state.refusal = std::string(journalPath) + ": cannot be written";

    Scenario scenario = builtInScenario();
    std::string error;
    if (scenarioPath != nullptr && !LoadScenarioFile(scenarioPath, &scenario, &error)) {
        state.refusal = error;
        scenario = builtInScenario();
    }
    if (statePath != nullptr && state.refusal.empty()) {
        state.statePath = statePath;
        StartState saved;
        if (StateFileExists(statePath)) {
            if (LoadStateFile(statePath, &saved, &error)) {
                scenario.start = std::move(saved);
                state.stateWritable = true;
            } else {
                state.refusal = error;  // and the file is never overwritten
            }
        } else {
            state.stateWritable = true;
        }
    }
    setActiveScenario(scenario);
    resetSimulator();
    if (!scenario.clock) session().followWallClock();

    journal().write("open", session().frame(),
                    ",\"app\":" + std::to_string(scenario.appId) + ",\"steamId\":" +
                        JsonString(std::to_string(scenario.steamId)) +
                        ",\"pid\":" + std::to_string(CURRENT_PROCESS_ID) +
                        ",\"time\":" + std::to_string(session().clock()) + ",\"scenario\":" +
                        (scenarioPath ? JsonString(scenarioPath) : std::string("null")));
    if (!IsSteamLanguageCode(scenario.language))
        warn("unknown-language", "\"" + scenario.language + "\" is not a language code Steam has");
    for (const std::string& language : scenario.languages)
        if (!IsSteamLanguageCode(language))
            warn("unknown-language", "\"" + language + "\" is not a language code Steam has");
    static ExitWatch exitWatch;
}

}  // namespace

void prepare() {
    if (run().prepared) return;
    run().prepared = true;
    loadFiles();
}

bool startAllowed(std::string* reason) {
    if (run().refusal.empty()) return true;
    if (reason != nullptr) *reason = run().refusal;
    return false;
}

bool active() { return run().active; }

void noteStart(bool ok, const std::string& reason) {
    if (!journal().isOpen()) return;
    journal().write("start", session().frame(),
                    ok ? std::string(",\"ok\":true")
                       : ",\"ok\":false,\"reason\":" + JsonString(reason));
}

void noteStatsReceived(int result) {
    journal().write("statsReceived", session().frame(), ",\"result\":" + std::to_string(result));
}

void noteStore(const StatsServer::StoreOutcome& outcome, const char* when) {
    if (!journal().isOpen()) return;
    std::string unlocked;
    for (int index : outcome.newlyUnlocked) {
        if (!unlocked.empty()) unlocked += ',';
        unlocked += JsonString(achievementAt(index).name);
    }
    std::string rejected;
    for (const StatsServer::Rejection& rejection : outcome.rejected) {
        if (!rejected.empty()) rejected += ',';
        rejected += "{\"stat\":" + JsonString(statAt(rejection.statIndex).name) +
                    ",\"reason\":" + JsonString(rejection.reason) + "}";
        warn("stat-rejected", "stat " + statAt(rejection.statIndex).name + ": " + rejection.reason);
    }
    journal().write("store", session().frame(),
                    ",\"call\":" + std::to_string(outcome.call) + ",\"when\":" + JsonString(when) +
                        ",\"result\":" + std::to_string(outcome.result) + ",\"unlocked\":[" +
                        unlocked + "],\"rejected\":[" + rejected + "]");
    for (int index : outcome.newlyUnlocked) {
        bool achieved = false;
        uint32_t time = 0;
        statsServer().serverAchievement(index, &achieved, &time);
        journal().write("unlock", session().frame(),
                        ",\"name\":" + JsonString(achievementAt(index).name) +
                            ",\"time\":" + std::to_string(time));
    }
    Run& state = run();
    const uint32_t now = session().clock();
    state.storeTimes.push_back(now);
    while (now - state.storeTimes.front() >= kAdvisedWindowSeconds) state.storeTimes.pop_front();
    if (static_cast<int>(state.storeTimes.size()) > kAdvisedStores && !state.frequentWarned) {
        state.frequentWarned = true;
        warn("frequent-stores", "more than " + std::to_string(kAdvisedStores) +
                                    " stores within " + std::to_string(kAdvisedWindowSeconds) +
                                    " seconds: Valve advises storing on the order of minutes "
                                    "(at the end of a level), and Steam rate-limits stores");
    }
    if (outcome.result == kResultOk || !outcome.rejected.empty()) saveState();
}

void noteScore(const char* board, int score, bool changed, bool success) {
    if (!journal().isOpen()) return;
    journal().write("score", session().frame(),
                    ",\"board\":" + (board ? JsonString(board) : std::string("null")) +
                        ",\"score\":" + std::to_string(score) + ",\"changed\":" +
                        (changed ? "true" : "false") + ",\"result\":" + (success ? "1" : "2"));
    if (changed) saveState();
}

void noteUnserved(const std::string& method) {
    journal().write("unserved", session().frame(), ",\"call\":" + JsonString(method));
}

void warn(const char* code, const std::string& text) {
    if (!journal().isOpen()) return;
    if (!run().warned.emplace(code, text).second) return;
    journal().write("warning", session().frame(),
                    ",\"code\":" + JsonString(code) + ",\"text\":" + JsonString(text));
}

void saveState() {
    if (!run().active) return;
    journal().write("state", session().frame(), stateJson());
    Run& state = run();
    if (!state.stateWritable) return;
    std::string error;
    if (!SaveStateFile(state.statePath, serverState(), &error)) warn("state-not-saved", error);
}

void noteShutdown(const char* how) {
    if (!run().active) return;
    saveState();
    journal().write("shutdown", session().frame(), ",\"how\":" + JsonString(how));
}

}  // namespace steam_sim::offline
