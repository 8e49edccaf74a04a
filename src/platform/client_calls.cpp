// Calls into the bound client library, each safe against a missing function
// or interface.
#include "platform/client_calls.h"

#include "bridge/trace.h"
#include "platform/callback_holders.h"
#include "platform/client_library.h"
#include "platform/stats_sync_fallback.h"

namespace steambridge {
namespace client {
namespace {

const ClientFunctions& Bound() { return BoundClient(); }

// Interfaces do not change while the client runs, so each is asked for once
// per session (a null answer is asked again): an accessor is a call into
// the library as costly as the method it serves.
struct SessionInterfaces {
    ISteamUser* user;
    ISteamUserStats* userStats;
    ISteamUtils* utils;
    ISteamApps* apps;
    ISteamFriends* friends;
};
SessionInterfaces g_interfaces;

template <class Interface>
Interface* Accessed(Interface*& cached, Interface*(STEAMBRIDGE_CLIENT_CALL* accessor)()) {
    if (!cached && accessor) cached = accessor();
    return cached;
}

ISteamUtils* SteamUtils() { return Accessed(g_interfaces.utils, Bound().SteamUtils); }
ISteamApps* SteamApps() { return Accessed(g_interfaces.apps, Bound().SteamApps); }
ISteamFriends* SteamFriends() { return Accessed(g_interfaces.friends, Bound().SteamFriends); }

// Size of the buffer SteamAPI_InitFlat may write its error text into.
constexpr int kStartErrorCapacity = 1024;

}  // namespace

bool Start() {
    g_interfaces = SessionInterfaces{};
    const ClientFunctions& bound = Bound();
    // The two newer forms answer 0 for success and fill an error text; the
    // oldest gives no reason.
    char error[kStartErrorCapacity] = {};
    bool started = false;
    if (bound.InitFlat)
        started = bound.InitFlat(error) == 0;
    else if (bound.Init)
        started = bound.Init();
    else if (bound.InternalInit)
        // An empty list of interface versions to check: one empty text.
        started = bound.InternalInit("", error) == 0;
    if (!started) {
        error[kStartErrorCapacity - 1] = '\0';
        Trace(TraceId::StartRefused);
        TraceDetail(error[0] != '\0' ? error : "no reason given");
    }
    return started;
}

void Shutdown() {
    if (Bound().Shutdown) Bound().Shutdown();
    g_interfaces = SessionInterfaces{};
    ForgetStatsSync();
}

void RunCallbacks() {
    if (!Bound().RunCallbacks) return;
    Bound().RunCallbacks();
    DeliverOwedStatsReceived();
}

void RegisterCallback(CCallbackBase* holder, int callbackId) {
    if (!Bound().RegisterCallback) return;
    Bound().RegisterCallback(holder, callbackId);
    NoteCallbackRegistered(holder, callbackId);
}

void UnregisterCallback(CCallbackBase* holder) {
    // Our own list forgets the holder whatever the library did with its flag:
    // a library may clear it, or never set it, before the holder goes.
    NoteCallbackUnregistered(holder);
    if (Bound().UnregisterCallback && holder->IsRegistered()) Bound().UnregisterCallback(holder);
}

void RegisterCallResult(CCallbackBase* holder, SteamAPICall_t call) {
    if (Bound().RegisterCallResult) Bound().RegisterCallResult(holder, call);
}

void UnregisterCallResult(CCallbackBase* holder, SteamAPICall_t call) {
    if (Bound().UnregisterCallResult) Bound().UnregisterCallResult(holder, call);
}

ISteamUser* SteamUser() { return Accessed(g_interfaces.user, Bound().SteamUser); }
ISteamUserStats* SteamUserStats() {
    return Accessed(g_interfaces.userStats, Bound().SteamUserStats);
}

bool BLoggedOn() {
    ISteamUser* user = SteamUser();
    return user && Bound().BLoggedOn(user);
}

std::uint64_t GetSteamID() {
    ISteamUser* user = SteamUser();
    return user ? Bound().GetSteamID(user) : 0;
}

AppId_t GetAppID() {
    ISteamUtils* utils = SteamUtils();
    return utils ? Bound().GetAppID(utils) : 0;
}

const char* GetCurrentGameLanguage() {
    ISteamApps* apps = SteamApps();
    return apps ? Bound().GetCurrentGameLanguage(apps) : nullptr;
}

const char* GetAvailableGameLanguages() {
    ISteamApps* apps = SteamApps();
    return apps ? Bound().GetAvailableGameLanguages(apps) : nullptr;
}

bool RequestCurrentStats() {
    ISteamUserStats* stats = SteamUserStats();
    if (!stats) return false;
    if (Bound().RequestCurrentStats) return Bound().RequestCurrentStats(stats);
    // The library has the user's stats already and will never answer.
    OweStatsReceived(GetAppID(), GetSteamID());
    return true;
}

bool GetStat(const char* name, std::int32_t* value) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().GetStatInt32(stats, name, value);
}

bool GetStat(const char* name, float* value) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().GetStatFloat(stats, name, value);
}

bool SetStat(const char* name, std::int32_t value) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().SetStatInt32(stats, name, value);
}

bool SetStat(const char* name, float value) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().SetStatFloat(stats, name, value);
}

bool UpdateAvgRateStat(const char* name, float countThisSession, double sessionLength) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().UpdateAvgRateStat(stats, name, countThisSession, sessionLength);
}

bool SetAchievement(const char* name) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().SetAchievement(stats, name);
}

bool GetAchievementAndUnlockTime(const char* name, bool* achieved, std::uint32_t* unlockTime) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().GetAchievementAndUnlockTime(stats, name, achieved, unlockTime);
}

bool StoreStats() {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().StoreStats(stats);
}

const char* GetAchievementDisplayAttribute(const char* name, const char* key) {
    ISteamUserStats* stats = SteamUserStats();
    return stats ? Bound().GetAchievementDisplayAttribute(stats, name, key) : nullptr;
}

bool ResetAllStats(bool achievementsToo) {
    ISteamUserStats* stats = SteamUserStats();
    return stats && Bound().ResetAllStats(stats, achievementsToo);
}

SteamAPICall_t FindOrCreateLeaderboard(const char* name, ELeaderboardSortMethod sortMethod,
                                       ELeaderboardDisplayType displayType) {
    ISteamUserStats* stats = SteamUserStats();
    return stats ? Bound().FindOrCreateLeaderboard(stats, name, sortMethod, displayType) : 0;
}

SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t board,
                                      ELeaderboardUploadScoreMethod method, std::int32_t score,
                                      const std::int32_t* details, int detailCount) {
    ISteamUserStats* stats = SteamUserStats();
    return stats ? Bound().UploadLeaderboardScore(stats, board, method, score, details, detailCount)
                 : 0;
}

void ActivateGameOverlay(const char* dialog) {
    ISteamFriends* friends = SteamFriends();
    if (friends) Bound().ActivateGameOverlay(friends, dialog);
}

}  // namespace client
}  // namespace steambridge
