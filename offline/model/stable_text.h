// Texts handed to the game, kept for the life of the process.
#pragma once

#include <cstddef>
#include <string>

namespace offline_steam {

// A copy of `text` that is never moved or freed: Steam's getters hand out
// pointers the game may keep for the session, while the model's own strings
// move when its containers grow or are reset. Equal texts share one copy, so
// the store grows only with the distinct texts handed out. Null stays null.
// Called under the model's lock.
const char* StableText(const char* text);
const char* StableText(const std::string& text);

// Copies `text` into the game's buffer of `size` bytes, cut to fit and
// always terminated; nothing without a buffer or room. The bytes copied,
// without the terminator.
std::size_t CopyText(const std::string& text, char* buffer, long long size);

}  // namespace offline_steam
