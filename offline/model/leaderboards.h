// Leaderboards of the simulated server, their call results and injectable faults.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "records.h"

namespace offline_steam {

// Steam keeps at most this many details per entry (k_cLeaderboardDetailsMax).
constexpr int kLeaderboardDetailsMax = 64;

class Leaderboards {
public:
    // The scenario's boards and the user's scores from its start state.
    void Reset();

    // Each returns the call handle of the queued answer, or 0 when the call failed.
    uint64_t Find(const char* name, bool createMissing, int sortMethod, int displayType);
    uint64_t UploadScore(uint64_t boardHandle, int uploadMethod, int32_t score,
                         const int32_t* details, int detailCount);
    // k_ELeaderboardDataRequestFriends ranks the user and the scenario's
    // friends that have an entry.
    uint64_t DownloadEntries(uint64_t boardHandle, int request, int rangeStart, int rangeEnd);
    // The named users' entries (at most 100 users; more, none or a null list
    // make no call), in rank order.
    uint64_t DownloadEntriesForUsers(uint64_t boardHandle, const uint64_t* users, int count);
    // Attaches a UGC handle to the user's entry (LeaderboardUGCSet_t); the
    // downloaded entry carries it as m_hUGC.
    uint64_t AttachUgc(uint64_t boardHandle, uint64_t ugcHandle);
    // One entry of a finished download; false for an unknown handle or index.
    // Once every entry was read the download is freed and its handle invalid.
    bool DownloadedEntry(uint64_t entriesHandle, int index, LeaderboardEntryRecord* entry,
                         int32_t* details, int detailsMax);

    void FailNextCallHandle() { failNextCallHandle_ = true; }
    void FailNextCallIo() { failNextCallIo_ = true; }
    void NextFindNotFound() { nextFindNotFound_ = true; }
    void SetCallResultLatency(int frames) { latencyFrames_ = frames; }

    uint64_t HandleOf(const char* name) const;
    const char* NameOf(uint64_t boardHandle) const;  // null for an unknown handle
    int EntryCountOf(uint64_t boardHandle) const;
    int SortMethodOf(uint64_t boardHandle) const;
    int DisplayTypeOf(uint64_t boardHandle) const;
    int SortMethodOf(const char* name) const;
    int DisplayTypeOf(const char* name) const;
    bool ScoreOf(const char* name, int32_t* score) const;
    int Count() const { return static_cast<int>(boards_.size()); }
    // Board name to the user's score, for boards where the user has one.
    std::map<std::string, int32_t> UserScores() const;
    // Every board as a state file keeps it: how it sorts and shows, and the
    // details of the user's entry (none without one).
    struct KeptBoardState {
        std::string name;
        int sortMethod;
        int displayType;
        std::vector<int32_t> details;
    };
    std::vector<KeptBoardState> KeptBoards() const;

private:
    struct Entry {
        uint64_t steamId;
        int32_t score;
        std::vector<int32_t> details;
        uint64_t ugc = kUgcHandleInvalid;
    };
    // k_UGCHandleInvalid: an entry without attached content.
    static constexpr uint64_t kUgcHandleInvalid = ~uint64_t{0};
    struct Board {
        std::string name;
        uint64_t handle;
        int sortMethod;
        int displayType;
        std::vector<Entry> entries;  // kept in rank order
    };
    struct Faults {
        bool noCallHandle;
        bool ioFailure;
        bool notFound;
    };

    // The one-shot controls' faults, then the scenario's for this call and board.
    Faults TakeFaults(int call, const char* boardName);
    uint64_t NextCallHandle();
    const Board* BoardNamed(const char* name) const;
    const Board* BoardWithHandle(uint64_t handle) const;
    Board* BoardWithHandle(uint64_t handle);
    int RankOf(const Board& board, uint64_t steamId) const;  // 1-based, 0 when absent
    void SortEntries(Board& board);
    // Hands out the entries of these ranks (1-based, ascending) as a finished download.
    uint64_t QueueDownload(uint64_t call, const Board& board, const std::vector<int>& ranks,
                           bool ioFailure);

    std::vector<Board> boards_;
    // A finished download: the entries as handed out, and each one's details.
    struct Download {
        std::vector<LeaderboardEntryRecord> records;
        std::vector<std::vector<int32_t>> details;
        std::vector<bool> unread;  // the entries not yet read
        std::size_t unreadCount = 0;
    };
    std::map<uint64_t, Download> downloads_;
    std::vector<bool> scenarioFaultsUsed_;
    bool failNextCallHandle_ = false;
    bool failNextCallIo_ = false;
    bool nextFindNotFound_ = false;
    int latencyFrames_ = 1;
    uint64_t lastCallHandle_ = 0;
    uint64_t lastEntriesHandle_ = 0;
};

Leaderboards& TheLeaderboards();

}  // namespace offline_steam
