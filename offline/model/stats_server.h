// The user's stats and achievements: the client's view and the server's
// committed values, kept by Steam's rules for the schema in force.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "schema.h"

namespace offline_steam {

// Values are kept as double so float and integer stats share one store; integer
// reads truncate and saturate.
int32_t StatValueAsInt32(double value);

class StatsServer {
public:
    StatsServer();
    // The server's values from the scenario's start state; the client's view follows.
    void Reset();

    // A new session: the client's view is loaded from the server again.
    void BeginSession();
    bool StatsAvailable() const { return statsAvailable_; }
    void NoteStatsReceived(int32_t result, uint64_t gameId, uint64_t ownGameId);

    bool ClientStat(int index, double* value) const;
    void SetClientStat(int index, double value) { stats_[index].clientValue = value; }

    void UnlockOnClient(int achievementIndex, uint32_t clock);
    void ClearOnClient(int achievementIndex);
    void AchievementOnClient(int achievementIndex, bool* achieved, uint32_t* unlockTime) const;
    void ResetAll(bool achievementsToo);

    struct Rejection {
        int statIndex;
        std::string reason;
    };
    struct StoreOutcome {
        int32_t result;
        int call;                        // 1 for the first store of the process
        std::vector<int> newlyUnlocked;  // achievement indexes, in schema order
        std::vector<Rejection> rejected;
    };
    // Commits the client's changes by the schema's rules, applies the progress
    // rule, answers with a result code. A store fault or the rate limit
    // answers its code and commits nothing: the changes stay pending.
    StoreOutcome Store(uint32_t clock);
    void ForceNextStoreResult(int32_t result);
    void RefuseNextStore() { refuseNextStore_ = true; }
    // True once after refuseNextStore: that store answers false.
    bool TakeStoreRefusal() { return std::exchange(refuseNextStore_, false); }
    // Changes set on the client and not yet committed.
    bool HasPendingChanges() const;

    // Display attribute for "name", "desc" or "hidden" in `language`; "" for an unknown key.
    const char* DisplayAttribute(int achievementIndex, const char* key,
                                 const std::string& language) const;
    void OverrideDisplayAttribute(int achievementIndex, const char* key, const char* value);

    void SetRange(int statIndex, int32_t minimum, int32_t maximum);
    void SetStatFromOtherDevice(int statIndex, int32_t value);
    void SetAchievementFromOtherDevice(int achievementIndex, bool achieved, uint32_t clock);
    double ServerStatValue(int statIndex) const { return stats_[statIndex].serverValue; }
    int32_t ServerStat(int statIndex) const;
    void ServerAchievement(int achievementIndex, bool* achieved, uint32_t* unlockTime) const;

    int StatsReceivedDelay() const { return statsReceivedDelay_; }
    void SetStatsReceivedDelay(int frames) { statsReceivedDelay_ = frames; }
    int32_t StatsReceivedResult() const { return statsReceivedResult_; }
    void SetStatsReceivedResult(int32_t result) { statsReceivedResult_ = result; }

private:
    struct StatState {
        double serverValue = 0;
        double clientValue = 0;
        bool hasMinimum = false;
        double minimum = 0;
        bool hasMaximum = false;
        double maximum = 0;
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

    bool ProgressReached(int achievementIndex) const;
    // Why Steam refuses the change of one stat, or "" when it takes it.
    std::string RefusalOf(int statIndex) const;
    // A result the scenario's faults give this store call, or 0.
    int32_t FaultResultFor(int call, uint32_t clock);

    std::vector<StatState> stats_;
    std::vector<AchievementState> achievements_;
    std::map<std::pair<int, std::string>, DisplayOverride> displayOverrides_;
    bool statsAvailable_ = false;
    bool hasForcedStoreResult_ = false;
    bool refuseNextStore_ = false;
    int32_t forcedStoreResult_ = 0;
    int statsReceivedDelay_ = 1;
    int32_t statsReceivedResult_ = 1;
    int storeCalls_ = 0;
    std::vector<bool> storeFaultsUsed_;
    std::deque<uint32_t> acceptedStoreTimes_;
};

StatsServer& TheStatsServer();

struct QueuedRecord;
// Each face calls this as it hands a record over: a stats-received record the
// simulator made means the stats have arrived, if its result and game ID agree;
// a record's onDelivered runs.
void NoteDelivered(const QueuedRecord& record);

}  // namespace offline_steam
