// Scalar types, constants and callback records of the Steam client library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace steambridge {

using SteamAPICall_t = std::uint64_t;
using SteamLeaderboard_t = std::uint64_t;
using AppId_t = std::uint32_t;

enum EResult : std::int32_t {
    k_EResultOK = 1,
    k_EResultFail = 2,
    k_EResultInvalidParam = 8,
};

enum ELeaderboardSortMethod : std::int32_t {
    k_ELeaderboardSortMethodNone = 0,
    k_ELeaderboardSortMethodAscending = 1,
    k_ELeaderboardSortMethodDescending = 2,
};

enum ELeaderboardDisplayType : std::int32_t {
    k_ELeaderboardDisplayTypeNone = 0,
    k_ELeaderboardDisplayTypeNumeric = 1,
};

enum ELeaderboardUploadScoreMethod : std::int32_t {
    k_ELeaderboardUploadScoreMethodNone = 0,
    k_ELeaderboardUploadScoreMethodKeepBest = 1,
    k_ELeaderboardUploadScoreMethodForceUpdate = 2,
};

// A game ID names this application when it carries the app ID in its low
// 32 bits and 0 in its high 32 bits.
inline std::uint64_t GameIdOfApp(AppId_t appId) { return appId; }

// Steam IDs inside records are byte-aligned, so they are kept as raw bytes.
struct UnalignedSteamId {
    unsigned char bytes[8];

    std::uint64_t Value() const {
        std::uint64_t value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    void Set(std::uint64_t value) { std::memcpy(bytes, &value, sizeof value); }
};

// The library packs its records to 8 bytes on Windows and to 4 on Linux.
#if defined(_WIN32)
#pragma pack(push, 8)
#else
#pragma pack(push, 4)
#endif

struct UserStatsReceived_t {
    static constexpr int k_iCallback = 1101;
    std::uint64_t m_nGameID;
    std::int32_t m_eResult;
    UnalignedSteamId m_steamIDUser;
};

struct UserStatsStored_t {
    static constexpr int k_iCallback = 1102;
    std::uint64_t m_nGameID;
    std::int32_t m_eResult;
};

struct UserAchievementStored_t {
    static constexpr int k_iCallback = 1103;
    std::uint64_t m_nGameID;
    bool m_bGroupAchievement;
    char m_rgchAchievementName[128];
    std::uint32_t m_nCurProgress;
    std::uint32_t m_nMaxProgress;
};

struct LeaderboardFindResult_t {
    static constexpr int k_iCallback = 1104;
    SteamLeaderboard_t m_hSteamLeaderboard;
    std::uint8_t m_bLeaderboardFound;
};

struct LeaderboardScoreUploaded_t {
    static constexpr int k_iCallback = 1106;
    std::uint8_t m_bSuccess;
    SteamLeaderboard_t m_hSteamLeaderboard;
    std::int32_t m_nScore;
    std::uint8_t m_bScoreChanged;
    std::int32_t m_nGlobalRankNew;
    std::int32_t m_nGlobalRankPrevious;
};

#pragma pack(pop)

// The Windows library packs these records to 8 bytes, the Linux one to 4: on
// Windows each is 4 bytes longer and a leaderboard handle starts at 8.
#if defined(_WIN32)
constexpr std::size_t kRecordPadding = 4;
#else
constexpr std::size_t kRecordPadding = 0;
#endif
static_assert(sizeof(UserStatsReceived_t) == 20 + kRecordPadding, "stats received record");
static_assert(sizeof(UserStatsStored_t) == 12 + kRecordPadding, "stats stored record");
static_assert(sizeof(UserAchievementStored_t) == 148 + kRecordPadding, "achievement stored record");
static_assert(sizeof(LeaderboardFindResult_t) == 12 + kRecordPadding, "leaderboard find record");
static_assert(sizeof(LeaderboardScoreUploaded_t) == 28 + kRecordPadding, "score uploaded record");
static_assert(offsetof(LeaderboardScoreUploaded_t, m_hSteamLeaderboard) == 4 + kRecordPadding,
              "score uploaded board");
static_assert(offsetof(LeaderboardScoreUploaded_t, m_nScore) == 12 + kRecordPadding,
              "score uploaded score");
static_assert(offsetof(LeaderboardScoreUploaded_t, m_bScoreChanged) == 16 + kRecordPadding,
              "score uploaded changed");
static_assert(offsetof(LeaderboardScoreUploaded_t, m_nGlobalRankNew) == 20 + kRecordPadding,
              "score uploaded new rank");
static_assert(offsetof(LeaderboardScoreUploaded_t, m_nGlobalRankPrevious) == 24 + kRecordPadding,
              "score uploaded old rank");
static_assert(offsetof(UserStatsReceived_t, m_eResult) == 8, "stats received result");
static_assert(offsetof(UserStatsReceived_t, m_steamIDUser) == 12, "stats received user");
static_assert(offsetof(UserStatsStored_t, m_eResult) == 8, "stats stored result");
static_assert(offsetof(UserAchievementStored_t, m_bGroupAchievement) == 8,
              "achievement stored group");
static_assert(offsetof(UserAchievementStored_t, m_rgchAchievementName) == 9,
              "achievement stored name");
static_assert(offsetof(UserAchievementStored_t, m_nCurProgress) == 140,
              "achievement stored progress");
static_assert(offsetof(UserAchievementStored_t, m_nMaxProgress) == 144, "achievement stored max");
static_assert(offsetof(LeaderboardFindResult_t, m_bLeaderboardFound) == 8, "find result found");

}  // namespace steambridge
