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

namespace offline_steam {
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
bool SizeAgrees(void* holder, const QueuedRecord& record) {
    if (HolderRecordSize(holder) == static_cast<int>(record.bytes.size())) return true;
    ++sizeMismatches;
    return false;
}

// Each holder gets its own copy so one handler cannot alter what the next one sees.
RecordBytes CopyFor(const QueuedRecord& record) { return record.bytes; }

// False once a handler stopped, reset or restarted the session the records belong to.
bool SameSession(unsigned epoch) { return TheSession().Running() && TheSession().Epoch() == epoch; }

void DeliverCallback(const QueuedRecord& record, unsigned epoch) {
    // Snapshot, then re-check each holder: handlers may unregister others or themselves.
    for (void* holder : TheCallbackRegistry().CallbackHolders(record.callbackId)) {
        if (!SameSession(epoch)) return;
        if (!TheCallbackRegistry().IsCallbackRegistered(holder, record.callbackId)) continue;
        RecordBytes bytes = CopyFor(record);
        RunHolderCallback(holder, bytes.data());
    }
}

void DeliverCallResult(const QueuedRecord& record, unsigned epoch) {
    for (void* holder : TheCallbackRegistry().CallResultHolders(record.call)) {
        if (!SameSession(epoch)) return;
        if (!TheCallbackRegistry().IsCallResultRegistered(holder, record.call)) continue;
        if (!SizeAgrees(holder, record)) {
            TheCallbackRegistry().TakeCallResult(holder, record.call);
            continue;
        }
        RecordBytes bytes = CopyFor(record);
        RunHolderCallResult(holder, bytes.data(), record.ioFailure, record.call);
        // Dropped once run returns, as the real library does.
        TheCallbackRegistry().TakeCallResult(holder, record.call);
    }
}

}  // namespace

void RunCallbackFrame() {
    TheSession().AdvanceFrame();
    // A nested call from a handler delivers nothing, so records keep their order.
    if (!TheSession().Running() || delivering) return;
    DeliveringScope scope;
    // Taken out first: records queued by handlers wait for a later frame.
    const std::vector<QueuedRecord> due = TheRecordQueue().TakeDue(TheSession().Frame());
    const unsigned epoch = TheSession().Epoch();
    for (const QueuedRecord& record : due) {
        if (!SameSession(epoch)) return;
        NoteDelivered(record);
        if (record.call != 0) {
            DeliverCallResult(record, epoch);
        } else {
            DeliverCallback(record, epoch);
        }
    }
}

int SizeMismatchCount() { return sizeMismatches; }

void ResetDelivery() { sizeMismatches = 0; }

}  // namespace offline_steam
