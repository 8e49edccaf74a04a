// Steam's side of each interface method, shared by both faces, by Valve's
// documented rules: a name not in the schema or a stat of another type is
// refused, stats and achievements need the user's stats first, and what real
// Steam would refuse or punish is warned about in an offline run's journal.
#include "steam_calls.h"

#include <string>

#include "call_line.h"
#include "leaderboards.h"
#include "offline_run.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "sim_lock.h"
#include "stats_server.h"

namespace steam_sim::calls {
namespace {

std::string quoted(const char* name) {
    return name != nullptr ? "\"" + std::string(name) + "\"" : std::string("a null name");
}

// The user's stats have arrived; otherwise Steam answers false, and it is worth a warning.
bool statsReady(const char* call) {
    if (statsServer().statsAvailable()) return true;
    offline::warn("before-stats", std::string(call) +
                                      " before the user's stats arrived: Steam answers false "
                                      "until RequestCurrentStats is answered (UserStatsReceived_t)");
    return false;
}

const char* typeName(StatType type) {
    switch (type) {
        case StatType::Int:
            return "an int";
        case StatType::Float:
            return "a float";
        case StatType::AverageRate:
            return "an avgrate";
    }
    return "a";
}

// The stat's index when `name` is one of the schema's stats of an accepted
// type and the stats have arrived; -1 (with a warning) otherwise.
int statFor(const char* call, const char* name, bool acceptsInt, bool acceptsFloat,
            bool acceptsAverageRate) {
    const int index = statIndex(name);
    if (index < 0) {
        offline::warn("unknown-name", std::string(call) + ": " + quoted(name) +
                                          " is not a stat of the schema");
        return -1;
    }
    const StatType type = statAt(index).type;
    const bool accepted = (type == StatType::Int && acceptsInt) ||
                          (type == StatType::Float && acceptsFloat) ||
                          (type == StatType::AverageRate && acceptsAverageRate);
    if (!accepted) {
        offline::warn("wrong-type",
                      std::string(call) + ": " + quoted(name) + " is " + typeName(type) + " stat");
        return -1;
    }
    return statsReady(call) ? index : -1;
}

int achievementFor(const char* call, const char* name, bool needsStats) {
    const int index = achievementIndex(name);
    if (index < 0) {
        offline::warn("unknown-name", std::string(call) + ": " + quoted(name) +
                                          " is not an achievement of the schema");
        return -1;
    }
    if (needsStats && !statsReady(call)) return -1;
    return index;
}

bool readAchievement(const char* call, const char* name, bool* achieved, uint32_t* unlockTime) {
    const int index = achievementFor(call, name, true);
    if (index < 0) return false;
    bool isAchieved = false;
    uint32_t time = 0;
    statsServer().achievementOnClient(index, &isAchieved, &time);
    if (achieved != nullptr) *achieved = isAchieved;
    if (unlockTime != nullptr) *unlockTime = time;
    return true;
}

}  // namespace

bool userLoggedOn(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUser_BLoggedOn").log();
    return live && session().loggedOn();
}

uint64_t userSteamId(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUser_GetSteamID").log();
    return live ? session().userId() : 0;
}

uint32_t utilsAppId(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetAppID").log();
    return live ? session().appId() : 0;
}

uint32_t utilsServerRealTime(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetServerRealTime").log();
    return live ? session().clock() : 0;
}

const char* appsCurrentGameLanguage(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_GetCurrentGameLanguage").log();
    return live ? session().currentLanguage() : nullptr;
}

const char* appsAvailableGameLanguages(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAvailableGameLanguages").log();
    return live ? session().availableLanguages() : nullptr;
}

bool appsIsSubscribed(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsSubscribed").log();
    return live;
}

bool appsIsSubscribedApp(bool live, uint32_t appId) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsSubscribedApp").unsignedInteger(appId).log();
    // The user owns this game and nothing else the scenario knows of.
    return live && appId == session().appId();
}

const char* friendsPersonaName(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetPersonaName").log();
    return live ? session().personaName() : "";
}

void friendsActivateGameOverlay(bool live, const char* dialog) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlay").text(dialog).log();
    if (live && dialog != nullptr) session().setLastOverlayDialog(dialog);
}

void friendsActivateGameOverlayToUser(bool live, const char* dialog, uint64_t steamId) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToUser")
        .text(dialog)
        .unsignedInteger(steamId)
        .log();
    if (live && dialog != nullptr) session().setLastOverlayDialog(dialog);
}

void friendsActivateGameOverlayToWebPage(bool live, const char* url, int mode) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToWebPage").text(url).integer(mode).log();
    if (live && url != nullptr) session().setLastOverlayDialog(url);
}

void friendsActivateGameOverlayToStore(bool live, uint32_t appId, int flag) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToStore")
        .unsignedInteger(appId)
        .integer(flag)
        .log();
    if (live) session().setLastOverlayDialog("store");
}

bool statsRequestCurrentStats(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestCurrentStats").log();
    if (!live || !session().loggedOn()) return false;
    if (activeScenario().faults.statsNever) return true;
    recordQueue().postStatsReceived(
        statsReceivedRecord(session().recordGameId(), statsServer().statsReceivedResult(),
                            session().userId()),
        statsServer().statsReceivedDelay(), session().ownGameId());
    return true;
}

bool statsGetStatInt32(bool live, const char* name, int32_t* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatInt32").text(name).log();
    if (!live || value == nullptr) return false;
    const int index = statFor("GetStat(int32)", name, true, false, false);
    double stored = 0;
    if (index < 0 || !statsServer().clientStat(index, &stored)) return false;
    *value = statValueAsInt32(stored);
    return true;
}

bool statsGetStatFloat(bool live, const char* name, float* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatFloat").text(name).log();
    if (!live || value == nullptr) return false;
    const int index = statFor("GetStat(float)", name, false, true, true);
    double stored = 0;
    if (index < 0 || !statsServer().clientStat(index, &stored)) return false;
    *value = static_cast<float>(stored);
    return true;
}

bool statsSetStatInt32(bool live, const char* name, int32_t value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatInt32").text(name).integer(value).log();
    if (!live) return false;
    const int index = statFor("SetStat(int32)", name, true, false, false);
    if (index < 0) return false;
    statsServer().setClientStat(index, value);
    return true;
}

bool statsSetStatFloat(bool live, const char* name, float value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatFloat").text(name).real(value).log();
    if (!live) return false;
    // An average-rate stat changes only through UpdateAvgRateStat.
    const int index = statFor("SetStat(float)", name, false, true, false);
    if (index < 0) return false;
    statsServer().setClientStat(index, value);
    return true;
}

bool statsUpdateAvgRateStat(bool live, const char* name, float count, double seconds) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UpdateAvgRateStat")
        .text(name)
        .real(count)
        .real(seconds)
        .log();
    if (!live) return false;
    const int index = statFor("UpdateAvgRateStat", name, false, false, true);
    double current = 0;
    if (index < 0 || !statsServer().clientStat(index, &current)) return false;
    // A zero duration carries no rate and leaves the value alone. Within the
    // stat's window the new rate is blended with the old, weighted by time.
    if (!(seconds > 0)) return true;
    const double rate = static_cast<double>(count) / seconds;
    const double window = statAt(index).window;
    const double blended =
        window > seconds ? (current * (window - seconds) + static_cast<double>(count)) / window
                         : rate;
    statsServer().setClientStat(index, blended);
    return true;
}

bool statsGetAchievement(bool live, const char* name, bool* achieved) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievement").text(name).log();
    return live && readAchievement("GetAchievement", name, achieved, nullptr);
}

bool statsSetAchievement(bool live, const char* name) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetAchievement").text(name).log();
    if (!live) return false;
    const int index = achievementFor("SetAchievement", name, true);
    if (index < 0) return false;
    statsServer().unlockOnClient(index, session().clock());
    return true;
}

bool statsClearAchievement(bool live, const char* name) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ClearAchievement").text(name).log();
    if (!live) return false;
    const int index = achievementFor("ClearAchievement", name, true);
    if (index < 0) return false;
    statsServer().clearOnClient(index);
    return true;
}

bool statsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime").text(name).log();
    return live && readAchievement("GetAchievementAndUnlockTime", name, achieved, unlockTime);
}

bool statsStoreStats(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_StoreStats").log();
    if (!live || !statsReady("StoreStats") || statsServer().takeStoreRefusal()) return false;
    const StatsServer::StoreOutcome outcome = statsServer().store(session().clock());
    const uint64_t gameId = session().recordGameId();
    recordQueue().postCallback(kStatsStoredId, statsStoredRecord(gameId, outcome.result), 1);
    for (int index : outcome.newlyUnlocked) {
        recordQueue().postCallback(
            kAchievementStoredId,
            achievementStoredRecord(gameId, achievementAt(index).name.c_str()), 1);
    }
    offline::noteStore(outcome, "StoreStats");
    return true;
}

const char* statsAchievementDisplayAttribute(bool live, const char* name, const char* key) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute").text(name).text(key).log();
    if (!live) return nullptr;
    const int index = achievementFor("GetAchievementDisplayAttribute", name, false);
    if (index < 0) return "";
    return statsServer().displayAttribute(index, key, session().currentLanguage()
                                                          ? session().currentLanguage()
                                                          : "english");
}

bool statsIndicateAchievementProgress(bool live, const char* name, uint32_t current,
                                      uint32_t maximum) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_IndicateAchievementProgress")
        .text(name)
        .unsignedInteger(current)
        .unsignedInteger(maximum)
        .log();
    if (!live) return false;
    const int index = achievementFor("IndicateAchievementProgress", name, true);
    if (index < 0) return false;
    bool achieved = false;
    uint32_t time = 0;
    statsServer().achievementOnClient(index, &achieved, &time);
    // Only a pop-up: it neither sets progress nor unlocks, and needs progress short of the end.
    if (achieved || current >= maximum) return false;
    recordQueue().postCallback(kAchievementStoredId,
                               achievementStoredRecord(session().recordGameId(), name, current,
                                                       maximum),
                               1);
    return true;
}

uint32_t statsNumAchievements(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetNumAchievements").log();
    if (!live || !statsReady("GetNumAchievements")) return 0;
    return static_cast<uint32_t>(achievementCount());
}

const char* statsAchievementName(bool live, uint32_t index) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementName").unsignedInteger(index).log();
    if (!live || !statsReady("GetAchievementName") ||
        index >= static_cast<uint32_t>(achievementCount()))
        return nullptr;
    return achievementAt(static_cast<int>(index)).name.c_str();
}

namespace {

const AchievementProgress* progressOf(const char* call, const char* name) {
    const int index = achievementFor(call, name, true);
    if (index < 0 || !achievementAt(index).progress) return nullptr;
    return &*achievementAt(index).progress;
}

}  // namespace

bool statsAchievementProgressLimitsInt32(bool live, const char* name, int32_t* minimum,
                                         int32_t* maximum) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementProgressLimitsInt32").text(name).log();
    if (!live) return false;
    const AchievementProgress* progress = progressOf("GetAchievementProgressLimits", name);
    if (progress == nullptr) return false;
    if (minimum != nullptr) *minimum = statValueAsInt32(progress->min);
    if (maximum != nullptr) *maximum = statValueAsInt32(progress->max);
    return true;
}

bool statsAchievementProgressLimitsFloat(bool live, const char* name, float* minimum,
                                         float* maximum) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementProgressLimitsFloat").text(name).log();
    if (!live) return false;
    const AchievementProgress* progress = progressOf("GetAchievementProgressLimits", name);
    if (progress == nullptr) return false;
    if (minimum != nullptr) *minimum = static_cast<float>(progress->min);
    if (maximum != nullptr) *maximum = static_cast<float>(progress->max);
    return true;
}

bool statsResetAllStats(bool live, bool achievementsToo) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ResetAllStats").flag(achievementsToo).log();
    if (!live) return false;
    statsServer().resetAll(achievementsToo);
    offline::saveState();
    return true;
}

uint64_t statsFindOrCreateLeaderboard(bool live, const char* name, int sortMethod,
                                      int displayType) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard")
        .text(name)
        .integer(sortMethod)
        .integer(displayType)
        .log();
    if (!live) return 0;
    return leaderboards().find(name, true, sortMethod, displayType);
}

uint64_t statsFindLeaderboard(bool live, const char* name) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_FindLeaderboard").text(name).log();
    if (!live) return 0;
    return leaderboards().find(name, false, 0, 0);
}

const char* statsLeaderboardName(bool live, uint64_t board) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardName").unsignedInteger(board).log();
    const char* name = live ? leaderboards().nameOf(board) : nullptr;
    return name != nullptr ? name : "";
}

int statsLeaderboardEntryCount(bool live, uint64_t board) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardEntryCount").unsignedInteger(board).log();
    return live ? leaderboards().entryCountOf(board) : 0;
}

int statsLeaderboardSortMethod(bool live, uint64_t board) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardSortMethod").unsignedInteger(board).log();
    return live ? leaderboards().sortMethodOf(board) : 0;
}

int statsLeaderboardDisplayType(bool live, uint64_t board) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardDisplayType").unsignedInteger(board).log();
    return live ? leaderboards().displayTypeOf(board) : 0;
}

uint64_t statsUploadLeaderboardScore(bool live, uint64_t board, int uploadMethod, int32_t score,
                                     const int32_t* details, int detailCount) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UploadLeaderboardScore")
        .unsignedInteger(board)
        .integer(uploadMethod)
        .integer(score)
        .integerList(details, detailCount)
        .integer(detailCount)
        .log();
    if (!live) return 0;
    return leaderboards().uploadScore(board, uploadMethod, score, details, detailCount);
}

uint64_t statsDownloadLeaderboardEntries(bool live, uint64_t board, int request, int rangeStart,
                                         int rangeEnd) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_DownloadLeaderboardEntries")
        .unsignedInteger(board)
        .integer(request)
        .integer(rangeStart)
        .integer(rangeEnd)
        .log();
    if (!live) return 0;
    return leaderboards().downloadEntries(board, request, rangeStart, rangeEnd);
}

bool statsDownloadedLeaderboardEntry(bool live, uint64_t entries, int index,
                                     LeaderboardEntryRecord* entry, int32_t* details,
                                     int detailsMax) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetDownloadedLeaderboardEntry")
        .unsignedInteger(entries)
        .integer(index)
        .integer(detailsMax)
        .log();
    return live && leaderboards().downloadedEntry(entries, index, entry, details, detailsMax);
}

}  // namespace steam_sim::calls
