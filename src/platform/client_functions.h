// Every function the bridge takes from the client library, with the export
// names each SDK generation (1.48 to 1.63) uses for it.
#pragma once

#include <cstdint>

#include "platform/steam_types.h"

#if defined(_WIN32)
#define STEAMBRIDGE_CLIENT_CALL __cdecl
#else
#define STEAMBRIDGE_CLIENT_CALL
#endif

namespace steambridge {

class CCallbackBase;

// The library's interfaces are opaque; flat functions take them first.
struct ISteamUser;
struct ISteamUserStats;
struct ISteamUtils;
struct ISteamApps;
struct ISteamFriends;

// X(result, member, (parameters), need, export names in order of preference...)
//
// need: Required, Optional, or Start. The start function changed form twice
// (SteamAPI_Init up to 1.57, SteamInternal_SteamAPI_Init alone in 1.58,
// SteamAPI_InitFlat from 1.59); one of the Start entries is required, and
// only the first one the library exports, in this order, is bound.
// Each library exports exactly one version of each accessor, so an accessor
// lists every version we know. Libraries of SDK 1.61 and newer no longer
// export RequestCurrentStats.
// clang-format off
#define STEAMBRIDGE_CLIENT_FUNCTIONS(X)                                                          \
    X(int, InitFlat, (char* errorMessage), Start, "SteamAPI_InitFlat")                           \
    X(bool, Init, (), Start, "SteamAPI_Init")                                                    \
    X(int, InternalInit, (const char* interfaceVersions, char* errorMessage), Start,             \
      "SteamInternal_SteamAPI_Init")                                                             \
    X(void, Shutdown, (), Required, "SteamAPI_Shutdown")                                         \
    X(void, RunCallbacks, (), Required, "SteamAPI_RunCallbacks")                                 \
    X(void, RegisterCallback, (CCallbackBase*, int), Required, "SteamAPI_RegisterCallback")      \
    X(void, UnregisterCallback, (CCallbackBase*), Required, "SteamAPI_UnregisterCallback")       \
    X(void, RegisterCallResult, (CCallbackBase*, SteamAPICall_t), Required,                      \
      "SteamAPI_RegisterCallResult")                                                             \
    X(void, UnregisterCallResult, (CCallbackBase*, SteamAPICall_t), Required,                    \
      "SteamAPI_UnregisterCallResult")                                                           \
    X(ISteamUser*, SteamUser, (), Required, "SteamAPI_SteamUser_v023",                           \
      "SteamAPI_SteamUser_v022", "SteamAPI_SteamUser_v021", "SteamAPI_SteamUser_v020")           \
    X(ISteamUserStats*, SteamUserStats, (), Required, "SteamAPI_SteamUserStats_v013",            \
      "SteamAPI_SteamUserStats_v012", "SteamAPI_SteamUserStats_v011")                            \
    X(ISteamUtils*, SteamUtils, (), Required, "SteamAPI_SteamUtils_v010",                        \
      "SteamAPI_SteamUtils_v009")                                                                \
    X(ISteamApps*, SteamApps, (), Required, "SteamAPI_SteamApps_v008")                           \
    X(ISteamFriends*, SteamFriends, (), Required, "SteamAPI_SteamFriends_v018",                  \
      "SteamAPI_SteamFriends_v017")                                                              \
    X(bool, BLoggedOn, (ISteamUser*), Required, "SteamAPI_ISteamUser_BLoggedOn")                 \
    X(std::uint64_t, GetSteamID, (ISteamUser*), Required, "SteamAPI_ISteamUser_GetSteamID")      \
    X(bool, RequestCurrentStats, (ISteamUserStats*), Optional,                                   \
      "SteamAPI_ISteamUserStats_RequestCurrentStats")                                            \
    X(bool, GetStatInt32, (ISteamUserStats*, const char*, std::int32_t*), Required,              \
      "SteamAPI_ISteamUserStats_GetStatInt32")                                                   \
    X(bool, GetStatFloat, (ISteamUserStats*, const char*, float*), Required,                     \
      "SteamAPI_ISteamUserStats_GetStatFloat")                                                   \
    X(bool, SetStatInt32, (ISteamUserStats*, const char*, std::int32_t), Required,               \
      "SteamAPI_ISteamUserStats_SetStatInt32")                                                   \
    X(bool, SetStatFloat, (ISteamUserStats*, const char*, float), Required,                      \
      "SteamAPI_ISteamUserStats_SetStatFloat")                                                   \
    X(bool, UpdateAvgRateStat, (ISteamUserStats*, const char*, float, double), Required,         \
      "SteamAPI_ISteamUserStats_UpdateAvgRateStat")                                              \
    X(bool, SetAchievement, (ISteamUserStats*, const char*), Required,                           \
      "SteamAPI_ISteamUserStats_SetAchievement")                                                 \
    X(bool, GetAchievementAndUnlockTime,                                                         \
      (ISteamUserStats*, const char*, bool*, std::uint32_t*), Required,                          \
      "SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime")                                    \
    X(bool, StoreStats, (ISteamUserStats*), Required, "SteamAPI_ISteamUserStats_StoreStats")     \
    X(const char*, GetAchievementDisplayAttribute, (ISteamUserStats*, const char*, const char*), \
      Required, "SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute")                       \
    X(bool, ResetAllStats, (ISteamUserStats*, bool), Required,                                   \
      "SteamAPI_ISteamUserStats_ResetAllStats")                                                  \
    X(SteamAPICall_t, FindOrCreateLeaderboard,                                                   \
      (ISteamUserStats*, const char*, std::int32_t, std::int32_t), Required,                     \
      "SteamAPI_ISteamUserStats_FindOrCreateLeaderboard")                                        \
    X(SteamAPICall_t, UploadLeaderboardScore,                                                    \
      (ISteamUserStats*, SteamLeaderboard_t, std::int32_t, std::int32_t, const std::int32_t*,    \
       int),                                                                                     \
      Required, "SteamAPI_ISteamUserStats_UploadLeaderboardScore")                               \
    X(AppId_t, GetAppID, (ISteamUtils*), Required, "SteamAPI_ISteamUtils_GetAppID")              \
    X(const char*, GetCurrentGameLanguage, (ISteamApps*), Required,                              \
      "SteamAPI_ISteamApps_GetCurrentGameLanguage")                                              \
    X(const char*, GetAvailableGameLanguages, (ISteamApps*), Required,                           \
      "SteamAPI_ISteamApps_GetAvailableGameLanguages")                                           \
    X(void, ActivateGameOverlay, (ISteamFriends*, const char*), Required,                        \
      "SteamAPI_ISteamFriends_ActivateGameOverlay")
// clang-format on

// clang-format off
enum class ClientFunction : int {
#define STEAMBRIDGE_ENUM_ENTRY(result, member, parameters, need, ...) member,
    STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_ENUM_ENTRY)
#undef STEAMBRIDGE_ENUM_ENTRY
    Count
};
// clang-format on
constexpr int kClientFunctionCount = static_cast<int>(ClientFunction::Count);
constexpr int kMaxExportNames = 4;

enum class Need : unsigned char { Required, Optional, Start };

// What the library must export for one function: any one of its names.
struct ClientFunctionNames {
    const char* names[kMaxExportNames];
    Need need;
};

// The whole list as data, for binding and for compatibility checks.
extern const ClientFunctionNames kClientFunctionNames[kClientFunctionCount];

// The bound functions; every pointer is null while unbound.
struct ClientFunctions {
#define STEAMBRIDGE_POINTER_ENTRY(result, member, parameters, need, ...) \
    result(STEAMBRIDGE_CLIENT_CALL* member) parameters;
    STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_POINTER_ENTRY)
#undef STEAMBRIDGE_POINTER_ENTRY
};

}  // namespace steambridge
