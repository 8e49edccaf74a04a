// Finished call results, read once by whoever asks first.
#include "call_results.h"

#include <cstring>
#include <utility>

#include "record_queue.h"

namespace offline_steam {

void FinishedCalls::Finish(uint64_t call, int callbackId, RecordBytes bytes, bool ioFailure) {
    Finished& finished = calls_[call];
    finished.callbackId = callbackId;
    finished.bytes = std::move(bytes);
    finished.ioFailure = ioFailure;
    finished.mismatched = false;
}

bool FinishedCalls::Completed(uint64_t call, bool* failed) const {
    const auto found = calls_.find(call);
    bool ioFailure = false;
    bool completed = false;
    if (found != calls_.end()) {
        completed = true;
        ioFailure = found->second.ioFailure;
    } else {
        // Pending: not failed (yet). Unknown: failed, for an invalid handle.
        ioFailure = !TheRecordQueue().HoldsCallResult(call);
    }
    if (failed != nullptr) *failed = ioFailure;
    return completed;
}

CallFailure FinishedCalls::FailureReason(uint64_t call) const {
    const auto found = calls_.find(call);
    if (found == calls_.end()) {
        return TheRecordQueue().HoldsCallResult(call) ? CallFailure::None
                                                      : CallFailure::InvalidHandle;
    }
    if (found->second.mismatched) return CallFailure::MismatchedCallback;
    return found->second.ioFailure ? CallFailure::NetworkFailure : CallFailure::None;
}

FinishedCalls::Read FinishedCalls::Take(uint64_t call, void* buffer, int size,
                                        int expectedCallbackId, bool* failed) {
    const auto found = calls_.find(call);
    if (found == calls_.end()) return Read::NotFinished;
    Finished& finished = found->second;
    if (finished.callbackId != expectedCallbackId || buffer == nullptr || size < 0 ||
        static_cast<std::size_t>(size) != finished.bytes.size()) {
        finished.mismatched = true;
        return Read::Mismatch;
    }
    if (!finished.bytes.empty()) std::memcpy(buffer, finished.bytes.data(), finished.bytes.size());
    if (failed != nullptr) *failed = finished.ioFailure;
    calls_.erase(found);
    return Read::Done;
}

FinishedCalls& TheFinishedCalls() {
    static FinishedCalls& calls = *new FinishedCalls;  // never destroyed: see TheSession
    return calls;
}

}  // namespace offline_steam
