// The leaderboard keeper: find by name, upload, trace the answers.
#include "leaderboards/steam_leaderboards.h"

#include "bridge/trace.h"
#include "platform/client_calls.h"

namespace steambridge {

CSteamLeaderboards::CSteamLeaderboards()
    : currentLeaderboard_(0),
      findResult_(this, &CSteamLeaderboards::OnFindLeaderboard),
      uploadResult_(this, &CSteamLeaderboards::OnUploadScore) {}

CSteamLeaderboards::~CSteamLeaderboards() {
    uploadResult_.Cancel();
    findResult_.Cancel();
}

void CSteamLeaderboards::FindLeaderboard(const char* name) {
    currentLeaderboard_ = 0;
    const SteamAPICall_t call = client::FindOrCreateLeaderboard(
        name, k_ELeaderboardSortMethodDescending, k_ELeaderboardDisplayTypeNumeric);
    if (call == 0) Trace(TraceId::CallHandleNull);
    findResult_.Set(call);
}

bool CSteamLeaderboards::UploadScore(std::int32_t score) {
    if (currentLeaderboard_ == 0) return false;
    const SteamAPICall_t call = client::UploadLeaderboardScore(
        currentLeaderboard_, k_ELeaderboardUploadScoreMethodKeepBest, score, nullptr, 0);
    uploadResult_.Set(call);
    return true;
}

void CSteamLeaderboards::OnFindLeaderboard(LeaderboardFindResult_t* record, bool ioFailure) {
    Trace(TraceId::FindLeaderboardCallback);
    if (record->m_bLeaderboardFound == 0 || ioFailure) {
        Trace(TraceId::FindLeaderboardFailure);
        return;
    }
    Trace(TraceId::FindLeaderboardSuccess);
    currentLeaderboard_ = record->m_hSteamLeaderboard;
}

void CSteamLeaderboards::OnUploadScore(LeaderboardScoreUploaded_t*, bool) {
    Trace(TraceId::ScoresUploaded);
}

}  // namespace steambridge
