// Leaderboards of the simulated server, their call results and injectable faults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace steam_sim {

class Leaderboards {
public:
    void reset();

    // Both return the call handle of the queued answer, or 0 when the call failed.
    uint64_t findOrCreate(const char* name, int sortMethod, int displayType);
    uint64_t uploadScore(uint64_t boardHandle, int uploadMethod, int32_t score);

    void failNextCallHandle() { failNextCallHandle_ = true; }
    void failNextCallIo() { failNextCallIo_ = true; }
    void nextFindNotFound() { nextFindNotFound_ = true; }
    void setCallResultLatency(int frames) { latencyFrames_ = frames; }

    uint64_t handleOf(const char* name) const;
    int sortMethodOf(const char* name) const;
    int displayTypeOf(const char* name) const;
    bool scoreOf(const char* name, int32_t* score) const;
    int count() const { return static_cast<int>(boards_.size()); }

private:
    struct Board {
        std::string name;
        uint64_t handle;
        int sortMethod;
        int displayType;
        bool hasScore;
        int32_t score;
    };
    struct Faults {
        bool noCallHandle;
        bool ioFailure;
        bool findNotFound;
    };

    Faults takeFaults();
    uint64_t nextCallHandle();
    const Board* boardNamed(const char* name) const;
    Board* boardWithHandle(uint64_t handle);

    std::vector<Board> boards_;
    bool failNextCallHandle_ = false;
    bool failNextCallIo_ = false;
    bool nextFindNotFound_ = false;
    int latencyFrames_ = 1;
    uint64_t lastCallHandle_ = 0;
};

Leaderboards& leaderboards();

}  // namespace steam_sim
