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

// X(result, member, Interface, (parameters), (arguments), null answer, wrapper, need,
//   export names in order of preference...)
//
// Interface: the interface a method takes first, or NoInterface for the
// library's own entry points. parameters: the method's, after the interface;
// arguments: those passed on, `self` being the interface.
// wrapper: Wrap when client_calls.h is to have a function of the member's
// name that calls it on the session's interface and gives the null answer
// while there is none (a Required function is bound whenever an interface
// is); Own when the bridge's call is written by hand.
// need: Required, Optional, or Start. The start function changed form twice
// (SteamAPI_Init up to 1.57, SteamInternal_SteamAPI_Init alone in 1.58,
// SteamAPI_InitFlat from 1.59); one of the Start entries is required, and
// only the first one the library exports, in this order, is bound.
// Each library exports exactly one version of each accessor, so an accessor
// lists every version we know. Libraries of SDK 1.61 and newer no longer
// export RequestCurrentStats.
// clang-format off
#define STEAMBRIDGE_CLIENT_FUNCTIONS(X)                                                            \
    X(int, InitFlat, NoInterface, (char* errorMessage), (), 0, Own, Start, "SteamAPI_InitFlat")    \
    X(bool, Init, NoInterface, (), (), false, Own, Start, "SteamAPI_Init")                         \
    X(int, InternalInit, NoInterface, (const char* interfaceVersions, char* errorMessage), (), 0,  \
      Own, Start, "SteamInternal_SteamAPI_Init")                                                   \
    X(void, Shutdown, NoInterface, (), (), void(), Own, Required, "SteamAPI_Shutdown")             \
    X(void, RunCallbacks, NoInterface, (), (), void(), Own, Required, "SteamAPI_RunCallbacks")     \
    X(void, RegisterCallback, NoInterface, (CCallbackBase* holder, int callbackId), (), void(),    \
      Own, Required, "SteamAPI_RegisterCallback")                                                  \
    X(void, UnregisterCallback, NoInterface, (CCallbackBase* holder), (), void(), Own, Required,   \
      "SteamAPI_UnregisterCallback")                                                               \
    X(void, RegisterCallResult, NoInterface, (CCallbackBase* holder, SteamAPICall_t call), (),     \
      void(), Own, Required, "SteamAPI_RegisterCallResult")                                        \
    X(void, UnregisterCallResult, NoInterface, (CCallbackBase* holder, SteamAPICall_t call), (),   \
      void(), Own, Required, "SteamAPI_UnregisterCallResult")                                      \
    X(ISteamUser*, SteamUser, NoInterface, (), (), nullptr, Own, Required,                         \
      "SteamAPI_SteamUser_v023", "SteamAPI_SteamUser_v022", "SteamAPI_SteamUser_v021",             \
      "SteamAPI_SteamUser_v020")                                                                   \
    X(ISteamUserStats*, SteamUserStats, NoInterface, (), (), nullptr, Own, Required,               \
      "SteamAPI_SteamUserStats_v013", "SteamAPI_SteamUserStats_v012",                              \
      "SteamAPI_SteamUserStats_v011")                                                              \
    X(ISteamUtils*, SteamUtils, NoInterface, (), (), nullptr, Own, Required,                       \
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamUtils_v009")                                      \
    X(ISteamApps*, SteamApps, NoInterface, (), (), nullptr, Own, Required,                         \
      "SteamAPI_SteamApps_v008")                                                                   \
    X(ISteamFriends*, SteamFriends, NoInterface, (), (), nullptr, Own, Required,                   \
      "SteamAPI_SteamFriends_v018", "SteamAPI_SteamFriends_v017")                                  \
    X(bool, BLoggedOn, ISteamUser, (), (self), false, Wrap, Required,                              \
      "SteamAPI_ISteamUser_BLoggedOn")                                                             \
    X(std::uint64_t, GetSteamID, ISteamUser, (), (self), 0, Wrap, Required,                        \
      "SteamAPI_ISteamUser_GetSteamID")                                                            \
    X(bool, RequestCurrentStats, ISteamUserStats, (), (self), false, Own, Optional,                \
      "SteamAPI_ISteamUserStats_RequestCurrentStats")                                              \
    X(bool, GetStatInt32, ISteamUserStats, (const char* name, std::int32_t* value),                \
      (self, name, value), false, Wrap, Required, "SteamAPI_ISteamUserStats_GetStatInt32")         \
    X(bool, GetStatFloat, ISteamUserStats, (const char* name, float* value),                       \
      (self, name, value), false, Wrap, Required, "SteamAPI_ISteamUserStats_GetStatFloat")         \
    X(bool, SetStatInt32, ISteamUserStats, (const char* name, std::int32_t value),                 \
      (self, name, value), false, Wrap, Required, "SteamAPI_ISteamUserStats_SetStatInt32")         \
    X(bool, SetStatFloat, ISteamUserStats, (const char* name, float value),                        \
      (self, name, value), false, Wrap, Required, "SteamAPI_ISteamUserStats_SetStatFloat")         \
    X(bool, UpdateAvgRateStat, ISteamUserStats,                                                    \
      (const char* name, float countThisSession, double sessionLength),                            \
      (self, name, countThisSession, sessionLength), false, Wrap, Required,                        \
      "SteamAPI_ISteamUserStats_UpdateAvgRateStat")                                                \
    X(bool, SetAchievement, ISteamUserStats, (const char* name), (self, name), false, Wrap,        \
      Required, "SteamAPI_ISteamUserStats_SetAchievement")                                         \
    X(bool, GetAchievementAndUnlockTime, ISteamUserStats,                                          \
      (const char* name, bool* achieved, std::uint32_t* unlockTime),                               \
      (self, name, achieved, unlockTime), false, Wrap, Required,                                   \
      "SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime")                                      \
    X(bool, StoreStats, ISteamUserStats, (), (self), false, Wrap, Required,                        \
      "SteamAPI_ISteamUserStats_StoreStats")                                                       \
    X(const char*, GetAchievementDisplayAttribute, ISteamUserStats,                                \
      (const char* name, const char* key), (self, name, key), nullptr, Wrap, Required,             \
      "SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute")                                   \
    X(bool, ResetAllStats, ISteamUserStats, (bool achievementsToo), (self, achievementsToo),       \
      false, Wrap, Required, "SteamAPI_ISteamUserStats_ResetAllStats")                             \
    X(SteamAPICall_t, FindOrCreateLeaderboard, ISteamUserStats,                                    \
      (const char* name, ELeaderboardSortMethod sortMethod, ELeaderboardDisplayType displayType),  \
      (self, name, sortMethod, displayType), 0, Wrap, Required,                                    \
      "SteamAPI_ISteamUserStats_FindOrCreateLeaderboard")                                          \
    X(SteamAPICall_t, UploadLeaderboardScore, ISteamUserStats,                                     \
      (SteamLeaderboard_t board, ELeaderboardUploadScoreMethod method, std::int32_t score,         \
       const std::int32_t* details, int detailCount),                                              \
      (self, board, method, score, details, detailCount), 0, Wrap, Required,                       \
      "SteamAPI_ISteamUserStats_UploadLeaderboardScore")                                           \
    X(AppId_t, GetAppID, ISteamUtils, (), (self), 0, Wrap, Required,                               \
      "SteamAPI_ISteamUtils_GetAppID")                                                             \
    X(const char*, GetCurrentGameLanguage, ISteamApps, (), (self), nullptr, Wrap, Required,        \
      "SteamAPI_ISteamApps_GetCurrentGameLanguage")                                                \
    X(const char*, GetAvailableGameLanguages, ISteamApps, (), (self), nullptr, Wrap, Required,     \
      "SteamAPI_ISteamApps_GetAvailableGameLanguages")                                             \
    X(void, ActivateGameOverlay, ISteamFriends, (const char* dialog), (self, dialog), void(),      \
      Wrap, Required, "SteamAPI_ISteamFriends_ActivateGameOverlay")
// clang-format on

// The pointer type of one function: an interface's method takes the
// interface first.
struct NoInterface;
template <class Interface, class Signature>
struct ClientPointer;
template <class Result, class... Parameters>
struct ClientPointer<NoInterface, Result(Parameters...)> {
    using type = Result(STEAMBRIDGE_CLIENT_CALL*)(Parameters...);
};
template <class Interface, class Result, class... Parameters>
struct ClientPointer<Interface, Result(Parameters...)> {
    using type = Result(STEAMBRIDGE_CLIENT_CALL*)(Interface*, Parameters...);
};

// clang-format off
enum class ClientFunction : int {
#define STEAMBRIDGE_ENUM_ENTRY(result, member, ...) member,
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
#define STEAMBRIDGE_POINTER_ENTRY(result, member, Interface, parameters, ...) \
    ClientPointer<Interface, result parameters>::type member;
    STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_POINTER_ENTRY)
#undef STEAMBRIDGE_POINTER_ENTRY
};

}  // namespace steambridge
