// The default mode: one complete game session, narrated.
#pragma once

#include "bridge_library.h"

// Plays the session against whatever client library steambridge finds.
int RunScriptedSession(const BridgeExports& steam);
