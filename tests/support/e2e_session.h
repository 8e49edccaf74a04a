// Base fixture of the end-to-end tests: the staged client library loaded and
// reset, steamFree after each test, host buffers for the languages.
#pragma once

#include <gtest/gtest.h>

#include "support/e2e_host.h"
#include "support/host_buffers.h"
#include "support/sim_controls.h"

class BridgeSession : public testing::Test {
protected:
    void SetUp() override {
        PreloadClientLibrary();
        SIM(SteamSim_Reset)();
    }
    void TearDown() override { Bridge().steamFree(); }

    bool Init() { return Bridge().steamInit(language.slot(), available.slot()); }
    void Pump(int frames = 1) {
        for (int i = 0; i < frames; ++i) Bridge().steamCallBacks();
    }
    static bool Is163() { return SIM(SteamSim_Profile)() == 163; }

    // The achievement and stat tables outlive earlier tests: start with the
    // stats arrived and every state and value reset, on Steam and locally.
    void StartWithStatsArrived() {
        ASSERT_TRUE(Init());
        Pump();
        ASSERT_EQ(Bridge().steamStatus(), 1);
        Bridge().steamResetAchievements();
        SIM(SteamSim_ClearCallLog)();
    }

    // True when the simulator logged exactly this call.
    static bool LoggedCall(const std::string& line) {
        for (int i = 0; i < SIM(SteamSim_CallLogSize)(); ++i)
            if (line == SIM(SteamSim_CallLogEntry)(i)) return true;
        return false;
    }

    HostBuffer language, available;
};
