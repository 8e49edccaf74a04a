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
//   {"event":"unserved","call":"STEAMUSERSTATS_INTERFACE_VERSION012::GetAchievementIcon"}
//       a method the offline client does not serve: it answered zero
//   {"event":"statsReceived","result":1}
//       the user's stats reached the game (result 1) or failed to
//   {"event":"store","call":3,"result":1,"unlocked":["ACH_WIN"],"rejected":[{"stat":"S","reason":"…"}]}
//       StoreStats, its n-th call, and the result its UserStatsStored_t carries
//   {"event":"unlock","name":"ACH_WIN","time":1700000000}
//       an achievement became unlocked on Steam's side
//   {"event":"score","board":"Board","score":10,"changed":true,"result":1}
//       an upload's answer
//   {"event":"warning","code":"unknown-name","text":"…"}
//       something real Steam would refuse or punish (codes: unknown-name,
//       wrong-type, before-stats, frequent-stores, unknown-language, ...)
//   {"event":"state","achievements":{"ACH":{"unlocked":true,"unlockTime":T}},
//    "stats":{"STAT":5},"leaderboards":{"Board":{"score":10}}}
//       Steam's side after every accepted store or upload and at the end
//   {"event":"shutdown","how":"api"}   the game shut Steam down
//   {"event":"shutdown","how":"exit"}  the process ended with Steam still up
//                                      (pending changes stored first)
#pragma once

#include <string>

namespace offline_steam {

// A JSON text for a journal line's field; quotes and escapes it (bytes that
// are not UTF-8 become U+FFFD).
std::string JsonString(const std::string& text);
// A JSON number whatever the game's C locale; null for NaN and infinities.
std::string JsonNumber(double value);

class Journal {
public:
    // Opens (appends to) the file; false when it cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();
    // Writes one line: {"event":"<event>","frame":<frame><fields>} where
    // `fields` is empty or starts with a comma.
    void Write(const char* event, int frame, const std::string& fields);

private:
    void* file_ = nullptr;  // FILE*
};

Journal& TheJournal();

}  // namespace offline_steam
