// The keeper tests' fixture.
#include "host_support/keeper_fixture.h"

#include <cstring>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "bridge/module_state.h"
#include "bridge/trace.h"

using namespace steambridge;

namespace {

std::vector<TraceEntry> g_traceLines;

void KeepLine(TraceId id, const char* line) { g_traceLines.push_back({id, line}); }

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

const std::vector<TraceEntry>& KeeperTest::TraceLines() { return g_traceLines; }

std::vector<TraceId> KeeperTest::TraceIds() {
    std::vector<TraceId> ids;
    for (const TraceEntry& entry : g_traceLines) ids.push_back(entry.id);
    return ids;
}

int KeeperTest::TraceCount(TraceId id) {
    int count = 0;
    for (const TraceEntry& entry : g_traceLines) count += entry.id == id;
    return count;
}

std::vector<std::string> KeeperTest::TracedLines(TraceId id) {
    std::vector<std::string> lines;
    for (const TraceEntry& entry : g_traceLines)
        if (entry.id == id) lines.push_back(entry.line);
    return lines;
}

bool KeeperTest::TracedDetail(const std::string& name) {
    for (const TraceEntry& entry : g_traceLines)
        if (entry.id == TraceId::Detail && entry.line == name) return true;
    return false;
}

std::vector<std::string> KeeperTest::CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> calls;
    for (int i = 0; i < SteamSim_CallLogSize(); ++i) {
        const std::string entry = SteamSim_CallLogEntry(i);
        if (entry.compare(0, prefix.size(), prefix) == 0) calls.push_back(entry);
    }
    return calls;
}
