// Builds callback records as the raw bytes a holder receives.
#include "records.h"

#include <cstring>

namespace offline_steam {
namespace {

// Zeroed including padding, so delivered bytes are deterministic.
template <typename Record>
Record Zeroed() {
    Record record;
    std::memset(&record, 0, sizeof(Record));
    return record;
}

template <typename Record>
RecordBytes BytesOf(const Record& record) {
    RecordBytes bytes(sizeof(Record));
    std::memcpy(bytes.data(), &record, sizeof(Record));
    return bytes;
}

// Cut to the record's name field, which stays terminated (the record is zeroed).
void CopyName(const char* name, char (&field)[kNameBufferSize]) {
    if (name == nullptr) return;
    std::size_t length = std::strlen(name);
    if (length >= kNameBufferSize) length = kNameBufferSize - 1;
    std::memcpy(field, name, length);
}

}  // namespace

RecordBytes MakeStatsReceivedRecord(uint64_t gameId, int32_t result, uint64_t userId) {
    auto record = Zeroed<StatsReceivedRecord>();
    record.gameId = gameId;
    record.result = result;
    // Same byte order as the uint64 it stands for on these little-endian targets.
    std::memcpy(record.userId.bytes, &userId, sizeof(userId));
    return BytesOf(record);
}

RecordBytes MakeStatsStoredRecord(uint64_t gameId, int32_t result) {
    auto record = Zeroed<StatsStoredRecord>();
    record.gameId = gameId;
    record.result = result;
    return BytesOf(record);
}

RecordBytes MakeAchievementStoredRecord(uint64_t gameId, const char* achievementName,
                                        uint32_t currentProgress, uint32_t maxProgress) {
    auto record = Zeroed<AchievementStoredRecord>();
    record.gameId = gameId;
    record.groupAchievement = false;
    CopyName(achievementName, record.achievementName);
    record.currentProgress = currentProgress;
    record.maxProgress = maxProgress;
    return BytesOf(record);
}

RecordBytes MakeScoresDownloadedRecord(uint64_t boardHandle, uint64_t entriesHandle,
                                       int32_t count) {
    auto record = Zeroed<ScoresDownloadedRecord>();
    record.boardHandle = boardHandle;
    record.entriesHandle = entriesHandle;
    record.entryCount = count;
    return BytesOf(record);
}

RecordBytes MakeLeaderboardFindRecord(uint64_t boardHandle, bool found) {
    auto record = Zeroed<LeaderboardFindRecord>();
    record.boardHandle = boardHandle;
    record.found = found ? 1 : 0;
    return BytesOf(record);
}

RecordBytes MakeScoreUploadedRecord(bool success, uint64_t boardHandle, int32_t score,
                                    bool scoreChanged, int32_t newGlobalRank,
                                    int32_t previousGlobalRank) {
    auto record = Zeroed<ScoreUploadedRecord>();
    record.success = success ? 1 : 0;
    record.boardHandle = boardHandle;
    record.score = score;
    record.scoreChanged = scoreChanged ? 1 : 0;
    record.newGlobalRank = newGlobalRank;
    record.previousGlobalRank = previousGlobalRank;
    return BytesOf(record);
}

RecordBytes MakeCurrentPlayersRecord(bool success, int32_t players) {
    auto record = Zeroed<CurrentPlayersRecord>();
    record.success = success ? 1 : 0;
    record.players = players;
    return BytesOf(record);
}

RecordBytes MakeAchievementIconFetchedRecord(uint64_t gameId, const char* achievementName,
                                             bool achieved, int32_t iconHandle) {
    auto record = Zeroed<AchievementIconFetchedRecord>();
    std::memcpy(record.gameId.bytes, &gameId, sizeof gameId);
    CopyName(achievementName, record.achievementName);
    record.achieved = achieved;
    record.iconHandle = iconHandle;
    return BytesOf(record);
}

RecordBytes MakeGameResultRecord(uint64_t gameId, int32_t result) {
    auto record = Zeroed<GameResultRecord>();
    record.gameId = gameId;
    record.result = result;
    return BytesOf(record);
}

RecordBytes MakeLeaderboardUgcSetRecord(int32_t result, uint64_t boardHandle) {
    auto record = Zeroed<LeaderboardUgcSetRecord>();
    record.result = result;
    record.boardHandle = boardHandle;
    return BytesOf(record);
}

}  // namespace offline_steam
