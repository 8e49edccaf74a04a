// Steam's side of the ISteamUserStats methods beyond the user's own stats
// (global achievement percentages, other users' stats, global stats, the
// number of players, achievement icons, leaderboard content and the entries
// of named users) and of the ISteamUtils image reads, as steam_calls.h does
// for the rest: each logs its call line and acts only when `live`.
// Call handles are 64-bit; 0 is k_uAPICallInvalid.
#pragma once

#include <cstdint>

namespace offline_steam::calls {

uint64_t StatsRequestGlobalAchievementPercentages(bool live);
// The iterator of the most achieved achievement, -1 without data; writes
// its name into `name` (cut to nameSize - 1 bytes and terminated).
int StatsMostAchievedAchievementInfo(bool live, char* name, uint32_t nameSize, float* percent,
                                     bool* achieved);
int StatsNextMostAchievedAchievementInfo(bool live, int previous, char* name, uint32_t nameSize,
                                         float* percent, bool* achieved);
bool StatsAchievementAchievedPercent(bool live, const char* name, float* percent);

uint64_t StatsRequestUserStats(bool live, uint64_t steamId);
bool StatsUserStatInt32(bool live, uint64_t steamId, const char* name, int32_t* value);
bool StatsUserStatFloat(bool live, uint64_t steamId, const char* name, float* value);
bool StatsUserAchievement(bool live, uint64_t steamId, const char* name, bool* achieved);
bool StatsUserAchievementAndUnlockTime(bool live, uint64_t steamId, const char* name,
                                       bool* achieved, uint32_t* unlockTime);

uint64_t StatsRequestGlobalStats(bool live, int historyDays);
bool StatsGlobalStatInt64(bool live, const char* name, int64_t* value);
bool StatsGlobalStatDouble(bool live, const char* name, double* value);
// `bytes` is the size of `data` in bytes; returns the number of days written.
int32_t StatsGlobalStatHistoryInt64(bool live, const char* name, int64_t* data, uint32_t bytes);
int32_t StatsGlobalStatHistoryDouble(bool live, const char* name, double* data, uint32_t bytes);

uint64_t StatsNumberOfCurrentPlayers(bool live);
int StatsAchievementIcon(bool live, const char* name);

uint64_t StatsAttachLeaderboardUgc(bool live, uint64_t board, uint64_t ugc);
uint64_t StatsDownloadLeaderboardEntriesForUsers(bool live, uint64_t board, const uint64_t* users,
                                                 int count);

bool UtilsImageSize(bool live, int image, uint32_t* width, uint32_t* height);
bool UtilsImageRgba(bool live, int image, uint8_t* destination, int destinationSize);

}  // namespace offline_steam::calls
