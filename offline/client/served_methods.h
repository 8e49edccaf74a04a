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

// ISteamClient's getters of one interface each, G(M, Getter, Class): each
// hands out an object of that class for the user (GetISteamUtils, which has no
// user, is served on its own).
#define STEAM_CLIENT_GETTERS(G, M)                              \
    G(M, GetISteamUser, ISteamUser)                             \
    G(M, GetISteamUserStats, ISteamUserStats)                   \
    G(M, GetISteamApps, ISteamApps)                             \
    G(M, GetISteamFriends, ISteamFriends)                       \
    G(M, GetISteamInput, ISteamInput)                           \
    G(M, GetISteamController, ISteamController)                 \
    G(M, GetISteamGameServer, ISteamGameServer)                 \
    G(M, GetISteamGameServerStats, ISteamGameServerStats)       \
    G(M, GetISteamMatchmaking, ISteamMatchmaking)               \
    G(M, GetISteamMatchmakingServers, ISteamMatchmakingServers) \
    G(M, GetISteamGameSearch, ISteamGameSearch)                 \
    G(M, GetISteamNetworking, ISteamNetworking)                 \
    G(M, GetISteamRemoteStorage, ISteamRemoteStorage)           \
    G(M, GetISteamScreenshots, ISteamScreenshots)               \
    G(M, GetISteamHTTP, ISteamHTTP)                             \
    G(M, GetISteamUGC, ISteamUGC)                               \
    G(M, GetISteamAppList, ISteamAppList)                       \
    G(M, GetISteamMusic, ISteamMusic)                           \
    G(M, GetISteamMusicRemote, ISteamMusicRemote)               \
    G(M, GetISteamHTMLSurface, ISteamHTMLSurface)               \
    G(M, GetISteamInventory, ISteamInventory)                   \
    G(M, GetISteamVideo, ISteamVideo)                           \
    G(M, GetISteamParentalSettings, ISteamParentalSettings)     \
    G(M, GetISteamParties, ISteamParties)                       \
    G(M, GetISteamRemotePlay, ISteamRemotePlay)
#define STEAM_CLIENT_GETTER_ROW(M, Getter, Class) \
    M(ISteamClient, Getter, 12, Pointer, Client##Getter)

#define STEAM_CLIENT_SERVED(M)                                                                   \
    M(ISteamClient, CreateSteamPipe, 0, Int32, ClientCreateSteamPipe)                            \
    M(ISteamClient, BReleaseSteamPipe, 4, Int32, ClientBReleaseSteamPipe)                        \
    M(ISteamClient, ConnectToGlobalUser, 4, Int32, ClientConnectToGlobalUser)                    \
    M(ISteamClient, ReleaseUser, 8, Void, ClientReleaseUser)                                     \
    M(ISteamClient, GetISteamGenericInterface, 12, Pointer, ClientGetISteamGenericInterface)     \
    M(ISteamClient, GetISteamUtils, 8, Pointer, ClientGetISteamUtils)                            \
    STEAM_CLIENT_GETTERS(STEAM_CLIENT_GETTER_ROW, M)                                             \
    M(ISteamClient, Set_SteamAPI_CCheckCallbackRegisteredInProcess, 4, Void,                     \
      ClientSetCheckCallbackRegistered)                                                          \
    M(ISteamClient, SetWarningMessageHook, 4, Void, ClientSetWarningMessageHook)                 \
    M(ISteamUtils, SetWarningMessageHook, 4, Void, ClientSetWarningMessageHook)                  \
    M(ISteamClient, BShutdownIfAllPipesClosed, 0, Int32, ClientBShutdownIfAllPipesClosed)        \
    M(ISteamUser, GetHSteamUser, 0, Int32, UserGetHSteamUser)                                    \
    M(ISteamUser, BLoggedOn, 0, Int32, UserBLoggedOn)                                            \
    M(ISteamUser, GetSteamID, 4, Object, UserGetSteamId)                                         \
    M(ISteamUser, GetPlayerSteamLevel, 0, Int32, UserGetPlayerSteamLevel)                        \
    M(ISteamUser, UserHasLicenseForApp, 12, Int32, UserUserHasLicenseForApp)                     \
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
    M(ISteamUserStats, GetAchievementIcon, 4, Int32, StatsGetAchievementIcon)                    \
    M(ISteamUserStats, RequestUserStats, 8, Int64, StatsRequestUserStats)                        \
    M(ISteamUserStats, GetUserStatInt32, 16, Int32, StatsGetUserStatInt32)                       \
    M(ISteamUserStats, GetUserStatFloat, 16, Int32, StatsGetUserStatFloat)                       \
    M(ISteamUserStats, GetUserAchievement, 16, Int32, StatsGetUserAchievement)                   \
    M(ISteamUserStats, GetUserAchievementAndUnlockTime, 20, Int32,                               \
      StatsGetUserAchievementAndUnlockTime)                                                      \
    M(ISteamUserStats, DownloadLeaderboardEntriesForUsers, 16, Int64,                            \
      StatsDownloadLeaderboardEntriesForUsers)                                                   \
    M(ISteamUserStats, AttachLeaderboardUGC, 16, Int64, StatsAttachLeaderboardUgc)               \
    M(ISteamUserStats, GetNumberOfCurrentPlayers, 0, Int64, StatsGetNumberOfCurrentPlayers)      \
    M(ISteamUserStats, RequestGlobalAchievementPercentages, 0, Int64,                            \
      StatsRequestGlobalAchievementPercentages)                                                  \
    M(ISteamUserStats, GetMostAchievedAchievementInfo, 16, Int32,                                \
      StatsGetMostAchievedAchievementInfo)                                                       \
    M(ISteamUserStats, GetNextMostAchievedAchievementInfo, 20, Int32,                            \
      StatsGetNextMostAchievedAchievementInfo)                                                   \
    M(ISteamUserStats, GetAchievementAchievedPercent, 8, Int32,                                  \
      StatsGetAchievementAchievedPercent)                                                        \
    M(ISteamUserStats, RequestGlobalStats, 4, Int64, StatsRequestGlobalStats)                    \
    M(ISteamUserStats, GetGlobalStatInt64, 8, Int32, StatsGetGlobalStatInt64)                    \
    M(ISteamUserStats, GetGlobalStatDouble, 8, Int32, StatsGetGlobalStatDouble)                  \
    M(ISteamUserStats, GetGlobalStatHistoryInt64, 12, Int32, StatsGetGlobalStatHistoryInt64)     \
    M(ISteamUserStats, GetGlobalStatHistoryDouble, 12, Int32, StatsGetGlobalStatHistoryDouble)   \
    M(ISteamUtils, GetAppID, 0, Int32, UtilsGetAppId)                                            \
    M(ISteamUtils, GetServerRealTime, 0, Int32, UtilsGetServerRealTime)                          \
    M(ISteamUtils, RunFrame, 0, Void, UtilsRunFrame)                                             \
    M(ISteamUtils, GetIPCCallCount, 0, Int32, UtilsGetIpcCallCount)                              \
    M(ISteamUtils, IsAPICallCompleted, 12, Int32, UtilsIsAPICallCompleted)                       \
    M(ISteamUtils, GetAPICallFailureReason, 8, Int32, UtilsGetAPICallFailureReason)              \
    M(ISteamUtils, GetAPICallResult, 24, Int32, UtilsGetAPICallResult)                           \
    M(ISteamUtils, GetSteamUILanguage, 0, Pointer, UtilsGetSteamUILanguage)                      \
    M(ISteamUtils, IsOverlayEnabled, 0, Int32, UtilsIsOverlayEnabled)                            \
    M(ISteamUtils, GetIPCountry, 0, Pointer, UtilsGetIPCountry)                                  \
    M(ISteamUtils, GetSecondsSinceAppActive, 0, Int32, UtilsGetSecondsSinceAppActive)            \
    M(ISteamUtils, GetSecondsSinceComputerActive, 0, Int32, UtilsGetSecondsSinceComputerActive)  \
    M(ISteamUtils, IsSteamRunningOnSteamDeck, 0, Int32, UtilsIsSteamRunningOnSteamDeck)          \
    M(ISteamUtils, IsSteamInBigPictureMode, 0, Int32, UtilsIsSteamInBigPictureMode)              \
    M(ISteamUtils, GetCurrentBatteryPower, 0, Int32, UtilsGetCurrentBatteryPower)                \
    M(ISteamUtils, GetConnectedUniverse, 0, Int32, UtilsGetConnectedUniverse)                    \
    M(ISteamUtils, GetImageSize, 12, Int32, UtilsGetImageSize)                                   \
    M(ISteamUtils, GetImageRGBA, 12, Int32, UtilsGetImageRgba)                                   \
    M(ISteamApps, GetCurrentGameLanguage, 0, Pointer, AppsGetCurrentGameLanguage)                \
    M(ISteamApps, GetAvailableGameLanguages, 0, Pointer, AppsGetAvailableGameLanguages)          \
    M(ISteamApps, BIsSubscribed, 0, Int32, AppsBIsSubscribed)                                    \
    M(ISteamApps, BIsSubscribedApp, 4, Int32, AppsBIsSubscribedApp)                              \
    M(ISteamApps, BIsDlcInstalled, 4, Int32, AppsBIsDlcInstalled)                                \
    M(ISteamApps, GetDLCCount, 0, Int32, AppsGetDLCCount)                                        \
    M(ISteamApps, BGetDLCDataByIndex, 20, Int32, AppsBGetDLCDataByIndex)                         \
    M(ISteamApps, GetAppOwner, 4, Object, AppsGetAppOwner)                                       \
    M(ISteamApps, GetAppBuildId, 0, Int32, AppsGetAppBuildId)                                    \
    M(ISteamApps, GetCurrentBetaName, 8, Int32, AppsGetCurrentBetaName)                          \
    M(ISteamApps, BIsSubscribedFromFreeWeekend, 0, Int32, AppsBIsSubscribedFromFreeWeekend)      \
    M(ISteamApps, BIsVACBanned, 0, Int32, AppsBIsVACBanned)                                      \
    M(ISteamApps, GetLaunchQueryParam, 4, Pointer, AppsGetLaunchQueryParam)                      \
    M(ISteamApps, GetAppInstallDir, 12, Int32, AppsGetAppInstallDir)                             \
    M(ISteamApps, GetEarliestPurchaseUnixTime, 4, Int32, AppsGetEarliestPurchaseUnixTime)        \
    M(ISteamFriends, GetPersonaName, 0, Pointer, FriendsGetPersonaName)                          \
    M(ISteamFriends, ActivateGameOverlay, 4, Void, FriendsActivateGameOverlay)                   \
    M(ISteamFriends, ActivateGameOverlayToUser, 12, Void, FriendsActivateGameOverlayToUser)      \
    M(ISteamFriends, ActivateGameOverlayToWebPage, 8, Void, FriendsActivateGameOverlayToWebPage) \
    M(ISteamFriends, ActivateGameOverlayToStore, 8, Void, FriendsActivateGameOverlayToStore)     \
    M(ISteamFriends, GetPersonaState, 0, Int32, FriendsGetPersonaState)                          \
    M(ISteamFriends, GetFriendCount, 4, Int32, FriendsGetFriendCount)                            \
    M(ISteamFriends, GetFriendByIndex, 12, Object, FriendsGetFriendByIndex)                      \
    M(ISteamFriends, GetFriendPersonaName, 8, Pointer, FriendsGetFriendPersonaName)              \
    M(ISteamFriends, GetFriendPersonaState, 8, Int32, FriendsGetFriendPersonaState)              \
    M(ISteamFriends, GetFriendSteamLevel, 8, Int32, FriendsGetFriendSteamLevel)                  \
    M(ISteamFriends, HasFriend, 12, Int32, FriendsHasFriend)                                     \
    M(ISteamFriends, SetRichPresence, 8, Int32, FriendsSetRichPresence)                          \
    M(ISteamFriends, ClearRichPresence, 0, Void, FriendsClearRichPresence)                       \
    M(ISteamFriends, GetFriendRichPresence, 12, Pointer, FriendsGetFriendRichPresence)           \
    M(ISteamFriends, GetFriendRichPresenceKeyCount, 8, Int32,                                    \
      FriendsGetFriendRichPresenceKeyCount)                                                      \
    M(ISteamFriends, GetFriendRichPresenceKeyByIndex, 12, Pointer,                               \
      FriendsGetFriendRichPresenceKeyByIndex)                                                    \
    M(ISteamInput, RunFrame, 0, Void, InputRunFrame)                                             \
    M(ISteamInput, RunFrame, 4, Void, InputRunFrameReserved)                                     \
    M(ISteamController, RunFrame, 0, Void, ControllerRunFrame)

// The served methods' addresses, in the order of STEAM_CLIENT_SERVED
// (defined in served_methods.cpp).
extern const void* const kServedFunctions[];

}  // namespace offline_steam::client
