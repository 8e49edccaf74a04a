// The longer direct sequences: the leaderboard set-up and a whole start and stop.
#include "export_cases.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

void UploadScoreCase::Prepare() {
    StartFreshSession();
    g_findHolder.SetCall(0);
    g_uploadHolder.SetCall(0);
    steamSetLeaderBoardName(kBoardName16);
    for (int frame = 0; frame < 10 && steamLeaderBoardFound() == 0; ++frame) steamCallBacks();
    g_board = SteamSim_LeaderboardHandle(kBoardName);
    if (steamLeaderBoardFound() != 1 || g_board == 0) {
        std::fprintf(stderr, "the leaderboard was never found\n");
        std::exit(1);
    }
    ClearCallLog();
}

namespace {

// What the bridge's two keepers register, in their order.
void RegisterHolders() {
    SteamAPI_RegisterCallback(&g_statsReceivedHolderA, kStatsReceivedId);
    SteamAPI_RegisterCallback(&g_statsStoredHolderA, kStatsStoredId);
    SteamAPI_RegisterCallback(&g_achievementStoredHolder, kAchievementStoredId);
}

void RegisterSecondHolders() {
    SteamAPI_RegisterCallback(&g_statsReceivedHolderB, kStatsReceivedId);
    SteamAPI_RegisterCallback(&g_statsStoredHolderB, kStatsStoredId);
}

void UnregisterHolders() {
    SteamAPI_UnregisterCallback(&g_achievementStoredHolder);
    SteamAPI_UnregisterCallback(&g_statsStoredHolderA);
    SteamAPI_UnregisterCallback(&g_statsReceivedHolderA);
    SteamAPI_UnregisterCallback(&g_statsStoredHolderB);
    SteamAPI_UnregisterCallback(&g_statsReceivedHolderB);
}

}  // namespace

// Each interface is asked for once per session, as a game keeping them
// would, at the point where the bridge first needs it: both sides then make
// the same client calls in the same order, accessor calls included, so
// their allocations can be subtracted.
void InitFreeCase::Direct(std::uint32_t) {
    if (!SteamAPI_Init()) return;

    RegisterHolders();
    ISteamUtils* utils = SteamAPI_SteamUtils_v010();
    benchmark::DoNotOptimize(SteamAPI_ISteamUtils_GetAppID(utils));
    ISteamUserStats* stats = SteamAPI_SteamUserStats_v012();
    ISteamUser* user = SteamAPI_SteamUser_v023();
    if (stats && user && SteamAPI_ISteamUser_BLoggedOn(user))
        SteamAPI_ISteamUserStats_RequestCurrentStats(stats);
    RegisterSecondHolders();
    benchmark::DoNotOptimize(SteamAPI_ISteamUtils_GetAppID(utils));
    if (stats && user && SteamAPI_ISteamUser_BLoggedOn(user))
        SteamAPI_ISteamUserStats_RequestCurrentStats(stats);
    ISteamApps* apps = SteamAPI_SteamApps_v008();
    benchmark::DoNotOptimize(SteamAPI_ISteamApps_GetCurrentGameLanguage(apps));
    benchmark::DoNotOptimize(SteamAPI_ISteamApps_GetAvailableGameLanguages(apps));

    SteamAPI_Shutdown();
    UnregisterHolders();
}

}  // namespace bench
