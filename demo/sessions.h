// The demo's two modes: the default one complete game session, narrated,
// and --interactive, a prompt where a person types the host's calls.
#pragma once

#include "host_support/bridge_library.h"

// Plays the session against whatever client library steambridge finds.
int RunScriptedSession(const BridgeExports& steam);

// Starts Steam, runs commands until "quit" or end of input, stops Steam.
int RunInteractiveSession(const BridgeExports& steam);
