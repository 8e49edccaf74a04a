// Stat validation, commits, the progress rule and achievement state.
#include "stats_server.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "event_reports.h"
#include "face.h"
#include "record_queue.h"
#include "records.h"
#include "session.h"

namespace offline_steam {
namespace {

// The shortest text that reads back as the value, whatever the C locale.
std::string FormatNumber(double value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

// At a session's start: the face has the stats already unless the scenario
// holds them back or fails them, or nobody is logged on.
bool StatsThereAtStart() {
    const Faults& faults = ActiveScenario().faults;
    return !StatsArriveOnRequest() && !faults.statsNever && faults.statsResult == kResultOk &&
           TheSession().LoggedOn();
}

}  // namespace

int32_t StatValueAsInt32(double value) {
    if (value != value) return 0;
    if (value <= INT32_MIN) return INT32_MIN;
    if (value >= INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

StatsServer::StatsServer() { Reset(); }

void StatsServer::Reset() {
    const Scenario& scenario = ActiveScenario();
    stats_.assign(scenario.stats.size(), StatState());
    for (std::size_t i = 0; i < stats_.size(); ++i) {
        const StatSchema& schema = scenario.stats[i];
        StatState& stat = stats_[i];
        stat.hasMinimum = schema.min.has_value();
        stat.minimum = schema.min.value_or(0);
        stat.hasMaximum = schema.max.has_value();
        stat.maximum = schema.max.value_or(0);
        const auto start = scenario.start.stats.find(schema.name);
        stat.serverValue =
            start != scenario.start.stats.end() ? start->second : schema.defaultValue;
        stat.clientValue = stat.serverValue;
    }
    achievements_.assign(scenario.achievements.size(), AchievementState());
    for (std::size_t i = 0; i < achievements_.size(); ++i) {
        const auto start = scenario.start.achievements.find(scenario.achievements[i].name);
        if (start == scenario.start.achievements.end()) continue;
        achievements_[i] = AchievementState{true, start->second, true, start->second};
    }
    displayOverrides_.clear();
    statsAvailable_ = StatsThereAtStart();
    hasForcedStoreResult_ = false;
    forcedStoreResult_ = 0;
    refuseNextStore_ = false;
    statsReceivedDelay_ = scenario.faults.statsDelayFrames;
    statsReceivedResult_ = scenario.faults.statsResult;
    storeCalls_ = 0;
    storeFaultsUsed_.assign(scenario.faults.stores.size(), false);
    acceptedStoreTimes_.clear();
}

void StatsServer::BeginSession() {
    for (StatState& stat : stats_) stat.clientValue = stat.serverValue;
    for (AchievementState& achievement : achievements_) {
        achievement.clientAchieved = achievement.serverAchieved;
        achievement.clientTime = achievement.serverTime;
    }
    statsAvailable_ = StatsThereAtStart();
}

void StatsServer::NoteStatsReceived(int32_t result, uint64_t gameId, uint64_t ownGameId) {
    // Another game's stats, or a failed request, leave this game's stats unloaded.
    if (result == kResultOk && gameId == ownGameId) statsAvailable_ = true;
}

bool StatsServer::ClientStat(int index, double* value) const {
    if (!statsAvailable_) return false;
    *value = stats_[index].clientValue;
    return true;
}

void StatsServer::UnlockOnClient(int achievementIndex, uint32_t clock) {
    AchievementState& achievement = achievements_[achievementIndex];
    if (achievement.clientAchieved) return;
    achievement.clientAchieved = true;
    achievement.clientTime = clock;
}

void StatsServer::ClearOnClient(int achievementIndex) {
    AchievementState& achievement = achievements_[achievementIndex];
    achievement.clientAchieved = false;
    achievement.clientTime = 0;
}

void StatsServer::AchievementOnClient(int achievementIndex, bool* achieved,
                                      uint32_t* unlockTime) const {
    const AchievementState& achievement = achievements_[achievementIndex];
    *achieved = achievement.clientAchieved;
    *unlockTime = achievement.clientAchieved ? achievement.clientTime : 0;
}

void StatsServer::ResetAll(bool achievementsToo) {
    for (std::size_t i = 0; i < stats_.size(); ++i) {
        stats_[i].serverValue = StatAt(static_cast<int>(i)).defaultValue;
        stats_[i].clientValue = stats_[i].serverValue;
    }
    if (!achievementsToo) return;
    for (AchievementState& achievement : achievements_) achievement = AchievementState();
}

bool StatsServer::ProgressReached(int achievementIndex) const {
    const AchievementSchema& schema = AchievementAt(achievementIndex);
    if (!schema.progress) return false;
    const int stat = StatIndex(schema.progress->stat.c_str());
    return stat >= 0 && stats_[stat].serverValue >= schema.progress->max;
}

std::string StatsServer::RefusalOf(int index) const {
    const StatState& stat = stats_[index];
    const StatSchema& schema = StatAt(index);
    const double value = stat.clientValue;
    // JSON, and so the state file, has neither; Steam refuses them as invalid.
    if (value != value) return "not a number";
    if (!std::isfinite(value)) return value > 0 ? "infinite" : "minus infinite";
    if (stat.hasMinimum && value < stat.minimum)
        return FormatNumber(value) + " is below its minimum " + FormatNumber(stat.minimum);
    if (stat.hasMaximum && value > stat.maximum)
        return FormatNumber(value) + " is above its maximum " + FormatNumber(stat.maximum);
    if (schema.incrementOnly && value < stat.serverValue)
        return "increment-only, lowered from " + FormatNumber(stat.serverValue) + " to " +
               FormatNumber(value);
    if (schema.maxChange && std::fabs(value - stat.serverValue) > *schema.maxChange)
        return "changed by " + FormatNumber(value - stat.serverValue) +
               ", more than its maxChange " + FormatNumber(*schema.maxChange);
    return std::string();
}

int32_t StatsServer::FaultResultFor(int call, uint32_t clock) {
    const Faults& faults = ActiveScenario().faults;
    for (std::size_t i = 0; i < faults.stores.size(); ++i) {
        const StoreFault& fault = faults.stores[i];
        if (call < fault.fromCall || (fault.once && storeFaultsUsed_[i])) continue;
        storeFaultsUsed_[i] = true;
        return fault.result;
    }
    if (faults.storeRateLimit) {
        const StoreRateLimit& limit = *faults.storeRateLimit;
        while (!acceptedStoreTimes_.empty() &&
               clock - acceptedStoreTimes_.front() >= static_cast<uint32_t>(limit.seconds))
            acceptedStoreTimes_.pop_front();
        if (static_cast<int>(acceptedStoreTimes_.size()) >= limit.stores)
            return kResultRateLimitExceeded;
    }
    return 0;
}

StatsServer::StoreOutcome StatsServer::Store(uint32_t clock) {
    StoreOutcome outcome{kResultOk, ++storeCalls_, {}, {}};
    if (const int32_t faulted = FaultResultFor(outcome.call, clock)) {
        outcome.result = faulted;
        return outcome;
    }
    acceptedStoreTimes_.push_back(clock);
    for (std::size_t i = 0; i < stats_.size(); ++i) {
        StatState& stat = stats_[i];
        if (stat.clientValue == stat.serverValue) continue;
        std::string refusal = RefusalOf(static_cast<int>(i));
        if (refusal.empty()) {
            stat.serverValue = stat.clientValue;
        } else {
            // Steam keeps its value and sends it back: the client's view reverts.
            outcome.rejected.push_back({static_cast<int>(i), std::move(refusal)});
            stat.clientValue = stat.serverValue;
        }
    }
    for (std::size_t i = 0; i < achievements_.size(); ++i) {
        AchievementState& achievement = achievements_[i];
        if (achievement.serverAchieved) {
            // A clear set on the client commits as a clear.
            if (achievement.clientAchieved) continue;
            achievement.serverAchieved = false;
            achievement.serverTime = 0;
            continue;
        }
        if (achievement.clientAchieved) {
            achievement.serverAchieved = true;
            achievement.serverTime = achievement.clientTime;
        } else if (ProgressReached(static_cast<int>(i))) {
            achievement.serverAchieved = true;
            achievement.serverTime = clock;
            achievement.clientAchieved = true;
            achievement.clientTime = clock;
        } else {
            continue;
        }
        outcome.newlyUnlocked.push_back(static_cast<int>(i));
    }
    outcome.result = outcome.rejected.empty() ? kResultOk : kResultInvalidParam;
    if (hasForcedStoreResult_) {
        outcome.result = forcedStoreResult_;
        hasForcedStoreResult_ = false;
    }
    return outcome;
}

void StatsServer::ForceNextStoreResult(int32_t result) {
    hasForcedStoreResult_ = true;
    forcedStoreResult_ = result;
}

bool StatsServer::HasPendingChanges() const {
    for (const StatState& stat : stats_)
        if (stat.clientValue != stat.serverValue) return true;
    for (const AchievementState& achievement : achievements_)
        if (achievement.clientAchieved != achievement.serverAchieved) return true;
    return false;
}

const char* StatsServer::DisplayAttribute(int achievementIndex, const char* key,
                                          const std::string& language) const {
    if (key == nullptr) return "";
    const auto found = displayOverrides_.find({achievementIndex, key});
    if (found != displayOverrides_.end())
        return found->second.isNull ? nullptr : found->second.text.c_str();
    const AchievementSchema& schema = AchievementAt(achievementIndex);
    if (std::strcmp(key, "name") == 0) return Localized(schema.displayName, language).c_str();
    if (std::strcmp(key, "desc") == 0) return Localized(schema.description, language).c_str();
    if (std::strcmp(key, "hidden") == 0) return schema.hidden ? "1" : "0";
    return "";
}

void StatsServer::OverrideDisplayAttribute(int achievementIndex, const char* key,
                                           const char* value) {
    if (key == nullptr) return;
    displayOverrides_[{achievementIndex, key}] =
        DisplayOverride{value == nullptr, value != nullptr ? value : ""};
}

void StatsServer::SetRange(int statIndex, int32_t minimum, int32_t maximum) {
    StatState& stat = stats_[statIndex];
    stat.hasMinimum = true;
    stat.minimum = minimum;
    stat.hasMaximum = true;
    stat.maximum = maximum;
}

void StatsServer::SetStatFromOtherDevice(int statIndex, int32_t value) {
    stats_[statIndex].serverValue = value;
    stats_[statIndex].clientValue = value;
}

void StatsServer::SetAchievementFromOtherDevice(int achievementIndex, bool achieved,
                                                uint32_t clock) {
    AchievementState& achievement = achievements_[achievementIndex];
    if (achieved && achievement.serverAchieved) {
        // Already unlocked there: the original unlock time stands.
    } else {
        achievement.serverAchieved = achieved;
        achievement.serverTime = achieved ? clock : 0;
    }
    achievement.clientAchieved = achieved;
    achievement.clientTime = achievement.serverTime;
}

int32_t StatsServer::ServerStat(int statIndex) const {
    return StatValueAsInt32(stats_[statIndex].serverValue);
}

void StatsServer::ServerAchievement(int achievementIndex, bool* achieved,
                                    uint32_t* unlockTime) const {
    const AchievementState& achievement = achievements_[achievementIndex];
    *achieved = achievement.serverAchieved;
    *unlockTime = achievement.serverAchieved ? achievement.serverTime : 0;
}

StatsServer& TheStatsServer() {
    static StatsServer& server = *new StatsServer;  // never destroyed: see TheSession
    return server;
}

void NoteDelivered(const QueuedRecord& record) {
    if (record.onDelivered) record.onDelivered();
    StatsReceivedRecord received;
    if (!record.announcesStats || record.bytes.size() != sizeof received) return;
    std::memcpy(&received, record.bytes.data(), sizeof received);
    TheStatsServer().NoteStatsReceived(received.result, received.gameId, record.requestedFor);
    ReportStatsReceived(received.result);
}

}  // namespace offline_steam
