// Loading the staged steambridge for the end-to-end tests.
#include "support/e2e_host.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string g_stage = "1.57";

}  // namespace

void SetStage(const std::string& name) { g_stage = name; }
const std::string& Stage() { return g_stage; }

std::string StageDirectory() { return ProgramDirectory() + "../stage/" + g_stage + "/"; }

const BridgeExports& Bridge() {
    static BridgeLibrary bridge;
    static const bool opened = bridge.Open(StageDirectory());
    if (!opened) ADD_FAILURE() << bridge.error();
    return bridge.exports();
}

bool StageHasSteamClient() {
    const std::string path = StageDirectory() + kSteamClientFileName;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

void PreloadClientLibrary() {
    // Valve's library beside our stand-in Steam client: point it there first.
    static const bool usesSteamClient = StageHasSteamClient();
    static const bool steamClientReady =
        !usesSteamClient || UseSteamClient(StageDirectory() + kSteamClientFileName);
    ASSERT_TRUE(steamClientReady) << "cannot point the client library at the stand-in client";
    ASSERT_NE(LoadLibraryAt(StageDirectory() + kClientLibraryFileName), nullptr)
        << "no client library in stage " << g_stage;
}
