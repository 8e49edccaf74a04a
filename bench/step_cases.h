// Steps of the bridge's own work timed alone, each beside the export whose
// bridge-minus-direct time it accounts for.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"

namespace bench {

// The board name the leaderboard export is handed, into the narrow text
// the client takes: the direct side holds it narrow already.
struct BoardNameStep {
    static constexpr const char* kName = "board name to narrow text";
    static constexpr const char* kExport = "steamSetLeaderBoardName";
    static std::string Note() { return "ConvertToLocaleNarrow, 13 characters"; }
    static void Prepare() {}
    static void Run();
};

// What the reset export does besides the client call, on copies of the
// tables so that the bridge's own rows stay as the session left them.
inline steambridge::AchievementRow g_achievementRows[steambridge::kAchievementCount];
inline steambridge::StatRow g_statRows[steambridge::kStatCount];

struct ClearRowsStep {
    static constexpr const char* kName = "clearing the table rows";
    static constexpr const char* kExport = "steamResetAchievements";
    static std::string Note() { return "61 achievement rows, 24 stat rows"; }
    static void Prepare();
    static void Run();
};

// The linked stat found by a walk over the 24 pairs; achievement 61's pair
// is the last one.
inline steambridge::StatLinks g_links;

struct StatLinkStep {
    static constexpr const char* kName = "linked stat of achievement 61";
    static constexpr const char* kExport = "steamAchievementData(61)";
    static std::string Note() { return "StatLinks::StatFor over 24 pairs"; }
    static void Prepare() { steambridge::FillStatLinks(g_links); }
    static void Run() {
        int number = 61;
        benchmark::DoNotOptimize(number);
        benchmark::DoNotOptimize(g_links.StatFor(number));
    }
};

// The bridge binds the client library's functions by name at every
// steamInit and forgets them at steamFree; the library itself is opened
// once per process, so this is the symbol lookups alone.
struct BindStep {
    static constexpr const char* kName = "binding the client library";
    static constexpr const char* kExport = "steamInit+steamFree";
    static std::string Note();
    static void Prepare();
    static void Run();
};

}  // namespace bench
