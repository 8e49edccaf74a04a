// Hands due records to holders, tolerating handlers that call back into the simulator.
#include "delivery.h"

#include <cstring>
#include <vector>

#include "callback_registry.h"
#include "face.h"
#include "holder_view.h"
#include "record_queue.h"
#include "records.h"
#include "session.h"
#include "stats_server.h"

namespace steam_sim {
namespace {

int sizeMismatches = 0;
bool delivering = false;

class DeliveringScope {
public:
    DeliveringScope() { delivering = true; }
    ~DeliveringScope() { delivering = false; }
    DeliveringScope(const DeliveringScope&) = delete;
    DeliveringScope& operator=(const DeliveringScope&) = delete;
};

// The real library sizes a call result's buffer by the holder's size entry and
// refuses one that does not match; ordinary callbacks it hands over unread.
bool sizeAgrees(void* holder, const QueuedRecord& record) {
    if (holderRecordSize(holder) == static_cast<int>(record.bytes.size())) return true;
    ++sizeMismatches;
    return false;
}

// Each holder gets its own copy so one handler cannot alter what the next one sees.
RecordBytes copyFor(const QueuedRecord& record) { return record.bytes; }

// False once a handler stopped, reset or restarted the session the records belong to.
bool sameSession(unsigned epoch) { return session().running() && session().epoch() == epoch; }

void deliverCallback(const QueuedRecord& record, unsigned epoch) {
    // Snapshot, then re-check each holder: handlers may unregister others or themselves.
    for (void* holder : callbackRegistry().callbackHolders(record.callbackId)) {
        if (!sameSession(epoch)) return;
        if (!callbackRegistry().isCallbackRegistered(holder, record.callbackId)) continue;
        RecordBytes bytes = copyFor(record);
        runHolderCallback(holder, bytes.data());
    }
}

void deliverCallResult(const QueuedRecord& record, unsigned epoch) {
    for (void* holder : callbackRegistry().callResultHolders(record.call)) {
        if (!sameSession(epoch)) return;
        if (!callbackRegistry().isCallResultRegistered(holder, record.call)) continue;
        if (!sizeAgrees(holder, record)) {
            callbackRegistry().takeCallResult(holder, record.call);
            continue;
        }
        RecordBytes bytes = copyFor(record);
        runHolderCallResult(holder, bytes.data(), record.ioFailure, record.call);
        // Dropped once run returns, as the real library does.
        callbackRegistry().takeCallResult(holder, record.call);
    }
}

}  // namespace

void runCallbackFrame() {
    session().advanceFrame();
    // A nested call from a handler delivers nothing, so records keep their order.
    if (!session().running() || delivering) return;
    DeliveringScope scope;
    // Taken out first: records queued by handlers wait for a later frame.
    const std::vector<QueuedRecord> due = recordQueue().takeDue(session().frame());
    const unsigned epoch = session().epoch();
    for (const QueuedRecord& record : due) {
        if (!sameSession(epoch)) return;
        noteDelivered(record);
        if (record.call != 0) {
            deliverCallResult(record, epoch);
        } else {
            deliverCallback(record, epoch);
        }
    }
}

int sizeMismatchCount() { return sizeMismatches; }

void resetDelivery() { sizeMismatches = 0; }

}  // namespace steam_sim
