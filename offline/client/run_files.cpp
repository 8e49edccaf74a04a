// Loading the run's files and installing its journal, which also keeps the
// state file.
#include "run_files.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "achievement_icons.h"
#include "event_reports.h"
#include "journal.h"
#include "model_lock.h"
#include "png_decoder.h"
#include "scenario.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "state_lock.h"

#if defined(_WIN32)
#include <process.h>
#define CURRENT_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define CURRENT_PROCESS_ID getpid()
#endif

namespace offline_steam::run_files {
namespace {

// Saves the state file off the game's thread: a store costs the game the
// snapshot, not the synced write. The latest snapshot wins; older ones not
// yet written are dropped. Never freed: at exit its thread may still wait on it.
class StateWriter {
public:
    explicit StateWriter(std::string path) : path_(std::move(path)) {
        thread_ = std::thread([this] { Loop(); });
    }

    void Submit(StartState state) {
        std::lock_guard<std::mutex> lock(mutex_);
        latest_ = std::move(state);
        ++submitted_;
        wake_.notify_one();
    }

    // Waits until every snapshot submitted is written or failed; the
    // failures since the last call, one line each.
    std::vector<std::string> Settle() {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return written_ >= submitted_ || stopped_; });
        return std::exchange(failures_, {});
    }

    // At exit, on the exiting thread: writes what is left itself. On
    // Windows the writer thread is gone by then, maybe mid-write; a write
    // it left unfinished is only a temporary file, so it is not waited on long.
    std::vector<std::string> FinishAtExit() {
        const bool writerDone = writing_.try_lock_for(std::chrono::seconds(5));
        std::optional<StartState> last;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopped_ = true;
            last = std::exchange(latest_, std::nullopt);
            wake_.notify_one();
        }
        std::string error;
        if (last && !SaveStateFile(path_, *last, &error)) Record(error);
        if (writerDone) writing_.unlock();
        thread_.detach();
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(failures_, {});
    }

private:
    void Loop() {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return latest_.has_value() || stopped_; });
                if (stopped_) return;
            }
            // Whoever writes takes the latest snapshot while holding `writing_`,
            // so an older one is never renamed over a newer one.
            std::lock_guard<std::timed_mutex> writing(writing_);
            std::optional<StartState> state;
            std::uint64_t taken = 0;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (stopped_) return;
                state = std::exchange(latest_, std::nullopt);
                taken = submitted_;
            }
            std::string error;
            const bool saved = !state || SaveStateFile(path_, *state, &error);
            std::lock_guard<std::mutex> lock(mutex_);
            if (!saved) failures_.push_back(error);
            written_ = taken;
            done_.notify_all();
        }
    }

    void Record(const std::string& error) {
        std::lock_guard<std::mutex> lock(mutex_);
        failures_.push_back(error);
    }

    const std::string path_;
    std::timed_mutex writing_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<StartState> latest_;
    std::uint64_t submitted_ = 0;
    std::uint64_t written_ = 0;
    bool stopped_ = false;
    std::vector<std::string> failures_;
    std::thread thread_;
};

// The journal, and Steam's side saved to the state file each time it is journaled.
class RunJournal final : public Journal {
public:
    // No state file is written until this is called. `start` is what the
    // file held: what the scenario in force does not name is carried over.
    void KeepStateIn(const std::string& path, StartState start) {
        kept_ = std::move(start);
        writer_ = new StateWriter(path);
    }

    void StateNow(int frame, const SteamState& state) override {
        Journal::StateNow(frame, state);
        if (writer_ == nullptr || finished_) return;
        for (const SteamState::Achievement& achievement : state.achievements) {
            if (achievement.unlocked)
                kept_.achievements[achievement.name] = achievement.unlockTime;
            else
                kept_.achievements.erase(achievement.name);
        }
        for (const SteamState::Stat& stat : state.stats) kept_.stats[stat.name] = stat.value;
        for (const SteamState::Score& score : state.scores)
            kept_.leaderboards[score.board] = score.score;
        for (const SteamState::Board& board : state.boards)
            kept_.boards[board.name] =
                KeptBoard{static_cast<LeaderboardSort>(board.sortMethod),
                          static_cast<LeaderboardDisplay>(board.displayType), board.details};
        writer_->Submit(kept_);
    }

    void BeforeDelivery() override {
        if (writer_ != nullptr && !finished_) WarnOf(writer_->Settle());
    }

    // Steam stored at shutdown: on the disk before the shutdown returns.
    void ShutDown(int frame, const char* how) override {
        if (writer_ != nullptr && !finished_) WarnOf(writer_->Settle());
        Journal::ShutDown(frame, how);
    }

    void FinishAtExit() {
        if (writer_ == nullptr || finished_) return;
        finished_ = true;
        WarnOf(writer_->FinishAtExit());
    }

private:
    static void WarnOf(const std::vector<std::string>& failures) {
        for (const std::string& failure : failures) Warn(WarningCode::kStateNotSaved, failure);
    }

    StartState kept_;
    // Never freed (its thread may still wait on it at exit), and kept
    // pointed to so that it stays reachable.
    StateWriter* writer_ = nullptr;
    bool finished_ = false;
};

// Never destroyed: a game's thread may still call Steam while the process exits.
RunJournal& TheRunJournal() {
    static RunJournal& journal = *new RunJournal;
    return journal;
}

// Held for the process's life when no launcher holds it for the run.
StateLock& TheStateLock() {
    static StateLock lock;
    return lock;
}

// At process exit with Steam still up: Steam stores what was set and not stored.
struct ExitWatch {
    ~ExitWatch() {
        ModelGuard guard;
        EndSessionAtExit();
        TheRunJournal().FinishAtExit();
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
    // One run at a time on the state: the launcher holds the lock for the
    // runs it makes; a game started on its own takes it here, for its life.
    if (statePath != nullptr && refusal.empty() &&
        Environment("STEAMBRIDGE_OFFLINE_STATE_HELD") == nullptr &&
        !TheStateLock().Acquire(statePath, StateLockWaitSeconds(), &error))
        refusal = error;
    if (statePath != nullptr && refusal.empty()) {
        StartState saved;
        if (!StateFileExists(statePath)) {
            journal.KeepStateIn(statePath, scenario.start);
        } else if (LoadStateFile(statePath, &saved, &error)) {
            scenario.start = saved;
            journal.KeepStateIn(statePath, std::move(saved));
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
