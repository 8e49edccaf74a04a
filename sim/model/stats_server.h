// The user's stats and achievements: the client's view and the server's committed values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "schema.h"

namespace steam_sim {

// Values are kept as double so float and integer stats share one store; integer
// reads truncate and saturate.
int32_t statValueAsInt32(double value);

class StatsServer {
public:
    StatsServer();
    void reset();

    // A new session: the client's view is loaded from the server again.
    void beginSession();
    bool statsAvailable() const { return statsAvailable_; }
    void noteStatsReceived(int32_t result, uint64_t gameId, uint64_t ownGameId);

    bool clientStat(int index, double* value) const;
    void setClientStat(int index, double value) { stats_[index].clientValue = value; }

    void unlockOnClient(int achievementIndex, uint32_t clock);
    void achievementOnClient(int achievementIndex, bool* achieved, uint32_t* unlockTime) const;
    void resetAll(bool achievementsToo);

    struct StoreOutcome {
        int32_t result;
        std::vector<int> newlyUnlocked;  // achievement indexes, in schema order
    };
    // Commits the client's changes, applies the progress rule, answers with a result code.
    StoreOutcome store(uint32_t clock);
    void forceNextStoreResult(int32_t result);

    // Display attribute for "name", "desc" or "hidden"; "" for an unknown key.
    const char* displayAttribute(int achievementIndex, const char* key) const;
    void overrideDisplayAttribute(int achievementIndex, const char* key, const char* value);

    void setRange(int statIndex, int32_t minimum, int32_t maximum);
    void setStatFromOtherDevice(int statIndex, int32_t value);
    void setAchievementFromOtherDevice(int achievementIndex, bool achieved, uint32_t clock);
    int32_t serverStat(int statIndex) const;
    void serverAchievement(int achievementIndex, bool* achieved, uint32_t* unlockTime) const;

    int statsReceivedDelay() const { return statsReceivedDelay_; }
    void setStatsReceivedDelay(int frames) { statsReceivedDelay_ = frames; }
    int32_t statsReceivedResult() const { return statsReceivedResult_; }
    void setStatsReceivedResult(int32_t result) { statsReceivedResult_ = result; }

private:
    struct StatState {
        double serverValue = 0;
        double clientValue = 0;
        int32_t minimum = 0;
        int32_t maximum = 2000000000;
    };
    struct AchievementState {
        bool serverAchieved = false;
        uint32_t serverTime = 0;
        bool clientAchieved = false;
        uint32_t clientTime = 0;
    };
    struct DisplayOverride {
        bool isNull;
        std::string text;
    };

    bool progressReached(int achievementIndex) const;

    StatState stats_[kStatCount];
    AchievementState achievements_[kAchievementCount];
    std::map<std::pair<int, std::string>, DisplayOverride> displayOverrides_;
    bool statsAvailable_ = false;
    bool hasForcedStoreResult_ = false;
    int32_t forcedStoreResult_ = 0;
    int statsReceivedDelay_ = 1;
    int32_t statsReceivedResult_ = 1;
};

StatsServer& statsServer();

struct QueuedRecord;
// Each face calls this as it hands a record over: a stats-received record the
// simulator made means the stats have arrived, if its result and game ID agree.
void noteDelivered(const QueuedRecord& record);

}  // namespace steam_sim
