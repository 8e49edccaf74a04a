// UTF-16 host buffers shown as UTF-8, for the transcript.
#pragma once

#include <string>

#include "steambridge.h"

std::string ToUtf8(const SteamBridgeChar16* text);
