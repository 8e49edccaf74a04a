// UTF-16 text as narrow text of the current C locale.
#pragma once

#include <string>

// The bridge converts leaderboard names this way: the same conversion lets
// the demo ask Steam about the board it named. Empty when a character has no
// form in the locale.
std::string NarrowUnderLocale(const std::u16string& text);
