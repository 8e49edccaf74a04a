// Loading the run's files, the journal's event lines and the state file.
#include "offline_run.h"

#include <cstdlib>
#include <deque>
#include <set>
#include <utility>

#include "journal.h"
#include "leaderboards.h"
#include "model_lock.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"

#if defined(_WIN32)
#include <process.h>
#define CURRENT_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define CURRENT_PROCESS_ID getpid()
#endif

namespace offline_steam::run {
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

Run& TheRun() {
    static Run state;
    return state;
}

const char* Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

std::string StateJson() {
    std::string achievements;
    for (int i = 0; i < AchievementCount(); ++i) {
        bool achieved = false;
        uint32_t time = 0;
        TheStatsServer().ServerAchievement(i, &achieved, &time);
        if (!achievements.empty()) achievements += ',';
        achievements += JsonString(AchievementAt(i).name) +
                        ":{\"unlocked\":" + (achieved ? "true" : "false") +
                        ",\"unlockTime\":" + std::to_string(time) + "}";
    }
    std::string stats;
    for (int i = 0; i < StatCount(); ++i) {
        if (!stats.empty()) stats += ',';
        stats += JsonString(StatAt(i).name) + ":" + JsonNumber(TheStatsServer().ServerStatValue(i));
    }
    std::string boards;
    for (const auto& [name, score] : TheLeaderboards().UserScores()) {
        if (!boards.empty()) boards += ',';
        boards += JsonString(name) + ":{\"score\":" + std::to_string(score) + "}";
    }
    return ",\"achievements\":{" + achievements + "},\"stats\":{" + stats + "},\"leaderboards\":{" +
           boards + "}";
}

StartState ServerState() {
    StartState state;
    for (int i = 0; i < AchievementCount(); ++i) {
        bool achieved = false;
        uint32_t time = 0;
        TheStatsServer().ServerAchievement(i, &achieved, &time);
        if (achieved) state.achievements[AchievementAt(i).name] = time;
    }
    for (int i = 0; i < StatCount(); ++i)
        state.stats[StatAt(i).name] = TheStatsServer().ServerStatValue(i);
    state.leaderboards = TheLeaderboards().UserScores();
    return state;
}

// At process exit with Steam still up: Steam stores what was set and not stored.
struct ExitWatch {
    ~ExitWatch() {
        ModelGuard guard;
        if (!TheSession().Running()) return;
        if (TheStatsServer().HasPendingChanges())
            NoteStore(TheStatsServer().Store(TheSession().Clock()), "exit");
        NoteShutdown("exit");
        TheJournal().Close();
    }
};

void LoadFiles() {
    Run& state = TheRun();
    const char* scenarioPath = Environment("STEAMBRIDGE_OFFLINE_SCENARIO");
    const char* statePath = Environment("STEAMBRIDGE_OFFLINE_STATE");
    const char* journalPath = Environment("STEAMBRIDGE_OFFLINE_JOURNAL");
    if (scenarioPath == nullptr && statePath == nullptr && journalPath == nullptr) return;
    state.active = true;
    if (journalPath != nullptr && !TheJournal().Open(journalPath))
        state.refusal = std::string(journalPath) + ": cannot be written";

    Scenario scenario = BuiltInScenario();
    std::string error;
    if (scenarioPath != nullptr && !LoadScenarioFile(scenarioPath, &scenario, &error)) {
        state.refusal = error;
        scenario = BuiltInScenario();
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
    SetActiveScenario(scenario);
    ResetSimulator();
    if (!scenario.clock) TheSession().FollowWallClock();

    TheJournal().Write("open", TheSession().Frame(),
                       ",\"app\":" + std::to_string(scenario.appId) +
                           ",\"steamId\":" + JsonString(std::to_string(scenario.steamId)) +
                           ",\"pid\":" + std::to_string(CURRENT_PROCESS_ID) +
                           ",\"time\":" + std::to_string(TheSession().Clock()) + ",\"scenario\":" +
                           (scenarioPath ? JsonString(scenarioPath) : std::string("null")));
    if (!IsSteamLanguageCode(scenario.language))
        Warn("unknown-language", "\"" + scenario.language + "\" is not a language code Steam has");
    for (const std::string& language : scenario.languages)
        if (!IsSteamLanguageCode(language))
            Warn("unknown-language", "\"" + language + "\" is not a language code Steam has");
    static ExitWatch exitWatch;
}

}  // namespace

void Prepare() {
    if (TheRun().prepared) return;
    TheRun().prepared = true;
    LoadFiles();
}

bool StartAllowed(std::string* reason) {
    if (TheRun().refusal.empty()) return true;
    if (reason != nullptr) *reason = TheRun().refusal;
    return false;
}

bool Active() { return TheRun().active; }

void NoteStart(bool ok, const std::string& reason) {
    if (!TheJournal().IsOpen()) return;
    TheJournal().Write(
        "start", TheSession().Frame(),
        ok ? std::string(",\"ok\":true") : ",\"ok\":false,\"reason\":" + JsonString(reason));
}

void NoteStatsReceived(int result) {
    TheJournal().Write("statsReceived", TheSession().Frame(),
                       ",\"result\":" + std::to_string(result));
}

void NoteStore(const StatsServer::StoreOutcome& outcome, const char* when) {
    if (!TheJournal().IsOpen()) return;
    std::string unlocked;
    for (int index : outcome.newlyUnlocked) {
        if (!unlocked.empty()) unlocked += ',';
        unlocked += JsonString(AchievementAt(index).name);
    }
    std::string rejected;
    for (const StatsServer::Rejection& rejection : outcome.rejected) {
        if (!rejected.empty()) rejected += ',';
        rejected += "{\"stat\":" + JsonString(StatAt(rejection.statIndex).name) +
                    ",\"reason\":" + JsonString(rejection.reason) + "}";
        Warn("stat-rejected", "stat " + StatAt(rejection.statIndex).name + ": " + rejection.reason);
    }
    TheJournal().Write("store", TheSession().Frame(),
                       ",\"call\":" + std::to_string(outcome.call) + ",\"when\":" +
                           JsonString(when) + ",\"result\":" + std::to_string(outcome.result) +
                           ",\"unlocked\":[" + unlocked + "],\"rejected\":[" + rejected + "]");
    for (int index : outcome.newlyUnlocked) {
        bool achieved = false;
        uint32_t time = 0;
        TheStatsServer().ServerAchievement(index, &achieved, &time);
        TheJournal().Write("unlock", TheSession().Frame(),
                           ",\"name\":" + JsonString(AchievementAt(index).name) +
                               ",\"time\":" + std::to_string(time));
    }
    Run& state = TheRun();
    const uint32_t now = TheSession().Clock();
    state.storeTimes.push_back(now);
    while (now - state.storeTimes.front() >= kAdvisedWindowSeconds) state.storeTimes.pop_front();
    if (static_cast<int>(state.storeTimes.size()) > kAdvisedStores && !state.frequentWarned) {
        state.frequentWarned = true;
        Warn("frequent-stores", "more than " + std::to_string(kAdvisedStores) + " stores within " +
                                    std::to_string(kAdvisedWindowSeconds) +
                                    " seconds: Valve advises storing on the order of minutes "
                                    "(at the end of a level), and Steam rate-limits stores");
    }
    if (outcome.result == kResultOk || !outcome.rejected.empty()) SaveState();
}

void NoteScore(const char* board, int score, bool changed, bool success) {
    if (!TheJournal().IsOpen()) return;
    TheJournal().Write("score", TheSession().Frame(),
                       ",\"board\":" + (board ? JsonString(board) : std::string("null")) +
                           ",\"score\":" + std::to_string(score) + ",\"changed\":" +
                           (changed ? "true" : "false") + ",\"result\":" + (success ? "1" : "2"));
    if (changed) SaveState();
}

void NoteUnserved(const std::string& method) {
    TheJournal().Write("unserved", TheSession().Frame(), ",\"call\":" + JsonString(method));
}

void Warn(const char* code, const std::string& text) {
    if (!TheJournal().IsOpen()) return;
    if (!TheRun().warned.emplace(code, text).second) return;
    TheJournal().Write("warning", TheSession().Frame(),
                       ",\"code\":" + JsonString(code) + ",\"text\":" + JsonString(text));
}

void SaveState() {
    if (!TheRun().active) return;
    TheJournal().Write("state", TheSession().Frame(), StateJson());
    Run& state = TheRun();
    if (!state.stateWritable) return;
    std::string error;
    if (!SaveStateFile(state.statePath, ServerState(), &error)) Warn("state-not-saved", error);
}

void NoteShutdown(const char* how) {
    if (!TheRun().active) return;
    SaveState();
    TheJournal().Write("shutdown", TheSession().Frame(), ",\"how\":" + JsonString(how));
}

}  // namespace offline_steam::run
