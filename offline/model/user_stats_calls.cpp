// Steam's side of the ISteamUserStats methods that read what the server knows
// beyond the user's own stats, and of ISteamUtils' image reads, by Valve's
// documented rules (isteamuserstats.h): each answer is readable only once its
// call result was handed to the game; names not in the schema, stats of
// another type and reads before the answer are refused, with a warning.
#include "user_stats_calls.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "achievement_icons.h"
#include "call_line.h"
#include "event_reports.h"
#include "global_stats.h"
#include "leaderboards.h"
#include "model_lock.h"
#include "schema.h"
#include "schema_names.h"
#include "session.h"
#include "stable_text.h"
#include "stats_server.h"

namespace offline_steam::calls {
namespace {

// Steam answers false until the request's answer arrived; worth a warning.
bool Answered(bool answered, const char* call, const char* request) {
    if (!answered)
        Warn(WarningCode::kBeforeStats, std::string(call) + " before " + request +
                                            " was answered: Steam answers false until then");
    return answered;
}

// The user's stats as fetched by RequestUserStats: null before the answer
// (with a warning) and after one that was not k_EResultOK.
const GlobalStats::UserStats* FetchedUser(const char* call, uint64_t steamId) {
    const std::string request = "RequestUserStats(" + std::to_string(steamId) + ")";
    if (!Answered(TheGlobalStats().UserAnswered(steamId), call, request.c_str())) return nullptr;
    return TheGlobalStats().ReceivedUser(steamId);
}

// The achievement at `position` of the most-achieved order, written out.
int AchievedInfo(int position, char* name, uint32_t nameSize, float* percent, bool* achieved) {
    const int index = TheGlobalStats().AchievementByRank(position);
    if (index < 0) return -1;
    CopyText(AchievementAt(index).name, name, nameSize);
    if (percent != nullptr) TheGlobalStats().PercentOf(index, percent);
    if (achieved != nullptr) {
        bool isAchieved = false;
        uint32_t time = 0;
        if (TheStatsServer().StatsAvailable())
            TheStatsServer().AchievementOnClient(index, &isAchieved, &time);
        *achieved = isAchieved;
    }
    return position;
}

const GlobalStat* FetchedGlobalStat(const char* call, const char* name, bool wantsInt) {
    if (KnownStat(call, name, wantsInt, !wantsInt, !wantsInt) < 0 ||
        !Answered(TheGlobalStats().GlobalStatsAnswered(), call, "RequestGlobalStats") ||
        !TheGlobalStats().GlobalStatsReady())
        return nullptr;
    const GlobalStat* stat = TheGlobalStats().GlobalStatNamed(name);
    if (stat == nullptr)
        Warn(WarningCode::kUnknownName, std::string(call) + ": " + QuotedName(name) +
                                            " has no global figures in the scenario");
    return stat;
}

template <typename Value>
int32_t History(const char* call, const char* name, Value* data, uint32_t bytes, bool wantsInt) {
    if (data == nullptr) return 0;
    const GlobalStat* stat = FetchedGlobalStat(call, name, wantsInt);
    if (stat == nullptr) return 0;
    // cubData counts bytes; the days are those asked for and known, newest first.
    const std::size_t days =
        std::min({static_cast<std::size_t>(bytes / sizeof(Value)), stat->history.size(),
                  static_cast<std::size_t>(TheGlobalStats().HistoryDays())});
    for (std::size_t day = 0; day < days; ++day) data[day] = static_cast<Value>(stat->history[day]);
    return static_cast<int32_t>(days);
}

}  // namespace

uint64_t StatsRequestGlobalAchievementPercentages(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestGlobalAchievementPercentages").Log();
    return live ? TheGlobalStats().RequestPercentages() : 0;
}

int StatsMostAchievedAchievementInfo(bool live, char* name, uint32_t nameSize, float* percent,
                                     bool* achieved) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetMostAchievedAchievementInfo")
        .UnsignedInteger(nameSize)
        .Log();
    if (!live || !Answered(TheGlobalStats().PercentagesAnswered(), "GetMostAchievedAchievementInfo",
                           "RequestGlobalAchievementPercentages"))
        return -1;
    return AchievedInfo(0, name, nameSize, percent, achieved);
}

int StatsNextMostAchievedAchievementInfo(bool live, int previous, char* name, uint32_t nameSize,
                                         float* percent, bool* achieved) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetNextMostAchievedAchievementInfo")
        .Integer(previous)
        .UnsignedInteger(nameSize)
        .Log();
    if (!live || previous < 0 || previous == std::numeric_limits<int>::max() ||
        !Answered(TheGlobalStats().PercentagesAnswered(), "GetNextMostAchievedAchievementInfo",
                  "RequestGlobalAchievementPercentages"))
        return -1;
    return AchievedInfo(previous + 1, name, nameSize, percent, achieved);
}

bool StatsAchievementAchievedPercent(bool live, const char* name, float* percent) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementAchievedPercent").Text(name).Log();
    if (!live) return false;
    const int index = KnownAchievement("GetAchievementAchievedPercent", name);
    if (index < 0 ||
        !Answered(TheGlobalStats().PercentagesAnswered(), "GetAchievementAchievedPercent",
                  "RequestGlobalAchievementPercentages"))
        return false;
    return TheGlobalStats().PercentOf(index, percent);
}

uint64_t StatsRequestUserStats(bool live, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestUserStats").UnsignedInteger(steamId).Log();
    return live ? TheGlobalStats().RequestUserStats(steamId) : 0;
}

bool StatsUserStatInt32(bool live, uint64_t steamId, const char* name, int32_t* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetUserStatInt32").UnsignedInteger(steamId).Text(name).Log();
    if (!live || value == nullptr) return false;
    const int index = KnownStat("GetUserStat(int32)", name, true, false, false);
    const GlobalStats::UserStats* user =
        index < 0 ? nullptr : FetchedUser("GetUserStat(int32)", steamId);
    if (user == nullptr) return false;
    *value = StatValueAsInt32(user->stats[static_cast<std::size_t>(index)]);
    return true;
}

bool StatsUserStatFloat(bool live, uint64_t steamId, const char* name, float* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetUserStatFloat").UnsignedInteger(steamId).Text(name).Log();
    if (!live || value == nullptr) return false;
    const int index = KnownStat("GetUserStat(float)", name, false, true, true);
    const GlobalStats::UserStats* user =
        index < 0 ? nullptr : FetchedUser("GetUserStat(float)", steamId);
    if (user == nullptr) return false;
    *value = static_cast<float>(user->stats[static_cast<std::size_t>(index)]);
    return true;
}

bool StatsUserAchievement(bool live, uint64_t steamId, const char* name, bool* achieved) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetUserAchievement")
        .UnsignedInteger(steamId)
        .Text(name)
        .Log();
    if (!live) return false;
    const int index = KnownAchievement("GetUserAchievement", name);
    const GlobalStats::UserStats* user =
        index < 0 ? nullptr : FetchedUser("GetUserAchievement", steamId);
    if (user == nullptr) return false;
    if (achieved != nullptr) *achieved = user->achieved[static_cast<std::size_t>(index)];
    return true;
}

bool StatsUserAchievementAndUnlockTime(bool live, uint64_t steamId, const char* name,
                                       bool* achieved, uint32_t* unlockTime) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetUserAchievementAndUnlockTime")
        .UnsignedInteger(steamId)
        .Text(name)
        .Log();
    if (!live) return false;
    const int index = KnownAchievement("GetUserAchievementAndUnlockTime", name);
    const GlobalStats::UserStats* user =
        index < 0 ? nullptr : FetchedUser("GetUserAchievementAndUnlockTime", steamId);
    if (user == nullptr) return false;
    if (achieved != nullptr) *achieved = user->achieved[static_cast<std::size_t>(index)];
    if (unlockTime != nullptr) *unlockTime = user->unlockTimes[static_cast<std::size_t>(index)];
    return true;
}

uint64_t StatsRequestGlobalStats(bool live, int historyDays) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_RequestGlobalStats").Integer(historyDays).Log();
    return live ? TheGlobalStats().RequestGlobalStats(historyDays) : 0;
}

bool StatsGlobalStatInt64(bool live, const char* name, int64_t* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetGlobalStatInt64").Text(name).Log();
    if (!live || value == nullptr) return false;
    const GlobalStat* stat = FetchedGlobalStat("GetGlobalStat(int64)", name, true);
    if (stat == nullptr) return false;
    *value = static_cast<int64_t>(stat->total);
    return true;
}

bool StatsGlobalStatDouble(bool live, const char* name, double* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetGlobalStatDouble").Text(name).Log();
    if (!live || value == nullptr) return false;
    const GlobalStat* stat = FetchedGlobalStat("GetGlobalStat(double)", name, false);
    if (stat == nullptr) return false;
    *value = stat->total;
    return true;
}

int32_t StatsGlobalStatHistoryInt64(bool live, const char* name, int64_t* data, uint32_t bytes) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetGlobalStatHistoryInt64")
        .Text(name)
        .UnsignedInteger(bytes)
        .Log();
    return live ? History("GetGlobalStatHistory(int64)", name, data, bytes, true) : 0;
}

int32_t StatsGlobalStatHistoryDouble(bool live, const char* name, double* data, uint32_t bytes) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetGlobalStatHistoryDouble")
        .Text(name)
        .UnsignedInteger(bytes)
        .Log();
    return live ? History("GetGlobalStatHistory(double)", name, data, bytes, false) : 0;
}

uint64_t StatsNumberOfCurrentPlayers(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetNumberOfCurrentPlayers").Log();
    return live ? TheGlobalStats().RequestCurrentPlayers() : 0;
}

int StatsAchievementIcon(bool live, const char* name) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_GetAchievementIcon").Text(name).Log();
    if (!live) return 0;
    const int index = KnownAchievement("GetAchievementIcon", name);
    // The icon of the user's state: it needs the user's stats.
    if (index < 0 ||
        !Answered(TheStatsServer().StatsAvailable(), "GetAchievementIcon", "the user's stats"))
        return 0;
    bool achieved = false;
    uint32_t time = 0;
    TheStatsServer().AchievementOnClient(index, &achieved, &time);
    return TheAchievementIcons().IconFor(index, achieved);
}

uint64_t StatsAttachLeaderboardUgc(bool live, uint64_t board, uint64_t ugc) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_AttachLeaderboardUGC")
        .UnsignedInteger(board)
        .UnsignedInteger(ugc)
        .Log();
    return live ? TheLeaderboards().AttachUgc(board, ugc) : 0;
}

uint64_t StatsDownloadLeaderboardEntriesForUsers(bool live, uint64_t board, const uint64_t* users,
                                                 int count) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUserStats_DownloadLeaderboardEntriesForUsers")
        .UnsignedInteger(board)
        .Integer(count)
        .Log();
    return live ? TheLeaderboards().DownloadEntriesForUsers(board, users, count) : 0;
}

bool UtilsImageSize(bool live, int image, uint32_t* width, uint32_t* height) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetImageSize").Integer(image).Log();
    return live && TheAchievementIcons().ImageSize(image, width, height);
}

bool UtilsImageRgba(bool live, int image, uint8_t* destination, int destinationSize) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetImageRGBA").Integer(image).Integer(destinationSize).Log();
    return live && TheAchievementIcons().ImageRgba(image, destination, destinationSize);
}

}  // namespace offline_steam::calls
