// Registration bookkeeping following the real library's holder contract.
#include "callback_registry.h"

#include <algorithm>

#include "holder_view.h"

namespace offline_steam {

void CallbackRegistry::RegisterCallback(void* holder, int callbackId) {
    if (holder == nullptr) return;
    // As in the real library, a holder registered twice is called twice.
    MarkHolderRegistered(holder, callbackId);
    callbacks_.push_back({holder, callbackId});
}

void CallbackRegistry::UnregisterCallback(void* holder) {
    if (holder == nullptr) return;
    callbacks_.erase(
        std::remove_if(callbacks_.begin(), callbacks_.end(),
                       [holder](const CallbackEntry& entry) { return entry.holder == holder; }),
        callbacks_.end());
    // Cleared even when not in the registry (e.g. after a simulator reset), as the holder asked.
    MarkHolderUnregistered(holder);
}

void CallbackRegistry::RegisterCallResult(void* holder, uint64_t call) {
    if (holder == nullptr || call == 0) return;
    for (const CallResultEntry& entry : callResults_) {
        if (entry.holder == holder && entry.call == call) return;
    }
    callResults_.push_back({holder, call});
}

void CallbackRegistry::UnregisterCallResult(void* holder, uint64_t call) {
    TakeCallResult(holder, call);
}

std::vector<void*> CallbackRegistry::CallbackHolders(int callbackId) const {
    std::vector<void*> holders;
    for (const CallbackEntry& entry : callbacks_) {
        if (entry.callbackId == callbackId) holders.push_back(entry.holder);
    }
    return holders;
}

bool CallbackRegistry::IsCallbackRegistered(const void* holder, int callbackId) const {
    return std::any_of(callbacks_.begin(), callbacks_.end(), [&](const CallbackEntry& entry) {
        return entry.holder == holder && entry.callbackId == callbackId;
    });
}

std::vector<void*> CallbackRegistry::CallResultHolders(uint64_t call) const {
    std::vector<void*> holders;
    for (const CallResultEntry& entry : callResults_) {
        if (entry.call == call) holders.push_back(entry.holder);
    }
    return holders;
}

bool CallbackRegistry::IsCallResultRegistered(const void* holder, uint64_t call) const {
    return std::any_of(callResults_.begin(), callResults_.end(), [&](const CallResultEntry& entry) {
        return entry.holder == holder && entry.call == call;
    });
}

bool CallbackRegistry::TakeCallResult(const void* holder, uint64_t call) {
    const auto found = std::find_if(
        callResults_.begin(), callResults_.end(),
        [&](const CallResultEntry& entry) { return entry.holder == holder && entry.call == call; });
    if (found == callResults_.end()) return false;
    callResults_.erase(found);
    return true;
}

int CallbackRegistry::RegisteredCallbackCount(int callbackId) const {
    int count = 0;
    for (const CallbackEntry& entry : callbacks_) {
        if (entry.callbackId == callbackId && HolderFlagRegistered(entry.holder)) ++count;
    }
    return count;
}

void CallbackRegistry::DropCallbacks() {
    for (const CallbackEntry& entry : callbacks_) MarkHolderUnregistered(entry.holder);
    callbacks_.clear();
}

void CallbackRegistry::Reset() {
    callbacks_.clear();
    callResults_.clear();
}

CallbackRegistry& TheCallbackRegistry() {
    static CallbackRegistry registry;
    return registry;
}

}  // namespace offline_steam
