// Reads and writes holder fields and calls the holder's virtual table entries.
#include "holder_view.h"

namespace steam_sim {
namespace {

CallbackHolderView* view(void* holder) { return static_cast<CallbackHolderView*>(holder); }
const CallbackHolderView* view(const void* holder) {
    return static_cast<const CallbackHolderView*>(holder);
}

}  // namespace

void markHolderRegistered(void* holder, int callbackId) {
    view(holder)->callbackId = callbackId;
    view(holder)->flags = static_cast<uint8_t>(view(holder)->flags | kHolderRegisteredFlag);
}

void markHolderUnregistered(void* holder) {
    view(holder)->flags = static_cast<uint8_t>(view(holder)->flags & ~kHolderRegisteredFlag);
}

bool holderFlagRegistered(const void* holder) {
    return (view(holder)->flags & kHolderRegisteredFlag) != 0;
}

int holderCallbackId(const void* holder) { return view(holder)->callbackId; }

int holderRecordSize(void* holder) { return view(holder)->vtable->recordSize(holder); }

void runHolderCallback(void* holder, void* record) { view(holder)->vtable->run(holder, record); }

void runHolderCallResult(void* holder, void* record, bool ioFailure, uint64_t call) {
    view(holder)->vtable->runWithCall(holder, record, ioFailure, call);
}

}  // namespace steam_sim
