// Loading the staged steambridge for the end-to-end tests.
#include "support/e2e_host.h"

#include <gtest/gtest.h>

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

void PreloadClientLibrary() {
    ASSERT_NE(LoadLibraryAt(StageDirectory() + kClientLibraryFileName), nullptr)
        << "no client library in stage " << g_stage;
}
