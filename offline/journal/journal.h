// The run's journal: one JSON object per line, appended and flushed as each
// thing happens, so a game that crashes loses nothing. The report
// (steambridge-offline report) is built from it alone.
//
// Every line has "event" and "frame" (SteamAPI_RunCallbacks calls so far):
//   {"event":"open","app":480,"steamId":"7656…","pid":123,"time":1700000000,"scenario":"path"}
//       the journal was opened (first line of each process)
//   {"event":"start","ok":true}  {"event":"start","ok":false,"reason":"…"}
//       the library connected to the offline client (a refused scenario or
//       state file, or the Steam-not-running fault, give ok false and why)
//   {"event":"call","call":"SteamAPI_ISteamUserStats_SetAchievement","args":["ACH_WIN"]}
//       every Steam call the game made, by its flat name, with its arguments
//   {"event":"start","ok":false,"reason":"the library refused the start: No SteamFriends018"}
//       after an ok start, before any frame: Valve's library gave the start up
//       (a version it asked for was unknown or NULL) and released the user;
//       it takes that start back, and no shutdown line follows
//   {"event":"interface","version":"SteamUtils010","served":true}
//       an interface version asked for (CreateInterface, an ISteamClient
//       getter, Steam_IsKnownInterface) and whether it was served; once per
//       version and answer, at the frame it was first asked
//   {"event":"unserved","call":"STEAMUSERSTATS_INTERFACE_VERSION012::GetAchievementIcon"}
//       a method the offline client does not serve: it answered zero
//   {"event":"statsReceived","result":1}
//       the user's stats reached the game (result 1) or failed to
//   {"event":"store","call":3,"when":"StoreStats","result":1,"unlocked":["ACH_WIN"],
//    "rejected":[{"stat":"S","reason":"…"}]}
//       StoreStats, its n-th call, and the result its UserStatsStored_t
//       carries; "when" is "shutdown" or "exit" for the store Steam makes itself
//   {"event":"unlock","name":"ACH_WIN","time":1700000000}
//       an achievement became unlocked on Steam's side
//   {"event":"score","board":"Board","score":10,"changed":true,"result":1}
//       an upload's answer
//   {"event":"warning","code":"unknown-name","text":"…"}
//       something real Steam would refuse or punish (the codes:
//       offline/model/warning_codes.h)
//   {"event":"state","achievements":{"ACH":{"unlocked":true,"unlockTime":T}},
//    "stats":{"STAT":5},"leaderboards":{"Board":{"score":10}}}
//       Steam's side after every accepted store or upload and at the end
//   {"event":"richPresence","keys":{"status":"In the menu"}}
//       the user's rich presence after the game changed it, every key in the
//       order first set ({} once cleared); the last one is what friends saw
//   {"event":"shutdown","how":"api"}   the game shut Steam down
//   {"event":"shutdown","how":"exit"}  the process ended with Steam still up
//                                      (pending changes stored first)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model_events.h"

namespace offline_steam {

// The model's events as journal lines (model_events.h): installed as the
// model's sink by an offline run. Each line is written and flushed as it
// comes, JSON by nlohmann; text that is not UTF-8 gets U+FFFD in its place.
class Journal : public ModelEvents {
public:
    ~Journal() override { Close(); }

    // Opens (appends to) the file; false when it cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();

    // The "open" line; `scenario` null for the built-in one.
    void Opened(int frame, std::uint32_t app, std::uint64_t steamId, unsigned long pid,
                std::uint32_t time, const char* scenario);

    void Started(int frame, bool ok, const std::string& reason) override;
    void StatsReceived(int frame, int result) override;
    void Stored(int frame, const StoreEvent& store) override;
    void Scored(int frame, const char* board, int score, bool changed, bool success) override;
    void InterfaceAsked(int frame, const std::string& version, bool served) override;
    void Unserved(int frame, const std::string& method) override;
    void Warned(int frame, WarningCode code, const std::string& text) override;
    void StateNow(int frame, const SteamState& state) override;
    void ShutDown(int frame, const char* how) override;
    void Called(int frame, const char* name, const std::vector<CallArgument>& arguments) override;
    void RichPresenceNow(int frame,
                         const std::vector<std::pair<std::string, std::string>>& keys) override;

private:
    void Write(const std::string& line);

    void* file_ = nullptr;  // FILE*
};

}  // namespace offline_steam
