// Stat validation, commits, the progress rule and achievement state.
#include "stats_server.h"

#include <cstring>

#include "face.h"
#include "record_queue.h"
#include "records.h"
#include "session.h"

namespace steam_sim {
namespace {

bool withinRange(double value, int32_t minimum, int32_t maximum) {
    // Written so that NaN fails too.
    return value >= minimum && value <= maximum;
}

}  // namespace

int32_t statValueAsInt32(double value) {
    if (value != value) return 0;
    if (value <= INT32_MIN) return INT32_MIN;
    if (value >= INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

StatsServer::StatsServer() { reset(); }

void StatsServer::reset() {
    for (StatState& stat : stats_) stat = StatState();
    for (AchievementState& achievement : achievements_) achievement = AchievementState();
    displayOverrides_.clear();
    statsAvailable_ = !statsArriveOnRequest();
    hasForcedStoreResult_ = false;
    forcedStoreResult_ = 0;
    statsReceivedDelay_ = 1;
    statsReceivedResult_ = kResultOk;
}

void StatsServer::beginSession() {
    for (StatState& stat : stats_) stat.clientValue = stat.serverValue;
    for (AchievementState& achievement : achievements_) {
        achievement.clientAchieved = achievement.serverAchieved;
        achievement.clientTime = achievement.serverTime;
    }
    statsAvailable_ = !statsArriveOnRequest();
}

void StatsServer::noteStatsReceived(int32_t result, uint64_t gameId, uint64_t ownGameId) {
    // Another game's stats, or a failed request, leave this game's stats unloaded.
    if (result == kResultOk && gameId == ownGameId) statsAvailable_ = true;
}

bool StatsServer::clientStat(int index, double* value) const {
    if (!statsAvailable_) return false;
    *value = stats_[index].clientValue;
    return true;
}

void StatsServer::unlockOnClient(int achievementIndex, uint32_t clock) {
    AchievementState& achievement = achievements_[achievementIndex];
    if (achievement.clientAchieved) return;
    achievement.clientAchieved = true;
    achievement.clientTime = clock;
}

void StatsServer::achievementOnClient(int achievementIndex, bool* achieved,
                                      uint32_t* unlockTime) const {
    const AchievementState& achievement = achievements_[achievementIndex];
    *achieved = achievement.clientAchieved;
    *unlockTime = achievement.clientAchieved ? achievement.clientTime : 0;
}

void StatsServer::resetAll(bool achievementsToo) {
    for (StatState& stat : stats_) {
        stat.serverValue = 0;
        stat.clientValue = 0;
    }
    if (!achievementsToo) return;
    for (AchievementState& achievement : achievements_) achievement = AchievementState();
}

bool StatsServer::progressReached(int achievementIndex) const {
    for (int i = 0; i < kStatCount; ++i) {
        const StatDefinition& definition = statDefinition(i);
        if (definition.linkedAchievementNumber == achievementIndex + 1 &&
            stats_[i].serverValue >= definition.target) {
            return true;
        }
    }
    return false;
}

StatsServer::StoreOutcome StatsServer::store(uint32_t clock) {
    StoreOutcome outcome{kResultOk, {}};
    bool anyRejected = false;
    for (StatState& stat : stats_) {
        if (stat.clientValue == stat.serverValue) continue;
        if (withinRange(stat.clientValue, stat.minimum, stat.maximum)) {
            stat.serverValue = stat.clientValue;
        } else {
            anyRejected = true;
            stat.clientValue = stat.serverValue;
        }
    }
    for (int i = 0; i < kAchievementCount; ++i) {
        AchievementState& achievement = achievements_[i];
        if (achievement.serverAchieved) continue;
        if (achievement.clientAchieved) {
            achievement.serverAchieved = true;
            achievement.serverTime = achievement.clientTime;
        } else if (progressReached(i)) {
            achievement.serverAchieved = true;
            achievement.serverTime = clock;
            achievement.clientAchieved = true;
            achievement.clientTime = clock;
        } else {
            continue;
        }
        outcome.newlyUnlocked.push_back(i);
    }
    outcome.result = anyRejected ? kResultInvalidParam : kResultOk;
    if (hasForcedStoreResult_) {
        outcome.result = forcedStoreResult_;
        hasForcedStoreResult_ = false;
    }
    return outcome;
}

void StatsServer::forceNextStoreResult(int32_t result) {
    hasForcedStoreResult_ = true;
    forcedStoreResult_ = result;
}

const char* StatsServer::displayAttribute(int achievementIndex, const char* key) const {
    if (key == nullptr) return "";
    const auto found = displayOverrides_.find({achievementIndex, key});
    if (found != displayOverrides_.end())
        return found->second.isNull ? nullptr : found->second.text.c_str();
    const AchievementDefinition& definition = achievementDefinition(achievementIndex);
    if (std::strcmp(key, "name") == 0) return definition.displayName;
    if (std::strcmp(key, "desc") == 0) return definition.description;
    if (std::strcmp(key, "hidden") == 0) return definition.hidden ? "1" : "0";
    return "";
}

void StatsServer::overrideDisplayAttribute(int achievementIndex, const char* key,
                                           const char* value) {
    if (key == nullptr) return;
    displayOverrides_[{achievementIndex, key}] =
        DisplayOverride{value == nullptr, value != nullptr ? value : ""};
}

void StatsServer::setRange(int statIndex, int32_t minimum, int32_t maximum) {
    stats_[statIndex].minimum = minimum;
    stats_[statIndex].maximum = maximum;
}

void StatsServer::setStatFromOtherDevice(int statIndex, int32_t value) {
    stats_[statIndex].serverValue = value;
    stats_[statIndex].clientValue = value;
}

void StatsServer::setAchievementFromOtherDevice(int achievementIndex, bool achieved,
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

int32_t StatsServer::serverStat(int statIndex) const {
    return statValueAsInt32(stats_[statIndex].serverValue);
}

void StatsServer::serverAchievement(int achievementIndex, bool* achieved,
                                    uint32_t* unlockTime) const {
    const AchievementState& achievement = achievements_[achievementIndex];
    *achieved = achievement.serverAchieved;
    *unlockTime = achievement.serverAchieved ? achievement.serverTime : 0;
}

StatsServer& statsServer() {
    static StatsServer server;
    return server;
}

void noteDelivered(const QueuedRecord& record) {
    StatsReceivedRecord received;
    if (!record.announcesStats || record.bytes.size() != sizeof received) return;
    std::memcpy(&received, record.bytes.data(), sizeof received);
    statsServer().noteStatsReceived(received.result, received.gameId, session().ownGameId());
}

}  // namespace steam_sim
