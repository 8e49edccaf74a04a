// Loading the run's files and installing its journal, which also keeps the
// state file.
#include "run_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "achievement_icons.h"
#include "event_reports.h"
#include "journal.h"
#include "model_lock.h"
#include "png_decoder.h"
#include "scenario.h"
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

namespace offline_steam::run_files {
namespace {

// The journal, and Steam's side written to the state file each time it is journaled.
class RunJournal final : public Journal {
public:
    // No state file is written when `path` is empty.
    void KeepStateIn(std::string path) { statePath_ = std::move(path); }

    void StateNow(int frame, const SteamState& state) override {
        Journal::StateNow(frame, state);
        if (statePath_.empty()) return;
        StartState saved;
        for (const SteamState::Achievement& achievement : state.achievements)
            if (achievement.unlocked) saved.achievements[achievement.name] = achievement.unlockTime;
        for (const SteamState::Stat& stat : state.stats) saved.stats[stat.name] = stat.value;
        for (const SteamState::Score& score : state.scores)
            saved.leaderboards[score.board] = score.score;
        std::string error;
        if (!SaveStateFile(statePath_, saved, &error)) Warn(WarningCode::kStateNotSaved, error);
    }

private:
    std::string statePath_;
};

RunJournal& TheRunJournal() {
    static RunJournal journal;
    return journal;
}

// At process exit with Steam still up: Steam stores what was set and not stored.
struct ExitWatch {
    ~ExitWatch() {
        ModelGuard guard;
        EndSessionAtExit();
        SetModelEvents(nullptr);
        TheRunJournal().Close();
    }
};

const char* Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

void WarnOfUnknownLanguages(const Scenario& scenario) {
    if (!IsSteamLanguageCode(scenario.language))
        Warn(WarningCode::kUnknownLanguage,
             "\"" + scenario.language + "\" is not a language code Steam has");
    for (const std::string& language : scenario.languages)
        if (!IsSteamLanguageCode(language))
            Warn(WarningCode::kUnknownLanguage,
                 "\"" + language + "\" is not a language code Steam has");
    if (!IsSteamLanguageCode(scenario.uiLanguage))
        Warn(WarningCode::kUnknownLanguage,
             "user.uiLanguage \"" + scenario.uiLanguage + "\" is not a language code Steam has");
}

void LoadFiles() {
    const char* scenarioPath = Environment("STEAMBRIDGE_OFFLINE_SCENARIO");
    const char* statePath = Environment("STEAMBRIDGE_OFFLINE_STATE");
    const char* journalPath = Environment("STEAMBRIDGE_OFFLINE_JOURNAL");
    if (scenarioPath == nullptr && statePath == nullptr && journalPath == nullptr) return;
    RunJournal& journal = TheRunJournal();
    std::string refusal;
    if (journalPath != nullptr && !journal.Open(journalPath))
        refusal = std::string(journalPath) + ": cannot be written";

    Scenario scenario = BuiltInScenario();
    std::string error;
    if (scenarioPath != nullptr && !LoadScenarioFile(scenarioPath, &scenario, &error)) {
        refusal = error;
        scenario = BuiltInScenario();
    }
    if (statePath != nullptr && refusal.empty()) {
        StartState saved;
        if (!StateFileExists(statePath)) {
            journal.KeepStateIn(statePath);
        } else if (LoadStateFile(statePath, &saved, &error)) {
            scenario.start = std::move(saved);
            journal.KeepStateIn(statePath);
        } else {
            refusal = error;  // and the file is never overwritten
        }
    }
    if (!refusal.empty()) RefuseStarts(refusal);
    SetActiveScenario(scenario);
    ResetSimulator();
    if (!scenario.clock) TheSession().FollowWallClock();
    SetModelEvents(&journal);

    journal.Opened(TheSession().Frame(), scenario.appId, scenario.steamId,
                   static_cast<unsigned long>(CURRENT_PROCESS_ID), TheSession().Clock(),
                   scenarioPath);
    WarnOfUnknownLanguages(scenario);
    static ExitWatch exitWatch;
}

}  // namespace

void Prepare() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    InstallPngDecoder(client::ThePngDecoder());
    LoadFiles();
}

}  // namespace offline_steam::run_files
