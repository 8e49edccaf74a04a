// Fixture for the keeper tests: the bridge linked in, the simulated client
// library beside it, the process-wide tables restored and trace lines kept.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "steam_sim.h"
#include "steambridge.h"

class KeeperTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    bool Init();
    void Pump(int frames = 1);
    // steamInit, then pump until both keepers report the stats arrived.
    void InitAndReceive();
    void ClearTrace();

    static const std::vector<std::string>& TraceLines();
    static int TraceCount(const std::string& line);
    static bool Traced(const std::string& line) { return TraceCount(line) > 0; }
    // Call log entries whose text starts with `prefix`, in order.
    static std::vector<std::string> CallsStartingWith(const std::string& prefix);
};
