// Steam's limits on rich presence, as SetRichPresence applies them.
#include "rich_presence.h"

#include <cstring>

namespace offline_steam {

RichPresence::Outcome RichPresence::Set(const char* key, const char* value) {
    if (key == nullptr || key[0] == '\0') return Outcome::NoKey;
    if (std::strlen(key) >= kKeyBytes) return Outcome::KeyTooLong;
    auto found = entries_.begin();
    while (found != entries_.end() && found->first != key) ++found;
    if (value == nullptr || value[0] == '\0') {
        if (found == entries_.end()) return Outcome::Unchanged;
        entries_.erase(found);
        return Outcome::Deleted;
    }
    if (std::strlen(value) >= kValueBytes) return Outcome::ValueTooLong;
    if (found != entries_.end()) {
        if (found->second == value) return Outcome::Unchanged;
        found->second = value;
        return Outcome::Set;
    }
    if (entries_.size() >= kMaxKeys) return Outcome::TooManyKeys;
    entries_.emplace_back(key, value);
    return Outcome::Set;
}

bool RichPresence::Clear() {
    const bool had = !entries_.empty();
    entries_.clear();
    return had;
}

const char* RichPresence::Get(const char* key) const {
    if (key == nullptr) return "";
    for (const auto& [name, value] : entries_)
        if (name == key) return value.c_str();
    return "";
}

const char* RichPresence::KeyAt(int index) const {
    if (index < 0 || index >= KeyCount()) return "";
    return entries_[static_cast<std::size_t>(index)].first.c_str();
}

}  // namespace offline_steam
