// Board creation, score keeping and ranking, answered through call results.
#include "leaderboards.h"

#include <cstring>

#include "record_queue.h"
#include "records.h"

namespace steam_sim {
namespace {

enum SortMethod : int { kSortNone = 0, kSortAscending = 1, kSortDescending = 2 };
enum UploadMethod : int { kUploadNone = 0, kUploadKeepBest = 1, kUploadForceUpdate = 2 };

// Starts above 32 bits so a caller that truncates a call handle is caught.
constexpr uint64_t kFirstCallHandle = 0x100000001ULL;
// A handle no board has: boards are numbered from 1.
constexpr uint64_t kUntrustedBoardHandle = 0xBAD0000000000001ULL;

bool isBetter(int sortMethod, int32_t candidate, int32_t current) {
    return sortMethod == kSortAscending ? candidate < current : candidate > current;
}

}  // namespace

void Leaderboards::reset() { *this = Leaderboards(); }

Leaderboards::Faults Leaderboards::takeFaults() {
    const Faults faults{failNextCallHandle_, failNextCallIo_, nextFindNotFound_};
    failNextCallHandle_ = false;
    failNextCallIo_ = false;
    nextFindNotFound_ = false;
    return faults;
}

uint64_t Leaderboards::nextCallHandle() {
    lastCallHandle_ = lastCallHandle_ == 0 ? kFirstCallHandle : lastCallHandle_ + 1;
    return lastCallHandle_;
}

const Leaderboards::Board* Leaderboards::boardNamed(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const Board& board : boards_) {
        if (board.name == name) return &board;
    }
    return nullptr;
}

Leaderboards::Board* Leaderboards::boardWithHandle(uint64_t handle) {
    for (Board& board : boards_) {
        if (board.handle == handle) return &board;
    }
    return nullptr;
}

uint64_t Leaderboards::findOrCreate(const char* name, int sortMethod, int displayType) {
    const Faults faults = takeFaults();
    if (faults.noCallHandle) return 0;
    if (name == nullptr || name[0] == '\0' || std::strlen(name) >= kNameBufferSize) return 0;
    const uint64_t call = nextCallHandle();
    if (faults.ioFailure) {
        // Nothing in an answer whose I/O failed can be trusted; this one
        // claims a board, so only a caller that heeds the failure stays right.
        recordQueue().postCallResult(call, kLeaderboardFindId,
                                     leaderboardFindRecord(kUntrustedBoardHandle, true), true,
                                     latencyFrames_);
        return call;
    }
    if (faults.findNotFound) {
        recordQueue().postCallResult(call, kLeaderboardFindId, leaderboardFindRecord(0, false),
                                     false, latencyFrames_);
        return call;
    }
    const Board* board = boardNamed(name);
    if (board == nullptr) {
        boards_.push_back(Board{name, boards_.size() + 1, sortMethod, displayType, false, 0});
        board = &boards_.back();
    }
    recordQueue().postCallResult(call, kLeaderboardFindId,
                                 leaderboardFindRecord(board->handle, true), false, latencyFrames_);
    return call;
}

uint64_t Leaderboards::uploadScore(uint64_t boardHandle, int uploadMethod, int32_t score) {
    const Faults faults = takeFaults();
    if (faults.noCallHandle) return 0;
    const uint64_t call = nextCallHandle();
    if (faults.ioFailure) {
        recordQueue().postCallResult(call, kScoreUploadedId,
                                     scoreUploadedRecord(false, boardHandle, score, false, 0, 0),
                                     true, latencyFrames_);
        return call;
    }
    Board* board = boardWithHandle(boardHandle);
    if (board == nullptr ||
        (uploadMethod != kUploadKeepBest && uploadMethod != kUploadForceUpdate)) {
        recordQueue().postCallResult(call, kScoreUploadedId,
                                     scoreUploadedRecord(false, boardHandle, score, false, 0, 0),
                                     false, latencyFrames_);
        return call;
    }
    // This user is the only one on the board, so any score of theirs ranks first.
    const int32_t previousRank = board->hasScore ? 1 : 0;
    bool changed = false;
    if (!board->hasScore) {
        changed = true;
    } else if (uploadMethod == kUploadForceUpdate) {
        changed = score != board->score;
    } else {
        changed = isBetter(board->sortMethod, score, board->score);
    }
    if (changed) {
        board->score = score;
        board->hasScore = true;
    }
    recordQueue().postCallResult(
        call, kScoreUploadedId,
        scoreUploadedRecord(true, boardHandle, score, changed, 1, previousRank), false,
        latencyFrames_);
    return call;
}

uint64_t Leaderboards::handleOf(const char* name) const {
    const Board* board = boardNamed(name);
    return board != nullptr ? board->handle : 0;
}

int Leaderboards::sortMethodOf(const char* name) const {
    const Board* board = boardNamed(name);
    return board != nullptr ? board->sortMethod : 0;
}

int Leaderboards::displayTypeOf(const char* name) const {
    const Board* board = boardNamed(name);
    return board != nullptr ? board->displayType : 0;
}

bool Leaderboards::scoreOf(const char* name, int32_t* score) const {
    const Board* board = boardNamed(name);
    if (board == nullptr || !board->hasScore) return false;
    if (score != nullptr) *score = board->score;
    return true;
}

Leaderboards& leaderboards() {
    static Leaderboards instance;
    return instance;
}

}  // namespace steam_sim
