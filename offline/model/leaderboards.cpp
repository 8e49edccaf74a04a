// Board creation, score keeping and ranking, answered through call results.
#include "leaderboards.h"

#include <algorithm>
#include <cstring>

#include "event_reports.h"
#include "record_queue.h"
#include "schema.h"
#include "session.h"

namespace offline_steam {
namespace {

enum SortMethod : int { kSortNone = 0, kSortAscending = 1, kSortDescending = 2 };
enum UploadMethod : int { kUploadNone = 0, kUploadKeepBest = 1, kUploadForceUpdate = 2 };
enum DataRequest : int { kRequestGlobal = 0, kRequestAroundUser = 1, kRequestFriends = 2 };
// DownloadLeaderboardEntriesForUsers takes at most this many users.
constexpr int kMaxUsersPerDownload = 100;

// Starts above 32 bits so a caller that truncates a call handle is caught.
constexpr uint64_t kFirstCallHandle = 0x100000001ULL;
constexpr uint64_t kFirstEntriesHandle = 0x200000001ULL;
// A handle no board has: boards are numbered from 1.
constexpr uint64_t kUntrustedBoardHandle = 0xBAD0000000000001ULL;

bool IsBetter(int sortMethod, int32_t candidate, int32_t current) {
    return sortMethod == kSortAscending ? candidate < current : candidate > current;
}

LeaderboardCall CallKind(int call) { return static_cast<LeaderboardCall>(call); }

}  // namespace

void Leaderboards::Reset() {
    *this = Leaderboards();
    const Scenario& scenario = ActiveScenario();
    for (const LeaderboardSchema& schema : scenario.leaderboards) {
        Board board{schema.name,
                    boards_.size() + 1,
                    static_cast<int>(schema.sort),
                    static_cast<int>(schema.display),
                    {}};
        for (const LeaderboardEntry& entry : schema.scores)
            board.entries.push_back({entry.steamId, entry.score, {}});
        boards_.push_back(std::move(board));
    }
    const uint64_t user = scenario.steamId;
    // Boards the game made in an earlier run, kept by the state file as made;
    // one the scenario names is as the scenario has it.
    for (const auto& [name, kept] : scenario.start.boards) {
        if (BoardNamed(name.c_str()) != nullptr) continue;
        boards_.push_back(Board{name,
                                boards_.size() + 1,
                                static_cast<int>(kept.sort),
                                static_cast<int>(kept.display),
                                {}});
    }
    for (const auto& [name, score] : scenario.start.leaderboards) {
        const Board* found = BoardNamed(name.c_str());
        if (found == nullptr) {
            // Kept by a state file older than its kept boards: as FindOrCreate's usual board.
            boards_.push_back(Board{name, boards_.size() + 1, kSortDescending, 1, {}});
            found = &boards_.back();
        }
        Board& board = *BoardWithHandle(found->handle);
        board.entries.erase(std::remove_if(board.entries.begin(), board.entries.end(),
                                           [user](const Entry& e) { return e.steamId == user; }),
                            board.entries.end());
        const auto kept = scenario.start.boards.find(name);
        board.entries.push_back(
            {user, score,
             kept != scenario.start.boards.end() ? kept->second.details : std::vector<int32_t>()});
    }
    for (Board& board : boards_) SortEntries(board);
    latencyFrames_ = scenario.faults.leaderboardLatencyFrames;
    scenarioFaultsUsed_.assign(scenario.faults.leaderboards.size(), false);
}

void Leaderboards::SortEntries(Board& board) {
    const int sort = board.sortMethod;
    std::stable_sort(
        board.entries.begin(), board.entries.end(),
        [sort](const Entry& a, const Entry& b) { return IsBetter(sort, a.score, b.score); });
}

Leaderboards::Faults Leaderboards::TakeFaults(int call, const char* boardName) {
    Faults faults{failNextCallHandle_, failNextCallIo_, nextFindNotFound_ && call == 0};
    failNextCallHandle_ = false;
    failNextCallIo_ = false;
    if (call == 0) nextFindNotFound_ = false;
    const std::vector<LeaderboardFault>& scenarioFaults = ActiveScenario().faults.leaderboards;
    for (std::size_t i = 0; i < scenarioFaults.size(); ++i) {
        const LeaderboardFault& fault = scenarioFaults[i];
        if (fault.call != CallKind(call) || (fault.once && scenarioFaultsUsed_[i])) continue;
        if (!fault.board.empty() && (boardName == nullptr || fault.board != boardName)) continue;
        scenarioFaultsUsed_[i] = true;
        switch (fault.kind) {
            case LeaderboardFaultKind::NotFound:
                faults.notFound = true;
                break;
            case LeaderboardFaultKind::IoFailure:
                faults.ioFailure = true;
                break;
            case LeaderboardFaultKind::ZeroCallHandle:
                faults.noCallHandle = true;
                break;
        }
    }
    return faults;
}

uint64_t Leaderboards::NextCallHandle() {
    lastCallHandle_ = lastCallHandle_ == 0 ? kFirstCallHandle : lastCallHandle_ + 1;
    return lastCallHandle_;
}

const Leaderboards::Board* Leaderboards::BoardNamed(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const Board& board : boards_) {
        if (board.name == name) return &board;
    }
    return nullptr;
}

const Leaderboards::Board* Leaderboards::BoardWithHandle(uint64_t handle) const {
    for (const Board& board : boards_) {
        if (board.handle == handle) return &board;
    }
    return nullptr;
}

Leaderboards::Board* Leaderboards::BoardWithHandle(uint64_t handle) {
    for (Board& board : boards_) {
        if (board.handle == handle) return &board;
    }
    return nullptr;
}

int Leaderboards::RankOf(const Board& board, uint64_t steamId) const {
    for (std::size_t i = 0; i < board.entries.size(); ++i)
        if (board.entries[i].steamId == steamId) return static_cast<int>(i + 1);
    return 0;
}

uint64_t Leaderboards::Find(const char* name, bool createMissing, int sortMethod, int displayType) {
    const Faults faults = TakeFaults(static_cast<int>(LeaderboardCall::Find), name);
    if (faults.noCallHandle) return 0;
    if (name == nullptr || name[0] == '\0' || std::strlen(name) >= kNameBufferSize) return 0;
    const uint64_t call = NextCallHandle();
    if (faults.ioFailure) {
        // Nothing in an answer whose I/O failed can be trusted; this one
        // claims a board, so only a caller that heeds the failure stays right.
        TheRecordQueue().PostCallResult(call, kLeaderboardFindId,
                                        MakeLeaderboardFindRecord(kUntrustedBoardHandle, true),
                                        true, latencyFrames_);
        return call;
    }
    const Board* board = faults.notFound ? nullptr : BoardNamed(name);
    if (board == nullptr && createMissing && !faults.notFound) {
        boards_.push_back(Board{name, boards_.size() + 1, sortMethod, displayType, {}});
        board = &boards_.back();
    }
    TheRecordQueue().PostCallResult(
        call, kLeaderboardFindId,
        MakeLeaderboardFindRecord(board ? board->handle : 0, board != nullptr), false,
        latencyFrames_);
    return call;
}

uint64_t Leaderboards::UploadScore(uint64_t boardHandle, int uploadMethod, int32_t score,
                                   const int32_t* details, int detailCount) {
    Board* board = BoardWithHandle(boardHandle);
    const Faults faults = TakeFaults(static_cast<int>(LeaderboardCall::Upload),
                                     board ? board->name.c_str() : nullptr);
    if (faults.noCallHandle) return 0;
    const uint64_t call = NextCallHandle();
    if (faults.ioFailure || board == nullptr ||
        (uploadMethod != kUploadKeepBest && uploadMethod != kUploadForceUpdate)) {
        TheRecordQueue().PostCallResult(
            call, kScoreUploadedId, MakeScoreUploadedRecord(false, boardHandle, score, false, 0, 0),
            faults.ioFailure, latencyFrames_);
        ReportScore(board ? board->name.c_str() : nullptr, score, false, false);
        return call;
    }
    const uint64_t user = TheSession().UserId();
    const int previousRank = RankOf(*board, user);
    if (previousRank == 0) board->entries.push_back({user, score, {}});
    Entry& entry = board->entries[previousRank == 0 ? board->entries.size() - 1
                                                    : static_cast<std::size_t>(previousRank - 1)];
    const bool changed =
        previousRank == 0 ||
        (uploadMethod == kUploadForceUpdate ? score != entry.score
                                            : IsBetter(board->sortMethod, score, entry.score));
    if (changed) {
        entry.score = score;
        entry.details.clear();
        if (details != nullptr)
            entry.details.assign(details,
                                 details + std::clamp(detailCount, 0, kLeaderboardDetailsMax));
        SortEntries(*board);
    }
    const int newRank = RankOf(*board, user);
    ReportScore(board->name.c_str(), score, changed, true);
    TheRecordQueue().PostCallResult(
        call, kScoreUploadedId,
        MakeScoreUploadedRecord(true, boardHandle, score, changed, newRank, previousRank), false,
        latencyFrames_);
    return call;
}

uint64_t Leaderboards::DownloadEntries(uint64_t boardHandle, int request, int rangeStart,
                                       int rangeEnd) {
    const Board* board = BoardWithHandle(boardHandle);
    const Faults faults = TakeFaults(static_cast<int>(LeaderboardCall::Download),
                                     board ? board->name.c_str() : nullptr);
    if (faults.noCallHandle || board == nullptr) return 0;
    const uint64_t call = NextCallHandle();
    const int count = static_cast<int>(board->entries.size());
    const int userRank = RankOf(*board, TheSession().UserId());
    std::vector<int> ranks;
    if (request == kRequestFriends) {
        // The user and the scenario's friends, those of them with an entry.
        const std::vector<Friend>& friends = ActiveScenario().friends;
        for (int rank = 1; rank <= count; ++rank) {
            const uint64_t steamId = board->entries[static_cast<std::size_t>(rank - 1)].steamId;
            const bool isFriend =
                std::any_of(friends.begin(), friends.end(),
                            [steamId](const Friend& other) { return other.steamId == steamId; });
            if (rank == userRank || isFriend) ranks.push_back(rank);
        }
    } else {
        int first = 1;
        int last = 0;
        if (request == kRequestGlobal) {
            first = rangeStart;
            last = rangeEnd;
        } else if (request == kRequestAroundUser && userRank > 0) {
            first = userRank + rangeStart;
            last = userRank + rangeEnd;
            // Near the top or the bottom the range is shifted, not cut: as
            // many rows come back as were asked for, where the board has them.
            if (first < 1) {
                last += 1 - first;
                first = 1;
            } else if (last > count) {
                first -= last - count;
                last = count;
            }
        }
        for (int rank = std::max(first, 1); rank <= std::min(last, count); ++rank)
            ranks.push_back(rank);
    }
    return QueueDownload(call, *board, ranks, faults.ioFailure);
}

uint64_t Leaderboards::DownloadEntriesForUsers(uint64_t boardHandle, const uint64_t* users,
                                               int count) {
    const Board* board = BoardWithHandle(boardHandle);
    const Faults faults = TakeFaults(static_cast<int>(LeaderboardCall::Download),
                                     board ? board->name.c_str() : nullptr);
    // "a max of 100 users can be downloaded at a time"
    if (faults.noCallHandle || board == nullptr || users == nullptr || count <= 0 ||
        count > kMaxUsersPerDownload)
        return 0;
    const uint64_t call = NextCallHandle();
    std::vector<int> ranks;
    for (int i = 0; i < count; ++i) {
        // A user without an entry is left out; one named twice comes once.
        const int rank = RankOf(*board, users[i]);
        if (rank > 0 && std::find(ranks.begin(), ranks.end(), rank) == ranks.end())
            ranks.push_back(rank);
    }
    std::sort(ranks.begin(), ranks.end());
    return QueueDownload(call, *board, ranks, faults.ioFailure);
}

uint64_t Leaderboards::QueueDownload(uint64_t call, const Board& board,
                                     const std::vector<int>& ranks, bool ioFailure) {
    Download download;
    for (const int rank : ranks) {
        const Entry& entry = board.entries[static_cast<std::size_t>(rank - 1)];
        LeaderboardEntryRecord record{};
        std::memcpy(record.userId.bytes, &entry.steamId, sizeof entry.steamId);
        record.globalRank = rank;
        record.score = entry.score;
        record.detailCount = static_cast<int32_t>(entry.details.size());
        record.ugcHandle = entry.ugc;
        download.records.push_back(record);
        download.details.push_back(entry.details);
    }
    const uint64_t entriesHandle = lastEntriesHandle_ =
        lastEntriesHandle_ == 0 ? kFirstEntriesHandle : lastEntriesHandle_ + 1;
    const int32_t entryCount = static_cast<int32_t>(download.records.size());
    download.unread.assign(download.records.size(), true);
    download.unreadCount = download.records.size();
    // An empty download has nothing to read: its handle is spent at once.
    if (entryCount > 0) downloads_[entriesHandle] = std::move(download);
    TheRecordQueue().PostCallResult(
        call, kScoresDownloadedId,
        MakeScoresDownloadedRecord(board.handle, entriesHandle, entryCount), ioFailure,
        latencyFrames_);
    return call;
}

uint64_t Leaderboards::AttachUgc(uint64_t boardHandle, uint64_t ugcHandle) {
    Board* board = BoardWithHandle(boardHandle);
    const uint64_t call = NextCallHandle();
    // The content goes on the user's own entry: a board without one refuses it.
    int32_t result = kResultInvalidParam;
    if (board != nullptr) {
        const int rank = RankOf(*board, TheSession().UserId());
        result = rank > 0 ? kResultOk : kResultFail;
        if (rank > 0) board->entries[static_cast<std::size_t>(rank - 1)].ugc = ugcHandle;
    }
    TheRecordQueue().PostCallResult(call, kLeaderboardUgcSetId,
                                    MakeLeaderboardUgcSetRecord(result, boardHandle), false,
                                    latencyFrames_);
    return call;
}

bool Leaderboards::DownloadedEntry(uint64_t entriesHandle, int index, LeaderboardEntryRecord* entry,
                                   int32_t* details, int detailsMax) {
    const auto found = downloads_.find(entriesHandle);
    if (found == downloads_.end() || index < 0 ||
        index >= static_cast<int>(found->second.records.size()) || entry == nullptr)
        return false;
    *entry = found->second.records[static_cast<std::size_t>(index)];
    const std::vector<int32_t>& kept = found->second.details[static_cast<std::size_t>(index)];
    if (details != nullptr && detailsMax > 0) {
        const std::size_t copied = std::min(kept.size(), static_cast<std::size_t>(detailsMax));
        std::copy(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(copied), details);
    }
    // "once you've accessed all the entries, the data will be free'd, and the
    // SteamLeaderboardEntries_t handle will become invalid" (isteamuserstats.h)
    Download& download = found->second;
    if (download.unread[static_cast<std::size_t>(index)]) {
        download.unread[static_cast<std::size_t>(index)] = false;
        if (--download.unreadCount == 0) downloads_.erase(found);
    }
    return true;
}

uint64_t Leaderboards::HandleOf(const char* name) const {
    const Board* board = BoardNamed(name);
    return board != nullptr ? board->handle : 0;
}

const char* Leaderboards::NameOf(uint64_t boardHandle) const {
    const Board* board = BoardWithHandle(boardHandle);
    return board != nullptr ? board->name.c_str() : nullptr;
}

int Leaderboards::EntryCountOf(uint64_t boardHandle) const {
    const Board* board = BoardWithHandle(boardHandle);
    return board != nullptr ? static_cast<int>(board->entries.size()) : 0;
}

int Leaderboards::SortMethodOf(uint64_t boardHandle) const {
    const Board* board = BoardWithHandle(boardHandle);
    return board != nullptr ? board->sortMethod : 0;
}

int Leaderboards::DisplayTypeOf(uint64_t boardHandle) const {
    const Board* board = BoardWithHandle(boardHandle);
    return board != nullptr ? board->displayType : 0;
}

int Leaderboards::SortMethodOf(const char* name) const {
    const Board* board = BoardNamed(name);
    return board != nullptr ? board->sortMethod : 0;
}

int Leaderboards::DisplayTypeOf(const char* name) const {
    const Board* board = BoardNamed(name);
    return board != nullptr ? board->displayType : 0;
}

bool Leaderboards::ScoreOf(const char* name, int32_t* score) const {
    const Board* board = BoardNamed(name);
    if (board == nullptr) return false;
    const int rank = RankOf(*board, TheSession().UserId());
    if (rank == 0) return false;
    if (score != nullptr) *score = board->entries[static_cast<std::size_t>(rank - 1)].score;
    return true;
}

std::map<std::string, int32_t> Leaderboards::UserScores() const {
    std::map<std::string, int32_t> scores;
    for (const Board& board : boards_) {
        int32_t score = 0;
        if (ScoreOf(board.name.c_str(), &score)) scores[board.name] = score;
    }
    return scores;
}

std::vector<Leaderboards::KeptBoardState> Leaderboards::KeptBoards() const {
    std::vector<KeptBoardState> kept;
    const uint64_t user = TheSession().UserId();
    for (const Board& board : boards_) {
        const int rank = RankOf(board, user);
        kept.push_back({board.name, board.sortMethod, board.displayType,
                        rank == 0 ? std::vector<int32_t>()
                                  : board.entries[static_cast<std::size_t>(rank - 1)].details});
    }
    return kept;
}

Leaderboards& TheLeaderboards() {
    static Leaderboards& instance = *new Leaderboards;  // never destroyed: see TheSession
    return instance;
}

}  // namespace offline_steam
