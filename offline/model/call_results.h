// Call results Steam has finished and the game has not read yet. Each is read
// once, by whichever asks first: Valve's library answering a
// SteamAPICallCompleted_t (Steam_GetAPICallResult), or the game polling
// ISteamUtils (IsAPICallCompleted, GetAPICallResult, GetAPICallFailureReason).
// A call still in the record queue is pending. Callers hold the ModelGuard.
#pragma once

#include <cstdint>
#include <map>

#include "records.h"

namespace offline_steam {

// Steam's ESteamAPICallFailure (isteamutils.h).
enum class CallFailure : int32_t {
    None = -1,               // no failure: pending, or finished and sound
    SteamGone = 0,           // the local Steam process has gone away
    NetworkFailure = 1,      // finished with an I/O failure
    InvalidHandle = 2,       // no such call, or its result was already read
    MismatchedCallback = 3,  // read with the wrong callback type (or size)
};

class FinishedCalls {
public:
    void Finish(uint64_t call, int callbackId, RecordBytes bytes, bool ioFailure);

    // IsAPICallCompleted: true when finished and not yet read, *failed its I/O
    // failure; a pending call is false with *failed false, an unknown one
    // false with *failed true (GetAPICallFailureReason says why).
    bool Completed(uint64_t call, bool* failed) const;
    CallFailure FailureReason(uint64_t call) const;

    enum class Read { Done, NotFinished, Mismatch };
    // Copies the result into `buffer` and forgets it, *failed its I/O failure.
    // A wrong callback ID, a size other than the record's or no buffer is a
    // Mismatch: the result stays for a reader that asks right.
    Read Take(uint64_t call, void* buffer, int size, int expectedCallbackId, bool* failed);

    void Clear() { calls_.clear(); }

private:
    struct Finished {
        int callbackId = 0;
        RecordBytes bytes;
        bool ioFailure = false;
        bool mismatched = false;  // last read asked for another callback or size
    };
    std::map<uint64_t, Finished> calls_;
};

// The client face's finished calls.
FinishedCalls& TheFinishedCalls();

}  // namespace offline_steam
