// The process-long store of texts handed to the game.
#include "stable_text.h"

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

}  // namespace offline_steam
