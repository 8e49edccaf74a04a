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
#include "model_lock.h"
#include "session.h"
#include "session_lifecycle.h"
#include "steam_calls.h"

#if defined(_WIN32) && !defined(_WIN64)
#define THISCALL __attribute__((thiscall))
#else
#define THISCALL
#endif
// GCC applies thiscall to free functions, but -Wpedantic warns that they are not
// class methods; the attribute is exactly what is wanted here.
#pragma GCC diagnostic ignored "-Wattributes"

using namespace offline_steam;

namespace offline_steam::client {
namespace {

using BoolArgument = uint32_t;  // 4 bytes on the stack, the low byte meaningful
bool BoolOf(BoolArgument raw) { return (raw & 0xFFu) != 0; }

// One of our objects of that family, while the session runs.
bool Live(const void* self, Family family) {
    ModelGuard guard;
    return FamilyOf(self) == family && TheSession().Running();
}

// ---- ISteamClient -------------------------------------------------------------

int32_t THISCALL ClientCreateSteamPipe(void*) {
    ModelGuard guard;
    CallLine("ISteamClient::CreateSteamPipe").Log();
    return OpenPipe();
}

bool THISCALL ClientBReleaseSteamPipe(void*, int32_t pipe) {
    ModelGuard guard;
    CallLine("ISteamClient::BReleaseSteamPipe").Integer(pipe).Log();
    return ClosePipe(pipe);
}

int32_t THISCALL ClientConnectToGlobalUser(void*, int32_t pipe) {
    ModelGuard guard;
    CallLine("ISteamClient::ConnectToGlobalUser").Integer(pipe).Log();
    return ConnectGlobalUser(pipe);
}

void THISCALL ClientReleaseUser(void*, int32_t pipe, int32_t user) {
    ModelGuard guard;
    CallLine("ISteamClient::ReleaseUser").Integer(pipe).Integer(user).Log();
    ReleaseUser(pipe, user);
}

// Every getter: the object of a version the tables know, of the family the
// getter serves (any for the generic one), for the connected user on an open
// pipe while the session runs, unless the model refuses that interface.
void* ServeInterface(const char* method, int32_t user, int32_t pipe, const char* version,
                     Family wanted, bool needsUser) {
    CallLine(method).Integer(user).Integer(pipe).Text(version).Log();
    ClientObject* object = ObjectForVersion(version);
    const Family family = FamilyOfVersion(version);
    const bool familyFits = wanted == Family::Other ? family != Family::Client : family == wanted;
    if (object == nullptr || !familyFits || TheSession().InterfaceRefused(RefusalNameOf(family))) {
        CallLine("refused interface").Text(version).Log();
        NoteInterfaceAsked(version, false);
        return nullptr;
    }
    // The start of Valve's library (seen with 1.48..1.63) calls GetISteamUser with
    // the pipe first and the user second, against the header's order; the
    // accessors later pass them in order. Either order of a connected user and
    // an open pipe is accepted.
    const bool inOrder = IsPipeOpen(pipe) && (!needsUser || IsConnectedUser(user));
    const bool swapped = needsUser && IsPipeOpen(user) && IsConnectedUser(pipe);
    const bool served = (inOrder || swapped) && TheSession().Running();
    NoteInterfaceAsked(version, served);
    if (!served) return nullptr;
    NoteInterfaceServed(version);
    return object;
}

void* THISCALL ClientGetISteamUser(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamUser", user, pipe, version, Family::User, true);
}

void* THISCALL ClientGetISteamGenericInterface(void*, int32_t user, int32_t pipe,
                                               const char* version) {
    ModelGuard guard;
    // Utilities need no user: the library asks for them with user 0 as well.
    const bool needsUser = FamilyOfVersion(version) != Family::Utils;
    return ServeInterface("ISteamClient::GetISteamGenericInterface", user, pipe, version,
                          Family::Other, needsUser);
}

void* THISCALL ClientGetISteamUtils(void*, int32_t pipe, const char* version) {
    ModelGuard guard;
    // GetISteamUtils(pipe, version) has no user; logged as user 0.
    return ServeInterface("ISteamClient::GetISteamUtils", 0, pipe, version, Family::Utils, false);
}

void* THISCALL ClientGetISteamUserStats(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamUserStats", user, pipe, version,
                          Family::UserStats, true);
}

void* THISCALL ClientGetISteamApps(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamApps", user, pipe, version, Family::Apps, true);
}

void* THISCALL ClientGetISteamFriends(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamFriends", user, pipe, version, Family::Friends,
                          true);
}

void* THISCALL ClientGetISteamInput(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamInput", user, pipe, version, Family::Input, true);
}

void* THISCALL ClientGetISteamController(void*, int32_t user, int32_t pipe, const char* version) {
    ModelGuard guard;
    return ServeInterface("ISteamClient::GetISteamController", user, pipe, version,
                          Family::Controller, true);
}

// The library's check "is a holder registered for this callback id"; the
// stand-in delivers every callback it has, so it keeps the function unused.
void THISCALL ClientSetCheckCallbackRegistered(void*, void* function) {
    ModelGuard guard;
    CallLine("ISteamClient::Set_SteamAPI_CCheckCallbackRegisteredInProcess")
        .Text(function != nullptr ? "function" : nullptr)
        .Log();
}

bool THISCALL ClientBShutdownIfAllPipesClosed(void*) {
    ModelGuard guard;
    CallLine("ISteamClient::BShutdownIfAllPipesClosed").Log();
    return !AnyPipeOpen();
}

// ---- ISteamUser ---------------------------------------------------------------

int32_t THISCALL UserGetHSteamUser(void* self) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUser_GetHSteamUser").Log();
    return Live(self, Family::User) && IsConnectedUser(kGlobalUser) ? kGlobalUser : 0;
}

bool THISCALL UserBLoggedOn(void* self) { return calls::UserLoggedOn(Live(self, Family::User)); }

// CSteamID result: MSVC passes a member function a hidden result pointer
// (32-bit: the first stack argument, popped by the callee; 64-bit: the second
// register, after the object, even though 8 bytes would fit in RAX) and
// expects it back in EAX or RAX.
#if defined(_WIN32)
void* THISCALL UserGetSteamId(void* self, void* result) {
    const uint64_t id = calls::UserSteamId(Live(self, Family::User));
    std::memcpy(result, &id, sizeof id);
    return result;
}
#else
// The Itanium ABI returns a trivially copyable 8-byte class such as CSteamID
// in RAX, like a plain integer.
uint64_t UserGetSteamId(void* self) { return calls::UserSteamId(Live(self, Family::User)); }
#endif

// ---- ISteamUserStats ------------------------------------------------------------

bool THISCALL StatsRequestCurrentStats(void* self) {
    return calls::StatsRequestCurrentStats(Live(self, Family::UserStats));
}

bool THISCALL StatsGetStatInt32(void* self, const char* name, int32_t* value) {
    return calls::StatsGetStatInt32(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsGetStatFloat(void* self, const char* name, float* value) {
    return calls::StatsGetStatFloat(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsSetStatInt32(void* self, const char* name, int32_t value) {
    return calls::StatsSetStatInt32(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsSetStatFloat(void* self, const char* name, float value) {
    return calls::StatsSetStatFloat(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsUpdateAvgRateStat(void* self, const char* name, float count, double seconds) {
    return calls::StatsUpdateAvgRateStat(Live(self, Family::UserStats), name, count, seconds);
}

bool THISCALL StatsGetAchievement(void* self, const char* name, bool* achieved) {
    return calls::StatsGetAchievement(Live(self, Family::UserStats), name, achieved);
}

bool THISCALL StatsSetAchievement(void* self, const char* name) {
    return calls::StatsSetAchievement(Live(self, Family::UserStats), name);
}

bool THISCALL StatsClearAchievement(void* self, const char* name) {
    return calls::StatsClearAchievement(Live(self, Family::UserStats), name);
}

bool THISCALL StatsGetAchievementAndUnlockTime(void* self, const char* name, bool* achieved,
                                               uint32_t* unlockTime) {
    return calls::StatsGetAchievementAndUnlockTime(Live(self, Family::UserStats), name, achieved,
                                                   unlockTime);
}

bool THISCALL StatsStoreStats(void* self) {
    return calls::StatsStoreStats(Live(self, Family::UserStats));
}

const char* THISCALL StatsGetAchievementDisplayAttribute(void* self, const char* name,
                                                         const char* key) {
    return calls::StatsAchievementDisplayAttribute(Live(self, Family::UserStats), name, key);
}

bool THISCALL StatsIndicateAchievementProgress(void* self, const char* name, uint32_t current,
                                               uint32_t maximum) {
    return calls::StatsIndicateAchievementProgress(Live(self, Family::UserStats), name, current,
                                                   maximum);
}

uint32_t THISCALL StatsGetNumAchievements(void* self) {
    return calls::StatsNumAchievements(Live(self, Family::UserStats));
}

const char* THISCALL StatsGetAchievementName(void* self, uint32_t index) {
    return calls::StatsAchievementName(Live(self, Family::UserStats), index);
}

bool THISCALL StatsGetAchievementProgressLimitsInt32(void* self, const char* name, int32_t* minimum,
                                                     int32_t* maximum) {
    return calls::StatsAchievementProgressLimitsInt32(Live(self, Family::UserStats), name, minimum,
                                                      maximum);
}

bool THISCALL StatsGetAchievementProgressLimitsFloat(void* self, const char* name, float* minimum,
                                                     float* maximum) {
    return calls::StatsAchievementProgressLimitsFloat(Live(self, Family::UserStats), name, minimum,
                                                      maximum);
}

bool THISCALL StatsResetAllStats(void* self, BoolArgument achievementsToo) {
    return calls::StatsResetAllStats(Live(self, Family::UserStats), BoolOf(achievementsToo));
}

// Leaderboard call handles are 64-bit: returned in EDX:EAX.
uint64_t THISCALL StatsFindOrCreateLeaderboard(void* self, const char* name, int32_t sortMethod,
                                               int32_t displayType) {
    return calls::StatsFindOrCreateLeaderboard(Live(self, Family::UserStats), name, sortMethod,
                                               displayType);
}

uint64_t THISCALL StatsFindLeaderboard(void* self, const char* name) {
    return calls::StatsFindLeaderboard(Live(self, Family::UserStats), name);
}

const char* THISCALL StatsGetLeaderboardName(void* self, uint64_t board) {
    return calls::StatsLeaderboardName(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardEntryCount(void* self, uint64_t board) {
    return calls::StatsLeaderboardEntryCount(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardSortMethod(void* self, uint64_t board) {
    return calls::StatsLeaderboardSortMethod(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardDisplayType(void* self, uint64_t board) {
    return calls::StatsLeaderboardDisplayType(Live(self, Family::UserStats), board);
}

uint64_t THISCALL StatsDownloadLeaderboardEntries(void* self, uint64_t board, int32_t request,
                                                  int32_t rangeStart, int32_t rangeEnd) {
    return calls::StatsDownloadLeaderboardEntries(Live(self, Family::UserStats), board, request,
                                                  rangeStart, rangeEnd);
}

bool THISCALL StatsGetDownloadedLeaderboardEntry(void* self, uint64_t entries, int32_t index,
                                                 LeaderboardEntryRecord* entry, int32_t* details,
                                                 int32_t detailsMax) {
    return calls::StatsDownloadedLeaderboardEntry(Live(self, Family::UserStats), entries, index,
                                                  entry, details, detailsMax);
}

uint64_t THISCALL StatsUploadLeaderboardScore(void* self, uint64_t board, int32_t uploadMethod,
                                              int32_t score, const int32_t* details,
                                              int32_t detailCount) {
    return calls::StatsUploadLeaderboardScore(Live(self, Family::UserStats), board, uploadMethod,
                                              score, details, detailCount);
}

// ---- ISteamUtils, ISteamApps, ISteamFriends, ISteamInput, ISteamController -------

uint32_t THISCALL UtilsGetAppId(void* self) { return calls::UtilsAppId(Live(self, Family::Utils)); }

uint32_t THISCALL UtilsGetServerRealTime(void* self) {
    return calls::UtilsServerRealTime(Live(self, Family::Utils));
}

// First in every SteamAPI_RunCallbacks of the real library: the frame clock.
void THISCALL UtilsRunFrame(void* self) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_RunFrame").Log();
    if (FamilyOf(self) == Family::Utils) RunClientFrame();
}

uint32_t THISCALL UtilsGetIpcCallCount(void*) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetIPCCallCount").Log();
    return 0;  // no IPC: everything is in process
}

const char* THISCALL AppsGetCurrentGameLanguage(void* self) {
    return calls::AppsCurrentGameLanguage(Live(self, Family::Apps));
}

const char* THISCALL AppsGetAvailableGameLanguages(void* self) {
    return calls::AppsAvailableGameLanguages(Live(self, Family::Apps));
}

bool THISCALL AppsBIsSubscribed(void* self) {
    return calls::AppsIsSubscribed(Live(self, Family::Apps));
}

bool THISCALL AppsBIsSubscribedApp(void* self, uint32_t appId) {
    return calls::AppsIsSubscribedApp(Live(self, Family::Apps), appId);
}

const char* THISCALL FriendsGetPersonaName(void* self) {
    return calls::FriendsPersonaName(Live(self, Family::Friends));
}

void THISCALL FriendsActivateGameOverlay(void* self, const char* dialog) {
    calls::FriendsActivateGameOverlay(Live(self, Family::Friends), dialog);
}

// A CSteamID argument travels by value as its 8 bytes, in every ABI here.
void THISCALL FriendsActivateGameOverlayToUser(void* self, const char* dialog, uint64_t steamId) {
    calls::FriendsActivateGameOverlayToUser(Live(self, Family::Friends), dialog, steamId);
}

void THISCALL FriendsActivateGameOverlayToWebPage(void* self, const char* url, int32_t mode) {
    calls::FriendsActivateGameOverlayToWebPage(Live(self, Family::Friends), url, mode);
}

void THISCALL FriendsActivateGameOverlayToStore(void* self, uint32_t appId, int32_t flag) {
    calls::FriendsActivateGameOverlayToStore(Live(self, Family::Friends), appId, flag);
}

// Input and controllers: nothing to poll; the library calls these every frame.
void THISCALL InputRunFrame(void*) {}
void THISCALL InputRunFrameReserved(void*, BoolArgument) {}
void THISCALL ControllerRunFrame(void*) {}

}  // namespace

const void* const kServedFunctions[] = {
#define STEAM_CLIENT_SERVED_ADDRESS(Class, Method, Bytes, Kind, Function) \
    reinterpret_cast<const void*>(&Function),
    STEAM_CLIENT_SERVED(STEAM_CLIENT_SERVED_ADDRESS)
#undef STEAM_CLIENT_SERVED_ADDRESS
};

}  // namespace offline_steam::client
