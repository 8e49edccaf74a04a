// The user's rich presence as Steam keeps it (ISteamFriends::SetRichPresence):
// key/value texts within the limits of Valve's header, isteamfriends.h.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace offline_steam {

class RichPresence {
public:
    // The header's sizes, each counting the terminator: a key of at most 63
    // bytes, a value of at most 255, and at most 30 keys (every SDK release
    // from 1.48 to 1.63 has k_cchMaxRichPresenceKeys = 30).
    static constexpr std::size_t kMaxKeys = 30;      // k_cchMaxRichPresenceKeys
    static constexpr std::size_t kKeyBytes = 64;     // k_cchMaxRichPresenceKeyLength
    static constexpr std::size_t kValueBytes = 256;  // k_cchMaxRichPresenceValueLength

    enum class Outcome {
        Set,        // a new key, or a new value for a key
        Unchanged,  // the key had that value already
        Deleted,    // a null or empty value removed the key (Unchanged: it had none)
        // Refused: SetRichPresence answers false and nothing changes.
        NoKey,         // a null or empty key
        KeyTooLong,    // kKeyBytes or more
        ValueTooLong,  // kValueBytes or more
        TooManyKeys,   // a new key beyond kMaxKeys
    };
    static bool Accepted(Outcome outcome) { return outcome <= Outcome::Deleted; }

    Outcome Set(const char* key, const char* value);
    // False when there was nothing to clear.
    bool Clear();

    // The value of `key`, "" when it has none (GetFriendRichPresence).
    const char* Get(const char* key) const;
    int KeyCount() const { return static_cast<int>(entries_.size()); }
    // The key at `index` in the order the keys were first set; "" out of range.
    const char* KeyAt(int index) const;
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace offline_steam
