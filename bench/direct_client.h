// The simulator's flat functions as a game would call them itself, and the holders it would own.
#pragma once

#include <cstdint>

namespace bench {

// Opaque interfaces, as the flat API hands them out.
struct ISteamUser;
struct ISteamUserStats;
struct ISteamUtils;
struct ISteamApps;
struct ISteamFriends;

// Linux record sizes (packed to 4) the library checks a holder's size entry against.
constexpr int kStatsReceivedId = 1101;
constexpr int kStatsStoredId = 1102;
constexpr int kAchievementStoredId = 1103;
constexpr int kLeaderboardFindId = 1104;
constexpr int kScoreUploadedId = 1106;
constexpr int kStatsReceivedSize = 20;
constexpr int kStatsStoredSize = 12;
constexpr int kAchievementStoredSize = 148;
constexpr int kLeaderboardFindSize = 12;
constexpr int kScoreUploadedSize = 28;

// A callback or call-result holder of the library's Linux layout: the
// table pointer, the flags byte at 8 and the id at 12, three table entries
// in the order the GCC-built library calls them. Records are ignored: only
// the calls that reach the library matter here.
class DirectHolder final {
public:
    explicit DirectHolder(int recordSize) : recordSize_(recordSize) {}
    DirectHolder(const DirectHolder&) = delete;
    DirectHolder& operator=(const DirectHolder&) = delete;

    virtual void Run(void* record);
    virtual void Run(void* record, bool ioFailure, std::uint64_t call);
    virtual int GetCallbackSizeBytes();

    // Same steps as a call result of the SDK's kind: drop the pending call,
    // then register the new one unless it is 0.
    void SetCall(std::uint64_t call);

private:
    unsigned char flags_ = 0;
    std::int32_t callbackId_ = 0;
    int recordSize_;
    std::uint64_t pendingCall_ = 0;

    friend struct DirectHolderLayout;
};

// Interfaces fetched once from the accessors after the client started.
struct DirectInterfaces {
    ISteamUser* user;
    ISteamUserStats* userStats;
    ISteamUtils* utils;
    ISteamApps* apps;
    ISteamFriends* friends;
};
extern DirectInterfaces g_direct;

// Fills g_direct; needs a running client.
void FetchDirectInterfaces();

}  // namespace bench

// Signatures from the client library's documented flat interface (SDK 1.57 names).
extern "C" {
bool SteamAPI_Init();
void SteamAPI_Shutdown();
void SteamAPI_RunCallbacks();
void SteamAPI_RegisterCallback(void* holder, int callbackId);
void SteamAPI_UnregisterCallback(void* holder);
void SteamAPI_RegisterCallResult(void* holder, std::uint64_t call);
void SteamAPI_UnregisterCallResult(void* holder, std::uint64_t call);

bench::ISteamUser* SteamAPI_SteamUser_v023();
bench::ISteamUserStats* SteamAPI_SteamUserStats_v012();
bench::ISteamUtils* SteamAPI_SteamUtils_v010();
bench::ISteamApps* SteamAPI_SteamApps_v008();
bench::ISteamFriends* SteamAPI_SteamFriends_v017();

bool SteamAPI_ISteamUser_BLoggedOn(bench::ISteamUser* self);
std::uint64_t SteamAPI_ISteamUser_GetSteamID(bench::ISteamUser* self);
bool SteamAPI_ISteamUserStats_RequestCurrentStats(bench::ISteamUserStats* self);
bool SteamAPI_ISteamUserStats_SetStatInt32(bench::ISteamUserStats* self, const char* name,
                                           std::int32_t value);
bool SteamAPI_ISteamUserStats_SetAchievement(bench::ISteamUserStats* self, const char* name);
bool SteamAPI_ISteamUserStats_StoreStats(bench::ISteamUserStats* self);
bool SteamAPI_ISteamUserStats_ResetAllStats(bench::ISteamUserStats* self, bool achievementsToo);
std::uint64_t SteamAPI_ISteamUserStats_FindOrCreateLeaderboard(bench::ISteamUserStats* self,
                                                               const char* name,
                                                               std::int32_t sortMethod,
                                                               std::int32_t displayType);
std::uint64_t SteamAPI_ISteamUserStats_UploadLeaderboardScore(
    bench::ISteamUserStats* self, std::uint64_t board, std::int32_t method, std::int32_t score,
    const std::int32_t* details, int detailCount);
std::uint32_t SteamAPI_ISteamUtils_GetAppID(bench::ISteamUtils* self);
const char* SteamAPI_ISteamApps_GetCurrentGameLanguage(bench::ISteamApps* self);
const char* SteamAPI_ISteamApps_GetAvailableGameLanguages(bench::ISteamApps* self);
void SteamAPI_ISteamFriends_ActivateGameOverlay(bench::ISteamFriends* self, const char* dialog);
}
