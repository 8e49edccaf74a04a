// The interface methods the stand-in client implements over the model: what a
// game uses for stats, achievements and leaderboards, the user, the app and
// the overlay, through Valve's library. Every other slot of the
// generated tables is a logging stub (interface_objects.cpp).
//
// STEAM_CLIENT_SERVED(M) lists M(Class, Method, win32ArgBytes, ReturnKind, function).
// A method is put into every served version of its class whose generated slot
// has the same name; interface_objects.cpp checks at compile time that the
// argument bytes and return kind agree with that slot (a method whose
// arguments changed between versions gets one row per form, told apart by its
// argument bytes).
#pragma once

namespace offline_steam::client {

#define STEAM_CLIENT_SERVED(M)                                                                   \
    M(ISteamClient, CreateSteamPipe, 0, Int32, ClientCreateSteamPipe)                            \
    M(ISteamClient, BReleaseSteamPipe, 4, Int32, ClientBReleaseSteamPipe)                        \
    M(ISteamClient, ConnectToGlobalUser, 4, Int32, ClientConnectToGlobalUser)                    \
    M(ISteamClient, ReleaseUser, 8, Void, ClientReleaseUser)                                     \
    M(ISteamClient, GetISteamUser, 12, Pointer, ClientGetISteamUser)                             \
    M(ISteamClient, GetISteamGenericInterface, 12, Pointer, ClientGetISteamGenericInterface)     \
    M(ISteamClient, GetISteamUtils, 8, Pointer, ClientGetISteamUtils)                            \
    M(ISteamClient, GetISteamUserStats, 12, Pointer, ClientGetISteamUserStats)                   \
    M(ISteamClient, GetISteamApps, 12, Pointer, ClientGetISteamApps)                             \
    M(ISteamClient, GetISteamFriends, 12, Pointer, ClientGetISteamFriends)                       \
    M(ISteamClient, GetISteamInput, 12, Pointer, ClientGetISteamInput)                           \
    M(ISteamClient, GetISteamController, 12, Pointer, ClientGetISteamController)                 \
    M(ISteamClient, Set_SteamAPI_CCheckCallbackRegisteredInProcess, 4, Void,                     \
      ClientSetCheckCallbackRegistered)                                                          \
    M(ISteamClient, BShutdownIfAllPipesClosed, 0, Int32, ClientBShutdownIfAllPipesClosed)        \
    M(ISteamUser, GetHSteamUser, 0, Int32, UserGetHSteamUser)                                    \
    M(ISteamUser, BLoggedOn, 0, Int32, UserBLoggedOn)                                            \
    M(ISteamUser, GetSteamID, 4, Object, UserGetSteamId)                                         \
    M(ISteamUserStats, RequestCurrentStats, 0, Int32, StatsRequestCurrentStats)                  \
    M(ISteamUserStats, GetStatInt32, 8, Int32, StatsGetStatInt32)                                \
    M(ISteamUserStats, GetStatFloat, 8, Int32, StatsGetStatFloat)                                \
    M(ISteamUserStats, SetStatInt32, 8, Int32, StatsSetStatInt32)                                \
    M(ISteamUserStats, SetStatFloat, 8, Int32, StatsSetStatFloat)                                \
    M(ISteamUserStats, UpdateAvgRateStat, 16, Int32, StatsUpdateAvgRateStat)                     \
    M(ISteamUserStats, GetAchievement, 8, Int32, StatsGetAchievement)                            \
    M(ISteamUserStats, SetAchievement, 4, Int32, StatsSetAchievement)                            \
    M(ISteamUserStats, ClearAchievement, 4, Int32, StatsClearAchievement)                        \
    M(ISteamUserStats, GetAchievementAndUnlockTime, 12, Int32, StatsGetAchievementAndUnlockTime) \
    M(ISteamUserStats, StoreStats, 0, Int32, StatsStoreStats)                                    \
    M(ISteamUserStats, GetAchievementDisplayAttribute, 8, Pointer,                               \
      StatsGetAchievementDisplayAttribute)                                                       \
    M(ISteamUserStats, IndicateAchievementProgress, 12, Int32, StatsIndicateAchievementProgress) \
    M(ISteamUserStats, GetNumAchievements, 0, Int32, StatsGetNumAchievements)                    \
    M(ISteamUserStats, GetAchievementName, 4, Pointer, StatsGetAchievementName)                  \
    M(ISteamUserStats, GetAchievementProgressLimitsInt32, 12, Int32,                             \
      StatsGetAchievementProgressLimitsInt32)                                                    \
    M(ISteamUserStats, GetAchievementProgressLimitsFloat, 12, Int32,                             \
      StatsGetAchievementProgressLimitsFloat)                                                    \
    M(ISteamUserStats, ResetAllStats, 4, Int32, StatsResetAllStats)                              \
    M(ISteamUserStats, FindOrCreateLeaderboard, 12, Int64, StatsFindOrCreateLeaderboard)         \
    M(ISteamUserStats, FindLeaderboard, 4, Int64, StatsFindLeaderboard)                          \
    M(ISteamUserStats, GetLeaderboardName, 8, Pointer, StatsGetLeaderboardName)                  \
    M(ISteamUserStats, GetLeaderboardEntryCount, 8, Int32, StatsGetLeaderboardEntryCount)        \
    M(ISteamUserStats, GetLeaderboardSortMethod, 8, Int32, StatsGetLeaderboardSortMethod)        \
    M(ISteamUserStats, GetLeaderboardDisplayType, 8, Int32, StatsGetLeaderboardDisplayType)      \
    M(ISteamUserStats, UploadLeaderboardScore, 24, Int64, StatsUploadLeaderboardScore)           \
    M(ISteamUserStats, DownloadLeaderboardEntries, 20, Int64, StatsDownloadLeaderboardEntries)   \
    M(ISteamUserStats, GetDownloadedLeaderboardEntry, 24, Int32,                                 \
      StatsGetDownloadedLeaderboardEntry)                                                        \
    M(ISteamUtils, GetAppID, 0, Int32, UtilsGetAppId)                                            \
    M(ISteamUtils, GetServerRealTime, 0, Int32, UtilsGetServerRealTime)                          \
    M(ISteamUtils, RunFrame, 0, Void, UtilsRunFrame)                                             \
    M(ISteamUtils, GetIPCCallCount, 0, Int32, UtilsGetIpcCallCount)                              \
    M(ISteamApps, GetCurrentGameLanguage, 0, Pointer, AppsGetCurrentGameLanguage)                \
    M(ISteamApps, GetAvailableGameLanguages, 0, Pointer, AppsGetAvailableGameLanguages)          \
    M(ISteamApps, BIsSubscribed, 0, Int32, AppsBIsSubscribed)                                    \
    M(ISteamApps, BIsSubscribedApp, 4, Int32, AppsBIsSubscribedApp)                              \
    M(ISteamFriends, GetPersonaName, 0, Pointer, FriendsGetPersonaName)                          \
    M(ISteamFriends, ActivateGameOverlay, 4, Void, FriendsActivateGameOverlay)                   \
    M(ISteamFriends, ActivateGameOverlayToUser, 12, Void, FriendsActivateGameOverlayToUser)      \
    M(ISteamFriends, ActivateGameOverlayToWebPage, 8, Void, FriendsActivateGameOverlayToWebPage) \
    M(ISteamFriends, ActivateGameOverlayToStore, 8, Void, FriendsActivateGameOverlayToStore)     \
    M(ISteamInput, RunFrame, 0, Void, InputRunFrame)                                             \
    M(ISteamInput, RunFrame, 4, Void, InputRunFrameReserved)                                     \
    M(ISteamController, RunFrame, 0, Void, ControllerRunFrame)

// The served methods' addresses, in the order of STEAM_CLIENT_SERVED
// (defined in served_methods.cpp).
extern const void* const kServedFunctions[];

}  // namespace offline_steam::client
