// Fixture for the keeper tests: the bridge linked in, the simulated client
// library beside it, the process-wide tables restored and trace lines kept.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/trace.h"
#include "steam_sim.h"
#include "steambridge.h"

struct TraceEntry {
    steambridge::TraceId id;
    std::string line;
};

class KeeperTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    bool Init();
    void Pump(int frames = 1);
    // steamInit, then pump until both keepers report the stats arrived.
    void InitAndReceive();
    void ClearTrace();

    static const std::vector<TraceEntry>& TraceLines();
    static std::vector<steambridge::TraceId> TraceIds();
    static int TraceCount(steambridge::TraceId id);
    static bool Traced(steambridge::TraceId id) { return TraceCount(id) > 0; }
    // Lines of that id as traced, codes filled in.
    static std::vector<std::string> TracedLines(steambridge::TraceId id);
    static bool TracedDetail(const std::string& name);
    // Call log entries whose text starts with `prefix`, in order.
    static std::vector<std::string> CallsStartingWith(const std::string& prefix);
};
