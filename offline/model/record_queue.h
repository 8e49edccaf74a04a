// Records waiting for a later SteamAPI_RunCallbacks.
#pragma once

#include <cstdint>
#include <vector>

#include "records.h"

namespace steam_sim {

struct QueuedRecord {
    int callbackId = 0;
    RecordBytes bytes;
    uint64_t call = 0;  // non-zero: a call result for the holders of this handle
    bool ioFailure = false;
    int dueFrame = 0;
    bool announcesStats = false;  // a stats-received record made by the simulator
    // The app's game ID when the stats were asked for: the record makes them
    // available when it is for that game, whatever the app ID became since.
    uint64_t requestedFor = 0;
};

class RecordQueue {
public:
    // delayFrames 1 means the next SteamAPI_RunCallbacks.
    void postCallback(int callbackId, RecordBytes bytes, int delayFrames);
    void postStatsReceived(RecordBytes bytes, int delayFrames, uint64_t requestedFor);
    void postCallResult(uint64_t call, int callbackId, RecordBytes bytes, bool ioFailure,
                        int delayFrames);

    // Removes and returns, in posting order, the records due at this frame.
    std::vector<QueuedRecord> takeDue(int frame);
    void clear() { records_.clear(); }

private:
    void post(QueuedRecord record, int delayFrames);

    std::vector<QueuedRecord> records_;
};

RecordQueue& recordQueue();

}  // namespace steam_sim
