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

namespace steam_sim::client {

#define STEAM_CLIENT_SERVED(M)                                                                   \
    M(ISteamClient, CreateSteamPipe, 0, Int32, clientCreateSteamPipe)                            \
    M(ISteamClient, BReleaseSteamPipe, 4, Int32, clientBReleaseSteamPipe)                        \
    M(ISteamClient, ConnectToGlobalUser, 4, Int32, clientConnectToGlobalUser)                    \
    M(ISteamClient, ReleaseUser, 8, Void, clientReleaseUser)                                     \
    M(ISteamClient, GetISteamUser, 12, Pointer, clientGetISteamUser)                             \
    M(ISteamClient, GetISteamGenericInterface, 12, Pointer, clientGetISteamGenericInterface)     \
    M(ISteamClient, GetISteamUtils, 8, Pointer, clientGetISteamUtils)                            \
    M(ISteamClient, GetISteamUserStats, 12, Pointer, clientGetISteamUserStats)                   \
    M(ISteamClient, GetISteamApps, 12, Pointer, clientGetISteamApps)                             \
    M(ISteamClient, GetISteamFriends, 12, Pointer, clientGetISteamFriends)                       \
    M(ISteamClient, GetISteamInput, 12, Pointer, clientGetISteamInput)                           \
    M(ISteamClient, GetISteamController, 12, Pointer, clientGetISteamController)                 \
    M(ISteamClient, Set_SteamAPI_CCheckCallbackRegisteredInProcess, 4, Void,                     \
      clientSetCheckCallbackRegistered)                                                          \
    M(ISteamClient, BShutdownIfAllPipesClosed, 0, Int32, clientBShutdownIfAllPipesClosed)        \
    M(ISteamUser, GetHSteamUser, 0, Int32, userGetHSteamUser)                                    \
    M(ISteamUser, BLoggedOn, 0, Int32, userBLoggedOn)                                            \
    M(ISteamUser, GetSteamID, 4, Object, userGetSteamID)                                         \
    M(ISteamUserStats, RequestCurrentStats, 0, Int32, statsRequestCurrentStats)                  \
    M(ISteamUserStats, GetStatInt32, 8, Int32, statsGetStatInt32)                                \
    M(ISteamUserStats, GetStatFloat, 8, Int32, statsGetStatFloat)                                \
    M(ISteamUserStats, SetStatInt32, 8, Int32, statsSetStatInt32)                                \
    M(ISteamUserStats, SetStatFloat, 8, Int32, statsSetStatFloat)                                \
    M(ISteamUserStats, UpdateAvgRateStat, 16, Int32, statsUpdateAvgRateStat)                     \
    M(ISteamUserStats, GetAchievement, 8, Int32, statsGetAchievement)                            \
    M(ISteamUserStats, SetAchievement, 4, Int32, statsSetAchievement)                            \
    M(ISteamUserStats, ClearAchievement, 4, Int32, statsClearAchievement)                        \
    M(ISteamUserStats, GetAchievementAndUnlockTime, 12, Int32, statsGetAchievementAndUnlockTime) \
    M(ISteamUserStats, StoreStats, 0, Int32, statsStoreStats)                                    \
    M(ISteamUserStats, GetAchievementDisplayAttribute, 8, Pointer,                               \
      statsGetAchievementDisplayAttribute)                                                       \
    M(ISteamUserStats, IndicateAchievementProgress, 12, Int32, statsIndicateAchievementProgress) \
    M(ISteamUserStats, GetNumAchievements, 0, Int32, statsGetNumAchievements)                    \
    M(ISteamUserStats, GetAchievementName, 4, Pointer, statsGetAchievementName)                  \
    M(ISteamUserStats, GetAchievementProgressLimitsInt32, 12, Int32,                             \
      statsGetAchievementProgressLimitsInt32)                                                    \
    M(ISteamUserStats, GetAchievementProgressLimitsFloat, 12, Int32,                             \
      statsGetAchievementProgressLimitsFloat)                                                    \
    M(ISteamUserStats, ResetAllStats, 4, Int32, statsResetAllStats)                              \
    M(ISteamUserStats, FindOrCreateLeaderboard, 12, Int64, statsFindOrCreateLeaderboard)         \
    M(ISteamUserStats, FindLeaderboard, 4, Int64, statsFindLeaderboard)                          \
    M(ISteamUserStats, GetLeaderboardName, 8, Pointer, statsGetLeaderboardName)                  \
    M(ISteamUserStats, GetLeaderboardEntryCount, 8, Int32, statsGetLeaderboardEntryCount)        \
    M(ISteamUserStats, GetLeaderboardSortMethod, 8, Int32, statsGetLeaderboardSortMethod)        \
    M(ISteamUserStats, GetLeaderboardDisplayType, 8, Int32, statsGetLeaderboardDisplayType)      \
    M(ISteamUserStats, UploadLeaderboardScore, 24, Int64, statsUploadLeaderboardScore)           \
    M(ISteamUserStats, DownloadLeaderboardEntries, 20, Int64, statsDownloadLeaderboardEntries)   \
    M(ISteamUserStats, GetDownloadedLeaderboardEntry, 24, Int32,                                 \
      statsGetDownloadedLeaderboardEntry)                                                        \
    M(ISteamUtils, GetAppID, 0, Int32, utilsGetAppID)                                            \
    M(ISteamUtils, GetServerRealTime, 0, Int32, utilsGetServerRealTime)                          \
    M(ISteamUtils, RunFrame, 0, Void, utilsRunFrame)                                             \
    M(ISteamUtils, GetIPCCallCount, 0, Int32, utilsGetIPCCallCount)                              \
    M(ISteamApps, GetCurrentGameLanguage, 0, Pointer, appsGetCurrentGameLanguage)                \
    M(ISteamApps, GetAvailableGameLanguages, 0, Pointer, appsGetAvailableGameLanguages)          \
    M(ISteamApps, BIsSubscribed, 0, Int32, appsBIsSubscribed)                                    \
    M(ISteamApps, BIsSubscribedApp, 4, Int32, appsBIsSubscribedApp)                              \
    M(ISteamFriends, GetPersonaName, 0, Pointer, friendsGetPersonaName)                          \
    M(ISteamFriends, ActivateGameOverlay, 4, Void, friendsActivateGameOverlay)                   \
    M(ISteamFriends, ActivateGameOverlayToUser, 12, Void, friendsActivateGameOverlayToUser)      \
    M(ISteamFriends, ActivateGameOverlayToWebPage, 8, Void, friendsActivateGameOverlayToWebPage) \
    M(ISteamFriends, ActivateGameOverlayToStore, 8, Void, friendsActivateGameOverlayToStore)     \
    M(ISteamInput, RunFrame, 0, Void, inputRunFrame)                                             \
    M(ISteamInput, RunFrame, 4, Void, inputRunFrameReserved)                                     \
    M(ISteamController, RunFrame, 0, Void, controllerRunFrame)

// The served methods' addresses, in the order of STEAM_CLIENT_SERVED
// (defined in served_methods.cpp).
extern const void* const kServedFunctions[];

}  // namespace steam_sim::client
