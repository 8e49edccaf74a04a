// One run at a time on a state file: an advisory lock on "<state>.lock"
// beside it (flock on POSIX, LockFileEx on Windows), held until released or
// until the process ends, so a crashed run never leaves it held. The lock
// file itself stays: removing it would let two runs lock two different files.
#pragma once

#include <string>

namespace offline_steam {

// How long a run waits for another run's lock, in seconds:
// STEAMBRIDGE_OFFLINE_STATE_WAIT when it is a whole number 0..3600, else 10.
int StateLockWaitSeconds();

class StateLock {
public:
    StateLock() = default;
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;
    ~StateLock() { Release(); }

    // Locks the state file at `path`, waiting up to `waitSeconds` for another
    // run to let go. False with `error` set to one line naming `path` (and the
    // holder's process ID when it wrote one) when it is still held or the
    // lock file cannot be made.
    bool Acquire(const std::string& path, int waitSeconds, std::string* error);
    void Release();
    bool Held() const { return held_; }

private:
    bool held_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int file_ = -1;
#endif
};

}  // namespace offline_steam
