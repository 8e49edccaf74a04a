// Steam's figures beyond the user's own stats, fetched through call results.
#include "global_stats.h"

#include <algorithm>
#include <cstring>

#include "record_queue.h"
#include "records.h"
#include "session.h"
#include "stats_server.h"

namespace offline_steam {
namespace {

// Above the leaderboards' handles (0x1_0000_0001...), so the two never meet.
constexpr uint64_t kFirstCallHandle = 0x300000001ULL;
// Steam's answers come on the next frame.
constexpr int kAnswerFrames = 1;
// RequestGlobalStats: "The limit is 60" days of history.
constexpr int kMaxHistoryDays = 60;

const OtherUserStats* ScenarioUser(uint64_t steamId) {
    for (const OtherUserStats& user : ActiveScenario().users)
        if (user.steamId == steamId) return &user;
    return nullptr;
}

}  // namespace

void GlobalStats::Reset() {
    *this = GlobalStats();
    // Most achieved first; equal shares in schema order.
    for (int i = 0; i < AchievementCount(); ++i)
        if (AchievementAt(i).globalPercent) byPercent_.push_back(i);
    std::stable_sort(byPercent_.begin(), byPercent_.end(), [](int a, int b) {
        return *AchievementAt(a).globalPercent > *AchievementAt(b).globalPercent;
    });
}

void GlobalStats::BeginSession() {
    percentagesAnswered_ = false;
    percentagesReady_ = false;
    users_.clear();
    answeredUsers_.clear();
    globalAnswered_ = false;
    globalReady_ = false;
    historyDays_ = 0;
}

uint64_t GlobalStats::NextCallHandle() {
    lastCallHandle_ = lastCallHandle_ == 0 ? kFirstCallHandle : lastCallHandle_ + 1;
    return lastCallHandle_;
}

uint64_t GlobalStats::RequestPercentages() {
    const uint64_t call = NextCallHandle();
    // k_EResultFail when Steam has no percentages for the game (or cannot be reached).
    const bool ok = TheSession().LoggedOn() && !byPercent_.empty();
    TheRecordQueue().PostCallResult(
        call, kGlobalPercentagesReadyId,
        MakeGameResultRecord(TheSession().RecordGameId(), ok ? kResultOk : kResultFail), false,
        kAnswerFrames, [ok] { TheGlobalStats().NotePercentages(ok); });
    return call;
}

int GlobalStats::AchievementByRank(int position) const {
    if (!percentagesReady_ || position < 0 || position >= static_cast<int>(byPercent_.size()))
        return -1;
    return byPercent_[static_cast<std::size_t>(position)];
}

bool GlobalStats::PercentOf(int achievementIndex, float* percent) const {
    if (!percentagesReady_ || achievementIndex < 0 || achievementIndex >= AchievementCount())
        return false;
    const std::optional<float>& share = AchievementAt(achievementIndex).globalPercent;
    if (!share) return false;
    if (percent != nullptr) *percent = *share;
    return true;
}

uint64_t GlobalStats::RequestUserStats(uint64_t steamId) {
    const uint64_t call = NextCallHandle();
    // "if the other user has no stats, UserStatsReceived_t.m_eResult will be
    // set to k_EResultFail": Steam holds stats for the user and the
    // scenario's other users only.
    const bool ok = TheSession().LoggedOn() &&
                    (steamId == TheSession().UserId() || ScenarioUser(steamId) != nullptr);
    TheRecordQueue().PostCallResult(
        call, kStatsReceivedId,
        MakeStatsReceivedRecord(TheSession().RecordGameId(), ok ? kResultOk : kResultFail, steamId),
        false, kAnswerFrames, [steamId, ok] { TheGlobalStats().NoteUser(steamId, ok); });
    return call;
}

void GlobalStats::NoteUser(uint64_t steamId, bool ok) {
    answeredUsers_.insert(steamId);
    if (!ok) {
        users_.erase(steamId);
        return;
    }
    // What Steam's server holds as the answer is handed over; "these stats
    // won't be auto-updated" until the next request.
    UserStats snapshot;
    const int stats = StatCount();
    const int achievements = AchievementCount();
    snapshot.stats.resize(static_cast<std::size_t>(stats));
    snapshot.achieved.resize(static_cast<std::size_t>(achievements));
    snapshot.unlockTimes.resize(static_cast<std::size_t>(achievements));
    const OtherUserStats* other =
        steamId == TheSession().UserId() ? nullptr : ScenarioUser(steamId);
    for (int i = 0; i < stats; ++i) {
        double value = StatAt(i).defaultValue;
        if (other == nullptr) {
            value = TheStatsServer().ServerStatValue(i);
        } else if (const auto given = other->stats.find(StatAt(i).name);
                   given != other->stats.end()) {
            value = given->second;
        }
        snapshot.stats[static_cast<std::size_t>(i)] = value;
    }
    for (int i = 0; i < achievements; ++i) {
        bool achieved = false;
        uint32_t time = 0;
        if (other == nullptr) {
            TheStatsServer().ServerAchievement(i, &achieved, &time);
        } else if (const auto unlocked = other->achievements.find(AchievementAt(i).name);
                   unlocked != other->achievements.end()) {
            achieved = true;
            time = unlocked->second;
        }
        snapshot.achieved[static_cast<std::size_t>(i)] = achieved;
        snapshot.unlockTimes[static_cast<std::size_t>(i)] = time;
    }
    users_[steamId] = std::move(snapshot);
}

const GlobalStats::UserStats* GlobalStats::ReceivedUser(uint64_t steamId) const {
    const auto found = users_.find(steamId);
    return found != users_.end() ? &found->second : nullptr;
}

uint64_t GlobalStats::RequestGlobalStats(int historyDays) {
    const uint64_t call = NextCallHandle();
    const int days = std::clamp(historyDays, 0, kMaxHistoryDays);
    const bool ok = TheSession().LoggedOn() && !ActiveScenario().globalStats.empty();
    TheRecordQueue().PostCallResult(
        call, kGlobalStatsReceivedId,
        MakeGameResultRecord(TheSession().RecordGameId(), ok ? kResultOk : kResultFail), false,
        kAnswerFrames, [ok, days] { TheGlobalStats().NoteGlobalStats(ok, days); });
    return call;
}

void GlobalStats::NoteGlobalStats(bool ok, int historyDays) {
    globalAnswered_ = true;
    globalReady_ = ok;
    historyDays_ = ok ? historyDays : 0;
}

const GlobalStat* GlobalStats::GlobalStatNamed(const char* name) const {
    if (!globalReady_ || name == nullptr) return nullptr;
    for (const GlobalStat& stat : ActiveScenario().globalStats)
        if (stat.name == name) return &stat;
    return nullptr;
}

uint64_t GlobalStats::RequestCurrentPlayers() {
    const uint64_t call = NextCallHandle();
    const std::optional<int32_t>& players = ActiveScenario().currentPlayers;
    const bool ok = TheSession().LoggedOn() && players.has_value();
    TheRecordQueue().PostCallResult(call, kCurrentPlayersId,
                                    MakeCurrentPlayersRecord(ok, ok ? *players : 0), false,
                                    kAnswerFrames);
    return call;
}

GlobalStats& TheGlobalStats() {
    static GlobalStats& instance = *new GlobalStats;  // never destroyed: see TheSession
    return instance;
}

}  // namespace offline_steam
