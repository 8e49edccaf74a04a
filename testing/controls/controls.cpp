// The SteamSim_* controls: one model read and steered through either face.
#define STEAM_SIM_BUILDING
#include "call_log.h"
#include "face.h"
#include "leaderboards.h"
#include "model_lock.h"
#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"
#include "steam_sim.h"

using namespace offline_steam;

static_assert(STEAM_SIM_CLIENT_FACE_PROFILE == kClientFaceProfile);

// ---- Controls of the session: reset, start behaviour, user, app, languages, accessors
int STEAM_SIM_CALL SteamSim_Profile(void) { return FaceProfile(); }

void STEAM_SIM_CALL SteamSim_Reset(void) {
    ModelGuard guard;
    ResetSimulator();
}

void STEAM_SIM_CALL SteamSim_SetStartSucceeds(bool succeeds) {
    ModelGuard guard;
    TheSession().SetStartSucceeds(succeeds);
}

void STEAM_SIM_CALL SteamSim_SetLoggedOn(bool loggedOn) {
    ModelGuard guard;
    TheSession().SetLoggedOn(loggedOn);
}

void STEAM_SIM_CALL SteamSim_SetAppId(uint32_t appId) {
    ModelGuard guard;
    TheSession().SetAppId(appId);
}

void STEAM_SIM_CALL SteamSim_SetUserId(uint64_t steamId) {
    ModelGuard guard;
    TheSession().SetUserId(steamId);
}

void STEAM_SIM_CALL SteamSim_SetLanguages(const char* current, const char* available) {
    ModelGuard guard;
    TheSession().SetLanguages(current, available);
}

void STEAM_SIM_CALL SteamSim_SetAccessorNull(const char* accessor, bool returnsNull) {
    ModelGuard guard;
    TheSession().SetInterfaceRefused(accessor, returnsNull);
}

void STEAM_SIM_CALL SteamSim_SetShutdownClearsHolderFlags(bool clears) {
    ModelGuard guard;
    SetShutdownClearsHolderFlags(clears);
}

int STEAM_SIM_CALL SteamSim_IsRunning(void) {
    ModelGuard guard;
    return TheSession().Running() ? 1 : 0;
}

const char* STEAM_SIM_CALL SteamSim_LastOverlayDialog(void) {
    ModelGuard guard;
    return TheSession().LastOverlayDialog();
}

void STEAM_SIM_CALL SteamSim_SetClock(uint32_t unixTime) {
    ModelGuard guard;
    TheSession().SetClock(unixTime);
}

// ---- Controls that read and clear the call log
int STEAM_SIM_CALL SteamSim_CallLogSize(void) {
    ModelGuard guard;
    return TheCallLog().Size();
}

const char* STEAM_SIM_CALL SteamSim_CallLogEntry(int index) {
    ModelGuard guard;
    return TheCallLog().Entry(index);
}

int STEAM_SIM_CALL SteamSim_CallCount(const char* exportName) {
    ModelGuard guard;
    return TheCallLog().CountOf(exportName);
}

void STEAM_SIM_CALL SteamSim_ClearCallLog(void) {
    ModelGuard guard;
    TheCallLog().Clear();
}

// ---- Controls of the callback registry and of delivery
int STEAM_SIM_CALL SteamSim_RegisteredCallbacks(int callbackId) {
    ModelGuard guard;
    return RegisteredCallbackCount(callbackId);
}

int STEAM_SIM_CALL SteamSim_PendingCallResults(void) {
    ModelGuard guard;
    return PendingCallResultCount();
}

int STEAM_SIM_CALL SteamSim_SizeMismatches(void) {
    ModelGuard guard;
    return SizeMismatchCount();
}

void STEAM_SIM_CALL SteamSim_PostCallback(int callbackId, const void* record, int size) {
    ModelGuard guard;
    if (size < 0 || (record == nullptr && size > 0)) return;
    const auto* bytes = static_cast<const unsigned char*>(record);
    TheRecordQueue().PostCallback(callbackId, RecordBytes(bytes, bytes + size), 1);
}

void STEAM_SIM_CALL SteamSim_SetRecordGameId(uint64_t gameId) {
    ModelGuard guard;
    TheSession().SetRecordGameId(gameId);
}

int STEAM_SIM_CALL SteamSim_Frame(void) {
    ModelGuard guard;
    return TheSession().Frame();
}

// ---- Controls of stats and achievements: request timing, store results, other devices, schema
// texts
void STEAM_SIM_CALL SteamSim_SetStatsReceivedDelay(int frames) {
    ModelGuard guard;
    TheStatsServer().SetStatsReceivedDelay(frames);
}

void STEAM_SIM_CALL SteamSim_SetStatsReceivedResult(int result) {
    ModelGuard guard;
    TheStatsServer().SetStatsReceivedResult(result);
}

void STEAM_SIM_CALL SteamSim_PostStatsReceived(int result) {
    ModelGuard guard;
    TheRecordQueue().PostStatsReceived(
        MakeStatsReceivedRecord(TheSession().RecordGameId(), result, TheSession().UserId()), 1,
        TheSession().OwnGameId());
}

void STEAM_SIM_CALL SteamSim_ForceNextStoreResult(int result) {
    ModelGuard guard;
    TheStatsServer().ForceNextStoreResult(result);
}

void STEAM_SIM_CALL SteamSim_RefuseNextStore(void) {
    ModelGuard guard;
    TheStatsServer().RefuseNextStore();
}

void STEAM_SIM_CALL SteamSim_SetStatRange(const char* statName, int32_t minimum, int32_t maximum) {
    ModelGuard guard;
    const int index = StatIndex(statName);
    if (index >= 0) TheStatsServer().SetRange(index, minimum, maximum);
}

void STEAM_SIM_CALL SteamSim_SetStatFromOtherDevice(const char* statName, int32_t value) {
    ModelGuard guard;
    const int index = StatIndex(statName);
    if (index >= 0) TheStatsServer().SetStatFromOtherDevice(index, value);
}

void STEAM_SIM_CALL SteamSim_SetAchievementFromOtherDevice(const char* achievementName,
                                                           bool achieved) {
    ModelGuard guard;
    const int index = AchievementIndex(achievementName);
    if (index >= 0)
        TheStatsServer().SetAchievementFromOtherDevice(index, achieved, TheSession().Clock());
}

bool STEAM_SIM_CALL SteamSim_ServerStat(const char* statName, int32_t* value) {
    ModelGuard guard;
    const int index = StatIndex(statName);
    if (index < 0) return false;
    if (value != nullptr) *value = TheStatsServer().ServerStat(index);
    return true;
}

bool STEAM_SIM_CALL SteamSim_ServerAchievement(const char* achievementName, bool* achieved,
                                               uint32_t* unlockTime) {
    ModelGuard guard;
    const int index = AchievementIndex(achievementName);
    if (index < 0) return false;
    bool isAchieved = false;
    uint32_t time = 0;
    TheStatsServer().ServerAchievement(index, &isAchieved, &time);
    if (achieved != nullptr) *achieved = isAchieved;
    if (unlockTime != nullptr) *unlockTime = time;
    return true;
}

void STEAM_SIM_CALL SteamSim_SetDisplayAttribute(const char* achievementName, const char* key,
                                                 const char* value) {
    ModelGuard guard;
    const int index = AchievementIndex(achievementName);
    if (index >= 0) TheStatsServer().OverrideDisplayAttribute(index, key, value);
}

// ---- Controls of the leaderboards: faults, latency and inspection of boards
void STEAM_SIM_CALL SteamSim_FailNextCallHandle(void) {
    ModelGuard guard;
    TheLeaderboards().FailNextCallHandle();
}

void STEAM_SIM_CALL SteamSim_FailNextCallIo(void) {
    ModelGuard guard;
    TheLeaderboards().FailNextCallIo();
}

void STEAM_SIM_CALL SteamSim_NextFindNotFound(void) {
    ModelGuard guard;
    TheLeaderboards().NextFindNotFound();
}

void STEAM_SIM_CALL SteamSim_SetCallResultLatency(int frames) {
    ModelGuard guard;
    TheLeaderboards().SetCallResultLatency(frames);
}

uint64_t STEAM_SIM_CALL SteamSim_LeaderboardHandle(const char* boardName) {
    ModelGuard guard;
    return TheLeaderboards().HandleOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardSortMethod(const char* boardName) {
    ModelGuard guard;
    return TheLeaderboards().SortMethodOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardDisplayType(const char* boardName) {
    ModelGuard guard;
    return TheLeaderboards().DisplayTypeOf(boardName);
}

bool STEAM_SIM_CALL SteamSim_LeaderboardScore(const char* boardName, int32_t* score) {
    ModelGuard guard;
    return TheLeaderboards().ScoreOf(boardName, score);
}

int STEAM_SIM_CALL SteamSim_LeaderboardCount(void) {
    ModelGuard guard;
    return TheLeaderboards().Count();
}
