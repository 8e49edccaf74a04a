// Binary layouts of the callback records the simulator delivers, and builders for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace offline_steam {

enum CallbackId : int {
    kStatsReceivedId = 1101,
    kStatsStoredId = 1102,
    kAchievementStoredId = 1103,
    kLeaderboardFindId = 1104,
    kScoresDownloadedId = 1105,
    kScoreUploadedId = 1106,
    kCurrentPlayersId = 1107,
    kAchievementIconFetchedId = 1109,
    kGlobalPercentagesReadyId = 1110,
    kLeaderboardUgcSetId = 1111,
    kGlobalStatsReceivedId = 1112,
};

enum ResultCode : int {
    kResultOk = 1,
    kResultFail = 2,
    kResultInvalidParam = 8,
    kResultRateLimitExceeded = 84,
};

constexpr std::size_t kNameBufferSize = 128;

// The real library is built by MSVC (packing 8) on Windows and by GCC with
// packing 4 on Linux; the records must match byte for byte.
#if defined(_WIN32)
#pragma pack(push, 8)
#else
#pragma pack(push, 4)
#endif

// A Steam ID inside a record is a class of bytes in the real headers, hence alignment 1.
struct ByteAlignedSteamId {
    unsigned char bytes[8];
};
// So is a CGameID (steamclientpublic.h declares both within pack 1).
using ByteAlignedGameId = ByteAlignedSteamId;

struct StatsReceivedRecord {
    uint64_t gameId;
    int32_t result;
    ByteAlignedSteamId userId;
};

struct StatsStoredRecord {
    uint64_t gameId;
    int32_t result;
};

struct AchievementStoredRecord {
    uint64_t gameId;
    bool groupAchievement;
    char achievementName[kNameBufferSize];
    uint32_t currentProgress;
    uint32_t maxProgress;
};

struct LeaderboardFindRecord {
    uint64_t boardHandle;
    uint8_t found;
};

struct ScoresDownloadedRecord {
    uint64_t boardHandle;
    uint64_t entriesHandle;
    int32_t entryCount;
};

// LeaderboardEntry_t, which GetDownloadedLeaderboardEntry fills.
struct LeaderboardEntryRecord {
    ByteAlignedSteamId userId;
    int32_t globalRank;
    int32_t score;
    int32_t detailCount;
    uint64_t ugcHandle;
};

struct ScoreUploadedRecord {
    uint8_t success;
    uint64_t boardHandle;
    int32_t score;
    uint8_t scoreChanged;
    int32_t newGlobalRank;
    int32_t previousGlobalRank;
};

// NumberOfCurrentPlayers_t.
struct CurrentPlayersRecord {
    uint8_t success;
    int32_t players;
};

// UserAchievementIconFetched_t.
struct AchievementIconFetchedRecord {
    ByteAlignedGameId gameId;
    char achievementName[kNameBufferSize];
    bool achieved;
    int32_t iconHandle;
};

// GlobalAchievementPercentagesReady_t and GlobalStatsReceived_t: the same fields.
struct GameResultRecord {
    uint64_t gameId;
    int32_t result;
};

// LeaderboardUGCSet_t.
struct LeaderboardUgcSetRecord {
    int32_t result;
    uint64_t boardHandle;
};

#pragma pack(pop)

static_assert(sizeof(ByteAlignedSteamId) == 8 && alignof(ByteAlignedSteamId) == 1,
              "steam id is 8 loose bytes");

// Packed to 8 on both Windows architectures: the same layout in 32 and 64 bits.
#if defined(_WIN32)
static_assert(sizeof(StatsReceivedRecord) == 24, "1101 size (Windows)");
static_assert(offsetof(StatsReceivedRecord, gameId) == 0, "1101 game id (Windows)");
static_assert(offsetof(StatsReceivedRecord, result) == 8, "1101 result (Windows)");
static_assert(offsetof(StatsReceivedRecord, userId) == 12, "1101 user (Windows)");
static_assert(sizeof(StatsStoredRecord) == 16, "1102 size (Windows)");
static_assert(offsetof(StatsStoredRecord, result) == 8, "1102 result (Windows)");
static_assert(sizeof(AchievementStoredRecord) == 152, "1103 size (Windows)");
static_assert(offsetof(AchievementStoredRecord, groupAchievement) == 8, "1103 group (Windows)");
static_assert(offsetof(AchievementStoredRecord, achievementName) == 9, "1103 name (Windows)");
static_assert(offsetof(AchievementStoredRecord, currentProgress) == 140, "1103 progress (Windows)");
static_assert(offsetof(AchievementStoredRecord, maxProgress) == 144, "1103 max progress (Windows)");
static_assert(sizeof(LeaderboardFindRecord) == 16, "1104 size (Windows)");
static_assert(offsetof(LeaderboardFindRecord, found) == 8, "1104 found (Windows)");
static_assert(sizeof(ScoresDownloadedRecord) == 24, "1105 size (Windows)");
static_assert(offsetof(ScoresDownloadedRecord, entryCount) == 16, "1105 count (Windows)");
static_assert(sizeof(LeaderboardEntryRecord) == 32, "LeaderboardEntry_t size (Windows)");
static_assert(offsetof(LeaderboardEntryRecord, ugcHandle) == 24,
              "LeaderboardEntry_t UGC (Windows)");
static_assert(sizeof(ScoreUploadedRecord) == 32, "1106 size (Windows)");
static_assert(offsetof(ScoreUploadedRecord, boardHandle) == 8, "1106 board (Windows)");
static_assert(offsetof(ScoreUploadedRecord, score) == 16, "1106 score (Windows)");
static_assert(offsetof(ScoreUploadedRecord, scoreChanged) == 20, "1106 changed (Windows)");
static_assert(offsetof(ScoreUploadedRecord, newGlobalRank) == 24, "1106 new rank (Windows)");
static_assert(offsetof(ScoreUploadedRecord, previousGlobalRank) == 28,
              "1106 previous rank (Windows)");
static_assert(sizeof(GameResultRecord) == 16, "1110 and 1112 size (Windows)");
static_assert(offsetof(GameResultRecord, result) == 8, "1110 and 1112 result (Windows)");
static_assert(sizeof(LeaderboardUgcSetRecord) == 16, "1111 size (Windows)");
static_assert(offsetof(LeaderboardUgcSetRecord, boardHandle) == 8, "1111 board (Windows)");
#elif defined(__linux__) && defined(__x86_64__)
static_assert(sizeof(StatsReceivedRecord) == 20, "1101 size (Linux)");
static_assert(offsetof(StatsReceivedRecord, gameId) == 0, "1101 game id (Linux)");
static_assert(offsetof(StatsReceivedRecord, result) == 8, "1101 result (Linux)");
static_assert(offsetof(StatsReceivedRecord, userId) == 12, "1101 user (Linux)");
static_assert(sizeof(StatsStoredRecord) == 12, "1102 size (Linux)");
static_assert(offsetof(StatsStoredRecord, result) == 8, "1102 result (Linux)");
static_assert(sizeof(AchievementStoredRecord) == 148, "1103 size (Linux)");
static_assert(offsetof(AchievementStoredRecord, groupAchievement) == 8, "1103 group (Linux)");
static_assert(offsetof(AchievementStoredRecord, achievementName) == 9, "1103 name (Linux)");
static_assert(offsetof(AchievementStoredRecord, currentProgress) == 140, "1103 progress (Linux)");
static_assert(offsetof(AchievementStoredRecord, maxProgress) == 144, "1103 max progress (Linux)");
static_assert(sizeof(LeaderboardFindRecord) == 12, "1104 size (Linux)");
static_assert(offsetof(LeaderboardFindRecord, found) == 8, "1104 found (Linux)");
static_assert(sizeof(ScoresDownloadedRecord) == 20, "1105 size (Linux)");
static_assert(offsetof(ScoresDownloadedRecord, entryCount) == 16, "1105 count (Linux)");
static_assert(sizeof(LeaderboardEntryRecord) == 28, "LeaderboardEntry_t size (Linux)");
static_assert(offsetof(LeaderboardEntryRecord, ugcHandle) == 20, "LeaderboardEntry_t UGC (Linux)");
static_assert(sizeof(ScoreUploadedRecord) == 28, "1106 size (Linux)");
static_assert(offsetof(ScoreUploadedRecord, boardHandle) == 4, "1106 board (Linux)");
static_assert(offsetof(ScoreUploadedRecord, score) == 12, "1106 score (Linux)");
static_assert(offsetof(ScoreUploadedRecord, scoreChanged) == 16, "1106 changed (Linux)");
static_assert(offsetof(ScoreUploadedRecord, newGlobalRank) == 20, "1106 new rank (Linux)");
static_assert(offsetof(ScoreUploadedRecord, previousGlobalRank) == 24,
              "1106 previous rank (Linux)");
static_assert(sizeof(GameResultRecord) == 12, "1110 and 1112 size (Linux)");
static_assert(offsetof(GameResultRecord, result) == 8, "1110 and 1112 result (Linux)");
static_assert(sizeof(LeaderboardUgcSetRecord) == 12, "1111 size (Linux)");
static_assert(offsetof(LeaderboardUgcSetRecord, boardHandle) == 4, "1111 board (Linux)");
#endif
// The same on every platform: 4-byte fields, or bytes.
static_assert(sizeof(CurrentPlayersRecord) == 8, "1107 size");
static_assert(offsetof(CurrentPlayersRecord, players) == 4, "1107 players");
static_assert(sizeof(AchievementIconFetchedRecord) == 144, "1109 size");
static_assert(offsetof(AchievementIconFetchedRecord, achievementName) == 8, "1109 name");
static_assert(offsetof(AchievementIconFetchedRecord, achieved) == 136, "1109 achieved");
static_assert(offsetof(AchievementIconFetchedRecord, iconHandle) == 140, "1109 icon");

using RecordBytes = std::vector<unsigned char>;

RecordBytes MakeStatsReceivedRecord(uint64_t gameId, int32_t result, uint64_t userId);
RecordBytes MakeStatsStoredRecord(uint64_t gameId, int32_t result);
// Progress 0 of 0 is an unlock; anything else shows progress (IndicateAchievementProgress).
RecordBytes MakeAchievementStoredRecord(uint64_t gameId, const char* achievementName,
                                        uint32_t currentProgress = 0, uint32_t maxProgress = 0);
RecordBytes MakeScoresDownloadedRecord(uint64_t boardHandle, uint64_t entriesHandle, int32_t count);
RecordBytes MakeLeaderboardFindRecord(uint64_t boardHandle, bool found);
RecordBytes MakeScoreUploadedRecord(bool success, uint64_t boardHandle, int32_t score,
                                    bool scoreChanged, int32_t newGlobalRank,
                                    int32_t previousGlobalRank);
RecordBytes MakeCurrentPlayersRecord(bool success, int32_t players);
RecordBytes MakeAchievementIconFetchedRecord(uint64_t gameId, const char* achievementName,
                                             bool achieved, int32_t iconHandle);
// GlobalAchievementPercentagesReady_t (1110) and GlobalStatsReceived_t (1112).
RecordBytes MakeGameResultRecord(uint64_t gameId, int32_t result);
RecordBytes MakeLeaderboardUgcSetRecord(int32_t result, uint64_t boardHandle);

}  // namespace offline_steam
