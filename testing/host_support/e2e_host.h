// The host side of the end-to-end tests: steambridge loaded from a stage
// directory with LoadLibrary / dlopen, exactly as a game loads it.
#pragma once

#include <string>
#include <vector>

#include "host_support/bridge_library.h"

void SetStage(const std::string& name);
const std::string& Stage();
// build/<preset>/stage/<name>/
std::string StageDirectory();
// Loaded on first use; the test fails at once if it cannot be.
const BridgeExports& Bridge();
// Loads the stage's client library before steamInit, so its controls can be
// set; steambridge then reuses this copy. Where the stage holds a Steam
// client (Valve's library over our stand-in), that is loaded and pointed to.
void PreloadClientLibrary();
// True when the stage runs Valve's own library over the stand-in client.
bool StageHasSteamClient();

// The bridge's trace reaches us as it reaches a developer: on Windows as a
// debugger sees OutputDebugStringA, on Linux through the file that
// STEAMBRIDGE_TRACE_FILE names. Call before the bridge traces anything.
void CaptureBridgeTrace();
// Every line traced so far, in order.
std::vector<std::string> BridgeTraceLines();
