// CSteamLeaderboards: one board at a time, found by name, best scores kept.
#pragma once

#include <cstdint>

#include "platform/callback_holders.h"

namespace steambridge {

class CSteamLeaderboards {
public:
    CSteamLeaderboards();
    ~CSteamLeaderboards();
    CSteamLeaderboards(const CSteamLeaderboards&) = delete;
    CSteamLeaderboards& operator=(const CSteamLeaderboards&) = delete;

    // Forgets the current board and finds (or creates) the named one.
    void FindLeaderboard(const char* name);
    // Uploads to the current board, keeping the user's best; false when no
    // board is known. The answer is only traced.
    bool UploadScore(std::int32_t score);
    bool HasLeaderboard() const { return currentLeaderboard_ != 0; }

private:
    void OnFindLeaderboard(LeaderboardFindResult_t* record, bool ioFailure);
    void OnUploadScore(LeaderboardScoreUploaded_t* record, bool ioFailure);

    SteamLeaderboard_t currentLeaderboard_;
    CCallResult<CSteamLeaderboards, LeaderboardFindResult_t> findResult_;
    CCallResult<CSteamLeaderboards, LeaderboardScoreUploaded_t> uploadResult_;
};

}  // namespace steambridge
