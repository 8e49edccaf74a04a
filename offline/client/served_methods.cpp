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
#include "user_app_calls.h"
#include "user_stats_calls.h"

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

// One of our objects of that family, while the session runs. The caller holds
// the model's lock over this check and the whole call, so a SteamAPI_Shutdown
// on another thread cannot stop the session between them.
bool Live(const void* self, Family family) {
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

// Every getter: the object of a version the tables know, of the class the
// getter serves (any but ISteamClient for the generic one), for the connected
// user on an open pipe while the session runs, unless the model refuses that
// interface.
void* ServeInterface(const char* method, int32_t user, int32_t pipe, const char* version,
                     const char* wantedClass, bool needsUser) {
    CallLine(method).Integer(user).Integer(pipe).Text(version).Log();
    ClientObject* object = ObjectForVersion(version);
    const char* className = ClassOfVersion(version);
    const bool classFits = className != nullptr &&
                           (wantedClass == nullptr ? std::strcmp(className, "ISteamClient") != 0
                                                   : std::strcmp(className, wantedClass) == 0);
    if (object == nullptr || !classFits ||
        TheSession().InterfaceRefused(RefusalNameOf(FamilyOfVersion(version)))) {
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

void* THISCALL ClientGetISteamGenericInterface(void*, int32_t user, int32_t pipe,
                                               const char* version) {
    ModelGuard guard;
    // Utilities need no user: the library asks for them with user 0 as well.
    const bool needsUser = FamilyOfVersion(version) != Family::Utils;
    return ServeInterface("ISteamClient::GetISteamGenericInterface", user, pipe, version, nullptr,
                          needsUser);
}

void* THISCALL ClientGetISteamUtils(void*, int32_t pipe, const char* version) {
    ModelGuard guard;
    // GetISteamUtils(pipe, version) has no user; logged as user 0.
    return ServeInterface("ISteamClient::GetISteamUtils", 0, pipe, version, "ISteamUtils", false);
}

#define STEAM_CLIENT_DEFINE_GETTER(Unused, Getter, Class)                                   \
    void* THISCALL Client##Getter(void*, int32_t user, int32_t pipe, const char* version) { \
        ModelGuard guard;                                                                   \
        return ServeInterface("ISteamClient::" #Getter, user, pipe, version, #Class, true); \
    }
STEAM_CLIENT_GETTERS(STEAM_CLIENT_DEFINE_GETTER, _)
#undef STEAM_CLIENT_DEFINE_GETTER

// The library's check "is a holder registered for this callback id"; the
// stand-in delivers every callback it has, so it keeps the function unused.
void THISCALL ClientSetCheckCallbackRegistered(void*, void* function) {
    ModelGuard guard;
    CallLine("ISteamClient::Set_SteamAPI_CCheckCallbackRegisteredInProcess")
        .Text(function != nullptr ? "function" : nullptr)
        .Log();
}

// Steam calls the hook with its own warnings; the offline Steam has none to
// give the game (its warnings go to the journal), so it keeps the hook unused.
void THISCALL ClientSetWarningMessageHook(void*, void* function) {
    ModelGuard guard;
    CallLine("ISteamClient::SetWarningMessageHook")
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

bool THISCALL UserBLoggedOn(void* self) {
    ModelGuard guard;
    return calls::UserLoggedOn(Live(self, Family::User));
}

// CSteamID result: MSVC passes a member function a hidden result pointer
// (32-bit: the first stack argument, popped by the callee; 64-bit: the second
// register, after the object, even though 8 bytes would fit in RAX) and
// expects it back in EAX or RAX.
#if defined(_WIN32)
void* THISCALL UserGetSteamId(void* self, void* result) {
    ModelGuard guard;
    const uint64_t id = calls::UserSteamId(Live(self, Family::User));
    std::memcpy(result, &id, sizeof id);
    return result;
}
#else
// The Itanium ABI returns a trivially copyable 8-byte class such as CSteamID
// in RAX, like a plain integer.
uint64_t UserGetSteamId(void* self) {
    ModelGuard guard;
    return calls::UserSteamId(Live(self, Family::User));
}
#endif

// ---- ISteamUserStats ------------------------------------------------------------

bool THISCALL StatsRequestCurrentStats(void* self) {
    ModelGuard guard;
    return calls::StatsRequestCurrentStats(Live(self, Family::UserStats));
}

bool THISCALL StatsGetStatInt32(void* self, const char* name, int32_t* value) {
    ModelGuard guard;
    return calls::StatsGetStatInt32(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsGetStatFloat(void* self, const char* name, float* value) {
    ModelGuard guard;
    return calls::StatsGetStatFloat(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsSetStatInt32(void* self, const char* name, int32_t value) {
    ModelGuard guard;
    return calls::StatsSetStatInt32(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsSetStatFloat(void* self, const char* name, float value) {
    ModelGuard guard;
    return calls::StatsSetStatFloat(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsUpdateAvgRateStat(void* self, const char* name, float count, double seconds) {
    ModelGuard guard;
    return calls::StatsUpdateAvgRateStat(Live(self, Family::UserStats), name, count, seconds);
}

bool THISCALL StatsGetAchievement(void* self, const char* name, bool* achieved) {
    ModelGuard guard;
    return calls::StatsGetAchievement(Live(self, Family::UserStats), name, achieved);
}

bool THISCALL StatsSetAchievement(void* self, const char* name) {
    ModelGuard guard;
    return calls::StatsSetAchievement(Live(self, Family::UserStats), name);
}

bool THISCALL StatsClearAchievement(void* self, const char* name) {
    ModelGuard guard;
    return calls::StatsClearAchievement(Live(self, Family::UserStats), name);
}

bool THISCALL StatsGetAchievementAndUnlockTime(void* self, const char* name, bool* achieved,
                                               uint32_t* unlockTime) {
    ModelGuard guard;
    return calls::StatsGetAchievementAndUnlockTime(Live(self, Family::UserStats), name, achieved,
                                                   unlockTime);
}

bool THISCALL StatsStoreStats(void* self) {
    ModelGuard guard;
    return calls::StatsStoreStats(Live(self, Family::UserStats));
}

const char* THISCALL StatsGetAchievementDisplayAttribute(void* self, const char* name,
                                                         const char* key) {
    ModelGuard guard;
    return calls::StatsAchievementDisplayAttribute(Live(self, Family::UserStats), name, key);
}

bool THISCALL StatsIndicateAchievementProgress(void* self, const char* name, uint32_t current,
                                               uint32_t maximum) {
    ModelGuard guard;
    return calls::StatsIndicateAchievementProgress(Live(self, Family::UserStats), name, current,
                                                   maximum);
}

uint32_t THISCALL StatsGetNumAchievements(void* self) {
    ModelGuard guard;
    return calls::StatsNumAchievements(Live(self, Family::UserStats));
}

// An index out of range answers an empty text: a text getter never answers NULL.
const char* THISCALL StatsGetAchievementName(void* self, uint32_t index) {
    ModelGuard guard;
    const char* name = calls::StatsAchievementName(Live(self, Family::UserStats), index);
    return name != nullptr ? name : "";
}

bool THISCALL StatsGetAchievementProgressLimitsInt32(void* self, const char* name, int32_t* minimum,
                                                     int32_t* maximum) {
    ModelGuard guard;
    return calls::StatsAchievementProgressLimitsInt32(Live(self, Family::UserStats), name, minimum,
                                                      maximum);
}

bool THISCALL StatsGetAchievementProgressLimitsFloat(void* self, const char* name, float* minimum,
                                                     float* maximum) {
    ModelGuard guard;
    return calls::StatsAchievementProgressLimitsFloat(Live(self, Family::UserStats), name, minimum,
                                                      maximum);
}

bool THISCALL StatsResetAllStats(void* self, BoolArgument achievementsToo) {
    ModelGuard guard;
    return calls::StatsResetAllStats(Live(self, Family::UserStats), BoolOf(achievementsToo));
}

// Leaderboard call handles are 64-bit: returned in EDX:EAX.
uint64_t THISCALL StatsFindOrCreateLeaderboard(void* self, const char* name, int32_t sortMethod,
                                               int32_t displayType) {
    ModelGuard guard;
    return calls::StatsFindOrCreateLeaderboard(Live(self, Family::UserStats), name, sortMethod,
                                               displayType);
}

uint64_t THISCALL StatsFindLeaderboard(void* self, const char* name) {
    ModelGuard guard;
    return calls::StatsFindLeaderboard(Live(self, Family::UserStats), name);
}

const char* THISCALL StatsGetLeaderboardName(void* self, uint64_t board) {
    ModelGuard guard;
    return calls::StatsLeaderboardName(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardEntryCount(void* self, uint64_t board) {
    ModelGuard guard;
    return calls::StatsLeaderboardEntryCount(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardSortMethod(void* self, uint64_t board) {
    ModelGuard guard;
    return calls::StatsLeaderboardSortMethod(Live(self, Family::UserStats), board);
}

int32_t THISCALL StatsGetLeaderboardDisplayType(void* self, uint64_t board) {
    ModelGuard guard;
    return calls::StatsLeaderboardDisplayType(Live(self, Family::UserStats), board);
}

uint64_t THISCALL StatsDownloadLeaderboardEntries(void* self, uint64_t board, int32_t request,
                                                  int32_t rangeStart, int32_t rangeEnd) {
    ModelGuard guard;
    return calls::StatsDownloadLeaderboardEntries(Live(self, Family::UserStats), board, request,
                                                  rangeStart, rangeEnd);
}

bool THISCALL StatsGetDownloadedLeaderboardEntry(void* self, uint64_t entries, int32_t index,
                                                 LeaderboardEntryRecord* entry, int32_t* details,
                                                 int32_t detailsMax) {
    ModelGuard guard;
    return calls::StatsDownloadedLeaderboardEntry(Live(self, Family::UserStats), entries, index,
                                                  entry, details, detailsMax);
}

uint64_t THISCALL StatsUploadLeaderboardScore(void* self, uint64_t board, int32_t uploadMethod,
                                              int32_t score, const int32_t* details,
                                              int32_t detailCount) {
    ModelGuard guard;
    return calls::StatsUploadLeaderboardScore(Live(self, Family::UserStats), board, uploadMethod,
                                              score, details, detailCount);
}

int32_t THISCALL StatsGetAchievementIcon(void* self, const char* name) {
    ModelGuard guard;
    return calls::StatsAchievementIcon(Live(self, Family::UserStats), name);
}

// A CSteamID argument travels by value as its 8 bytes (see the friends' overlay).
uint64_t THISCALL StatsRequestUserStats(void* self, uint64_t steamId) {
    ModelGuard guard;
    return calls::StatsRequestUserStats(Live(self, Family::UserStats), steamId);
}

bool THISCALL StatsGetUserStatInt32(void* self, uint64_t steamId, const char* name,
                                    int32_t* value) {
    ModelGuard guard;
    return calls::StatsUserStatInt32(Live(self, Family::UserStats), steamId, name, value);
}

bool THISCALL StatsGetUserStatFloat(void* self, uint64_t steamId, const char* name, float* value) {
    ModelGuard guard;
    return calls::StatsUserStatFloat(Live(self, Family::UserStats), steamId, name, value);
}

bool THISCALL StatsGetUserAchievement(void* self, uint64_t steamId, const char* name,
                                      bool* achieved) {
    ModelGuard guard;
    return calls::StatsUserAchievement(Live(self, Family::UserStats), steamId, name, achieved);
}

bool THISCALL StatsGetUserAchievementAndUnlockTime(void* self, uint64_t steamId, const char* name,
                                                   bool* achieved, uint32_t* unlockTime) {
    ModelGuard guard;
    return calls::StatsUserAchievementAndUnlockTime(Live(self, Family::UserStats), steamId, name,
                                                    achieved, unlockTime);
}

// The users are CSteamIDs, 8 bytes each with no alignment of their own: copied
// out, as many as Steam takes in one call (the model refuses more).
uint64_t THISCALL StatsDownloadLeaderboardEntriesForUsers(void* self, uint64_t board,
                                                          const void* users, int32_t count) {
    ModelGuard guard;
    constexpr int32_t kMaxUsers = 100;
    uint64_t ids[kMaxUsers];
    const bool copied = users != nullptr && count > 0 && count <= kMaxUsers;
    if (copied) std::memcpy(ids, users, static_cast<std::size_t>(count) * sizeof ids[0]);
    return calls::StatsDownloadLeaderboardEntriesForUsers(Live(self, Family::UserStats), board,
                                                          copied ? ids : nullptr, count);
}

uint64_t THISCALL StatsAttachLeaderboardUgc(void* self, uint64_t board, uint64_t ugc) {
    ModelGuard guard;
    return calls::StatsAttachLeaderboardUgc(Live(self, Family::UserStats), board, ugc);
}

uint64_t THISCALL StatsGetNumberOfCurrentPlayers(void* self) {
    ModelGuard guard;
    return calls::StatsNumberOfCurrentPlayers(Live(self, Family::UserStats));
}

uint64_t THISCALL StatsRequestGlobalAchievementPercentages(void* self) {
    ModelGuard guard;
    return calls::StatsRequestGlobalAchievementPercentages(Live(self, Family::UserStats));
}

int32_t THISCALL StatsGetMostAchievedAchievementInfo(void* self, char* name, uint32_t nameSize,
                                                     float* percent, bool* achieved) {
    ModelGuard guard;
    return calls::StatsMostAchievedAchievementInfo(Live(self, Family::UserStats), name, nameSize,
                                                   percent, achieved);
}

int32_t THISCALL StatsGetNextMostAchievedAchievementInfo(void* self, int32_t previous, char* name,
                                                         uint32_t nameSize, float* percent,
                                                         bool* achieved) {
    ModelGuard guard;
    return calls::StatsNextMostAchievedAchievementInfo(Live(self, Family::UserStats), previous,
                                                       name, nameSize, percent, achieved);
}

bool THISCALL StatsGetAchievementAchievedPercent(void* self, const char* name, float* percent) {
    ModelGuard guard;
    return calls::StatsAchievementAchievedPercent(Live(self, Family::UserStats), name, percent);
}

uint64_t THISCALL StatsRequestGlobalStats(void* self, int32_t historyDays) {
    ModelGuard guard;
    return calls::StatsRequestGlobalStats(Live(self, Family::UserStats), historyDays);
}

bool THISCALL StatsGetGlobalStatInt64(void* self, const char* name, int64_t* value) {
    ModelGuard guard;
    return calls::StatsGlobalStatInt64(Live(self, Family::UserStats), name, value);
}

bool THISCALL StatsGetGlobalStatDouble(void* self, const char* name, double* value) {
    ModelGuard guard;
    return calls::StatsGlobalStatDouble(Live(self, Family::UserStats), name, value);
}

int32_t THISCALL StatsGetGlobalStatHistoryInt64(void* self, const char* name, int64_t* data,
                                                uint32_t bytes) {
    ModelGuard guard;
    return calls::StatsGlobalStatHistoryInt64(Live(self, Family::UserStats), name, data, bytes);
}

int32_t THISCALL StatsGetGlobalStatHistoryDouble(void* self, const char* name, double* data,
                                                 uint32_t bytes) {
    ModelGuard guard;
    return calls::StatsGlobalStatHistoryDouble(Live(self, Family::UserStats), name, data, bytes);
}

// ---- ISteamUtils, ISteamApps, ISteamFriends, ISteamInput, ISteamController -------

uint32_t THISCALL UtilsGetAppId(void* self) {
    ModelGuard guard;
    return calls::UtilsAppId(Live(self, Family::Utils));
}

uint32_t THISCALL UtilsGetServerRealTime(void* self) {
    ModelGuard guard;
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

bool THISCALL UtilsGetImageSize(void* self, int32_t image, uint32_t* width, uint32_t* height) {
    ModelGuard guard;
    return calls::UtilsImageSize(Live(self, Family::Utils), image, width, height);
}

bool THISCALL UtilsGetImageRgba(void* self, int32_t image, uint8_t* destination,
                                int32_t destinationSize) {
    ModelGuard guard;
    return calls::UtilsImageRgba(Live(self, Family::Utils), image, destination, destinationSize);
}

const char* THISCALL AppsGetCurrentGameLanguage(void* self) {
    ModelGuard guard;
    return calls::AppsCurrentGameLanguage(Live(self, Family::Apps));
}

const char* THISCALL AppsGetAvailableGameLanguages(void* self) {
    ModelGuard guard;
    return calls::AppsAvailableGameLanguages(Live(self, Family::Apps));
}

bool THISCALL AppsBIsSubscribed(void* self) {
    ModelGuard guard;
    return calls::AppsIsSubscribed(Live(self, Family::Apps));
}

bool THISCALL AppsBIsSubscribedApp(void* self, uint32_t appId) {
    ModelGuard guard;
    return calls::AppsIsSubscribedApp(Live(self, Family::Apps), appId);
}

const char* THISCALL FriendsGetPersonaName(void* self) {
    ModelGuard guard;
    return calls::FriendsPersonaName(Live(self, Family::Friends));
}

void THISCALL FriendsActivateGameOverlay(void* self, const char* dialog) {
    ModelGuard guard;
    calls::FriendsActivateGameOverlay(Live(self, Family::Friends), dialog);
}

// A CSteamID argument travels by value as its 8 bytes, in every ABI here.
void THISCALL FriendsActivateGameOverlayToUser(void* self, const char* dialog, uint64_t steamId) {
    ModelGuard guard;
    calls::FriendsActivateGameOverlayToUser(Live(self, Family::Friends), dialog, steamId);
}

void THISCALL FriendsActivateGameOverlayToWebPage(void* self, const char* url, int32_t mode) {
    ModelGuard guard;
    calls::FriendsActivateGameOverlayToWebPage(Live(self, Family::Friends), url, mode);
}

void THISCALL FriendsActivateGameOverlayToStore(void* self, uint32_t appId, int32_t flag) {
    ModelGuard guard;
    calls::FriendsActivateGameOverlayToStore(Live(self, Family::Friends), appId, flag);
}

// ---- The app, the user, friends and the computer (user_app_calls.h) ----------------

// A CSteamID result, as UserGetSteamId returns it: through MSVC's hidden
// result pointer on Windows, in RAX under the Itanium ABI.
#if defined(_WIN32)
void* SteamIdResult(void* result, uint64_t id) {
    std::memcpy(result, &id, sizeof id);
    return result;
}
#endif

int32_t THISCALL UserGetPlayerSteamLevel(void* self) {
    ModelGuard guard;
    return calls::UserPlayerSteamLevel(Live(self, Family::User));
}

int32_t THISCALL UserUserHasLicenseForApp(void* self, uint64_t steamId, uint32_t appId) {
    ModelGuard guard;
    return calls::UserHasLicenseForApp(Live(self, Family::User), steamId, appId);
}

bool THISCALL UtilsIsAPICallCompleted(void* self, uint64_t call, bool* failed) {
    ModelGuard guard;
    return calls::UtilsIsApiCallCompleted(Live(self, Family::Utils), call, failed);
}

int32_t THISCALL UtilsGetAPICallFailureReason(void* self, uint64_t call) {
    ModelGuard guard;
    return static_cast<int32_t>(calls::UtilsApiCallFailureReason(Live(self, Family::Utils), call));
}

bool THISCALL UtilsGetAPICallResult(void* self, uint64_t call, void* buffer, int32_t size,
                                    int32_t expectedCallbackId, bool* failed) {
    ModelGuard guard;
    return calls::UtilsApiCallResult(Live(self, Family::Utils), call, buffer, size,
                                     expectedCallbackId, failed);
}

const char* THISCALL UtilsGetSteamUILanguage(void* self) {
    ModelGuard guard;
    return calls::UtilsSteamUiLanguage(Live(self, Family::Utils));
}

bool THISCALL UtilsIsOverlayEnabled(void* self) {
    ModelGuard guard;
    return calls::UtilsIsOverlayEnabled(Live(self, Family::Utils));
}

const char* THISCALL UtilsGetIPCountry(void* self) {
    ModelGuard guard;
    return calls::UtilsIpCountry(Live(self, Family::Utils));
}

uint32_t THISCALL UtilsGetSecondsSinceAppActive(void* self) {
    ModelGuard guard;
    return calls::UtilsSecondsSinceAppActive(Live(self, Family::Utils));
}

uint32_t THISCALL UtilsGetSecondsSinceComputerActive(void* self) {
    ModelGuard guard;
    return calls::UtilsSecondsSinceComputerActive(Live(self, Family::Utils));
}

bool THISCALL UtilsIsSteamRunningOnSteamDeck(void* self) {
    ModelGuard guard;
    return calls::UtilsIsSteamRunningOnSteamDeck(Live(self, Family::Utils));
}

bool THISCALL UtilsIsSteamInBigPictureMode(void* self) {
    ModelGuard guard;
    return calls::UtilsIsSteamInBigPictureMode(Live(self, Family::Utils));
}

uint8_t THISCALL UtilsGetCurrentBatteryPower(void* self) {
    ModelGuard guard;
    return calls::UtilsCurrentBatteryPower(Live(self, Family::Utils));
}

int32_t THISCALL UtilsGetConnectedUniverse(void* self) {
    ModelGuard guard;
    return calls::UtilsConnectedUniverse(Live(self, Family::Utils));
}

bool THISCALL AppsBIsDlcInstalled(void* self, uint32_t appId) {
    ModelGuard guard;
    return calls::AppsIsDlcInstalled(Live(self, Family::Apps), appId);
}

int32_t THISCALL AppsGetDLCCount(void* self) {
    ModelGuard guard;
    return calls::AppsDlcCount(Live(self, Family::Apps));
}

bool THISCALL AppsBGetDLCDataByIndex(void* self, int32_t index, uint32_t* appId, bool* available,
                                     char* name, int32_t nameSize) {
    ModelGuard guard;
    return calls::AppsDlcDataByIndex(Live(self, Family::Apps), index, appId, available, name,
                                     nameSize);
}

#if defined(_WIN32)
void* THISCALL AppsGetAppOwner(void* self, void* result) {
    ModelGuard guard;
    return SteamIdResult(result, calls::AppsAppOwner(Live(self, Family::Apps)));
}
#else
uint64_t AppsGetAppOwner(void* self) {
    ModelGuard guard;
    return calls::AppsAppOwner(Live(self, Family::Apps));
}
#endif

int32_t THISCALL AppsGetAppBuildId(void* self) {
    ModelGuard guard;
    return calls::AppsAppBuildId(Live(self, Family::Apps));
}

bool THISCALL AppsGetCurrentBetaName(void* self, char* name, int32_t nameSize) {
    ModelGuard guard;
    return calls::AppsCurrentBetaName(Live(self, Family::Apps), name, nameSize);
}

bool THISCALL AppsBIsSubscribedFromFreeWeekend(void* self) {
    ModelGuard guard;
    return calls::AppsIsSubscribedFromFreeWeekend(Live(self, Family::Apps));
}

bool THISCALL AppsBIsVACBanned(void* self) {
    ModelGuard guard;
    return calls::AppsIsVacBanned(Live(self, Family::Apps));
}

const char* THISCALL AppsGetLaunchQueryParam(void* self, const char* key) {
    ModelGuard guard;
    return calls::AppsLaunchQueryParam(Live(self, Family::Apps), key);
}

uint32_t THISCALL AppsGetAppInstallDir(void* self, uint32_t appId, char* folder,
                                       uint32_t folderSize) {
    ModelGuard guard;
    return calls::AppsAppInstallDir(Live(self, Family::Apps), appId, folder, folderSize);
}

uint32_t THISCALL AppsGetEarliestPurchaseUnixTime(void* self, uint32_t appId) {
    ModelGuard guard;
    return calls::AppsEarliestPurchaseUnixTime(Live(self, Family::Apps), appId);
}

int32_t THISCALL FriendsGetPersonaState(void* self) {
    ModelGuard guard;
    return calls::FriendsPersonaState(Live(self, Family::Friends));
}

int32_t THISCALL FriendsGetFriendCount(void* self, int32_t flags) {
    ModelGuard guard;
    return calls::FriendsFriendCount(Live(self, Family::Friends), flags);
}

#if defined(_WIN32)
void* THISCALL FriendsGetFriendByIndex(void* self, void* result, int32_t index, int32_t flags) {
    ModelGuard guard;
    return SteamIdResult(result,
                         calls::FriendsFriendByIndex(Live(self, Family::Friends), index, flags));
}
#else
uint64_t FriendsGetFriendByIndex(void* self, int32_t index, int32_t flags) {
    ModelGuard guard;
    return calls::FriendsFriendByIndex(Live(self, Family::Friends), index, flags);
}
#endif

const char* THISCALL FriendsGetFriendPersonaName(void* self, uint64_t steamId) {
    ModelGuard guard;
    return calls::FriendsFriendPersonaName(Live(self, Family::Friends), steamId);
}

int32_t THISCALL FriendsGetFriendPersonaState(void* self, uint64_t steamId) {
    ModelGuard guard;
    return calls::FriendsFriendPersonaState(Live(self, Family::Friends), steamId);
}

int32_t THISCALL FriendsGetFriendSteamLevel(void* self, uint64_t steamId) {
    ModelGuard guard;
    return calls::FriendsFriendSteamLevel(Live(self, Family::Friends), steamId);
}

bool THISCALL FriendsHasFriend(void* self, uint64_t steamId, int32_t flags) {
    ModelGuard guard;
    return calls::FriendsHasFriend(Live(self, Family::Friends), steamId, flags);
}

bool THISCALL FriendsSetRichPresence(void* self, const char* key, const char* value) {
    ModelGuard guard;
    return calls::FriendsSetRichPresence(Live(self, Family::Friends), key, value);
}

void THISCALL FriendsClearRichPresence(void* self) {
    ModelGuard guard;
    calls::FriendsClearRichPresence(Live(self, Family::Friends));
}

const char* THISCALL FriendsGetFriendRichPresence(void* self, uint64_t steamId, const char* key) {
    ModelGuard guard;
    return calls::FriendsFriendRichPresence(Live(self, Family::Friends), steamId, key);
}

int32_t THISCALL FriendsGetFriendRichPresenceKeyCount(void* self, uint64_t steamId) {
    ModelGuard guard;
    return calls::FriendsFriendRichPresenceKeyCount(Live(self, Family::Friends), steamId);
}

const char* THISCALL FriendsGetFriendRichPresenceKeyByIndex(void* self, uint64_t steamId,
                                                            int32_t index) {
    ModelGuard guard;
    return calls::FriendsFriendRichPresenceKeyByIndex(Live(self, Family::Friends), steamId, index);
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
