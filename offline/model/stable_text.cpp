// The process-long store of texts handed to the game.
#include "stable_text.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace offline_steam {

const char* StableText(const std::string& text) {
    // Elements of an unordered_set stay where they are through rehashing; the
    // set itself is never destroyed, so a thread still calling Steam while
    // the process exits reads live text.
    static std::unordered_set<std::string>& texts = *new std::unordered_set<std::string>;
    return texts.insert(text).first->c_str();
}

const char* StableText(const char* text) {
    return text != nullptr ? StableText(std::string(text)) : nullptr;
}

std::size_t CopyText(const std::string& text, char* buffer, long long size) {
    if (buffer == nullptr || size <= 0) return 0;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    if (length > 0) std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

}  // namespace offline_steam
