// One run of the offline Steam as a scenario file describes it: the game's
// schema (app, achievements, stats, leaderboards), the user, the state before
// the run, the faults to inject and what must hold at the end. The file format
// is published as scenario.schema.json beside this header.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace offline_steam {

enum class StatType { Int, Float, AverageRate };
// Steam's ELeaderboardSortMethod and ELeaderboardDisplayType values.
enum class LeaderboardSort { None = 0, Ascending = 1, Descending = 2 };
enum class LeaderboardDisplay { None = 0, Numeric = 1, TimeSeconds = 2, TimeMilliSeconds = 3 };

// Steam API language code ("english", "german", "schinese") to UTF-8 text.
using LocalizedText = std::map<std::string, std::string>;

struct AchievementProgress {
    std::string stat;  // names a stat of the schema
    double min = 0;
    double max = 0;  // the stat reaching it unlocks the achievement on Steam's side
};

struct AchievementSchema {
    std::string name;  // the API name
    LocalizedText displayName;
    LocalizedText description;
    bool hidden = false;
    std::optional<AchievementProgress> progress;
    // PNG files (relative to the scenario file's folder, stored resolved) for
    // the achieved and unachieved icon; empty: a plain generated icon.
    std::string icon;
    std::string iconGray;
    // The share of all players who unlocked it, 0..100; absent: no global data.
    std::optional<float> globalPercent;
};

struct StatSchema {
    std::string name;
    StatType type = StatType::Int;
    std::optional<double> min;  // absent: no bound
    std::optional<double> max;
    double defaultValue = 0;
    bool incrementOnly = false;
    std::optional<double> maxChange;  // largest change one store may carry
    double window = 0;                // average-rate stats: the window, in the stat's time unit
};

struct LeaderboardEntry {
    uint64_t steamId = 0;
    int32_t score = 0;
};

struct LeaderboardSchema {
    std::string name;
    LeaderboardSort sort = LeaderboardSort::Descending;
    LeaderboardDisplay display = LeaderboardDisplay::Numeric;
    std::vector<LeaderboardEntry> scores;  // other players' entries, and maybe the user's
};

// Steam's EPersonaState values.
enum class PersonaState {
    Offline = 0,
    Online = 1,
    Busy = 2,
    Away = 3,
    Snooze = 4,
    LookingToTrade = 5,
    LookingToPlay = 6,
    Invisible = 7
};

// A friend of the user, as ISteamFriends lists them.
struct Friend {
    uint64_t steamId = 0;  // never the user's own
    std::string personaName;
    PersonaState personaState = PersonaState::Online;
};

// Another Steam user whose stats Steam holds for this game (RequestUserStats).
struct OtherUserStats {
    uint64_t steamId = 0;
    std::map<std::string, uint32_t> achievements;  // unlocked ones: name to unlock time
    std::map<std::string, double> stats;           // name to value; others at their default
};

// A global stat (RequestGlobalStats): Steam's total, and its daily history,
// newest day first.
struct GlobalStat {
    std::string name;  // an int or float stat of the schema
    double total = 0;
    std::vector<double> history;
};

// A DLC of the game, as ISteamApps lists it.
struct Dlc {
    uint32_t appId = 0;
    std::string name;
    bool owned = true;
    bool installed = true;  // only an owned DLC can be installed
};

// What a state file keeps of a board beyond the user's score: how the game
// made it, and the details of the user's entry.
struct KeptBoard {
    LeaderboardSort sort = LeaderboardSort::Descending;
    LeaderboardDisplay display = LeaderboardDisplay::Numeric;
    std::vector<int32_t> details;
};

// The user's state on Steam's server before the run (or kept by a state file).
struct StartState {
    std::map<std::string, uint32_t> achievements;  // unlocked ones: name to unlock time
    std::map<std::string, double> stats;           // name to value; others start at their default
    std::map<std::string, int32_t> leaderboards;   // board name to the user's score
    // Boards a state file keeps, with or without a score: a board the game
    // created comes back as it was made, even before its first upload.
    std::map<std::string, KeptBoard> boards;
};

// A store that answers `result` instead of validating: from its `fromCall`-th
// call (1-based), once or for every later call.
struct StoreFault {
    int32_t result = 2;
    int fromCall = 1;
    bool once = false;
};

// More than `stores` accepted stores within `seconds` of the clock: the
// rest answer k_EResultRateLimitExceeded (84).
struct StoreRateLimit {
    int stores = 0;
    int seconds = 0;
};

enum class LeaderboardCall { Find, Upload, Download };  // Find: FindLeaderboard and FindOrCreate
enum class LeaderboardFaultKind { NotFound, IoFailure, ZeroCallHandle };

struct LeaderboardFault {
    LeaderboardCall call = LeaderboardCall::Find;
    LeaderboardFaultKind kind = LeaderboardFaultKind::IoFailure;
    std::string board;  // empty: any board
    bool once = false;
};

struct Faults {
    bool steamNotRunning = false;  // the start fails
    int statsDelayFrames = 1;      // frames between the request and the stats
    bool statsNever = false;       // the stats never arrive
    int32_t statsResult = 1;       // result code the stats-received record carries
    std::vector<StoreFault> stores;
    std::optional<StoreRateLimit> storeRateLimit;
    std::vector<LeaderboardFault> leaderboards;
    int leaderboardLatencyFrames = 1;
    std::vector<std::string> refusedInterfaces;  // "SteamUserStats", "SteamFriends", ...
};

struct Bounds {
    std::optional<double> min;
    std::optional<double> max;
};

// What must hold at the end of the run.
struct Expectations {
    std::vector<std::string> achievementsUnlocked;
    std::map<std::string, Bounds> stats;         // stat name to bounds of its final value
    std::map<std::string, Bounds> leaderboards;  // board name to bounds of the user's score
    std::optional<bool> cleanShutdown;           // the game shut Steam down itself
};

struct Scenario {
    uint32_t appId = 480;
    std::string language = "english";
    std::vector<std::string> languages{"english"};
    std::vector<Dlc> dlc;
    uint32_t buildId = 0;
    std::string betaName;       // empty: the default branch
    std::string installDir;     // empty: the game's folder as the launcher started it
    uint32_t purchaseTime = 0;  // GetEarliestPurchaseUnixTime; 0: the clock at the start
    bool freeWeekend = false;
    bool vacBanned = false;
    uint64_t steamId = 76561197960287930ULL;
    bool loggedOn = true;
    std::string personaName = "Offline Player";
    int steamLevel = 0;
    std::string uiLanguage = "english";  // Steam's own UI language
    std::string ipCountry = "US";        // two-letter ISO 3166-1 code
    bool onSteamDeck = false;
    bool bigPicture = false;
    bool overlayEnabled = false;  // no overlay runs offline
    std::vector<Friend> friends;
    std::vector<OtherUserStats> users;
    std::vector<GlobalStat> globalStats;
    std::optional<int32_t> currentPlayers;  // absent: the call fails
    std::vector<AchievementSchema> achievements;
    std::vector<StatSchema> stats;
    std::vector<LeaderboardSchema> leaderboards;
    StartState start;
    Faults faults;
    Expectations expect;
    std::optional<uint32_t> clock;  // a fixed clock (seconds since 1970); absent: the wall clock
};

// Reads a scenario file and the files its "include" list names (relative to
// its own folder). False, with `error` set to one line
// "<file>: line <n>: <key path>: <what is wrong>", when any of them is refused.
bool LoadScenarioFile(const std::string& path, Scenario* scenario, std::string* error);
// The same for text already in memory; `fileName` names it in errors and
// anchors its includes.
bool ParseScenario(std::string_view text, const std::string& fileName, Scenario* scenario,
                   std::string* error);

// Reads a state file written by SaveStateFile. False, with `error` set as
// above, when the file is refused (it is then never overwritten).
bool LoadStateFile(const std::string& path, StartState* state, std::string* error);
// Whether anything is at `path`: LoadStateFile says "<file>: cannot be
// opened" alike for a file that is missing (a first run, no state yet) and
// one that is there but unreadable (to be refused).
bool StateFileExists(const std::string& path);
// Writes the state atomically: a temporary file beside it, then a rename.
bool SaveStateFile(const std::string& path, const StartState& state, std::string* error);

// One of the API language codes Steam has ("english", "schinese", "koreana", ...).
bool IsSteamLanguageCode(std::string_view code);

}  // namespace offline_steam
