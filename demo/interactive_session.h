// The --interactive mode: a prompt where a person types the host's calls.
#pragma once

#include "bridge_library.h"

// Starts Steam, runs commands until "quit" or end of input, stops Steam.
int RunInteractiveSession(const BridgeExports& steam);
