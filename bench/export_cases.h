// One case per export: the bridge call, the same client calls made directly, their housekeeping.
//
// Direct: what a game calling the flat API itself would do, with each
// interface asked for once per session. The bridge keeps its interfaces the
// same way, so both sides make the same client calls and the difference
// between them is the bridge's own code.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "bench_session.h"
#include "direct_client.h"
#include "steam_sim.h"
#include "steambridge.h"
#include "text/text_copy.h"
#include "text/wide_text.h"

namespace bench {

enum class Side { Bridge, Direct };

// The game's stats in the bridge's order, as a game would keep them.
inline constexpr int kStats = 24;
inline constexpr const char* kStatNames[kStats] = {
    "STAT_LEVELS",       "STAT_COINS",    "STAT_ENEMIES", "STAT_JUMPS",       "STAT_SECRETS",
    "STAT_SCORE",        "STAT_BOSSES",   "STAT_GEMS",    "STAT_PERFECTRUNS", "STAT_SPEEDRUNS",
    "STAT_PACIFISTRUNS", "STAT_DISTANCE", "STAT_POTIONS", "STAT_KEYS",        "STAT_MAPS",
    "STAT_ENDINGS",      "STAT_PETS",     "STAT_FISH",    "STAT_CHESTS",      "STAT_COMBOS",
    "STAT_DEATHS",       "STAT_QUESTS",   "STAT_RELICS",  "STAT_TROPHIES",
};
// The direct side's copy of the stat values (all 0 after a simulator reset).
inline std::int32_t g_statValues[kStats];

// The board as the bridge asks for it: sorted descending (2), shown numeric
// (1); scores uploaded keeping the best (1).
inline constexpr std::int32_t kSortDescending = 2;
inline constexpr std::int32_t kDisplayNumeric = 1;
inline constexpr std::int32_t kUploadKeepBest = 1;
inline constexpr char kBoardName[] = "Feet Traveled";
inline constexpr char16_t kBoardName16[] = u"Feet Traveled";
inline std::uint64_t g_board;

// Call-result holders of the direct side.
inline DirectHolder g_findHolder(kLeaderboardFindSize);
inline DirectHolder g_uploadHolder(kScoreUploadedSize);

// ---- Exports that call the client library ---------------------------------

struct CallBacksCase {
    static constexpr const char* kName = "steamCallBacks";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 1024;
    static constexpr bool kPumps = false;  // nothing is queued
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { steamCallBacks(); }
    static void Direct(std::uint32_t) { SteamAPI_RunCallbacks(); }
};

struct UserIdCase {
    static constexpr const char* kName = "steamUserID";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 1024;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamUserID()); }
    static void Direct(std::uint32_t) {
        benchmark::DoNotOptimize(SteamAPI_ISteamUser_GetSteamID(g_direct.user));
    }
};

// Achievement 4 (ACH_FIRSTSTEPS) has no linked stat; after the first call it
// is unlocked and every further store commits nothing new.
struct AchievementCase {
    static constexpr const char* kName = "steamAchievement";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 128;
    static constexpr bool kPumps = true;  // every store queues a record
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamAchievement(4)); }
    static void Direct(std::uint32_t) {
        ISteamUserStats* stats = g_direct.userStats;
        SteamAPI_ISteamUserStats_SetAchievement(stats, "ACH_FIRSTSTEPS");
        benchmark::DoNotOptimize(SteamAPI_ISteamUserStats_StoreStats(stats));
    }
};

struct OverlayCase {
    static constexpr const char* kName = "steamAchievementsOverlay";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 1024;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { steamAchievementsOverlay(); }
    static void Direct(std::uint32_t) {
        SteamAPI_ISteamFriends_ActivateGameOverlay(g_direct.friends, "Achievements");
    }
};

struct ResetCase {
    static constexpr const char* kName = "steamResetAchievements";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 1024;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { steamResetAchievements(); }
    static void Direct(std::uint32_t) {
        SteamAPI_ISteamUserStats_ResetAllStats(g_direct.userStats, true);
    }
};

// Sends all 24 stats then stores: the bridge's StoreStats and a game's own.
inline bool SendStatsDirect() {
    ISteamUserStats* stats = g_direct.userStats;
    for (int i = 0; i < kStats; ++i)
        SteamAPI_ISteamUserStats_SetStatInt32(stats, kStatNames[i], g_statValues[i]);
    return SteamAPI_ISteamUserStats_StoreStats(stats);
}

inline void PrepareStats() {
    StartFreshSession();
    for (std::int32_t& value : g_statValues) value = 0;
}

// Stat 3 (STAT_JUMPS, target 500) alternates between 100 and 101, so every
// store commits one changed value and no achievement unlocks.
struct StatCase {
    static constexpr const char* kName = "steamStat";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 128;
    static constexpr bool kPumps = true;
    static std::int32_t Value(std::uint32_t i) { return 100 + static_cast<std::int32_t>(i & 1); }
    static void Prepare() { PrepareStats(); }
    static void Bridge(std::uint32_t i) { benchmark::DoNotOptimize(steamStat(3, Value(i))); }
    static void Direct(std::uint32_t i) {
        g_statValues[3] = Value(i);
        benchmark::DoNotOptimize(SendStatsDirect());
    }
};

// Stat 5 (STAT_SCORE) goes up and down by one: bounded, one change per store.
struct StatIncreaseCase {
    static constexpr const char* kName = "steamStatIncrease";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 128;
    static constexpr bool kPumps = true;
    static std::int32_t Delta(std::uint32_t i) { return (i & 1) ? -1 : 1; }
    static void Prepare() { PrepareStats(); }
    static void Bridge(std::uint32_t i) {
        benchmark::DoNotOptimize(steamStatIncrease(5, Delta(i)));
    }
    static void Direct(std::uint32_t i) {
        g_statValues[5] += Delta(i);
        benchmark::DoNotOptimize(SendStatsDirect());
    }
};

struct SetLeaderboardCase {
    static constexpr const char* kName = "steamSetLeaderBoardName";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 256;
    static constexpr bool kPumps = true;  // every search queues its call result
    static void Prepare() {
        StartFreshSession();
        g_findHolder.SetCall(0);
        ClearCallLog();
    }
    static void Bridge(std::uint32_t) {
        benchmark::DoNotOptimize(steamSetLeaderBoardName(kBoardName16));
    }
    // A game holding the name as narrow text: no conversion, as the client takes it.
    static void Direct(std::uint32_t) {
        g_findHolder.SetCall(SteamAPI_ISteamUserStats_FindOrCreateLeaderboard(
            g_direct.userStats, kBoardName, kSortDescending, kDisplayNumeric));
    }
};

struct UploadScoreCase {
    static constexpr const char* kName = "steamUploadScore";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 256;
    static constexpr bool kPumps = true;
    static void Prepare();
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamUploadScore(1000)); }
    static void Direct(std::uint32_t) {
        g_uploadHolder.SetCall(SteamAPI_ISteamUserStats_UploadLeaderboardScore(
            g_direct.userStats, g_board, kUploadKeepBest, 1000, nullptr, 0));
    }
};

// A whole start and stop, with the two language texts written to host buffers.
inline char16_t g_languageBuffer[64];
inline char16_t g_availableBuffer[256];
inline char16_t* g_languageSlot = g_languageBuffer;
inline char16_t* g_availableSlot = g_availableBuffer;
// The five callback holders a game would register for the same records.
inline DirectHolder g_statsReceivedHolderA(kStatsReceivedSize);
inline DirectHolder g_statsStoredHolderA(kStatsStoredSize);
inline DirectHolder g_achievementStoredHolder(kAchievementStoredSize);
inline DirectHolder g_statsReceivedHolderB(kStatsReceivedSize);
inline DirectHolder g_statsStoredHolderB(kStatsStoredSize);

struct InitFreeCase {
    static constexpr const char* kName = "steamInit+steamFree";
    static constexpr bool kCallsClient = true;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 64;
    static constexpr bool kPumps = false;  // the shutdown drops every queued record
    static void Prepare() {
        StartFreshSession();
        steamFree();
        ClearCallLog();
    }
    static void Bridge(std::uint32_t) {
        benchmark::DoNotOptimize(steamInit(&g_languageSlot, &g_availableSlot));
        benchmark::DoNotOptimize(steamFree());
    }
    static void Direct(std::uint32_t);
};

// ---- Exports that never call the client library ---------------------------

struct StatusCase {
    static constexpr const char* kName = "steamStatus";
    static constexpr bool kCallsClient = false;
    static constexpr bool kHasDirect = false;
    static constexpr int kHousekeepEvery = 0;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamStatus()); }
    static void Direct(std::uint32_t) {}
};

struct AchievementsCountCase {
    static constexpr const char* kName = "steamAchievementsCount";
    static constexpr bool kCallsClient = false;
    static constexpr bool kHasDirect = false;
    static constexpr int kHousekeepEvery = 0;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamAchievementsCount()); }
    static void Direct(std::uint32_t) {}
};

struct LeaderboardFoundCase {
    static constexpr const char* kName = "steamLeaderBoardFound";
    static constexpr bool kCallsClient = false;
    static constexpr bool kHasDirect = false;
    static constexpr int kHousekeepEvery = 0;
    static constexpr bool kPumps = false;
    static void Prepare() { UploadScoreCase::Prepare(); }
    static void Bridge(std::uint32_t) { benchmark::DoNotOptimize(steamLeaderBoardFound()); }
    static void Direct(std::uint32_t) {}
};

// Host buffers of the sizes the header asks for.
inline char16_t g_nameBuffer[128];
inline char16_t g_descriptionBuffer[256];
inline char16_t g_statNameBuffer[32];
inline char16_t* g_nameSlot = g_nameBuffer;
inline char16_t* g_descriptionSlot = g_descriptionBuffer;
inline char16_t* g_statNameSlot = g_statNameBuffer;

// Against the plain conversion of the same three texts into the same
// buffers: what any export handing these texts to the host must do.
// Achievement 1: short ASCII texts, linked to stat 0. Achievement 61: texts
// with characters outside the Basic Multilingual Plane, linked to stat 23.
template <int kNumber, int kLinkedStat>
struct AchievementDataCase {
    static constexpr const char* kName =
        kNumber == 1 ? "steamAchievementData(1)" : "steamAchievementData(61)";
    static constexpr bool kCallsClient = false;
    static constexpr bool kHasDirect = true;
    static constexpr int kHousekeepEvery = 0;
    static constexpr bool kPumps = false;
    static void Prepare() { StartFreshSession(); }
    static void Bridge(std::uint32_t) {
        AchievementInfo info{};
        info.nameSlot = &g_nameSlot;
        info.descriptionSlot = &g_descriptionSlot;
        info.statNameSlot = &g_statNameSlot;
        steamAchievementData(kNumber, &info);
        benchmark::DoNotOptimize(info);
        benchmark::ClobberMemory();
    }
    static void Direct(std::uint32_t) {
        AchievementInfo info{};
        info.nameSlot = &g_nameSlot;
        info.descriptionSlot = &g_descriptionSlot;
        info.statNameSlot = &g_statNameSlot;
        const steambridge::AchievementRow& row = steambridge::AchievementTable()[kNumber - 1];
        steambridge::CopyToHostBuffer(info.nameSlot, steambridge::Utf8ToWide(row.name));
        steambridge::CopyToHostBuffer(info.descriptionSlot,
                                      steambridge::Utf8ToWide(row.description));
        steambridge::CopyToHostBuffer(
            info.statNameSlot,
            steambridge::Utf8ToWide(steambridge::StatTable()[kLinkedStat].apiName));
        benchmark::DoNotOptimize(info);
        benchmark::ClobberMemory();
    }
};

// ---- Running a case --------------------------------------------------------

template <class Case, Side side>
inline void Invoke(std::uint32_t i) {
    if constexpr (side == Side::Bridge) {
        Case::Bridge(i);
    } else {
        Case::Direct(i);
    }
}

// Keeps the simulator's call log and record queue from growing without end.
template <class Case>
inline void Housekeep() {
    if constexpr (Case::kPumps) {
        PumpAndClear();
    } else {
        ClearCallLog();
    }
}

}  // namespace bench
