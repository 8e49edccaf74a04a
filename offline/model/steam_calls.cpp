// Steam's side of each interface method, shared by both faces, by Valve's
// documented rules: a name not in the schema or a stat of another type is
// refused, stats and achievements need the user's stats first, and what real
// Steam would refuse or punish is warned about in an offline run's journal.
#include "steam_calls.h"

#include <algorithm>
#include <string>

#include "call_line.h"
#include "event_reports.h"
#include "leaderboards.h"
#include "model_lock.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "schema_names.h"
#include "session.h"
#include "stable_text.h"
#include "stats_server.h"
#include "user_app_calls.h"

namespace offline_steam::calls {
namespace {

// The user's stats have arrived; otherwise Steam answers false, and it is worth a warning.
bool StatsReady(const char* call) {
    if (TheStatsServer().StatsAvailable()) return true;
    Warn(WarningCode::kBeforeStats,
         std::string(call) +
             " before the user's stats arrived: Steam answers false "
             "until RequestCurrentStats is answered (UserStatsReceived_t)");
    return false;
}

// The stat's index when `name` is one of the schema's stats of an accepted
// type and the stats have arrived; -1 (with a warning) otherwise.
int StatFor(const char* call, const char* name, bool acceptsInt, bool acceptsFloat,
            bool acceptsAverageRate) {
    const int index = KnownStat(call, name, acceptsInt, acceptsFloat, acceptsAverageRate);
    return index >= 0 && StatsReady(call) ? index : -1;
}

int AchievementFor(const char* call, const char* name, bool needsStats) {
    const int index = KnownAchievement(call, name);
    if (index < 0 || (needsStats && !StatsReady(call))) return -1;
    return index;
}

bool ReadAchievement(const char* call, const char* name, bool* achieved, uint32_t* unlockTime) {
    const int index = AchievementFor(call, name, true);
    if (index < 0) return false;
    bool isAchieved = false;
    uint32_t time = 0;
    TheStatsServer().AchievementOnClient(index, &isAchieved, &time);
    if (achieved != nullptr) *achieved = isAchieved;
    if (unlockTime != nullptr) *unlockTime = time;
    return true;
}

}  // namespace

bool UserLoggedOn(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUser_BLoggedOn").Log();
    return live && TheSession().LoggedOn();
}

uint64_t UserSteamId(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUser_GetSteamID").Log();
    return live ? TheSession().UserId() : 0;
}

uint32_t UtilsAppId(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetAppID").Log();
    return live ? TheSession().AppId() : 0;
}

uint32_t UtilsServerRealTime(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetServerRealTime").Log();
    return live ? TheSession().Clock() : 0;
}

const char* AppsCurrentGameLanguage(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetCurrentGameLanguage").Log();
    return live ? StableText(TheSession().CurrentLanguage()) : nullptr;
}

const char* AppsAvailableGameLanguages(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAvailableGameLanguages").Log();
    return live ? StableText(TheSession().AvailableLanguages()) : nullptr;
}

bool AppsIsSubscribed(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsSubscribed").Log();
    return live;
}

bool AppsIsSubscribedApp(bool live, uint32_t appId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsSubscribedApp").UnsignedInteger(appId).Log();
    // The user owns this game and the DLC the scenario says are owned.
    return live && UserOwnsApp(appId);
}

const char* FriendsPersonaName(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetPersonaName").Log();
    return live ? StableText(TheSession().PersonaName()) : "";
}

void FriendsActivateGameOverlay(bool live, const char* dialog) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlay").Text(dialog).Log();
    if (live && dialog != nullptr) TheSession().SetLastOverlayDialog(dialog);
}

void FriendsActivateGameOverlayToUser(bool live, const char* dialog, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToUser")
        .Text(dialog)
        .UnsignedInteger(steamId)
        .Log();
    if (live && dialog != nullptr) TheSession().SetLastOverlayDialog(dialog);
}

void FriendsActivateGameOverlayToWebPage(bool live, const char* url, int mode) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToWebPage").Text(url).Integer(mode).Log();
    if (live && url != nullptr) TheSession().SetLastOverlayDialog(url);
}

void FriendsActivateGameOverlayToStore(bool live, uint32_t appId, int flag) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlayToStore")
        .UnsignedInteger(appId)
        .Integer(flag)
        .Log();
    if (live) TheSession().SetLastOverlayDialog("store");
}

bool StatsRequestCurrentStats(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestCurrentStats").Log();
    if (!live || !TheSession().LoggedOn()) return false;
    if (ActiveScenario().faults.statsNever) return true;
    TheRecordQueue().PostStatsReceived(
        MakeStatsReceivedRecord(TheSession().RecordGameId(), TheStatsServer().StatsReceivedResult(),
                                TheSession().UserId()),
        TheStatsServer().StatsReceivedDelay(), TheSession().OwnGameId());
    return true;
}

bool StatsGetStatInt32(bool live, const char* name, int32_t* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatInt32").Text(name).Log();
    if (!live || value == nullptr) return false;
    const int index = StatFor("GetStat(int32)", name, true, false, false);
    double stored = 0;
    if (index < 0 || !TheStatsServer().ClientStat(index, &stored)) return false;
    *value = StatValueAsInt32(stored);
    return true;
}

bool StatsGetStatFloat(bool live, const char* name, float* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatFloat").Text(name).Log();
    if (!live || value == nullptr) return false;
    const int index = StatFor("GetStat(float)", name, false, true, true);
    double stored = 0;
    if (index < 0 || !TheStatsServer().ClientStat(index, &stored)) return false;
    *value = static_cast<float>(stored);
    return true;
}

bool StatsSetStatInt32(bool live, const char* name, int32_t value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatInt32").Text(name).Integer(value).Log();
    if (!live) return false;
    const int index = StatFor("SetStat(int32)", name, true, false, false);
    if (index < 0) return false;
    TheStatsServer().SetClientStat(index, value);
    return true;
}

bool StatsSetStatFloat(bool live, const char* name, float value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatFloat").Text(name).Real(value).Log();
    if (!live) return false;
    // An average-rate stat changes only through UpdateAvgRateStat.
    const int index = StatFor("SetStat(float)", name, false, true, false);
    if (index < 0) return false;
    TheStatsServer().SetClientStat(index, value);
    return true;
}

bool StatsUpdateAvgRateStat(bool live, const char* name, float count, double seconds) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UpdateAvgRateStat")
        .Text(name)
        .Real(count)
        .Real(seconds)
        .Log();
    if (!live) return false;
    const int index = StatFor("UpdateAvgRateStat", name, false, false, true);
    double current = 0;
    if (index < 0 || !TheStatsServer().ClientStat(index, &current)) return false;
    // A zero duration carries no rate and leaves the value alone. Within the
    // stat's window the new rate is blended with the old, weighted by time.
    if (!(seconds > 0)) return true;
    const double rate = static_cast<double>(count) / seconds;
    const double window = StatAt(index).window;
    const double blended =
        window > seconds ? (current * (window - seconds) + static_cast<double>(count)) / window
                         : rate;
    TheStatsServer().SetClientStat(index, blended);
    return true;
}

bool StatsGetAchievement(bool live, const char* name, bool* achieved) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievement").Text(name).Log();
    return live && ReadAchievement("GetAchievement", name, achieved, nullptr);
}

bool StatsSetAchievement(bool live, const char* name) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetAchievement").Text(name).Log();
    if (!live) return false;
    const int index = AchievementFor("SetAchievement", name, true);
    if (index < 0) return false;
    TheStatsServer().UnlockOnClient(index, TheSession().Clock());
    return true;
}

bool StatsClearAchievement(bool live, const char* name) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ClearAchievement").Text(name).Log();
    if (!live) return false;
    const int index = AchievementFor("ClearAchievement", name, true);
    if (index < 0) return false;
    TheStatsServer().ClearOnClient(index);
    return true;
}

bool StatsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime").Text(name).Log();
    return live && ReadAchievement("GetAchievementAndUnlockTime", name, achieved, unlockTime);
}

bool StatsStoreStats(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_StoreStats").Log();
    if (!live || !StatsReady("StoreStats") || TheStatsServer().TakeStoreRefusal()) return false;
    const StatsServer::StoreOutcome outcome = TheStatsServer().Store(TheSession().Clock());
    const uint64_t gameId = TheSession().RecordGameId();
    TheRecordQueue().PostCallback(kStatsStoredId, MakeStatsStoredRecord(gameId, outcome.result), 1);
    for (int index : outcome.newlyUnlocked) {
        TheRecordQueue().PostCallback(
            kAchievementStoredId,
            MakeAchievementStoredRecord(gameId, AchievementAt(index).name.c_str()), 1);
    }
    ReportStore(outcome, "StoreStats");
    return true;
}

const char* StatsAchievementDisplayAttribute(bool live, const char* name, const char* key) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute").Text(name).Text(key).Log();
    if (!live) return nullptr;
    const int index = AchievementFor("GetAchievementDisplayAttribute", name, false);
    if (index < 0) return "";
    return StableText(TheStatsServer().DisplayAttribute(
        index, key, TheSession().CurrentLanguage() ? TheSession().CurrentLanguage() : "english"));
}

bool StatsIndicateAchievementProgress(bool live, const char* name, uint32_t current,
                                      uint32_t maximum) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_IndicateAchievementProgress")
        .Text(name)
        .UnsignedInteger(current)
        .UnsignedInteger(maximum)
        .Log();
    if (!live) return false;
    const int index = AchievementFor("IndicateAchievementProgress", name, true);
    if (index < 0) return false;
    bool achieved = false;
    uint32_t time = 0;
    TheStatsServer().AchievementOnClient(index, &achieved, &time);
    // Only a pop-up: it neither sets progress nor unlocks, and needs progress short of the end.
    if (achieved || current >= maximum) return false;
    TheRecordQueue().PostCallback(
        kAchievementStoredId,
        MakeAchievementStoredRecord(TheSession().RecordGameId(), name, current, maximum), 1);
    return true;
}

uint32_t StatsNumAchievements(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetNumAchievements").Log();
    if (!live || !StatsReady("GetNumAchievements")) return 0;
    return static_cast<uint32_t>(AchievementCount());
}

const char* StatsAchievementName(bool live, uint32_t index) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementName").UnsignedInteger(index).Log();
    if (!live || !StatsReady("GetAchievementName") ||
        index >= static_cast<uint32_t>(AchievementCount()))
        return nullptr;
    return StableText(AchievementAt(static_cast<int>(index)).name);
}

namespace {

const AchievementProgress* ProgressOf(const char* call, const char* name) {
    const int index = AchievementFor(call, name, true);
    if (index < 0 || !AchievementAt(index).progress) return nullptr;
    return &*AchievementAt(index).progress;
}

}  // namespace

bool StatsAchievementProgressLimitsInt32(bool live, const char* name, int32_t* minimum,
                                         int32_t* maximum) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementProgressLimitsInt32").Text(name).Log();
    if (!live) return false;
    const AchievementProgress* progress = ProgressOf("GetAchievementProgressLimits", name);
    if (progress == nullptr) return false;
    if (minimum != nullptr) *minimum = StatValueAsInt32(progress->min);
    if (maximum != nullptr) *maximum = StatValueAsInt32(progress->max);
    return true;
}

bool StatsAchievementProgressLimitsFloat(bool live, const char* name, float* minimum,
                                         float* maximum) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementProgressLimitsFloat").Text(name).Log();
    if (!live) return false;
    const AchievementProgress* progress = ProgressOf("GetAchievementProgressLimits", name);
    if (progress == nullptr) return false;
    if (minimum != nullptr) *minimum = static_cast<float>(progress->min);
    if (maximum != nullptr) *maximum = static_cast<float>(progress->max);
    return true;
}

bool StatsResetAllStats(bool live, bool achievementsToo) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ResetAllStats").Flag(achievementsToo).Log();
    // Steam refuses a reset before the user's stats arrived, and wipes nothing.
    if (!live || !StatsReady("ResetAllStats")) return false;
    TheStatsServer().ResetAll(achievementsToo);
    ReportState();
    return true;
}

uint64_t StatsFindOrCreateLeaderboard(bool live, const char* name, int sortMethod,
                                      int displayType) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard")
        .Text(name)
        .Integer(sortMethod)
        .Integer(displayType)
        .Log();
    if (!live) return 0;
    return TheLeaderboards().Find(name, true, sortMethod, displayType);
}

uint64_t StatsFindLeaderboard(bool live, const char* name) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_FindLeaderboard").Text(name).Log();
    if (!live) return 0;
    return TheLeaderboards().Find(name, false, 0, 0);
}

const char* StatsLeaderboardName(bool live, uint64_t board) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardName").UnsignedInteger(board).Log();
    const char* name = live ? TheLeaderboards().NameOf(board) : nullptr;
    return name != nullptr ? StableText(name) : "";
}

int StatsLeaderboardEntryCount(bool live, uint64_t board) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardEntryCount").UnsignedInteger(board).Log();
    return live ? TheLeaderboards().EntryCountOf(board) : 0;
}

int StatsLeaderboardSortMethod(bool live, uint64_t board) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardSortMethod").UnsignedInteger(board).Log();
    return live ? TheLeaderboards().SortMethodOf(board) : 0;
}

int StatsLeaderboardDisplayType(bool live, uint64_t board) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetLeaderboardDisplayType").UnsignedInteger(board).Log();
    return live ? TheLeaderboards().DisplayTypeOf(board) : 0;
}

uint64_t StatsUploadLeaderboardScore(bool live, uint64_t board, int uploadMethod, int32_t score,
                                     const int32_t* details, int detailCount) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UploadLeaderboardScore")
        .UnsignedInteger(board)
        .Integer(uploadMethod)
        .Integer(score)
        // Only the details Steam keeps are read: the count is the game's claim.
        .IntegerList(details, std::clamp(detailCount, 0, kLeaderboardDetailsMax))
        .Integer(detailCount)
        .Log();
    if (!live) return 0;
    return TheLeaderboards().UploadScore(board, uploadMethod, score, details, detailCount);
}

uint64_t StatsDownloadLeaderboardEntries(bool live, uint64_t board, int request, int rangeStart,
                                         int rangeEnd) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_DownloadLeaderboardEntries")
        .UnsignedInteger(board)
        .Integer(request)
        .Integer(rangeStart)
        .Integer(rangeEnd)
        .Log();
    if (!live) return 0;
    return TheLeaderboards().DownloadEntries(board, request, rangeStart, rangeEnd);
}

bool StatsDownloadedLeaderboardEntry(bool live, uint64_t entries, int index,
                                     LeaderboardEntryRecord* entry, int32_t* details,
                                     int detailsMax) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetDownloadedLeaderboardEntry")
        .UnsignedInteger(entries)
        .Integer(index)
        .Integer(detailsMax)
        .Log();
    return live && TheLeaderboards().DownloadedEntry(entries, index, entry, details, detailsMax);
}

}  // namespace offline_steam::calls
