// Typed UTF-8 text as the UTF-16 the bridge takes (leaderboard names).
#pragma once

#include <string>

// Malformed bytes become U+FFFD, so whatever was typed reaches the bridge.
std::u16string Utf16FromUtf8(const std::string& text);
