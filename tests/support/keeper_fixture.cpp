// The keeper tests' fixture.
#include "support/keeper_fixture.h"

#include <cstring>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "bridge/object_memory.h"
#include "text/trace.h"

using namespace steambridge;

namespace {

std::vector<std::string> g_traceLines;

void KeepLine(const char* line) { g_traceLines.emplace_back(line); }

// The tables as the library starts with them, taken before any test ran.
struct StartTables {
    AchievementRow achievements[kAchievementCount];
    StatRow stats[kStatCount];
};

const StartTables& Start() {
    static const StartTables start = [] {
        StartTables tables;
        std::memcpy(tables.achievements, AchievementTable(), sizeof tables.achievements);
        std::memcpy(tables.stats, StatTable(), sizeof tables.stats);
        return tables;
    }();
    return start;
}

void RestoreTables() {
    std::memcpy(AchievementTable(), Start().achievements, sizeof Start().achievements);
    std::memcpy(StatTable(), Start().stats, sizeof Start().stats);
}

}  // namespace

void KeeperTest::SetUp() {
    Start();
    RestoreTables();
    SteamSim_Reset();
    FailObjectAllocationsAfter(-1);
    g_traceLines.clear();
    SetTraceSink(&KeepLine);
}

void KeeperTest::TearDown() {
    steamFree();
    SetTraceSink(nullptr);
    FailObjectAllocationsAfter(-1);
    RestoreTables();
}

bool KeeperTest::Init() { return steamInit(nullptr, nullptr); }

void KeeperTest::Pump(int frames) {
    for (int i = 0; i < frames; ++i) steamCallBacks();
}

void KeeperTest::InitAndReceive() {
    ASSERT_TRUE(Init());
    for (int frame = 0; frame < 5 && steamStatus() == 0; ++frame) Pump();
    ASSERT_EQ(steamStatus(), 1) << "the stats never arrived";
}

void KeeperTest::ClearTrace() { g_traceLines.clear(); }

const std::vector<std::string>& KeeperTest::TraceLines() { return g_traceLines; }

int KeeperTest::TraceCount(const std::string& line) {
    int count = 0;
    for (const std::string& traced : g_traceLines) count += traced == line;
    return count;
}

std::vector<std::string> KeeperTest::CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> calls;
    for (int i = 0; i < SteamSim_CallLogSize(); ++i) {
        const std::string entry = SteamSim_CallLogEntry(i);
        if (entry.compare(0, prefix.size(), prefix) == 0) calls.push_back(entry);
    }
    return calls;
}
