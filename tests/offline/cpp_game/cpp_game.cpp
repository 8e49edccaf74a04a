// A C++ game built on Valve's own SDK headers, the way Valve's sample game
// (SpaceWar) uses them: STEAM_CALLBACK members and CCallResult objects in a
// game object, SteamAPI_Init() (from 1.58 the header's inline one, which hands
// Valve's library the whole list of interface versions), SteamAPI_RunCallbacks()
// once per frame. The same source is compiled once per SDK release, natively
// and for the MSVC ABI (freestanding: no CRT, no STL, no exceptions, no RTTI).
//
// The session: start; SteamClient() and its warning hook; the user; the stats
// (requested and awaited where the release has RequestCurrentStats); read and
// set a stat, unlock an achievement, show another's progress, store and await
// both notices; find a board, upload a score and download the entries; the
// global achievement percentages, most achieved first; the DLC; the friends;
// shut down. One line per answer on stdout, for the test to hold to the
// scenario. Any step that fails ends the game with its status (below) and a
// line "cpp_game: FAILED at <step>: <why>". Its names are its scenario's
// (tests/offline/scenarios/cpp-game.json).
#include <stddef.h>
#include <stdint.h>

#include "steam/steam_api.h"

#if defined(CPP_GAME_FREESTANDING)
extern "C" {
__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long handle);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* buffer, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned int status);

// What the compiler and Valve's headers may call where there is no C library.
int _fltused = 0;
void* memset(void* target, int value, size_t size) {
    auto* bytes = static_cast<unsigned char*>(target);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(value);
    return target;
}
void* memcpy(void* target, const void* source, size_t size) {
    auto* to = static_cast<unsigned char*>(target);
    const auto* from = static_cast<const unsigned char*>(source);
    for (size_t i = 0; i < size; ++i) to[i] = from[i];
    return target;
}
size_t strlen(const char* text) {
    size_t size = 0;
    while (text[size] != '\0') ++size;
    return size;
}
// A pure virtual called through a base still under construction.
int _purecall() { ExitProcess(90); }
}
// Named by the deleting destructors of the headers' callback classes; the
// game never deletes one (its objects live on the stack).
void operator delete(void*) noexcept { ExitProcess(91); }
void operator delete(void*, size_t) noexcept { ExitProcess(91); }
#else
#include <stdio.h>
#include <string.h>
#endif

namespace {

// The game's exit statuses: 0 when the session ran to its end, else the step
// that failed.
enum Step {
    StepInit = 10,
    StepSteamClient,
    StepUser,
    StepStatsReceived,
    StepStat,
    StepAchievement,
    StepProgress,
    StepStore,
    StepFindBoard,
    StepUpload,
    StepDownload,
    StepGlobalPercentages,
    StepDlc,
    StepFriends,
};

const char* StepName(int step) {
    switch (step) {
        case StepInit:
            return "SteamAPI_Init";
        case StepSteamClient:
            return "SteamClient";
        case StepUser:
            return "user";
        case StepStatsReceived:
            return "RequestCurrentStats";
        case StepStat:
            return "GetStat/SetStat";
        case StepAchievement:
            return "SetAchievement";
        case StepProgress:
            return "IndicateAchievementProgress";
        case StepStore:
            return "StoreStats";
        case StepFindBoard:
            return "FindLeaderboard";
        case StepUpload:
            return "UploadLeaderboardScore";
        case StepDownload:
            return "DownloadLeaderboardEntries";
        case StepGlobalPercentages:
            return "RequestGlobalAchievementPercentages";
        case StepDlc:
            return "DLC";
        case StepFriends:
            return "friends";
        default:
            return "?";
    }
}

// How many frames an awaited callback or call result may take.
constexpr int kFrames = 300;

bool SameText(const char* left, const char* right) {
    while (*left != '\0' && *left == *right) {
        ++left;
        ++right;
    }
    return *left == *right;
}

// One line of output built piece by piece: no printf where there is no C library.
class Line {
public:
    Line& operator<<(const char* text) {
        for (; text != nullptr && *text != '\0' && size_ + 1 < sizeof(text_); ++text) {
            text_[size_++] = *text;
        }
        return *this;
    }
    Line& operator<<(int64_t value) {
        char digits[24];
        int count = 0;
        const bool negative = value < 0;
        uint64_t magnitude =
            negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        // Through 32-bit parts: a 32-bit MSVC-target build has no helper for
        // 64-bit division without its C library.
        uint32_t low = static_cast<uint32_t>(magnitude);
        if (magnitude >> 32 != 0) return *this << "(large)";
        do {
            digits[count++] = static_cast<char>('0' + low % 10);
            low /= 10;
        } while (low != 0);
        if (negative) digits[count++] = '-';
        while (count > 0 && size_ + 1 < sizeof(text_)) text_[size_++] = digits[--count];
        return *this;
    }
    Line& operator<<(int value) { return *this << static_cast<int64_t>(value); }
    Line& operator<<(uint32_t value) { return *this << static_cast<int64_t>(value); }
    Line& operator<<(bool value) { return *this << (value ? "true" : "false"); }
    // A percentage to one decimal place.
    Line& Percent(float value) {
        const int tenths = static_cast<int>(value * 10.0f + 0.5f);
        return *this << tenths / 10 << "." << tenths % 10;
    }
    void Out() { Write(1); }
    void Error() { Write(2); }

private:
    void Write(int stream) {
        text_[size_++] = '\n';
#if defined(CPP_GAME_FREESTANDING)
        unsigned long written = 0;
        WriteFile(GetStdHandle(stream == 1 ? static_cast<unsigned long>(-11)
                                           : static_cast<unsigned long>(-12)),
                  text_, static_cast<unsigned long>(size_), &written, nullptr);
#else
        fwrite(text_, 1, size_, stream == 1 ? stdout : stderr);
        fflush(stream == 1 ? stdout : stderr);
#endif
        size_ = 0;
    }
    char text_[512];
    size_t size_ = 0;
};

void Say(const char* text) {
    Line line;
    line << text;
    line.Out();
}

int Fail(int step, const char* why) {
    Line line;
    line << "cpp_game: FAILED at " << StepName(step) << ": " << why << " (exit " << step << ")";
    line.Error();
    return step;
}

// Valve's sample hands this to SteamClient()->SetWarningMessageHook.
extern "C" void S_CALLTYPE WarningHook(int severity, const char* text) {
    Line line;
    line << "steam warning " << severity << ": " << text;
    line.Error();
}

// RequestCurrentStats left ISteamUserStats in 1.61, where the stats are there at start.
template <typename Stats, typename = void>
struct HasRequestCurrentStats {
    static constexpr bool value = false;
};
template <typename Stats>
struct HasRequestCurrentStats<Stats, decltype(static_cast<void>(&Stats::RequestCurrentStats))> {
    static constexpr bool value = true;
};

template <typename Stats>
bool RequestCurrentStats(Stats* stats) {
    if constexpr (HasRequestCurrentStats<Stats>::value) {
        return stats->RequestCurrentStats();
    } else {
        static_cast<void>(stats);
        return false;
    }
}

// The game's own names, as its scenario's schema has them.
constexpr const char* kAchievement = "ACH_WIN";
constexpr const char* kProgressAchievement = "ACH_TRAVEL";
constexpr const char* kStat = "STAT_DISTANCE";
constexpr int32 kStatValue = 120;
constexpr const char* kBoard = "Offline Board";
constexpr int32 kScore = 1234;

// The game object: its callbacks are registered while it lives, as in SpaceWar.
class Game {
public:
    int Play();

private:
    STEAM_CALLBACK(Game, OnUserStatsReceived, UserStatsReceived_t);
    STEAM_CALLBACK(Game, OnUserStatsStored, UserStatsStored_t);
    STEAM_CALLBACK(Game, OnAchievementStored, UserAchievementStored_t);
    void OnBoardFound(LeaderboardFindResult_t* found, bool ioFailure);
    void OnScoreUploaded(LeaderboardScoreUploaded_t* uploaded, bool ioFailure);
    void OnEntriesDownloaded(LeaderboardScoresDownloaded_t* downloaded, bool ioFailure);
    void OnPercentagesReady(GlobalAchievementPercentagesReady_t* ready, bool ioFailure);

    int User();
    int Stats();
    int Leaderboard();
    int GlobalPercentages();
    int Dlc();
    int Friends();

    CCallResult<Game, LeaderboardFindResult_t> findCall_;
    CCallResult<Game, LeaderboardScoreUploaded_t> uploadCall_;
    CCallResult<Game, LeaderboardScoresDownloaded_t> downloadCall_;
    CCallResult<Game, GlobalAchievementPercentagesReady_t> percentagesCall_;

    bool statsReceived_ = false;
    EResult statsResult_ = k_EResultFail;
    bool stored_ = false;
    EResult storeResult_ = k_EResultFail;
    bool unlockNoticed_ = false;
    bool progressNoticed_ = false;
    bool boardAnswered_ = false;
    SteamLeaderboard_t board_ = 0;
    bool uploadAnswered_ = false;
    bool uploadOk_ = false;
    bool downloadAnswered_ = false;
    SteamLeaderboardEntries_t entries_ = 0;
    int entryCount_ = 0;
    bool percentagesAnswered_ = false;
    EResult percentagesResult_ = k_EResultFail;
};

// Frames until the flag is set, as a game's loop runs them.
bool Await(const bool& done) {
    for (int frame = 0; frame < kFrames && !done; ++frame) SteamAPI_RunCallbacks();
    return done;
}

void Game::OnUserStatsReceived(UserStatsReceived_t* received) {
    if (received->m_nGameID != SteamUtils()->GetAppID()) return;
    statsReceived_ = true;
    statsResult_ = received->m_eResult;
}

void Game::OnUserStatsStored(UserStatsStored_t* stored) {
    stored_ = true;
    storeResult_ = stored->m_eResult;
}

void Game::OnAchievementStored(UserAchievementStored_t* stored) {
    Line line;
    line << "achievement stored: " << stored->m_rgchAchievementName << " progress "
         << stored->m_nCurProgress << "/" << stored->m_nMaxProgress;
    line.Out();
    // Steam tells an unlock with no progress, and progress with its maximum.
    if (SameText(stored->m_rgchAchievementName, kAchievement) && stored->m_nMaxProgress == 0)
        unlockNoticed_ = true;
    if (SameText(stored->m_rgchAchievementName, kProgressAchievement) &&
        stored->m_nMaxProgress != 0) {
        progressNoticed_ = true;
    }
}

void Game::OnBoardFound(LeaderboardFindResult_t* found, bool ioFailure) {
    boardAnswered_ = true;
    board_ = ioFailure || !found->m_bLeaderboardFound ? 0 : found->m_hSteamLeaderboard;
}

void Game::OnScoreUploaded(LeaderboardScoreUploaded_t* uploaded, bool ioFailure) {
    uploadAnswered_ = true;
    uploadOk_ = !ioFailure && uploaded->m_bSuccess != 0;
    Line line;
    line << "score uploaded: " << uploaded->m_nScore << " success " << uploadOk_ << " global rank "
         << uploaded->m_nGlobalRankNew;
    line.Out();
}

void Game::OnEntriesDownloaded(LeaderboardScoresDownloaded_t* downloaded, bool ioFailure) {
    downloadAnswered_ = true;
    if (ioFailure) return;
    entries_ = downloaded->m_hSteamLeaderboardEntries;
    entryCount_ = downloaded->m_cEntryCount;
}

void Game::OnPercentagesReady(GlobalAchievementPercentagesReady_t* ready, bool ioFailure) {
    percentagesAnswered_ = true;
    percentagesResult_ = ioFailure ? k_EResultIOFailure : ready->m_eResult;
}

int Game::User() {
    if (SteamUser() == nullptr || SteamFriends() == nullptr || SteamUtils() == nullptr) {
        return Fail(StepUser, "an accessor answered NULL");
    }
    if (!SteamUser()->BLoggedOn()) return Fail(StepUser, "BLoggedOn is false");
    const char* persona = SteamFriends()->GetPersonaName();
    if (persona == nullptr) return Fail(StepUser, "GetPersonaName answered NULL");
    Line line;
    line << "user: account " << SteamUser()->GetSteamID().GetAccountID() << " persona " << persona
         << " app " << SteamUtils()->GetAppID();
    line.Out();
    return 0;
}

int Game::Stats() {
    ISteamUserStats* stats = SteamUserStats();
    if (stats == nullptr) return Fail(StepStatsReceived, "SteamUserStats() is NULL");
    if constexpr (HasRequestCurrentStats<ISteamUserStats>::value) {
        if (!RequestCurrentStats(stats))
            return Fail(StepStatsReceived, "RequestCurrentStats answered false");
        if (!Await(statsReceived_)) return Fail(StepStatsReceived, "no UserStatsReceived_t");
        if (statsResult_ != k_EResultOK)
            return Fail(StepStatsReceived, "UserStatsReceived_t not OK");
        Say("stats received");
    }
    int32 before = -1;
    if (!stats->GetStat(kStat, &before)) return Fail(StepStat, "GetStat answered false");
    if (!stats->SetStat(kStat, kStatValue)) return Fail(StepStat, "SetStat answered false");
    int32 after = -1;
    if (!stats->GetStat(kStat, &after) || after != kStatValue)
        return Fail(StepStat, "GetStat does not read the set value");
    Line line;
    line << "stat " << kStat << ": " << before << " -> " << after;
    line.Out();

    bool achieved = true;
    if (!stats->GetAchievement(kAchievement, &achieved))
        return Fail(StepAchievement, "GetAchievement answered false");
    if (achieved) return Fail(StepAchievement, "the achievement is unlocked before the run");
    if (!stats->SetAchievement(kAchievement))
        return Fail(StepAchievement, "SetAchievement answered false");
    if (!stats->GetAchievement(kAchievement, &achieved) || !achieved) {
        return Fail(StepAchievement, "GetAchievement does not read the unlock");
    }
    if (!stats->IndicateAchievementProgress(kProgressAchievement, 50, 100)) {
        return Fail(StepProgress, "IndicateAchievementProgress answered false");
    }
    if (!Await(progressNoticed_))
        return Fail(StepProgress, "no UserAchievementStored_t with the progress");

    if (!stats->StoreStats()) return Fail(StepStore, "StoreStats answered false");
    if (!Await(stored_)) return Fail(StepStore, "no UserStatsStored_t");
    if (storeResult_ != k_EResultOK) return Fail(StepStore, "UserStatsStored_t not OK");
    if (!Await(unlockNoticed_)) return Fail(StepStore, "no UserAchievementStored_t for the unlock");
    Line stored;
    stored << "stored: " << kAchievement << " unlocked, " << kStat << " " << kStatValue;
    stored.Out();
    return 0;
}

int Game::Leaderboard() {
    ISteamUserStats* stats = SteamUserStats();
    findCall_.Set(stats->FindLeaderboard(kBoard), this, &Game::OnBoardFound);
    if (!Await(boardAnswered_)) return Fail(StepFindBoard, "no LeaderboardFindResult_t");
    if (board_ == 0) return Fail(StepFindBoard, "the board was not found");

    uploadCall_.Set(stats->UploadLeaderboardScore(board_, k_ELeaderboardUploadScoreMethodKeepBest,
                                                  kScore, nullptr, 0),
                    this, &Game::OnScoreUploaded);
    if (!Await(uploadAnswered_)) return Fail(StepUpload, "no LeaderboardScoreUploaded_t");
    if (!uploadOk_) return Fail(StepUpload, "the upload failed");

    downloadCall_.Set(
        stats->DownloadLeaderboardEntries(board_, k_ELeaderboardDataRequestGlobal, 1, 10), this,
        &Game::OnEntriesDownloaded);
    if (!Await(downloadAnswered_)) return Fail(StepDownload, "no LeaderboardScoresDownloaded_t");
    bool ownFound = false;
    for (int index = 0; index < entryCount_; ++index) {
        LeaderboardEntry_t entry;
        if (!stats->GetDownloadedLeaderboardEntry(entries_, index, &entry, nullptr, 0)) {
            return Fail(StepDownload, "GetDownloadedLeaderboardEntry answered false");
        }
        Line line;
        line << "entry " << entry.m_nGlobalRank << ": " << entry.m_nScore;
        line.Out();
        if (entry.m_steamIDUser == SteamUser()->GetSteamID() && entry.m_nScore == kScore)
            ownFound = true;
    }
    if (!ownFound) return Fail(StepDownload, "the user's own score is not among the entries");
    return 0;
}

int Game::GlobalPercentages() {
    ISteamUserStats* stats = SteamUserStats();
    percentagesCall_.Set(stats->RequestGlobalAchievementPercentages(), this,
                         &Game::OnPercentagesReady);
    if (!Await(percentagesAnswered_))
        return Fail(StepGlobalPercentages, "no GlobalAchievementPercentagesReady_t");
    if (percentagesResult_ != k_EResultOK)
        return Fail(StepGlobalPercentages, "the result is not OK");
    char name[128];
    float percent = 0;
    bool achieved = false;
    float previous = 101.0f;
    int count = 0;
    for (int iterator =
             stats->GetMostAchievedAchievementInfo(name, sizeof(name), &percent, &achieved);
         iterator != -1; iterator = stats->GetNextMostAchievedAchievementInfo(
                             iterator, name, sizeof(name), &percent, &achieved)) {
        if (percent > previous) return Fail(StepGlobalPercentages, "not most achieved first");
        previous = percent;
        Line line;
        line << "global: " << name << " ";
        line.Percent(percent) << " achieved " << achieved;
        line.Out();
        if (++count > 1000) return Fail(StepGlobalPercentages, "the iteration does not end");
    }
    return 0;
}

int Game::Dlc() {
    if (SteamApps() == nullptr) return Fail(StepDlc, "SteamApps() is NULL");
    const int count = SteamApps()->GetDLCCount();
    for (int index = 0; index < count; ++index) {
        AppId_t app = 0;
        bool available = false;
        char name[128];
        if (!SteamApps()->BGetDLCDataByIndex(index, &app, &available, name, sizeof(name))) {
            return Fail(StepDlc, "BGetDLCDataByIndex answered false");
        }
        Line line;
        // "available" is Steam's: the DLC has a store page, owned or not.
        line << "dlc: " << app << " " << name << " available " << available << " owned "
             << SteamApps()->BIsSubscribedApp(app) << " installed "
             << SteamApps()->BIsDlcInstalled(app);
        line.Out();
    }
    Line line;
    line << "dlc count: " << count;
    line.Out();
    return 0;
}

int Game::Friends() {
    const int count = SteamFriends()->GetFriendCount(k_EFriendFlagImmediate);
    for (int index = 0; index < count; ++index) {
        const CSteamID id = SteamFriends()->GetFriendByIndex(index, k_EFriendFlagImmediate);
        const char* name = SteamFriends()->GetFriendPersonaName(id);
        if (!id.IsValid() || name == nullptr)
            return Fail(StepFriends, "a friend without a valid ID or name");
        Line line;
        line << "friend: " << id.GetAccountID() << " " << name;
        line.Out();
    }
    Line line;
    line << "friend count: " << count;
    line.Out();
    return 0;
}

int Game::Play() {
    int status = User();
    if (status == 0) status = Stats();
    if (status == 0) status = Leaderboard();
    if (status == 0) status = GlobalPercentages();
    if (status == 0) status = Dlc();
    if (status == 0) status = Friends();
    return status;
}

int RunGame() {
    if (!SteamAPI_Init()) return Fail(StepInit, "SteamAPI_Init answered false");
    Say("started");
    int status = 0;
    if (SteamClient() == nullptr) {
        status = Fail(StepSteamClient, "SteamClient() is NULL");
    } else {
        SteamClient()->SetWarningMessageHook(&WarningHook);
        // The game object lives between the start and the shutdown, as SpaceWar's does.
        Game game;
        status = game.Play();
    }
    SteamAPI_Shutdown();
    if (status == 0) Say("shut down");
    return status;
}

}  // namespace

#if defined(CPP_GAME_FREESTANDING)
extern "C" void mainCRTStartup() { ExitProcess(static_cast<unsigned int>(RunGame())); }
#else
int main() { return RunGame(); }
#endif
