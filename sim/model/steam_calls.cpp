// Steam's side of each interface method, shared by both faces.
#include "steam_calls.h"

#include "call_line.h"
#include "leaderboards.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "sim_lock.h"
#include "stats_server.h"

namespace steam_sim::calls {
namespace {

bool readStat(bool live, const char* name, double* value) {
    if (!live || value == nullptr) return false;
    const int index = statIndex(name);
    return index >= 0 && statsServer().clientStat(index, value);
}

bool writeStat(bool live, const char* name, double value) {
    if (!live) return false;
    const int index = statIndex(name);
    if (index < 0) return false;
    statsServer().setClientStat(index, value);
    return true;
}

bool readAchievement(bool live, const char* name, bool* achieved, uint32_t* unlockTime) {
    if (!live) return false;
    const int index = achievementIndex(name);
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

void friendsActivateGameOverlay(bool live, const char* dialog) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlay").text(dialog).log();
    if (live && dialog != nullptr) session().setLastOverlayDialog(dialog);
}

bool statsRequestCurrentStats(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestCurrentStats").log();
    if (!live || !session().loggedOn()) return false;
    recordQueue().postStatsReceived(
        statsReceivedRecord(session().recordGameId(), statsServer().statsReceivedResult(),
                            session().userId()),
        statsServer().statsReceivedDelay());
    return true;
}

bool statsGetStatInt32(bool live, const char* name, int32_t* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatInt32").text(name).log();
    double stored = 0;
    if (value == nullptr || !readStat(live, name, &stored)) return false;
    *value = statValueAsInt32(stored);
    return true;
}

bool statsGetStatFloat(bool live, const char* name, float* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatFloat").text(name).log();
    double stored = 0;
    if (value == nullptr || !readStat(live, name, &stored)) return false;
    *value = static_cast<float>(stored);
    return true;
}

bool statsSetStatInt32(bool live, const char* name, int32_t value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatInt32").text(name).integer(value).log();
    return writeStat(live, name, value);
}

bool statsSetStatFloat(bool live, const char* name, float value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatFloat").text(name).real(value).log();
    return writeStat(live, name, value);
}

bool statsUpdateAvgRateStat(bool live, const char* name, float count, double seconds) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UpdateAvgRateStat")
        .text(name)
        .real(count)
        .real(seconds)
        .log();
    if (!live || statIndex(name) < 0) return false;
    // A single-session rate; a zero duration carries no rate and leaves the value alone.
    if (seconds > 0) writeStat(live, name, static_cast<double>(count) / seconds);
    return true;
}

bool statsGetAchievement(bool live, const char* name, bool* achieved) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievement").text(name).log();
    return readAchievement(live, name, achieved, nullptr);
}

bool statsSetAchievement(bool live, const char* name) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetAchievement").text(name).log();
    if (!live) return false;
    const int index = achievementIndex(name);
    if (index < 0) return false;
    statsServer().unlockOnClient(index, session().clock());
    return true;
}

bool statsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime").text(name).log();
    return readAchievement(live, name, achieved, unlockTime);
}

bool statsStoreStats(bool live) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_StoreStats").log();
    if (!live) return false;
    const StatsServer::StoreOutcome outcome = statsServer().store(session().clock());
    const uint64_t gameId = session().recordGameId();
    recordQueue().postCallback(kStatsStoredId, statsStoredRecord(gameId, outcome.result), 1);
    for (int index : outcome.newlyUnlocked) {
        recordQueue().postCallback(
            kAchievementStoredId,
            achievementStoredRecord(gameId, achievementDefinition(index).apiName), 1);
    }
    return true;
}

const char* statsAchievementDisplayAttribute(bool live, const char* name, const char* key) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute").text(name).text(key).log();
    if (!live) return nullptr;
    const int index = achievementIndex(name);
    if (index < 0) return "";
    return statsServer().displayAttribute(index, key);
}

bool statsResetAllStats(bool live, bool achievementsToo) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ResetAllStats").flag(achievementsToo).log();
    if (!live) return false;
    statsServer().resetAll(achievementsToo);
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
    return leaderboards().findOrCreate(name, sortMethod, displayType);
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
    return leaderboards().uploadScore(board, uploadMethod, score);
}

}  // namespace steam_sim::calls
