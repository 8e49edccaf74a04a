// Which holders are registered for which callback ids and call handles.
#pragma once

#include <cstdint>
#include <vector>

namespace offline_steam {

class CallbackRegistry {
public:
    // Writes the id into the holder and sets its registered flag.
    void RegisterCallback(void* holder, int callbackId);
    // Clears the registered flag; the id stays in the holder.
    void UnregisterCallback(void* holder);
    // Leaves the holder's fields alone.
    void RegisterCallResult(void* holder, uint64_t call);
    void UnregisterCallResult(void* holder, uint64_t call);

    // In registration order.
    std::vector<void*> CallbackHolders(int callbackId) const;
    bool IsCallbackRegistered(const void* holder, int callbackId) const;
    std::vector<void*> CallResultHolders(uint64_t call) const;
    bool IsCallResultRegistered(const void* holder, uint64_t call) const;
    // Removes the registration; false when there was none.
    bool TakeCallResult(const void* holder, uint64_t call);

    int RegisteredCallbackCount(int callbackId) const;
    int PendingCallResultCount() const { return static_cast<int>(callResults_.size()); }

    // Forgets every callback registration and clears the holders' flags.
    void DropCallbacks();
    void Reset();

private:
    struct CallbackEntry {
        void* holder;
        int callbackId;
    };
    struct CallResultEntry {
        void* holder;
        uint64_t call;
    };

    std::vector<CallbackEntry> callbacks_;
    std::vector<CallResultEntry> callResults_;
};

CallbackRegistry& TheCallbackRegistry();

// The library's shutdown: drops every callback registration when told to
// (SteamSim_SetShutdownClearsHolderFlags), else keeps them as Valve's does.
void ShutdownCallbackRegistry();

}  // namespace offline_steam
