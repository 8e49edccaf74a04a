// Records waiting for a later SteamAPI_RunCallbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "records.h"

namespace offline_steam {

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
    // What the model learns when the record is handed over: data a request
    // fetched becomes readable then, as on Steam (NoteDelivered).
    std::function<void()> onDelivered;
};

class RecordQueue {
public:
    // delayFrames 1 means the next SteamAPI_RunCallbacks.
    void PostCallback(int callbackId, RecordBytes bytes, int delayFrames,
                      std::function<void()> onDelivered = {});
    void PostStatsReceived(RecordBytes bytes, int delayFrames, uint64_t requestedFor);
    void PostCallResult(uint64_t call, int callbackId, RecordBytes bytes, bool ioFailure,
                        int delayFrames, std::function<void()> onDelivered = {});

    // Whether a call result for `call` waits to be delivered (the call is pending).
    bool HoldsCallResult(uint64_t call) const;
    // Removes and returns, in posting order, the records due at this frame.
    std::vector<QueuedRecord> TakeDue(int frame);
    void Clear() { records_.clear(); }

private:
    void Post(QueuedRecord record, int delayFrames);

    std::vector<QueuedRecord> records_;
};

RecordQueue& TheRecordQueue();

}  // namespace offline_steam
