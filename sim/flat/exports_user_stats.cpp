// Client exports of ISteamUserStats for stats and achievements.
#include <cstdint>

#include "call_line.h"
#include "client_export.h"
#include "interfaces.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "sim_lock.h"
#include "stats_server.h"

using namespace steam_sim;

namespace {

bool live(void* self) { return isLiveInterface(self, InterfaceKind::UserStats); }

bool readStat(void* self, const char* name, double* value) {
    if (!live(self) || value == nullptr) return false;
    const int index = statIndex(name);
    return index >= 0 && statsServer().clientStat(index, value);
}

bool writeStat(void* self, const char* name, double value) {
    if (!live(self)) return false;
    const int index = statIndex(name);
    if (index < 0) return false;
    statsServer().setClientStat(index, value);
    return true;
}

}  // namespace

#if SIM_HAS_REQUEST_CURRENT_STATS
SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_RequestCurrentStats(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestCurrentStats").log();
    if (!live(self) || !session().loggedOn()) return false;
    recordQueue().postStatsReceived(
        statsReceivedRecord(session().recordGameId(), statsServer().statsReceivedResult(),
                            session().userId()),
        statsServer().statsReceivedDelay());
    return true;
}
#endif

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetStatInt32(void* self, const char* name,
                                                             int32_t* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatInt32").text(name).log();
    double stored = 0;
    if (value == nullptr || !readStat(self, name, &stored)) return false;
    *value = statValueAsInt32(stored);
    return true;
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetStatFloat(void* self, const char* name,
                                                             float* value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetStatFloat").text(name).log();
    double stored = 0;
    if (value == nullptr || !readStat(self, name, &stored)) return false;
    *value = static_cast<float>(stored);
    return true;
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetStatInt32(void* self, const char* name,
                                                             int32_t value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatInt32").text(name).integer(value).log();
    return writeStat(self, name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetStatFloat(void* self, const char* name,
                                                             float value) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetStatFloat").text(name).real(value).log();
    return writeStat(self, name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_UpdateAvgRateStat(void* self, const char* name,
                                                                  float count, double seconds) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UpdateAvgRateStat")
        .text(name)
        .real(count)
        .real(seconds)
        .log();
    if (!live(self) || statIndex(name) < 0) return false;
    // A single-session rate; a zero duration carries no rate and leaves the value alone.
    if (seconds > 0) writeStat(self, name, static_cast<double>(count) / seconds);
    return true;
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetAchievement(void* self, const char* name) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_SetAchievement").text(name).log();
    if (!live(self)) return false;
    const int index = achievementIndex(name);
    if (index < 0) return false;
    statsServer().unlockOnClient(index, session().clock());
    return true;
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime(void* self,
                                                                            const char* name,
                                                                            bool* achieved,
                                                                            uint32_t* unlockTime) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime").text(name).log();
    if (!live(self)) return false;
    const int index = achievementIndex(name);
    if (index < 0) return false;
    bool isAchieved = false;
    uint32_t time = 0;
    statsServer().achievementOnClient(index, &isAchieved, &time);
    if (achieved != nullptr) *achieved = isAchieved;
    if (unlockTime != nullptr) *unlockTime = time;
    return true;
}

#if SIM_HAS_STORE_STATS
SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_StoreStats(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_StoreStats").log();
    if (!live(self)) return false;
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
#endif

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute(
    void* self, const char* name, const char* key) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute").text(name).text(key).log();
    if (!live(self)) return nullptr;
    const int index = achievementIndex(name);
    if (index < 0) return "";
    return statsServer().displayAttribute(index, key);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_ResetAllStats(void* self, bool achievementsToo) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_ResetAllStats").flag(achievementsToo).log();
    if (!live(self)) return false;
    statsServer().resetAll(achievementsToo);
    return true;
}
