// The library's exports, once, in the header's order. The hosts' loader
// (demo/bridge_library) resolves exactly these; the test of the built
// library's tables and the test of the header and the README's table
// (tests/check_library_tables.cmake, tests/check_export_list.cmake) read
// this list.
#pragma once

// clang-format off
#define STEAMBRIDGE_EXPORTS(X)  \
    X(steamInit)                \
    X(steamFree)                \
    X(steamCallBacks)           \
    X(steamUserID)              \
    X(steamAchievement)         \
    X(steamAchievementsOverlay) \
    X(steamResetAchievements)   \
    X(steamStat)                \
    X(steamStatIncrease)        \
    X(steamStatus)              \
    X(steamAchievementsCount)   \
    X(steamAchievementData)     \
    X(steamSetLeaderBoardName)  \
    X(steamLeaderBoardFound)    \
    X(steamUploadScore)
// clang-format on
