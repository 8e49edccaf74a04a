// Which holders are registered for which callback ids and call handles.
#pragma once

#include <cstdint>
#include <vector>

namespace steam_sim {

class CallbackRegistry {
public:
    // Writes the id into the holder and sets its registered flag.
    void registerCallback(void* holder, int callbackId);
    // Clears the registered flag; the id stays in the holder.
    void unregisterCallback(void* holder);
    // Leaves the holder's fields alone.
    void registerCallResult(void* holder, uint64_t call);
    void unregisterCallResult(void* holder, uint64_t call);

    // In registration order.
    std::vector<void*> callbackHolders(int callbackId) const;
    bool isCallbackRegistered(const void* holder, int callbackId) const;
    std::vector<void*> callResultHolders(uint64_t call) const;
    bool isCallResultRegistered(const void* holder, uint64_t call) const;
    // Removes the registration; false when there was none.
    bool takeCallResult(const void* holder, uint64_t call);

    int registeredCallbackCount(int callbackId) const;
    int pendingCallResultCount() const { return static_cast<int>(callResults_.size()); }

    // Forgets every callback registration and clears the holders' flags.
    void dropCallbacks();
    void reset();

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

CallbackRegistry& callbackRegistry();

// The library's shutdown: drops every callback registration when told to
// (SteamSim_SetShutdownClearsHolderFlags), else keeps them as Valve's does.
void shutdownCallbackRegistry();

}  // namespace steam_sim
