// The SteamSim_* controls: one model read and steered through either face.
#define STEAM_SIM_BUILDING
#include "call_log.h"
#include "face.h"
#include "leaderboards.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "sim_lock.h"
#include "stats_server.h"
#include "steam_sim.h"

using namespace steam_sim;

static_assert(STEAM_SIM_CLIENT_FACE_PROFILE == kClientFaceProfile);

// ---- Controls of the session: reset, start behaviour, user, app, languages, accessors
int STEAM_SIM_CALL SteamSim_Profile(void) { return faceProfile(); }

void STEAM_SIM_CALL SteamSim_Reset(void) {
    SimGuard guard;
    resetSimulator();
}

void STEAM_SIM_CALL SteamSim_SetStartSucceeds(bool succeeds) {
    SimGuard guard;
    session().setStartSucceeds(succeeds);
}

void STEAM_SIM_CALL SteamSim_SetLoggedOn(bool loggedOn) {
    SimGuard guard;
    session().setLoggedOn(loggedOn);
}

void STEAM_SIM_CALL SteamSim_SetAppId(uint32_t appId) {
    SimGuard guard;
    session().setAppId(appId);
}

void STEAM_SIM_CALL SteamSim_SetUserId(uint64_t steamId) {
    SimGuard guard;
    session().setUserId(steamId);
}

void STEAM_SIM_CALL SteamSim_SetLanguages(const char* current, const char* available) {
    SimGuard guard;
    session().setLanguages(current, available);
}

void STEAM_SIM_CALL SteamSim_SetAccessorNull(const char* accessor, bool returnsNull) {
    SimGuard guard;
    session().setInterfaceRefused(accessor, returnsNull);
}

void STEAM_SIM_CALL SteamSim_SetShutdownClearsHolderFlags(bool clears) {
    SimGuard guard;
    setShutdownClearsHolderFlags(clears);
}

int STEAM_SIM_CALL SteamSim_IsRunning(void) {
    SimGuard guard;
    return session().running() ? 1 : 0;
}

const char* STEAM_SIM_CALL SteamSim_LastOverlayDialog(void) {
    SimGuard guard;
    return session().lastOverlayDialog();
}

void STEAM_SIM_CALL SteamSim_SetClock(uint32_t unixTime) {
    SimGuard guard;
    session().setClock(unixTime);
}

// ---- Controls that read and clear the call log
int STEAM_SIM_CALL SteamSim_CallLogSize(void) {
    SimGuard guard;
    return callLog().size();
}

const char* STEAM_SIM_CALL SteamSim_CallLogEntry(int index) {
    SimGuard guard;
    return callLog().entry(index);
}

int STEAM_SIM_CALL SteamSim_CallCount(const char* exportName) {
    SimGuard guard;
    return callLog().countOf(exportName);
}

void STEAM_SIM_CALL SteamSim_ClearCallLog(void) {
    SimGuard guard;
    callLog().clear();
}

// ---- Controls of the callback registry and of delivery
int STEAM_SIM_CALL SteamSim_RegisteredCallbacks(int callbackId) {
    SimGuard guard;
    return registeredCallbackCount(callbackId);
}

int STEAM_SIM_CALL SteamSim_PendingCallResults(void) {
    SimGuard guard;
    return pendingCallResultCount();
}

int STEAM_SIM_CALL SteamSim_SizeMismatches(void) {
    SimGuard guard;
    return sizeMismatchCount();
}

void STEAM_SIM_CALL SteamSim_PostCallback(int callbackId, const void* record, int size) {
    SimGuard guard;
    if (size < 0 || (record == nullptr && size > 0)) return;
    const auto* bytes = static_cast<const unsigned char*>(record);
    recordQueue().postCallback(callbackId, RecordBytes(bytes, bytes + size), 1);
}

void STEAM_SIM_CALL SteamSim_SetRecordGameId(uint64_t gameId) {
    SimGuard guard;
    session().setRecordGameId(gameId);
}

int STEAM_SIM_CALL SteamSim_Frame(void) {
    SimGuard guard;
    return session().frame();
}

// ---- Controls of stats and achievements: request timing, store results, other devices, schema texts
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
        statsReceivedRecord(session().recordGameId(), result, session().userId()), 1,
        session().ownGameId());
}

void STEAM_SIM_CALL SteamSim_ForceNextStoreResult(int result) {
    SimGuard guard;
    statsServer().forceNextStoreResult(result);
}

void STEAM_SIM_CALL SteamSim_RefuseNextStore(void) {
    SimGuard guard;
    statsServer().refuseNextStore();
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

// ---- Controls of the leaderboards: faults, latency and inspection of boards
void STEAM_SIM_CALL SteamSim_FailNextCallHandle(void) {
    SimGuard guard;
    leaderboards().failNextCallHandle();
}

void STEAM_SIM_CALL SteamSim_FailNextCallIo(void) {
    SimGuard guard;
    leaderboards().failNextCallIo();
}

void STEAM_SIM_CALL SteamSim_NextFindNotFound(void) {
    SimGuard guard;
    leaderboards().nextFindNotFound();
}

void STEAM_SIM_CALL SteamSim_SetCallResultLatency(int frames) {
    SimGuard guard;
    leaderboards().setCallResultLatency(frames);
}

uint64_t STEAM_SIM_CALL SteamSim_LeaderboardHandle(const char* boardName) {
    SimGuard guard;
    return leaderboards().handleOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardSortMethod(const char* boardName) {
    SimGuard guard;
    return leaderboards().sortMethodOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardDisplayType(const char* boardName) {
    SimGuard guard;
    return leaderboards().displayTypeOf(boardName);
}

bool STEAM_SIM_CALL SteamSim_LeaderboardScore(const char* boardName, int32_t* score) {
    SimGuard guard;
    return leaderboards().scoreOf(boardName, score);
}

int STEAM_SIM_CALL SteamSim_LeaderboardCount(void) {
    SimGuard guard;
    return leaderboards().count();
}
