// The interface methods the stand-in client serves. What Steam does for each is
// the model's (steam_calls.h, shared with the flat face); here is the binary
// form that Valve's library calls.
//
// Each is a free function that the MSVC-built caller calls as a member
// function. On 32-bit Windows it carries GCC's thiscall attribute: the object
// in ECX, the callee pops its stack arguments. On 64-bit Windows there is one
// calling convention, the object the first argument, and GCC's free functions
// keep it already. The generated tables' argument bytes and return kinds are
// checked against served_methods.h at compile time (interface_objects.cpp). A
// bool argument occupies 4 stack bytes (a whole register on 64-bit) of which
// MSVC sets only the low one, so bool parameters are read as that byte.
#include "served_methods.h"

#include <cstdint>
#include <cstring>

#include "call_line.h"
#include "client_state.h"
#include "interface_objects.h"
#include "session.h"
#include "sim_lock.h"
#include "steam_calls.h"

#if defined(_WIN32) && !defined(_WIN64)
#define THISCALL __attribute__((thiscall))
#else
#define THISCALL
#endif
// GCC applies thiscall to free functions, but -Wpedantic warns that they are not
// class methods; the attribute is exactly what is wanted here.
#pragma GCC diagnostic ignored "-Wattributes"

using namespace steam_sim;

namespace steam_sim::client {
namespace {

using BoolArgument = uint32_t;  // 4 bytes on the stack, the low byte meaningful
bool boolOf(BoolArgument raw) { return (raw & 0xFFu) != 0; }

// One of our objects of that family, while the session runs.
bool live(const void* self, Family family) {
    SimGuard guard;
    return familyOf(self) == family && session().running();
}

// ---- ISteamClient -------------------------------------------------------------

int32_t THISCALL clientCreateSteamPipe(void*) {
    SimGuard guard;
    CallLine("ISteamClient::CreateSteamPipe").log();
    return openPipe();
}

bool THISCALL clientBReleaseSteamPipe(void*, int32_t pipe) {
    SimGuard guard;
    CallLine("ISteamClient::BReleaseSteamPipe").integer(pipe).log();
    return closePipe(pipe);
}

int32_t THISCALL clientConnectToGlobalUser(void*, int32_t pipe) {
    SimGuard guard;
    CallLine("ISteamClient::ConnectToGlobalUser").integer(pipe).log();
    return connectGlobalUser(pipe);
}

void THISCALL clientReleaseUser(void*, int32_t pipe, int32_t user) {
    SimGuard guard;
    CallLine("ISteamClient::ReleaseUser").integer(pipe).integer(user).log();
    releaseUser(pipe, user);
}

// Every getter: the object of a version the tables know, of the family the
// getter serves (any for the generic one), for the connected user on an open
// pipe while the session runs, unless the model refuses that interface.
void* serveInterface(const char* method, int32_t user, int32_t pipe, const char* version,
                     Family wanted, bool needsUser) {
    CallLine(method).integer(user).integer(pipe).text(version).log();
    ClientObject* object = objectForVersion(version);
    const Family family = familyOfVersion(version);
    const bool familyFits = wanted == Family::Other ? family != Family::Client : family == wanted;
    if (object == nullptr || !familyFits || session().interfaceRefused(refusalNameOf(family))) {
        CallLine("refused interface").text(version).log();
        return nullptr;
    }
    // The start of Valve's library (seen with 1.48..1.63) calls GetISteamUser with
    // the pipe first and the user second, against the header's order; the
    // accessors later pass them in order. Either order of a connected user and
    // an open pipe is accepted.
    const bool inOrder = isPipeOpen(pipe) && (!needsUser || isConnectedUser(user));
    const bool swapped = needsUser && isPipeOpen(user) && isConnectedUser(pipe);
    if (!(inOrder || swapped) || !session().running()) return nullptr;
    noteInterfaceServed(version);
    return object;
}

void* THISCALL clientGetISteamUser(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamUser", user, pipe, version, Family::User, true);
}

void* THISCALL clientGetISteamGenericInterface(void*, int32_t user, int32_t pipe,
                                               const char* version) {
    SimGuard guard;
    // Utilities need no user: the library asks for them with user 0 as well.
    const bool needsUser = familyOfVersion(version) != Family::Utils;
    return serveInterface("ISteamClient::GetISteamGenericInterface", user, pipe, version,
                          Family::Other, needsUser);
}

void* THISCALL clientGetISteamUtils(void*, int32_t pipe, const char* version) {
    SimGuard guard;
    // GetISteamUtils(pipe, version) has no user; logged as user 0.
    return serveInterface("ISteamClient::GetISteamUtils", 0, pipe, version, Family::Utils, false);
}

void* THISCALL clientGetISteamUserStats(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamUserStats", user, pipe, version,
                          Family::UserStats, true);
}

void* THISCALL clientGetISteamApps(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamApps", user, pipe, version, Family::Apps, true);
}

void* THISCALL clientGetISteamFriends(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamFriends", user, pipe, version, Family::Friends,
                          true);
}

void* THISCALL clientGetISteamInput(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamInput", user, pipe, version, Family::Input, true);
}

void* THISCALL clientGetISteamController(void*, int32_t user, int32_t pipe, const char* version) {
    SimGuard guard;
    return serveInterface("ISteamClient::GetISteamController", user, pipe, version,
                          Family::Controller, true);
}

// The library's check "is a holder registered for this callback id"; the
// stand-in delivers every callback it has, so it keeps the function unused.
void THISCALL clientSetCheckCallbackRegistered(void*, void* function) {
    SimGuard guard;
    CallLine("ISteamClient::Set_SteamAPI_CCheckCallbackRegisteredInProcess")
        .text(function != nullptr ? "function" : nullptr)
        .log();
}

bool THISCALL clientBShutdownIfAllPipesClosed(void*) {
    SimGuard guard;
    CallLine("ISteamClient::BShutdownIfAllPipesClosed").log();
    return !anyPipeOpen();
}

// ---- ISteamUser ---------------------------------------------------------------

int32_t THISCALL userGetHSteamUser(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUser_GetHSteamUser").log();
    return live(self, Family::User) && isConnectedUser(kGlobalUser) ? kGlobalUser : 0;
}

bool THISCALL userBLoggedOn(void* self) { return calls::userLoggedOn(live(self, Family::User)); }

// CSteamID result: MSVC passes a member function a hidden result pointer
// (32-bit: the first stack argument, popped by the callee; 64-bit: the second
// register, after the object, even though 8 bytes would fit in RAX) and
// expects it back in EAX or RAX.
#if defined(_WIN32)
void* THISCALL userGetSteamID(void* self, void* result) {
    const uint64_t id = calls::userSteamId(live(self, Family::User));
    std::memcpy(result, &id, sizeof id);
    return result;
}
#else
// The Itanium ABI returns a trivially copyable 8-byte class such as CSteamID
// in RAX, like a plain integer.
uint64_t userGetSteamID(void* self) { return calls::userSteamId(live(self, Family::User)); }
#endif

// ---- ISteamUserStats ------------------------------------------------------------

bool THISCALL statsRequestCurrentStats(void* self) {
    return calls::statsRequestCurrentStats(live(self, Family::UserStats));
}

bool THISCALL statsGetStatInt32(void* self, const char* name, int32_t* value) {
    return calls::statsGetStatInt32(live(self, Family::UserStats), name, value);
}

bool THISCALL statsGetStatFloat(void* self, const char* name, float* value) {
    return calls::statsGetStatFloat(live(self, Family::UserStats), name, value);
}

bool THISCALL statsSetStatInt32(void* self, const char* name, int32_t value) {
    return calls::statsSetStatInt32(live(self, Family::UserStats), name, value);
}

bool THISCALL statsSetStatFloat(void* self, const char* name, float value) {
    return calls::statsSetStatFloat(live(self, Family::UserStats), name, value);
}

bool THISCALL statsUpdateAvgRateStat(void* self, const char* name, float count, double seconds) {
    return calls::statsUpdateAvgRateStat(live(self, Family::UserStats), name, count, seconds);
}

bool THISCALL statsGetAchievement(void* self, const char* name, bool* achieved) {
    return calls::statsGetAchievement(live(self, Family::UserStats), name, achieved);
}

bool THISCALL statsSetAchievement(void* self, const char* name) {
    return calls::statsSetAchievement(live(self, Family::UserStats), name);
}

bool THISCALL statsClearAchievement(void* self, const char* name) {
    return calls::statsClearAchievement(live(self, Family::UserStats), name);
}

bool THISCALL statsGetAchievementAndUnlockTime(void* self, const char* name, bool* achieved,
                                               uint32_t* unlockTime) {
    return calls::statsGetAchievementAndUnlockTime(live(self, Family::UserStats), name, achieved,
                                                   unlockTime);
}

bool THISCALL statsStoreStats(void* self) {
    return calls::statsStoreStats(live(self, Family::UserStats));
}

const char* THISCALL statsGetAchievementDisplayAttribute(void* self, const char* name,
                                                         const char* key) {
    return calls::statsAchievementDisplayAttribute(live(self, Family::UserStats), name, key);
}

bool THISCALL statsIndicateAchievementProgress(void* self, const char* name, uint32_t current,
                                               uint32_t maximum) {
    return calls::statsIndicateAchievementProgress(live(self, Family::UserStats), name, current,
                                                   maximum);
}

uint32_t THISCALL statsGetNumAchievements(void* self) {
    return calls::statsNumAchievements(live(self, Family::UserStats));
}

const char* THISCALL statsGetAchievementName(void* self, uint32_t index) {
    return calls::statsAchievementName(live(self, Family::UserStats), index);
}

bool THISCALL statsGetAchievementProgressLimitsInt32(void* self, const char* name,
                                                     int32_t* minimum, int32_t* maximum) {
    return calls::statsAchievementProgressLimitsInt32(live(self, Family::UserStats), name,
                                                      minimum, maximum);
}

bool THISCALL statsGetAchievementProgressLimitsFloat(void* self, const char* name, float* minimum,
                                                     float* maximum) {
    return calls::statsAchievementProgressLimitsFloat(live(self, Family::UserStats), name,
                                                      minimum, maximum);
}

bool THISCALL statsResetAllStats(void* self, BoolArgument achievementsToo) {
    return calls::statsResetAllStats(live(self, Family::UserStats), boolOf(achievementsToo));
}

// Leaderboard call handles are 64-bit: returned in EDX:EAX.
uint64_t THISCALL statsFindOrCreateLeaderboard(void* self, const char* name, int32_t sortMethod,
                                               int32_t displayType) {
    return calls::statsFindOrCreateLeaderboard(live(self, Family::UserStats), name, sortMethod,
                                               displayType);
}

uint64_t THISCALL statsFindLeaderboard(void* self, const char* name) {
    return calls::statsFindLeaderboard(live(self, Family::UserStats), name);
}

const char* THISCALL statsGetLeaderboardName(void* self, uint64_t board) {
    return calls::statsLeaderboardName(live(self, Family::UserStats), board);
}

int32_t THISCALL statsGetLeaderboardEntryCount(void* self, uint64_t board) {
    return calls::statsLeaderboardEntryCount(live(self, Family::UserStats), board);
}

int32_t THISCALL statsGetLeaderboardSortMethod(void* self, uint64_t board) {
    return calls::statsLeaderboardSortMethod(live(self, Family::UserStats), board);
}

int32_t THISCALL statsGetLeaderboardDisplayType(void* self, uint64_t board) {
    return calls::statsLeaderboardDisplayType(live(self, Family::UserStats), board);
}

uint64_t THISCALL statsDownloadLeaderboardEntries(void* self, uint64_t board, int32_t request,
                                                  int32_t rangeStart, int32_t rangeEnd) {
    return calls::statsDownloadLeaderboardEntries(live(self, Family::UserStats), board, request,
                                                  rangeStart, rangeEnd);
}

bool THISCALL statsGetDownloadedLeaderboardEntry(void* self, uint64_t entries, int32_t index,
                                                 LeaderboardEntryRecord* entry, int32_t* details,
                                                 int32_t detailsMax) {
    return calls::statsDownloadedLeaderboardEntry(live(self, Family::UserStats), entries, index,
                                                  entry, details, detailsMax);
}

uint64_t THISCALL statsUploadLeaderboardScore(void* self, uint64_t board, int32_t uploadMethod,
                                              int32_t score, const int32_t* details,
                                              int32_t detailCount) {
    return calls::statsUploadLeaderboardScore(live(self, Family::UserStats), board, uploadMethod,
                                              score, details, detailCount);
}

// ---- ISteamUtils, ISteamApps, ISteamFriends, ISteamInput, ISteamController -------

uint32_t THISCALL utilsGetAppID(void* self) { return calls::utilsAppId(live(self, Family::Utils)); }

uint32_t THISCALL utilsGetServerRealTime(void* self) {
    return calls::utilsServerRealTime(live(self, Family::Utils));
}

// First in every SteamAPI_RunCallbacks of the real library: the frame clock.
void THISCALL utilsRunFrame(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUtils_RunFrame").log();
    if (familyOf(self) == Family::Utils) runClientFrame();
}

uint32_t THISCALL utilsGetIPCCallCount(void*) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetIPCCallCount").log();
    return 0;  // no IPC: everything is in process
}

const char* THISCALL appsGetCurrentGameLanguage(void* self) {
    return calls::appsCurrentGameLanguage(live(self, Family::Apps));
}

const char* THISCALL appsGetAvailableGameLanguages(void* self) {
    return calls::appsAvailableGameLanguages(live(self, Family::Apps));
}

bool THISCALL appsBIsSubscribed(void* self) {
    return calls::appsIsSubscribed(live(self, Family::Apps));
}

bool THISCALL appsBIsSubscribedApp(void* self, uint32_t appId) {
    return calls::appsIsSubscribedApp(live(self, Family::Apps), appId);
}

const char* THISCALL friendsGetPersonaName(void* self) {
    return calls::friendsPersonaName(live(self, Family::Friends));
}

void THISCALL friendsActivateGameOverlay(void* self, const char* dialog) {
    calls::friendsActivateGameOverlay(live(self, Family::Friends), dialog);
}

// A CSteamID argument travels by value as its 8 bytes, in every ABI here.
void THISCALL friendsActivateGameOverlayToUser(void* self, const char* dialog, uint64_t steamId) {
    calls::friendsActivateGameOverlayToUser(live(self, Family::Friends), dialog, steamId);
}

void THISCALL friendsActivateGameOverlayToWebPage(void* self, const char* url, int32_t mode) {
    calls::friendsActivateGameOverlayToWebPage(live(self, Family::Friends), url, mode);
}

void THISCALL friendsActivateGameOverlayToStore(void* self, uint32_t appId, int32_t flag) {
    calls::friendsActivateGameOverlayToStore(live(self, Family::Friends), appId, flag);
}

// Input and controllers: nothing to poll; the library calls these every frame.
void THISCALL inputRunFrame(void*) {}
void THISCALL inputRunFrameReserved(void*, BoolArgument) {}
void THISCALL controllerRunFrame(void*) {}

}  // namespace

const void* const kServedFunctions[] = {
#define STEAM_CLIENT_SERVED_ADDRESS(Class, Method, Bytes, Kind, Function) \
    reinterpret_cast<const void*>(&Function),
    STEAM_CLIENT_SERVED(STEAM_CLIENT_SERVED_ADDRESS)
#undef STEAM_CLIENT_SERVED_ADDRESS
};

}  // namespace steam_sim::client
