// Base fixture of the end-to-end tests: the staged client library loaded and
// reset, steamFree after each test, host buffers for the languages.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host_support/e2e_host.h"
#include "host_support/host_buffers.h"
#include "host_support/sim_controls.h"

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
    // 1.61 and later: the client has the user's stats before the game starts,
    // the library has no request for them, and the bridge answers itself.
    static bool StatsComeWithoutRequest() {
        if (IsRealLibrary()) return StageRelease() >= 161;
        return SIM(SteamSim_Profile)() == 163;
    }
    // 157 for the stage "real-1.57", 158 for "real-1.58a"; 0 for other stages.
    static int StageRelease() {
        int major = 0, minor = 0;
        if (std::sscanf(Stage().c_str(), "real-%d.%d", &major, &minor) != 2) return 0;
        return major * 100 + minor;
    }
    // Valve's own library over our stand-in client (the client face).
    static bool IsRealLibrary() { return SIM(SteamSim_Profile)() == STEAM_SIM_CLIENT_FACE_PROFILE; }
    // The call each frame leaves in the log: the flat face sees the library's
    // RunCallbacks, the client face the RunFrame that the library's makes.
    static const char* FrameCall() {
        return IsRealLibrary() ? "SteamAPI_ISteamUtils_RunFrame" : "SteamAPI_RunCallbacks";
    }
    // And the call that shutting down leaves.
    static const char* ShutdownCall() {
        return IsRealLibrary() ? "ISteamClient::BShutdownIfAllPipesClosed" : "SteamAPI_Shutdown";
    }

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

    HostBuffer language{STEAMBRIDGE_LANGUAGE_UNITS};
    HostBuffer available{STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS};
};
