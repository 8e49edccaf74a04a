// Controls of stats and achievements: request timing, store results, other devices, schema texts.
#define STEAM_SIM_BUILDING
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "sim_lock.h"
#include "stats_server.h"
#include "steam_sim.h"

using namespace steam_sim;

void STEAM_SIM_CALL SteamSim_SetStatsReceivedDelay(int frames) {
    SimGuard guard;
    statsServer().setStatsReceivedDelay(frames);
}

void STEAM_SIM_CALL SteamSim_SetStatsReceivedResult(int result) {
    SimGuard guard;
    statsServer().setStatsReceivedResult(result);
}

void STEAM_SIM_CALL SteamSim_PostStatsReceived(int result) {
    SimGuard guard;
    recordQueue().postStatsReceived(
        statsReceivedRecord(session().recordGameId(), result, session().userId()), 1);
}

void STEAM_SIM_CALL SteamSim_ForceNextStoreResult(int result) {
    SimGuard guard;
    statsServer().forceNextStoreResult(result);
}

void STEAM_SIM_CALL SteamSim_SetStatRange(const char* statName, int32_t minimum, int32_t maximum) {
    SimGuard guard;
    const int index = statIndex(statName);
    if (index >= 0) statsServer().setRange(index, minimum, maximum);
}

void STEAM_SIM_CALL SteamSim_SetStatFromOtherDevice(const char* statName, int32_t value) {
    SimGuard guard;
    const int index = statIndex(statName);
    if (index >= 0) statsServer().setStatFromOtherDevice(index, value);
}

void STEAM_SIM_CALL SteamSim_SetAchievementFromOtherDevice(const char* achievementName,
                                                           bool achieved) {
    SimGuard guard;
    const int index = achievementIndex(achievementName);
    if (index >= 0) statsServer().setAchievementFromOtherDevice(index, achieved, session().clock());
}

bool STEAM_SIM_CALL SteamSim_ServerStat(const char* statName, int32_t* value) {
    SimGuard guard;
    const int index = statIndex(statName);
    if (index < 0) return false;
    if (value != nullptr) *value = statsServer().serverStat(index);
    return true;
}

bool STEAM_SIM_CALL SteamSim_ServerAchievement(const char* achievementName, bool* achieved,
                                               uint32_t* unlockTime) {
    SimGuard guard;
    const int index = achievementIndex(achievementName);
    if (index < 0) return false;
    bool isAchieved = false;
    uint32_t time = 0;
    statsServer().serverAchievement(index, &isAchieved, &time);
    if (achieved != nullptr) *achieved = isAchieved;
    if (unlockTime != nullptr) *unlockTime = time;
    return true;
}

void STEAM_SIM_CALL SteamSim_SetDisplayAttribute(const char* achievementName, const char* key,
                                                 const char* value) {
    SimGuard guard;
    const int index = achievementIndex(achievementName);
    if (index >= 0) statsServer().overrideDisplayAttribute(index, key, value);
}
