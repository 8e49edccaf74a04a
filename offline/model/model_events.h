// What the offline Steam's model reports as a game runs: one list of events,
// one place they go, as the bridge's trace does (src/bridge/trace.h). The
// events go to the one sink installed; with none, the model reports nothing
// and does no work for it. An offline run installs its journal
// (offline/journal/journal.h), which writes each event as a line.
//
// Events come with the ModelGuard held, in the order they happened; `frame`
// is the number of SteamAPI_RunCallbacks calls so far.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "warning_codes.h"

namespace offline_steam {

// One argument of a game's call as the game passed it: a null text, a text,
// a signed or an unsigned integer, a flag, a real number, a list of integers.
using CallArgument = std::variant<std::monostate, std::string, std::int64_t, std::uint64_t, bool,
                                  double, std::vector<std::int32_t>>;

// A store's outcome on Steam's side.
struct StoreEvent {
    struct Unlock {
        std::string achievement;
        std::uint32_t time;
    };
    struct Rejection {
        std::string stat;
        std::string reason;
    };
    int call;                      // the n-th StoreStats
    const char* when;              // "StoreStats", or "shutdown" and "exit" for Steam's own
    int result;                    // what UserStatsStored_t carries
    std::vector<Unlock> unlocked;  // newly unlocked on Steam's side
    std::vector<Rejection> rejected;
};

// Steam's side of the user: every achievement of the schema, every stat,
// the user's score on each board that has one.
struct SteamState {
    struct Achievement {
        std::string name;
        bool unlocked;
        std::uint32_t unlockTime;
    };
    struct Stat {
        std::string name;
        double value;
    };
    struct Score {
        std::string board;
        std::int32_t score;
    };
    // Every board as a state file keeps it, with or without the user's score.
    struct Board {
        std::string name;
        int sortMethod;
        int displayType;
        std::vector<std::int32_t> details;  // of the user's entry
    };
    std::vector<Achievement> achievements;
    std::vector<Stat> stats;
    std::vector<Score> scores;
    std::vector<Board> boards;
};

class ModelEvents {
public:
    virtual ~ModelEvents() = default;

    // The library asked to start Steam: it did, or it did not and why.
    virtual void Started(int frame, bool ok, const std::string& reason) = 0;
    // The user's stats reached the game (result 1) or failed to.
    virtual void StatsReceived(int frame, int result) = 0;
    virtual void Stored(int frame, const StoreEvent& store) = 0;
    // An upload's answer; `board` is null when the game's handle named none.
    virtual void Scored(int frame, const char* board, int score, bool changed, bool success) = 0;
    // An interface version the library or the game asked the client for, and
    // whether it got the object (false: NULL, or "unknown" to the 1.59+ check);
    // once per version and answer a process, at the frame it was first asked.
    virtual void InterfaceAsked(int frame, const std::string& version, bool served) = 0;
    // A method the client does not serve ("<interface version>::<method>"); it answered zero.
    virtual void Unserved(int frame, const std::string& method) = 0;
    // What real Steam would refuse or punish; each code and text once a process.
    virtual void Warned(int frame, WarningCode code, const std::string& text) = 0;
    // Steam's side after an accepted store, a changed score or a reset, and at the end.
    virtual void StateNow(int frame, const SteamState& state) = 0;
    // "api": the game shut Steam down; "exit": the process ended with Steam up.
    virtual void ShutDown(int frame, const char* how) = 0;
    // A game's Steam call by its flat name ("SteamAPI_…"), with its arguments.
    virtual void Called(int frame, const char* name,
                        const std::vector<CallArgument>& arguments) = 0;
    // The user's rich presence after the game changed it (SetRichPresence,
    // ClearRichPresence): every key and its value, in the order first set.
    // The last one of a process is what friends saw at the end.
    // Before due records reach the game: what it will be told is stored
    // must be on the disk by then.
    virtual void BeforeDelivery() {}
    virtual void RichPresenceNow(int /*frame*/,
                                 const std::vector<std::pair<std::string, std::string>>& /*keys*/) {
    }
};

// Installs `sink` (null: none); it must outlive its installation.
void SetModelEvents(ModelEvents* sink);
// The sink installed, null when none: work done only for one waits on it.
ModelEvents* InstalledModelEvents();

}  // namespace offline_steam
