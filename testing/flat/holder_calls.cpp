// Reads and writes holder fields and calls the holder's virtual table entries.
#include "holder_view.h"

namespace offline_steam {
namespace {

CallbackHolderView* View(void* holder) { return static_cast<CallbackHolderView*>(holder); }
const CallbackHolderView* View(const void* holder) {
    return static_cast<const CallbackHolderView*>(holder);
}

}  // namespace

void MarkHolderRegistered(void* holder, int callbackId) {
    View(holder)->callbackId = callbackId;
    View(holder)->flags = static_cast<uint8_t>(View(holder)->flags | kHolderRegisteredFlag);
}

void MarkHolderUnregistered(void* holder) {
    View(holder)->flags = static_cast<uint8_t>(View(holder)->flags & ~kHolderRegisteredFlag);
}

bool HolderFlagRegistered(const void* holder) {
    return (View(holder)->flags & kHolderRegisteredFlag) != 0;
}

int HolderCallbackId(const void* holder) { return View(holder)->callbackId; }

int HolderRecordSize(void* holder) { return View(holder)->vtable->recordSize(holder); }

void RunHolderCallback(void* holder, void* record) { View(holder)->vtable->run(holder, record); }

void RunHolderCallResult(void* holder, void* record, bool ioFailure, uint64_t call) {
    View(holder)->vtable->runWithCall(holder, record, ioFailure, call);
}

}  // namespace offline_steam
