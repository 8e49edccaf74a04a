// Timing of queued records in frames of SteamAPI_RunCallbacks.
#include "record_queue.h"

#include <limits>
#include <utility>

#include "session.h"

namespace offline_steam {

void RecordQueue::Post(QueuedRecord record, int delayFrames) {
    // Delivery only ever happens inside a later RunCallbacks, so a delay below one means one.
    // Far-off delays are capped rather than left to overflow the frame count.
    const int frame = TheSession().Frame();
    const int delay = delayFrames < 1 ? 1 : delayFrames;
    record.dueFrame = delay > std::numeric_limits<int>::max() - frame
                          ? std::numeric_limits<int>::max()
                          : frame + delay;
    records_.push_back(std::move(record));
}

void RecordQueue::PostCallback(int callbackId, RecordBytes bytes, int delayFrames,
                               std::function<void()> onDelivered) {
    QueuedRecord record;
    record.callbackId = callbackId;
    record.bytes = std::move(bytes);
    record.onDelivered = std::move(onDelivered);
    Post(std::move(record), delayFrames);
}

void RecordQueue::PostStatsReceived(RecordBytes bytes, int delayFrames, uint64_t requestedFor) {
    QueuedRecord record;
    record.callbackId = kStatsReceivedId;
    record.bytes = std::move(bytes);
    record.announcesStats = true;
    record.requestedFor = requestedFor;
    Post(std::move(record), delayFrames);
}

void RecordQueue::PostCallResult(uint64_t call, int callbackId, RecordBytes bytes, bool ioFailure,
                                 int delayFrames, std::function<void()> onDelivered) {
    QueuedRecord record;
    record.onDelivered = std::move(onDelivered);
    record.callbackId = callbackId;
    record.bytes = std::move(bytes);
    record.call = call;
    record.ioFailure = ioFailure;
    Post(std::move(record), delayFrames);
}

bool RecordQueue::HoldsCallResult(uint64_t call) const {
    if (call == 0) return false;
    for (const QueuedRecord& record : records_)
        if (record.call == call) return true;
    return false;
}

std::vector<QueuedRecord> RecordQueue::TakeDue(int frame) {
    std::vector<QueuedRecord> due;
    std::vector<QueuedRecord> later;
    for (QueuedRecord& record : records_) {
        (record.dueFrame <= frame ? due : later).push_back(std::move(record));
    }
    records_ = std::move(later);
    return due;
}

RecordQueue& TheRecordQueue() {
    static RecordQueue& queue = *new RecordQueue;  // never destroyed: see TheSession
    return queue;
}

}  // namespace offline_steam
